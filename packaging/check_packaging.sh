#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs: the program, the
# menu entry, the presentation file type (its glob, as the MIME database compiles it), the
# icons; and that the demo presentation, built and installed, names its own picture folder.
set -euo pipefail
cmake_cmd="$1" build="$2" source="$3" demo="$4"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

"$cmake_cmd" --install "$build" --prefix "$prefix" >/dev/null
icons=share/icons/hicolor
for f in bin/vetrinova share/applications/vetrinova.desktop \
         share/mime/packages/vetrinova-mime.xml $icons/scalable/apps/vetrinova.svg \
         $icons/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/vetrinova.png; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
[ -x "$prefix/bin/vetrinova" ] || fail "the installed program is not executable"
for size in 16 32 256; do
  [ "$(identify -format '%wx%h' "$prefix/$icons/${size}x$size/apps/vetrinova.png" 2>/dev/null)" \
    = "${size}x$size" ] || fail "the ${size} px icon is not ${size} x $size"
done
ok "install puts the program, the menu entry, the file type and the icons in place"

if command -v desktop-file-validate >/dev/null; then
  out="$(desktop-file-validate "$source/vetrinova.desktop" 2>&1)" || fail "desktop entry: $out"
  [ -z "$out" ] || fail "desktop entry: $out"
  ok "desktop entry validates"
fi
grep -qx 'Exec=vetrinova %f' "$source/vetrinova.desktop" || fail "Exec does not pass the file"
grep -qx 'MimeType=application/x-vetrinova-presentation;' "$source/vetrinova.desktop" \
  || fail "the entry does not claim presentation files"
grep -q '^Name\[it\]=' "$source/vetrinova.desktop" && grep -q '^Comment\[it\]=' "$source/vetrinova.desktop" \
  || fail "the entry has no Italian name or comment"

if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "the MIME database refuses the type"
  grep -qx 'application/x-vetrinova-presentation:\*.v69' "$prefix/share/mime/globs" \
    || fail "*.v69 is not mapped to the presentation type"
  [ -f "$prefix/share/mime/application/x-vetrinova-presentation.xml" ] \
    || fail "the type is not in the compiled database"
  ok "*.v69 files are presentations"
fi

for file in "$demo" "$prefix/share/vetrinova/demo/Demo.v69"; do
  [ -f "$file" ] || fail "no demo presentation at $file"
  folder="$(head -c 4096 "$file" | tr '\r' '\n' | head -n 1)"
  [ "$folder" = "$(dirname "$file")/pictures" ] || fail "$file names '$folder'"
  n="$(find "$folder" -maxdepth 1 -type f | wc -l)"
  [ "$n" -eq 8 ] || fail "the demo folder holds $n files, not 8"
  lines="$(tr -cd '\r' <"$file" | wc -c)"
  [ "$lines" -eq $((28 + 13 * 8)) ] || fail "$file has $lines lines"
done
cmp -s <(tail -n +2 <(tr '\r' '\n' <"$demo")) \
  <(tail -n +2 <(tr '\r' '\n' <"$prefix/share/vetrinova/demo/Demo.v69")) \
  || fail "the installed demo differs from the built one beyond its folder line"
ok "the demo presentation, built and installed, names its eight pictures"

# Removing what the install listed, as README says, leaves no file behind: the demo's
# pictures (whose names hold spaces) and its presentation are listed too.
manifest="$build/install_manifest.txt"
grep -qx "$prefix/share/vetrinova/demo/Demo.v69" "$manifest" || fail "Demo.v69 is not in the manifest"
xargs -d '\n' rm -f <"$manifest"
# (The MIME database compiled above is the desktop's, brought up to date after it.)
left="$(find "$prefix" -type f ! -path "$prefix/share/mime/*" -o -path "$prefix/share/mime/packages/*")"
[ -z "$left" ] || fail "files left after the uninstall: $left"
ok "the uninstall line removes every file installed"
