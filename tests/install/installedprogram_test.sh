#!/usr/bin/env bash
# installedprogram_test.sh CMAKE BUILD: installs the build into a scratch
# prefix and starts the installed program as an ordinary user: it starts
# without a data-access message, makes its settings and database in the
# user's own folders, keeps a setting from one start to the next, opens a
# label named on its command line (and refuses a damaged one), its reader
# program reads the sample database, it prints a long job, and nothing is
# written below the prefix. Then the same for a copy of the install that the
# user may not write in. Nothing of the build is run: the build folder may
# lie where the user cannot enter.
source "$(dirname "$0")/common.sh"
CMAKE=$1
BUILD=$2

PREFIX=$WORK/prefix
"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || {
  cat "$WORK/install.log" >&2
  fail "cmake --install failed"
}
chmod 755 "$PREFIX"

# The layout, and libraries found through the install's own search path.
for f in bin/plavik lib/plavik/libplavikplatform.so lib/plavik/plavik-reader share/plavik/database/indirizzi.dbf share/plavik/help/index.html \
  share/applications/plavik.desktop share/mime/packages/plavik.xml share/icons/hicolor/scalable/apps/plavik.svg \
  share/icons/hicolor/48x48/apps/plavik.png; do
  [ -e "$PREFIX/$f" ] || fail "the install lacks $f"
done
for d in share/plavik/graphics/template share/plavik/graphics/border share/plavik/clipart; do
  [ -n "$(ls -A "$PREFIX/$d")" ] || fail "the install's $d is empty"
done
[ "$(readelf -d "$PREFIX/bin/plavik" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')" = '$ORIGIN/../lib/plavik' ] ||
  fail "bin/plavik does not look for its libraries in lib/plavik"
for f in "$PREFIX"/bin/* "$PREFIX"/lib/plavik/*; do
  if readelf -d "$f" 2>/dev/null | grep -E '\((RUNPATH|RPATH)\)' | grep -qF "$BUILD"; then
    fail "$f still looks for libraries in the build"
  fi
done
if find "$PREFIX" -name 'plavik.ini' -o -name 'plavik.db' | grep -q .; then
  fail "the install holds a settings file or a program database"
fi
# Everything is drawn in the program: no helper of its own draws pages, and
# nothing needs the PDF library the page workers' join used.
[ "$(ls "$PREFIX/lib/plavik" | grep -v '\.so')" = plavik-reader ] ||
  fail "lib/plavik holds programs beside the reader: $(ls "$PREFIX/lib/plavik")"
for f in "$PREFIX"/bin/* "$PREFIX"/lib/plavik/*; do
  if readelf -d "$f" | grep NEEDED | grep -q qpdf; then fail "$f needs libqpdf"; fi
done

before=$(listing "$PREFIX")
home=$(new_home)
program=$PREFIX/bin/plavik
ini=$home/.config/plavik/plavik.ini

# First start: settings and database made in the user's folders.
start_plavik "$program" "$home"
check_user_files "$home"
first_width=$(ini_value "$ini" SETTING LABELWIDTH)

# A delivered template named on the command line (4.LAB: 52.5 x 29.7 mm on
# format LM4-A4-40) becomes the document; its size is saved at the end...
[ "$first_width" != 52.5 ] || fail "the first start already has the template's size"
start_plavik "$program" "$home" "$PREFIX/share/plavik/graphics/template/4.LAB"
[ "$(ini_value "$ini" SETTING LABELWIDTH)" = 52.5 ] && [ "$(ini_value "$ini" SETTING LABELHEIGHT)" = 29.7 ] &&
  [ "$(ini_value "$ini" SETTING FORMATCODE)" = LM4-A4-40 ] ||
  fail "the label named on the command line did not become the document (settings: $(cat "$ini"))"

# ...and comes back at the next start, which saves it again unchanged.
start_plavik "$program" "$home"
[ "$(ini_value "$ini" SETTING LABELWIDTH)" = 52.5 ] || fail "the saved label size did not come back"

# A damaged label is refused as File > Apri refuses it; the document stays.
printf 'not a label' >"$home/damaged.lab"
chown "$RUN_UID:$RUN_GID" "$home/damaged.lab"
start_plavik "$program" "$home" "$home/damaged.lab"
grep -q "non è valido, oppure è danneggiato" "$WORK/last.err" || fail "a damaged label was not refused"
[ "$(ini_value "$ini" SETTING LABELWIDTH)" = 52.5 ] || fail "a refused label changed the document"

# beside_install TOOL: a copy of one of the build's tools in $tool/bin that
# looks for its libraries as the installed program does, in ../lib/plavik,
# and never in the build's program folder.
beside_install() {
  local copy
  copy="$tool/bin/$(basename "$1")"
  cp "$1" "$copy"
  "$CMAKE" -D "FILE=$copy" -D 'RUNPATH=$ORIGIN/../lib/plavik' -P "$(dirname "$0")/setrunpath.cmake" >/dev/null ||
    fail "cannot point $copy at the install's libraries"
  chmod -R a+rX "$tool"
}

# The sample, which the user may not write, reads through the installed
# reader program, as the program finds it from its bin folder
# (bin/../lib/plavik): the build's source-dump tool in a bin folder of its
# own beside the install's lib/plavik. The loader's log names the reader
# that ran, so the build's own reader cannot stand in for it.
tool=$WORK/tool
mkdir -p "$tool/bin" "$tool/lib"
ln -s "$PREFIX/lib/plavik" "$tool/lib/plavik"
beside_install "$BUILD/tests/source-dump"
as_user "$home" env LD_DEBUG=files "LD_DEBUG_OUTPUT=$home/ld" "$tool/bin/source-dump" \
  "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=$PREFIX/share/plavik/database/;Extended Properties=dBASE III;" \
  indirizzi >"$WORK/sample.txt" 2>"$WORK/sample.err" || {
  cat "$WORK/sample.err" >&2
  fail "the installed sample cannot be read"
}
[ "$(wc -l <"$WORK/sample.txt")" -gt 1 ] || fail "the installed sample has no records"
grep -qF "needed by $tool/bin/../lib/plavik/plavik-reader" "$home"/ld.* ||
  fail "the installed reader program was not the one that read the sample"
rm -f "$home"/ld.*

# A long job with the installed program's own files: the build's lab-print
# tool in that bin folder, with the install's share/plavik beside it, prints
# a delivered template on 200 pages of its format.
mkdir -p "$tool/share"
ln -s "$PREFIX/share/plavik" "$tool/share/plavik"
beside_install "$BUILD/tests/lab-print"
as_user "$home" "$tool/bin/lab-print" \
  "$PREFIX/share/plavik/graphics/template/4.LAB" "$home/long.pdf" 200 >"$WORK/long.out" 2>"$WORK/long.err" || {
  cat "$WORK/long.err" >&2
  fail "the installed program cannot print a long job"
}
[ "$(pdfinfo "$home/long.pdf" | sed -n 's/^Pages: *//p')" = 200 ] || fail "the long job does not have its 200 pages"

# The print job's deflate level (printing/deflateinit.cpp): Qt's PDF writer
# in the installed program calls the program's own deflateInit_, not
# zlib's. A Qt that brings its own zlib, or binds it otherwise, fails here
# instead of quietly writing at zlib's default. The level is the program's
# alone: no library of ours and no other program defines it.
as_user "$home" env LD_BIND_NOW=1 LD_DEBUG=bindings "LD_DEBUG_OUTPUT=$home/ld" timeout 60 "$program" \
  --verifica-avvio >"$WORK/bind.out" 2>"$WORK/bind.err" || fail "the installed program did not start to show its bindings"
grep -hE "binding file [^ ]*libQt6Gui\.so[^ ]* .*to $PREFIX/bin/plavik \[0\]: normal symbol .deflateInit_." "$home"/ld.* \
  >/dev/null || fail "Qt's PDF writer in the installed program does not call the program's own deflateInit_"
rm -f "$home"/ld.*
for f in "$PREFIX"/lib/plavik/*; do
  if nm -D --defined-only "$f" 2>/dev/null | grep -qw deflateInit_; then fail "$f defines deflateInit_"; fi
done

[ "$before" = "$(listing "$PREFIX")" ] || {
  diff <(echo "$before") <(listing "$PREFIX") >&2 || true
  fail "the program wrote below the prefix"
}

# The install copied where the user may not write (as root: owned by root;
# otherwise: its rights taken away): the user's files go to the user's
# folders, the copy stays as it was.
copy=$WORK/opt/plavik
mkdir -p "$WORK/opt"
cp -a "$PREFIX" "$copy"
chmod -R go-w "$copy"
[ "$(id -u)" -eq 0 ] || chmod -R u-w "$copy"
chmod 755 "$WORK/opt"
before=$(listing "$copy")
home=$(new_home)
start_plavik "$copy/bin/plavik" "$home"
check_user_files "$home"
[ "$before" = "$(listing "$copy")" ] || fail "the program wrote into a program folder the user may not write in"
echo "ok"
