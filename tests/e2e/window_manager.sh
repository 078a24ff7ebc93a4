#!/usr/bin/env bash
# The day of the talk: a laptop with a projector beside it, under a window manager (openbox),
# another program open on each monitor. The projector, to the right of the laptop, is the
# primary monitor: the setup window opens there and the presentation covers exactly it, above
# every other window. Escape ends the presentation after Alt+Tab away and back, and after a
# click on the other program's window and back on the strip; Alt+F4 ends it whole; each time
# the setup window comes back in front. Then, started with --screen on the laptop's monitor,
# the program presents there.
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
command -v xrandr >/dev/null || { echo "SKIP: xrandr is not installed"; exit 77; }
start_session "$1"

# One X screen, two monitors: the laptop's 1280 x 800 on the left, the projector's
# 1024 x 768 on the right, primary.
xrandr --setmonitor LAPTOP 1280/338x800/211+0+0 none
xrandr --setmonitor '*PROJ' 1024/270x768/203+1280+0 screen
xrandr --listmonitors | grep -q '\*PROJ' || fail "the projector is not the primary monitor"

openbox >"$APPDIR/openbox.log" 2>&1 &
OTHERS+=($!)
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"
# Another program on each monitor, open before the presentation.
xlogo -title 'other on the laptop' -geometry 200x200+100+100 -bg '#ffff00' -fg '#0000ff' &
OTHERS+=($!)
xlogo -title 'other on the projector' -geometry 200x200+1700+300 -bg '#00ffff' -fg '#0000ff' &
OTHERS+=($!)
sleep 1

# Three pictures and a presentation of them: strip on the left, 10 percent.
make_pictures "$APPDIR/pictures"
{
  printf '%s\r' "$APPDIR/pictures" 0 10 0 0 0.6 0 0 0.8 0 0 0 0 1 0.5 0 0 1 0 0 0 0 1 1 1 1 5 3
  for _ in 1 2 3; do printf '\r\r\r\r\r\r\r\r\r\r\r\r\r'; done
} >"$APPDIR/talk.v69"

active_name() { xdotool getwindowname "$(xdotool getactivewindow 2>/dev/null)" 2>/dev/null || true; }
expect_active() { # pattern what
  local got=""
  for _ in $(seq 1 30); do
    got="$(active_name)"
    [[ "$got" =~ $1 ]] && { ok "$2"; return 0; }
    sleep 0.1
  done
  fail "$2: the active window is '$got'"
}
geometry_is() { # window WxH+X+Y what
  window_geometry "$1"
  [ "${WW}x${WH}+${WX}+${WY}" = "$2" ] || fail "$3: ${WW}x${WH}+${WX}+${WY}, expected $2"
  ok "$3"
}

start_app "^Presentation setup: 1024x768 pixels$" "$APPDIR/talk.v69"
SETUP="$WIN"
window_geometry "$SETUP"
[ "$WX" -ge 1280 ] && [ $((WX + WW)) -le 2304 ] || fail "the setup window is not on the projector: x $WX"
ok "the setup window opens on the primary monitor, the projector"

present() { # what [x]: picture 1 shows at (x, 384), on the projector unless told
  focus "$SETUP"
  key Return
  PICT="$(wait_window '^picture$' "$1: the picture window")"
  STRIP="$(wait_window '^thumbnails$' "$1: the strip")"
  await_pixel "$APPDIR/shown.png" "${2:-1800}" 384 d04020 "$1: picture 1 shown"
}
ended() { # what
  wait_gone '^(picture|thumbnails)$' "$1: the presentation ends"
  expect_active '^Presentation setup' "$1: the setup window is back in front"
  screenshot "$APPDIR/back.png"
  window_geometry "$SETUP"
  expect_pixel "$APPDIR/back.png" $((WX + 362)) $((WY + WH - 344 + 237)) 999999 "$1: the setup window shows"
}

# ---------------------------------------------------------------- Alt+Tab away and back
present "first"
geometry_is "$STRIP" "102x768+1280+0" "the strip lies along the projector's left edge"
geometry_is "$PICT" "921x768+1383+0" "the picture window fills the rest of the projector"
expect_pixel "$APPDIR/shown.png" 1710 310 d04020 "the presentation is above the projector's other window"
expect_pixel "$APPDIR/shown.png" 120 200 ffff00 "the laptop's monitor keeps its own windows"
# Alt held down and Tab pressed as often as it takes to reach a window (the window manager
# switches when Alt is let go).
alt_tab_to() { # pattern what
  for tabs in 1 2 3 4 5; do
    xdotool keydown alt
    for _ in $(seq 1 "$tabs"); do xdotool key Tab; sleep 0.2; done
    xdotool keyup alt
    sleep 0.4
    [[ "$(active_name)" =~ $1 ]] && { ok "$2"; return 0; }
  done
  fail "$2: Alt+Tab did not reach it (active: '$(active_name)')"
}
alt_tab_to '^other on the projector$' "Alt+Tab away: the other program is active"
screenshot "$APPDIR/away.png"
expect_pixel "$APPDIR/away.png" 1710 310 d04020 "the presentation stays above the active program"
alt_tab_to '^(picture|thumbnails)$' "Alt+Tab back to the presentation"
key Escape
ended "Escape after Alt+Tab"

# ---------------------------------------------------------------- a click on another program
present "second"
click 150 150
expect_active "^other on the laptop$" "a click on the laptop's program makes it active"
# Back on the strip: cell 2 (the tall green picture) is shown, and Escape still ends.
click 1330 $((768 * 3 / 8))
await_pixel "$APPDIR/second.png" 1843 384 20a040 "a click on cell 2 shows picture 2"
key Escape
ended "Escape after a click on another program"

# ---------------------------------------------------------------- the window manager's close
present "third"
focus "$PICT"
key alt+F4
ended "Alt+F4"

# ---------------------------------------------------------------- quit, then --screen LAPTOP
focus "$SETUP"
key ctrl+q
wait_exit
start_app "^Presentation setup: 1280x800 pixels$" --screen LAPTOP "$APPDIR/talk.v69"
SETUP="$WIN"
window_geometry "$SETUP"
[ $((WX + WW)) -le 1280 ] || fail "--screen LAPTOP: the setup window is not on the laptop: x $WX"
ok "--screen LAPTOP: the setup window opens on the laptop"
present "--screen LAPTOP" 640
geometry_is "$STRIP" "128x800+0+0" "--screen LAPTOP: the strip lies along the laptop's left edge"
geometry_is "$PICT" "1151x800+129+0" "--screen LAPTOP: the picture window fills the rest of it"
key Escape
ended "--screen LAPTOP"
focus "$SETUP"
key alt+F4 # the window manager's close quits too
wait_exit
