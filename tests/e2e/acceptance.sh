#!/usr/bin/env bash
# A user's whole working session with real input, at whatever size the X server's screen has:
# first start without preferences (drawn on the real screen, the title exactly
# the caption for the window manager too, the program's icon), the flags, a folder imported through the folder dialog, the
# strip put at the bottom edge and set to 20 percent, the picture background changed in the
# colour dialog, notes written for two pictures (fonts, styles, places, a rectangle drawn with
# two clicks), the presentation saved and the program quit. Then a second start, in Italian
# from the beginning, with the saved file on the command line, and the presentation checked in
# screenshots: the strip's cells, the picture's placement, the notes, their shadow and box, the
# frame. The saved file is checked line by line.
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
start_session "$1"
echo "screen ${SW}x${SH}"
# Integer part of an arithmetic expression computed in doubles, as the program computes it.
calc() { awk "BEGIN { v = $1; printf \"%d\\n\", (v < 0 ? -int(-v) : int(v)) }"; }

pictures="$APPDIR/le mie foto"
make_pictures "$pictures"
saved="$APPDIR/Presentazione.txt" # the save dialog's proposed name, in the home folder
background=305070 # the picture background chosen in the colour dialog

# ---------------------------------------------------------------- first session
[ -e "$APPDIR/vtnvprfs.txt" ] && fail "a preferences file before the first start"
start_app "^Presentation setup: ${SW}x${SH} pixels"
read -r cx cy < <(content_origin "$WIN")
focus "$WIN"
shot="$APPDIR/setup.png"
screenshot "$shot"
# Drawn on a real screen too (every pixel of it offscreen: windows.looks).
expect_pixel "$shot" $((cx + 362)) $((cy + 237)) 999999 "swatch 0 grey"
expect_pixel "$shot" $((cx + 25)) $((cy + 100)) 6b8eb2 "strip preview"
# What task bars and window managers show: _NET_WM_NAME, exactly the caption.
net="$(xprop -id "$WIN" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')"
[ "$net" = "Presentation setup: ${SW}x${SH} pixels" ] || fail "_NET_WM_NAME is '$net'"
icons="$(xprop -id "$WIN" _NET_WM_ICON)" # whole: grep -q would cut xprop's output short
grep -q 'Icon (32 x 32)' <<<"$icons" || fail "no 32 x 32 window icon"
ok "the title for the window manager, the window icon"

# The flags re-caption the window at once.
click $((cx + 316)) $((cy + 302))
expect_title "$WIN" "Settaggi presentazione: ${SW}x${SH} pixels" "the Italian flag gives the Italian title"
click $((cx + 24)) $((cy + 302))
expect_title "$WIN" "Presentation setup: ${SW}x${SH} pixels" "the English flag gives the English title"
click $((cx + 316)) $((cy + 302))
expect_title "$WIN" "Settaggi presentazione: ${SW}x${SH} pixels" "Italian again"

# "Start presentation" is disabled until a folder is imported: Return, its default button,
# starts nothing yet.
focus "$WIN"
key Return
sleep 0.5
xdotool search --onlyvisible --name "^picture" >/dev/null 2>&1 && fail "a presentation without pictures"
ok "nothing starts before an import"

# Qt's own dialogs speak Italian too.
key ctrl+i
answer_dialog "Trova cartella" "$pictures"
focus "$WIN"

# The screen preview: the screen scaled to fit 320 x 240, centred on (170, 130).
ps="(320 / $SW < 240 / $SH ? 320 / $SW : 240 / $SH)"
ph=$(calc "$SH * $ps")
pb=$(calc "$ph / 2 + 130")
# A point of the preview that the bottom strip covers at 20 percent but not at 10 percent.
probe_x=$((cx + 155))
probe_y=$((cy + pb - ph * 15 / 100))
click $((cx + 170)) $((cy + pb - 6)) # near the bottom edge
await_pixel "$APPDIR/edge.png" "$probe_x" $((cy + pb - 5)) 6b8eb2 "a click near the bottom edge puts the strip there"
expect_pixel "$APPDIR/edge.png" "$probe_x" "$probe_y" 7f7f72 "the strip is 10 percent high"

# Drag the strip-size handle from 10 to 20 percent: about 10 / 45 of the groove to the right.
xdotool mousemove --sync $((cx + 78)) $((cy + 270)) mousedown 1
sleep 0.2
xdotool mousemove --sync $((cx + 100)) $((cy + 270))
sleep 0.1
xdotool mousemove --sync $((cx + 130)) $((cy + 270))
sleep 0.3
screenshot "$APPDIR/dragging.png"
expect_pixel "$APPDIR/dragging.png" "$probe_x" "$probe_y" 7f7f72 "while dragging, the strip keeps its size"
xdotool mouseup 1
await_pixel "$APPDIR/slider.png" "$probe_x" "$probe_y" 6b8eb2 "letting go sets the strip to 20 percent"

# Swatch 2, the picture background, through the colour dialog's HTML field.
click $((cx + 490)) $((cy + 232))
answer_dialog "Color/Colore" "#$background" alt+h
await_pixel "$APPDIR/colour.png" $((cx + 480)) $((cy + 300)) "$background" "swatch 2 shows the chosen colour"

# "Mostra note" and "Note con sfondo".
click $((cx + 375)) $((cy + 41))
click $((cx + 375)) $((cy + 63))

# ---------------------------------------------------------------- the notes editor
# The picture area of the screen with a 20 percent strip at the bottom, and the editor's
# preview of it: fitted to 280 x 210, centred on (150, 149).
strip=$(calc "$SH * 20 / 100")
area_w=$SW
area_h=$((SH - strip - 1))
ef="(280 / $area_w < 210 / $area_h ? 280 / $area_w : 210 / $area_h)"
ew=$(calc "$area_w * $ef")
eh=$(calc "$area_h * $ef")
el=$(calc "150 - $ew / 2")
er=$(calc "$ew / 2 + 150")
et=$(calc "149 - $eh / 2")
scale="($area_w / ($er - $el))"
# The rectangle's corners at preview points (40, 30) and (200, 120), in picture-area pixels.
fx1=$(calc "40 * $scale")
fy1=$(calc "30 * $scale")
fx2=$(calc "200 * $scale")
fy2=$(calc "120 * $scale")
fw=$((fx2 - fx1))
fh=$((fy2 - fy1))

click $((cx + 426)) $((cy + 15)) # "Settaggio note"
ED="$(wait_window "^Defizione note" "the notes editor opens in Italian")"
read -r ex ey < <(content_origin "$ED")
focus "$ED"

choose_in_list() { # x y text: opens the pop-up list and picks a row by typing its start
  click "$1" "$2" 0.6
  xdotool type --delay 30 "$3"
  sleep 0.2
  key Return
}
# Picture 1: top centre, Liberation Serif 48, bold and italic, and a rectangle.
click $((ex + 300)) $((ey + 293))
xdotool type --delay 30 "Primo quadro"
choose_in_list $((ex + 370)) $((ey + 56)) "Liberation Serif"
choose_in_list $((ex + 370)) $((ey + 82)) "48"
click $((ex + 320)) $((ey + 109)) # "Grassetto"
click $((ex + 320)) $((ey + 130)) # "Corsivo"
click $((ex + 150)) $((ey + 34))  # top centre
click $((ex + 320)) $((ey + 217)) # "Usa rettangolo"
xdotool mousemove --sync $((ex + el + 40)) $((ey + et + 30))
sleep 0.2
click $((ex + el + 40)) $((ey + et + 30))
xdotool mousemove --sync $((ex + el + 120)) $((ey + et + 80))
sleep 0.2
click $((ex + el + 200)) $((ey + et + 120))
screenshot "$APPDIR/editor1.png"
expect_pixel "$APPDIR/editor1.png" $((ex + el + 120)) $((ey + et + 30)) ff0000 "the rectangle's top edge on the preview"
expect_pixel "$APPDIR/editor1.png" $((ex + el + 40)) $((ey + et + 75)) ff0000 "the rectangle's left edge on the preview"

# Picture 2: bottom right, Liberation Mono 30, underlined.
click $((ex + 284)) $((ey + 324)) # "Successivo  >"
click $((ex + 300)) $((ey + 293))
xdotool type --delay 30 "Secondo"
choose_in_list $((ex + 370)) $((ey + 56)) "Liberation Mono"
choose_in_list $((ex + 370)) $((ey + 82)) "30"
click $((ex + 320)) $((ey + 151)) # "Sottolineato"
click $((ex + 280)) $((ey + 265)) # bottom right
key Return # "OK"
wait_gone "^Defizione note" "Return presses OK and closes the editor"
wait_window "^Settaggi presentazione" "the setup window is back" >/dev/null

# ---------------------------------------------------------------- save and quit
focus "$WIN"
key ctrl+s
dlg="$(wait_window "^Salva come" "the save dialog, in Italian")"
focus "$dlg"
key Return
for _ in $(seq 1 50); do [ -s "$saved" ] && break; sleep 0.1; done
[ -s "$saved" ] || fail "nothing saved at $saved"
ok "saved"

[ "$(tail -c 1 "$saved" | od -An -c | tr -d ' ')" = '\r' ] || fail "the last byte is not a carriage return"
[ "$(tr -dc '\n' <"$saved" | wc -c)" -eq 0 ] || fail "the file holds a line feed"
mapfile -t lines < <(tr '\r' '\n' <"$saved")
[ "${#lines[@]}" -eq 67 ] || fail "the file has ${#lines[@]} lines, expected 28 + 13 x 3 = 67"
expect_line() { # number text
  [ "${lines[$1 - 1]}" = "$2" ] || fail "line $1 is '${lines[$1 - 1]}', expected '$2'"
}
expect_near() { # number value: a real number within 0.0005
  awk -v a="${lines[$1 - 1]}" -v b="$2" 'BEGIN { d = a - b; exit !(a != "" && d < 0.0005 && d > -0.0005) }' ||
    fail "line $1 is '${lines[$1 - 1]}', expected about $2"
}
expect_line 1 "$pictures"
for expected in "2 3" "3 20" "25 1" "26 1" "27 5" "28 3"; do
  expect_line $expected
done
# Colours as hue, saturation, value: the defaults (dark red #7F0000 has value 127 / 255), and
# #305070 for the picture background.
for expected in "4 0" "5 0" "6 0.6" "7 0" "8 0" "9 0.8" "13 0" "14 1" "15 0.49804" "16 0" "17 0" "18 1" \
  "19 0" "20 0" "21 0" "22 0" "23 1" "24 1"; do
  expect_near $expected
done
expect_near 10 0.58333 # (4 + (0x30 - 0x50) / (0x70 - 0x30)) / 6
expect_near 11 0.57143 # (0x70 - 0x30) / 0x70
expect_near 12 0.43922 # 0x70 / 255
note1=("Primo quadro" "Liberation Serif" 48 1 1 "" 4 1 "$fx1" "$fy1" "$fw" "$fh" 5)
note2=("Secondo" "Liberation Mono" $'30\t' "" "" 1 2 "" "" "" "" "" 5)
for c in $(seq 0 12); do
  expect_line $((29 + c)) "${note1[$c]}"
  expect_line $((42 + c)) "${note2[$c]}"
  expect_line $((55 + c)) ""
done
ok "the saved file holds every value, line by line"

[ -f "$APPDIR/vtnvprfs.txt" ] && fail "preferences written before quitting"
focus "$WIN"
key ctrl+q
wait_exit
[ "$(head -c 1 "$APPDIR/vtnvprfs.txt")" = "2" ] || fail "the preferences do not hold Italian"
ok "Ctrl+Q quits and keeps Italian in the preferences"

# ---------------------------------------------------------------- second session
start_app "^Settaggi presentazione: ${SW}x${SH} pixels" "$saved"
expect_title "$WIN" "Settaggi presentazione: ${SW}x${SH} pixels" "Italian from the start"
read -r cx cy < <(content_origin "$WIN")
await_pixel "$APPDIR/opened.png" $((cx + 480)) $((cy + 300)) "$background" "the file named on the command line opened"
expect_pixel "$APPDIR/opened.png" "$probe_x" "$probe_y" 6b8eb2 "its strip is at the bottom, 20 percent"
focus "$WIN"
click $((cx + 426)) $((cy + 325)) # "Avvia presentazione"
PICT="$(wait_window "^picture" "the presentation starts")"
wait_window "^thumbnails" "the strip opens" >/dev/null
xdotool search --onlyvisible --name "^Settaggi" >/dev/null 2>&1 && fail "the setup window stays visible"

# The strip: W x S at the bottom; 3 pictures and the exit cell in one row of pitch W / 4.
stop=$((SH - strip))
pitch=$((SW / 4))
cw=$((pitch - 2))
chh=$((strip - 2))
# Thumbnail 1 (400 x 300) fitted to its cell: its left margin.
tx=$(calc "($cw - 400 * ($cw / 400 < $chh / 300 ? $cw / 400 : $chh / 300)) / 2")
[ "$tx" -ge 4 ] || fail "test set-up: thumbnail 1 leaves no cell fill to see ($tx)"
shot="$APPDIR/show1.png"
# Thumbnails and picture 1 arrive in either order; the last shot has all of them.
await_pixel "$shot" $((2 * pitch + pitch / 2)) $((stop + strip / 2)) 2040d0 "thumbnail 3 arrived"
await_pixel "$shot" $((SW / 2)) $((area_h - 30)) d04020 "picture 1 shown"
expect_pixel "$shot" 0 $((stop + strip / 2)) cccccc "strip background left of cell 1"
expect_pixel "$shot" $((SW / 2)) "$stop" cccccc "strip background along the strip's top"
expect_pixel "$shot" $((pitch - 1)) $((stop + strip / 2)) cccccc "strip background between cells 1 and 2"
expect_pixel "$shot" $((pitch * 3 - 1)) $((stop + strip / 2)) cccccc "strip background between cells 3 and 4"
expect_pixel "$shot" $((1 + tx / 2)) $((stop + strip / 2)) 999999 "cell 1's fill beside its thumbnail"
expect_pixel "$shot" $((pitch / 2)) $((stop + strip / 2)) d04020 "thumbnail 1"
expect_pixel "$shot" $((pitch + pitch / 2)) $((stop + strip / 2)) 20a040 "thumbnail 2"
expect_pixel "$shot" $((SW / 2)) $((stop - 2)) d04020 "picture 1 reaches the strip"
expect_pixel "$shot" $((SW / 2)) $((stop - 1)) 000000 "the pixel between picture and strip stays uncovered"
# Picture 1 (400 x 300) fitted to the picture area, W x A at the top: its left margin.
px=$(calc "($area_w - 400 * ($area_w / 400 < $area_h / 300 ? $area_w / 400 : $area_h / 300)) / 2")
expect_pixel "$shot" $((px / 2)) $((area_h / 2)) "$background" "the chosen background left of picture 1"
expect_pixel "$shot" $((SW - 1 - px / 2)) $((area_h / 2)) "$background" "the chosen background right of picture 1"
expect_pixel "$shot" $((px + 2)) $((area_h - 30)) d04020 "picture 1 starts where it is centred"
expect_pixel "$shot" $((px - 2)) $((area_h - 30)) "$background" "and not before"
# The frame: 5 pixels wide, drawn inward, in red.
expect_pixel "$shot" $((fx1 + fw / 2)) $((fy1 + 2)) ff0000 "the frame's top edge"
expect_pixel "$shot" $((fx1 + 2)) $((fy1 + fh / 2)) ff0000 "the frame's left edge"
expect_pixel "$shot" $((fx1 + fw - 3)) $((fy1 + fh / 2)) ff0000 "the frame's right edge"
expect_pixel "$shot" $((fx1 + fw / 2)) $((fy1 + fh - 3)) ff0000 "the frame's bottom edge"
expect_pixel "$shot" $((fx1 + fw / 2)) $((fy1 + 8)) d04020 "inside the frame"
expect_pixel "$shot" $((fx1 + fw / 2)) $((fy1 - 2)) d04020 "outside the frame"

# Note 1 at the top centre: label W / 2 wide, 48 + 8 high, at 20 from the top, on a white box.
lw=$((SW / 2))
ll=$(((SW - lw) / 2))
expect_pixel "$shot" $((ll + 1)) 21 ffffff "note box's top left"
expect_pixel "$shot" $((ll + lw - 2)) $((20 + 56 - 2)) ffffff "note box's bottom right"
expect_pixel "$shot" $((ll - 2)) 21 d04020 "left of the note box"
expect_pixel "$shot" $((ll + 1)) $((20 + 56 + 1)) d04020 "below the note box"
check_note() { # region centre-x: text in dark red, its black shadow 5 pixels right and below
  local red black
  red="$(colour_box "$shot" "$1" 7f0000)"
  black="$(colour_box "$shot" "$1" 000000)"
  [ -n "$red" ] || fail "no note text in $1"
  [ -n "$black" ] || fail "no shadow in $1"
  [ "$(count_colour "$shot" "$1" 7f0000)" -gt 200 ] || fail "too little note text in $1"
  read -r _ _ rr rb <<<"$red"
  read -r _ _ br bb <<<"$black"
  [ $((br - rr)) -ge 4 ] && [ $((br - rr)) -le 6 ] || fail "the shadow's right edge $br, the text's $rr"
  [ $((bb - rb)) -ge 4 ] && [ $((bb - rb)) -le 6 ] || fail "the shadow's bottom edge $bb, the text's $rb"
  if [ -n "$2" ]; then
    read -r rl _ rr _ <<<"$red"
    local mid=$(((rl + rr) / 2))
    [ $((mid - $2)) -le 20 ] && [ $(($2 - mid)) -le 20 ] || fail "the note text is centred at $mid, not $2"
  fi
  ok "note text ($red) with its shadow ($black)"
}
check_note "$((lw + 10))x$((56 + 10))+$((ll - 5))+15" $((SW / 2))

# Thumbnail 2: picture 2 with its note at the bottom right, no frame. Like every picture
# here it fills the height, centred as picture 1 is.
click $((pitch + pitch / 2)) $((stop + strip / 2))
shot="$APPDIR/show2.png"
await_pixel "$shot" $((SW / 2)) $((area_h / 3)) 20a040 "a click on thumbnail 2 shows picture 2"
expect_pixel "$shot" $((SW / 2)) 1 20a040 "picture 2 fills the height"
[ "$(count_colour "$shot" "${SW}x${area_h}+0+0" ff0000)" -eq 0 ] || fail "a frame on picture 2"
ok "no frame on picture 2"
lh=38
lt=$((area_h - lh - 20))
ll=$((SW - lw - 20))
expect_pixel "$shot" $((ll + 2)) $((lt + 2)) ffffff "note 2's box, top left"
expect_pixel "$shot" $((ll + 2)) $((lt + lh - 2)) ffffff "note 2's box, bottom left"
expect_pixel "$shot" $((ll - 3)) $((lt + 10)) 20a040 "left of note 2's box"
check_note "$((lw + 10))x$((lh + 10))+$((ll - 5))+$((lt - 5))" ""
read -r _ _ rr _ <<<"$(colour_box "$shot" "$((lw + 10))x$((lh + 10))+$((ll - 5))+$((lt - 5))" 7f0000)"
[ "$rr" -le $((ll + lw)) ] && [ "$rr" -gt $((SW / 2)) ] || fail "note 2 is not right-aligned ($rr)"
ok "note 2 is right-aligned"

# Thumbnail 3: picture 3 has no note.
click $((2 * pitch + pitch / 2)) $((stop + strip / 2))
shot="$APPDIR/show3.png"
await_pixel "$shot" $((SW / 2)) $((area_h / 2)) 2040d0 "a click on thumbnail 3 shows picture 3"
for c in 7f0000 ffffff ff0000; do
  [ "$(count_colour "$shot" "${SW}x${area_h}+0+0" $c)" -eq 0 ] || fail "picture 3 shows #$c"
done
ok "picture 3 without note, box or frame"

focus "$PICT"
key Escape
wait_gone "^picture" "Escape ends the presentation"
xdotool search --onlyvisible --name "^thumbnails" >/dev/null 2>&1 && fail "the strip stays"
wait_window "^Settaggi presentazione" "the setup window is back" >/dev/null
focus "$WIN"
key ctrl+q
wait_exit
ok "quit"
