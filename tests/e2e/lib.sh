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

# Starts the program with the given arguments and waits for a window whose name matches $1.
# Sets APP_PID and WIN.
start_app() {
  local title="$1"; shift
  "$APP" "$@" >"$APPDIR/stdout.log" 2>&1 &
  APP_PID=$!
  WIN=""
  for _ in $(seq 1 100); do
    WIN="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)"
    [ -n "$WIN" ] && break
    sleep 0.1
  done
  [ -n "$WIN" ] || fail "no window named '$title' appeared"
  sleep 0.5
}

# Window geometry: sets WX WY WW WH.
window_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1" | sed -e 's/^X=/WX=/' -e 's/^Y=/WY=/' \
    -e 's/^WIDTH=/WW=/' -e 's/^HEIGHT=/WH=/' | grep -E '^(WX|WY|WW|WH)=')"
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
