# Shared by the install tests: a scratch folder, an ordinary user to run the
# program as, one start of the program in its check mode, and the checks.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# WORK: a scratch folder every user may pass through, removed at the end.
WORK=$(mktemp -d /tmp/plavik-install-test.XXXXXX)
chmod 755 "$WORK"
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT

# RUN_UID, RUN_GID: who runs the program. Root ignores file rights, so as
# root the program runs as the account plavik-test (made once: no login, no
# home of its own; every run gets a fresh home); otherwise as this user.
if [ "$(id -u)" -eq 0 ]; then
  if ! id -u plavik-test >/dev/null 2>&1; then
    # Two tests may make it at once: the loser finds it made.
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin plavik-test 2>/dev/null ||
      id -u plavik-test >/dev/null 2>&1 || fail "cannot make the user plavik-test"
  fi
  RUN_UID=$(id -u plavik-test)
  RUN_GID=$(id -g plavik-test)
else
  RUN_UID=$(id -u)
  RUN_GID=$(id -g)
fi

# A fresh home folder for the user, printed.
new_home() {
  local home
  home=$(mktemp -d "$WORK/home.XXXXXX")
  mkdir -m 700 "$home/run"
  chown -R "$RUN_UID:$RUN_GID" "$home"
  echo "$home"
}

# as_user HOME COMMAND...: the command as the user, in a clean environment
# (no LD_LIBRARY_PATH, no PLAVIK_HOME, no XDG folders but the runtime one).
as_user() {
  local home=$1
  shift
  local clean=(env -i "HOME=$home" PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
    "XDG_RUNTIME_DIR=$home/run")
  # A sanitizer build's options (make test-sanitize) go with it.
  local name
  for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    if [ -n "${!name:-}" ]; then clean+=("$name=${!name}"); fi
  done
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid="$RUN_UID" --regid="$RUN_GID" --clear-groups -- "${clean[@]}" "$@"
  else
    "${clean[@]}" "$@"
  fi
}

# start_plavik PROGRAM HOME [FILE]: one start in the check mode (it starts,
# ends as an orderly exit does, and says its messages on standard error,
# kept in $WORK/last.err). Fails unless it ends at once with status 0 and
# without a data-access message.
start_plavik() {
  local program=$1 home=$2
  shift 2
  local rc=0
  as_user "$home" timeout 60 "$program" --verifica-avvio "$@" >"$WORK/last.out" 2>"$WORK/last.err" || rc=$?
  if [ "$rc" -ne 0 ]; then
    cat "$WORK/last.err" >&2
    fail "$program ended with status $rc"
  fi
  if grep -q "DATA Access error" "$WORK/last.err"; then
    cat "$WORK/last.err" >&2
    fail "$program could not open its database"
  fi
}

# Every entry below a folder with its kind, rights, size and time of change:
# two listings differ when anything was written there.
listing() { find "$1" -printf '%p %y %m %s %T@ %C@\n' | LC_ALL=C sort; }

# ini_value FILE SECTION KEY: the value, trimmed.
ini_value() {
  awk -v section="[$2]" -v key="$3" '
    { sub(/\r$/, "") }
    /^\[/ { inside = (toupper($0) == toupper(section)); next }
    inside && toupper(substr($0, 1, length(key) + 1)) == toupper(key "=") {
      v = substr($0, length(key) + 2); gsub(/^ +| +$/, "", v); print v; exit
    }' "$1"
}

# query DATABASE SQL: the rows of a query on an SQLite file, read-only (no
# journal left behind), one line each, columns separated by "|".
query() {
  local python=/usr/bin/python3
  [ -x "$python" ] || python=python3
  "$python" - "$1" "$2" <<'PY'
import sqlite3, sys
db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
for row in db.execute(sys.argv[2]):
    print("|".join("" if v is None else str(v) for v in row))
PY
}

# check_user_files HOME: the settings and the database are in the user's
# XDG folders, private to the user, and the database holds the delivered
# print formats and the sample registration.
check_user_files() {
  local home=$1
  local ini=$home/.config/plavik/plavik.ini db=$home/.local/share/plavik/plavik.db
  [ -f "$ini" ] || fail "no settings file $ini"
  [ -f "$db" ] || fail "no program database $db"
  for folder in "$home/.config/plavik" "$home/.local/share/plavik"; do
    [ "$(stat -c %u "$folder")" = "$RUN_UID" ] || fail "$folder is not the user's"
    [ "$(stat -c %a "$folder")" = 700 ] || fail "$folder is open to others ($(stat -c %a "$folder"))"
  done
  local formats
  formats=$(query "$db" "SELECT count(*) FROM rst_format")
  [ "$formats" -gt 0 ] || fail "the database has no print formats"
  [ "$(query "$db" "SELECT SourceName FROM rst_registrations WHERE Label = 'Indirizzi (esempio)'")" = "%PATH%" ] ||
    fail "the database lacks the sample registration"
}
