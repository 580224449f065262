#!/usr/bin/env bash
# desktopfiles_test.sh SOURCE: the desktop entry passes desktop-file-validate
# and names the .lab type; the file type passes xmllint and is taken by
# update-mime-database, which then knows a .lab by its name and by its first
# bytes; the icon is a well-formed SVG.
source "$(dirname "$0")/common.sh"
SOURCE=$1
desktop=$SOURCE/resources/desktop/plavik.desktop
mime=$SOURCE/resources/desktop/plavik-mime.xml

out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'MimeType=application/x-plavik-label;' "$desktop" || fail "the desktop entry does not open .lab files"
grep -qx 'Exec=plavik %f' "$desktop" || fail "the desktop entry does not pass the file to the program"

xmllint --noout "$mime" || fail "xmllint refused $mime"
xmllint --noout "$SOURCE/resources/desktop/plavik.svg" || fail "xmllint refused the icon"

mkdir -p "$WORK/mime/packages"
cp "$mime" "$WORK/mime/packages/plavik.xml"
out=$(XDG_DATA_DIRS=$WORK update-mime-database "$WORK/mime" 2>&1) || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
grep -qx '50:application/x-plavik-label:\*\.lab' "$WORK/mime/globs2" || fail "no glob *.lab in $(cat "$WORK/mime/globs2")"
# The label file's first four bytes, 47 41 AB 00 (the number 11223367 in
# little-endian order), as the magic rule holds them.
LC_ALL=C grep -qaP '\x47\x41\xab\x00' "$WORK/mime/magic" || fail "the magic rule does not hold the label's first bytes"
echo "ok"
