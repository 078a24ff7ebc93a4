#!/usr/bin/env bash
# Import and present with real input on a 1024 x 768 screen: a folder of three pictures (and a
# text file and a subfolder, which are not pictures of it) is chosen with Ctrl+I in the folder
# dialog, the presentation starts, the strip on the left shows its cells, picture 1 is fitted
# on black, a click on thumbnail 2 shows picture 2, and Escape brings the setup window back.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"
source "$here/session_lib.sh"
fresh_app "$1"
export HOME="$APPDIR"
trap 'kill "$APP_PID" 2>/dev/null || true; [ -n "${E2E_KEEP:-}" ] || rm -rf "$APPDIR"' EXIT

pictures="$APPDIR/holiday pictures"
make_pictures "$pictures"

start_app "Presentation setup: 1024x768 pixels"
window_geometry "$WIN"
cx=$WX
cy=$((WY + WH - 344))
focus "$WIN"
# The folder read-out (testo_folder) before the import, to see it change.
screenshot "$APPDIR/before.png"
convert "$APPDIR/before.png" -crop 250x20+$((cx + 45))+$((cy + 286)) +repage "$APPDIR/readout0.png"

# Start presentation is disabled until a folder is imported: Return, its default button,
# does nothing yet.
key Return
sleep 0.5
xdotool search --onlyvisible --name "^picture" >/dev/null 2>&1 && fail "a presentation started without pictures"
ok "nothing starts before an import"

key ctrl+i
choose_folder "$pictures"
focus "$WIN"
changed=0
for _ in $(seq 1 30); do
  screenshot "$APPDIR/after.png"
  convert "$APPDIR/after.png" -crop 250x20+$((cx + 45))+$((cy + 286)) +repage "$APPDIR/readout1.png"
  diff="$(compare -metric AE "$APPDIR/readout0.png" "$APPDIR/readout1.png" null: 2>&1 || true)"
  [ "${diff%% *}" != "0" ] && { changed=1; break; }
  sleep 0.1
done
[ "$changed" = 1 ] || fail "the folder read-out did not change after the import"
ok "the folder read-out shows the imported folder"

# Return now presses "Start presentation".
key Return
PICT="$(wait_window "^picture" "Return starts the presentation")"
wait_window "^thumbnails" "the strip opens" >/dev/null
xdotool search --onlyvisible --name "Presentation setup" >/dev/null 2>&1 && fail "the setup window stays visible"
ok "the presentation runs, the setup window is hidden"

# Strip at the left, 10 percent: 102 pixels; 3 pictures and the exit cell in one column of
# 192-pixel pitch, cells 100 x 190 at (1, 1 + 192 k). The picture area is 921 x 768 at x 103.
shot="$APPDIR/show1.png"
# Picture 1, 400 x 300, fitted to 921 x 690 at y 38, centred on black.
await_pixel "$shot" $((103 + 460)) 384 d04020 "picture 1 in the middle of the picture area"
expect_pixel "$shot" $((103 + 460)) 10 000000 "black above picture 1"
expect_pixel "$shot" $((103 + 460)) 760 000000 "black below picture 1"
expect_pixel "$shot" $((103 + 5)) 384 d04020 "picture 1 fills the width"
expect_pixel "$shot" 50 0 cccccc "strip background above cell 1"
expect_pixel "$shot" 0 100 cccccc "strip background left of cell 1"
expect_pixel "$shot" 101 100 cccccc "strip background right of cell 1"
expect_pixel "$shot" 50 191 cccccc "strip background between cells 1 and 2"
expect_pixel "$shot" 50 192 cccccc "strip background between cells 1 and 2, second row"
# Thumbnails are fitted to their cells: 1 is 100 x 75 at y 57, 2 is 100 x 150 at y 20.
expect_pixel "$shot" 50 10 999999 "cell 1 fill above its thumbnail"
expect_pixel "$shot" 50 96 d04020 "thumbnail 1"
expect_pixel "$shot" 50 200 999999 "cell 2 fill above its thumbnail"
expect_pixel "$shot" 50 288 20a040 "thumbnail 2"
expect_pixel "$shot" 50 480 2040d0 "thumbnail 3 (img10 after img2)"
expect_pixel "$shot" 102 384 000000 "the pixel between strip and picture stays uncovered"

click 50 288
shot="$APPDIR/show2.png"
# Picture 2, 200 x 300, fitted to 512 x 768 at x 204 of the area.
await_pixel "$shot" $((103 + 460)) 384 20a040 "a click on thumbnail 2 shows picture 2"
expect_pixel "$shot" $((103 + 100)) 384 000000 "black left of picture 2"
expect_pixel "$shot" $((103 + 820)) 384 000000 "black right of picture 2"
expect_pixel "$shot" $((103 + 460)) 2 20a040 "picture 2 fills the height"

focus "$PICT"
key Escape
wait_gone "^picture" "Escape ends the presentation"
wait_window "Presentation setup: 1024x768 pixels" "the setup window comes back" >/dev/null
xdotool search --onlyvisible --name "^thumbnails" >/dev/null 2>&1 && fail "the strip stays"
ok "both presentation windows are closed"

focus "$WIN"
key ctrl+q
wait_exit
ok "quit"
