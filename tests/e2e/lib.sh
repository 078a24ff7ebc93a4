# Helpers for the real-window tests: they run inside an X server (xvfb-run) and drive the
# program with real input through xdotool, reading the screen back with ImageMagick.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

# A private copy of the program in a fresh folder, so its preferences file starts absent, and
# a thumbnail cache of its own there (never the user's). Sets APPDIR and APP.
fresh_app() {
  APPDIR="$(mktemp -d)"
  export XDG_CACHE_HOME="$APPDIR/cache"
  cp "$1" "$APPDIR/vetrinova"
  APP="$APPDIR/vetrinova"
}

# Polls until a visible window whose name matches the pattern exists; prints its id.
wait_window() { # pattern what
  local id=""
  for _ in $(seq 1 150); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "$2: no window named '$1'"
}

# Polls until no visible window matches the pattern.
wait_gone() { # pattern what
  for _ in $(seq 1 150); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || { ok "$2"; return 0; }
    sleep 0.1
  done
  fail "$2: the window '$1' stays"
}

focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true; }

# Starts the program with the given arguments and waits for a window whose name matches $1.
# Sets APP_PID and WIN.
start_app() {
  local title="$1"; shift
  "$APP" "$@" >"$APPDIR/stdout.log" 2>&1 &
  APP_PID=$!
  WIN="$(wait_window "$title" "the program started")"
  sleep 0.5
}

# The window's own area on the screen, without a window manager's frame: sets WX WY WW WH.
window_geometry() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "WX=" $4}
    /Absolute upper-left Y/ {print "WY=" $4} /Width:/ {print "WW=" $2} /Height:/ {print "WH=" $2}')"
}

# Prints the screen position of the window's 512 x 344 content, the lower part of the window
# below the menu bar: "x y".
content_origin() { # window
  window_geometry "$1"
  echo "$WX $((WY + WH - 344))"
}

screenshot() { import -window root "$1"; }

# Colour of one pixel of a screenshot as rrggbb (lower case).
pixel() {
  convert "$1" -format "%[hex:p{$2,$3}]" info: | tr 'A-F' 'a-f' | cut -c1-6
}

expect_pixel() { # file x y rrggbb what
  local got
  got="$(pixel "$1" "$2" "$3")"
  [ "$got" = "$4" ] || fail "$5: pixel ($2,$3) is $got, expected $4"
  ok "$5"
}

click() { xdotool mousemove --sync "$1" "$2" click 1; sleep "${3:-0.3}"; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }

# Waits until the program has exited; fails after a few seconds.
wait_exit() {
  for _ in $(seq 1 50); do
    kill -0 "$APP_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  kill "$APP_PID" 2>/dev/null || true
  fail "the program did not quit"
}
