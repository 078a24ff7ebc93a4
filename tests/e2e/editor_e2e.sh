#!/usr/bin/env bash
# The notes editor with real input on a 1024 x 768 screen: a presentation of two pictures is
# opened, a note is typed, given size 72, bold and the top-right place, and its rectangle is
# drawn with two clicks on the preview. The saved file holds those cells; the presentation
# then shows the note and the frame.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"
fresh_app "$1"
# The save dialog proposes its file in the home folder: the test's own folder.
export HOME="$APPDIR"

pics="$APPDIR/pics"
mkdir -p "$pics"
convert -size 400x300 xc:'#00ff00' "$pics/a.png"
convert -size 400x300 xc:'#0000ff' "$pics/b.png"
# A presentation of that folder: strip at the left, 10 percent, the default colours, notes
# displayed, shadow 5, two pictures without notes.
show="$APPDIR/show.v69"
{
  printf '%s\r' "$pics" 0 10 0 0 0.6 0 0 0.8 0 0 0 0 1 0.5 0 0 1 0 0 0 0 1 1 0 1 5 2
  for _ in $(seq 1 26); do printf '\r'; done
} >"$show"

start_app "Presentation setup: 1024x768 pixels" "$show"
window_geometry "$WIN"
sx=$WX
sy=$((WY + WH - 344))
sleep 0.5
click $((sx + 426)) $((sy + 15)) 1 # "Notes setup"
ED="$(xdotool search --onlyvisible --name "^Notes setup$" | head -n 1 || true)"
[ -n "$ED" ] || fail "the notes editor did not open"
window_geometry "$ED"
ex=$WX
ey=$((WY + WH - 344))
xdotool windowfocus --sync "$ED" 2>/dev/null || true

# A 10 percent strip is 102 pixels: area 921 x 768, preview at (24, 44), 251 x 210.
click $((ex + 300)) $((ey + 293))       # the note field
xdotool type --delay 30 "Hello e2e"
sleep 0.3
click $((ex + 370)) $((ey + 82)) 0.5 # the size list opens
key End Return
click $((ex + 318)) $((ey + 109))  # "Bold"
click $((ex + 280)) $((ey + 34))   # top-right place
click $((ex + 318)) $((ey + 217))  # "Use rectangle"
xdotool mousemove --sync $((ex + 24 + 50)) $((ey + 44 + 60))
sleep 0.2
click $((ex + 24 + 50)) $((ey + 44 + 60))    # first corner at preview (50, 60)
xdotool mousemove --sync $((ex + 24 + 120)) $((ey + 44 + 100))
sleep 0.2
click $((ex + 24 + 200)) $((ey + 44 + 150))  # second corner at preview (200, 150)
shot="$APPDIR/editor.png"
screenshot "$shot"
# Frame lines from (74, 104) to (224, 194) in the editor, 5 pixels wide, red.
expect_pixel "$shot" $((ex + 150)) $((ey + 104)) ff0000 "frame line on the preview"
expect_pixel "$shot" $((ex + 224)) $((ey + 150)) ff0000 "second corner's edge"
key Return # "OK"
xdotool search --onlyvisible --name "^Notes setup$" >/dev/null 2>&1 && fail "the editor stayed open"
ok "OK closes the editor"

# Save (Ctrl+S) to the proposed file in the home folder.
xdotool windowfocus --sync "$WIN" 2>/dev/null || true
key ctrl+s
sleep 1
DLG="$(xdotool search --onlyvisible --name "Save" | head -n 1 || true)"
[ -n "$DLG" ] || fail "no save dialog"
xdotool windowfocus --sync "$DLG" 2>/dev/null || true
key Return
sleep 0.5
saved="$APPDIR/Presentazione.txt"
[ -f "$saved" ] || fail "nothing saved at $saved"
# Line 29 on holds picture 1's 13 cells.
mapfile -t cells < <(tr '\r' '\n' <"$saved" | sed -n '29,41p')
expect_cell() { [ "${cells[$1]}" = "$2" ] || fail "column $1 is '${cells[$1]}', expected '$2'"; }
expect_cell 0 "Hello e2e"
expect_cell 2 "72"
expect_cell 3 "1"
expect_cell 6 "5"
expect_cell 7 "1"
# s = 921 / 251: (50, 60) -> (183, 220), (200, 150) -> (733, 550).
expect_cell 8 "183"
expect_cell 9 "220"
expect_cell 10 "550"
expect_cell 11 "330"
expect_cell 12 "5"
ok "stored cells"

# The presentation: the picture area starts at x 103, right of the 102-pixel strip.
xdotool windowfocus --sync "$WIN" 2>/dev/null || true
click $((sx + 426)) $((sy + 325)) 2 # "Start presentation"
shot="$APPDIR/show.png"
screenshot "$shot"
expect_pixel "$shot" $((103 + 458)) $((220 + 1)) ff0000 "frame's top edge"
expect_pixel "$shot" $((103 + 183 + 1)) $((220 + 165)) ff0000 "frame's left edge"
# The note, dark red, in the top right quarter of the picture area.
red="$(convert "$shot" -crop 460x384+563+0 +repage -fill black +opaque '#7f0000' \
  -fill white -opaque '#7f0000' -format '%[fx:int(mean*w*h)]' info:)"
[ "$red" -gt 100 ] || fail "no note text at the top right ($red pixels)"
ok "note text at the top right ($red pixels)"
key Escape
sleep 0.5
xdotool windowfocus --sync "$WIN" 2>/dev/null || true
key ctrl+q
wait_exit
ok "quit"
rm -rf "$APPDIR"
