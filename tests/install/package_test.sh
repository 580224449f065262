#!/usr/bin/env bash
# package_test.sh CPACK BUILD: builds the Debian package, checks what it
# depends on, unpacks it into a scratch root and starts the program there
# as an ordinary user (no LD_LIBRARY_PATH: its libraries are found through
# its own search path), and runs lintian on it, which must report no error.
source "$(dirname "$0")/common.sh"
CPACK=$1
BUILD=$2

"$CPACK" --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 || {
  cat "$WORK/cpack.log" >&2
  fail "cpack failed"
}
deb=$(ls "$WORK"/out/plavik_*.deb)
[ -f "$deb" ] || fail "no package in $WORK/out"

# Its dependencies: run-time packages, each a real package of this system.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6sql6-sqlite libqt6svg6 libqt6printsupport6 fonts-liberation2; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "the package does not depend on $needed"
done
grep -q qpdf <<<"$depends" && fail "the package depends on qpdf"
for name in $(sed -e 's/([^)]*)//g' -e 's/|/,/g' -e 's/,/ /g' <<<"$depends"); do
  case $name in *-dev) fail "the package depends on the development package $name" ;; esac
  dpkg-query -W "$name" >/dev/null 2>&1 || apt-cache show "$name" >/dev/null 2>&1 || fail "no package named $name"
done

# Unpacked into a scratch root, the program starts for an ordinary user.
root=$WORK/root
dpkg-deb -x "$deb" "$root"
chmod 755 "$root"
for f in usr/share/doc/plavik/copyright usr/share/doc/plavik/changelog.Debian.gz usr/lib/plavik/libplavikplatform.so; do
  [ -e "$root/$f" ] || fail "the package lacks /$f"
done
before=$(listing "$root")
home=$(new_home)
start_plavik "$root/usr/bin/plavik" "$home"
check_user_files "$home"
[ "$before" = "$(listing "$root")" ] || fail "the packaged program wrote into its own folders"

# lintian, with every error shown; warnings are printed but do not fail.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$WORK/lintian.log" 2>&1 || {
  cat "$WORK/lintian.log" >&2
  fail "lintian reports errors"
}
cat "$WORK/lintian.log"
echo "ok"
