#!/usr/bin/env bash
# Documents from the desktop: the program started with a presentation file on its command
# line opens it once it is up; launching it again with another file hands that file to the
# running copy (the new launch exits at once with 0 and no second setup window appears).
# A file handed over during a presentation opens when the presentation ends.
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
fresh_app "$1"
trap 'kill "$APP_PID" 2>/dev/null || true; rm -rf "$APPDIR"' EXIT

pictures="$APPDIR/pictures"
make_pictures "$pictures"

# A presentation of the folder above whose first colour (swatch 0 of the setup window) has
# the given hue, saturation and value; every line ends with a carriage return.
write_presentation() { # file hue saturation value
  {
    printf '%s\r' "$pictures" 0 10 "$2" "$3" "$4" 0 0 0.8 0 0 0 0 1 0.5 0 0 1 0 0 0 0 1 1 1 1 3 3
    for n in 1 2 3; do
      printf '%s\r' "Note $n" "Liberation Sans" 20 1 0 0 0 0 "" "" "" "" ""
    done
  } >"$1"
}
write_presentation "$APPDIR/Blue.v69" 0.6666666666666666 1 1
write_presentation "$APPDIR/Green.v69" 0.3333333333333333 1 1
write_presentation "$APPDIR/Magenta.v69" 0.8333333333333334 1 1

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# Waits until swatch 0 of the setup window shows the colour.
expect_swatch() { await_pixel "$APPDIR/shot.png" $((cx + 362)) $((cy + 237)) "$@"; }

# A second launch with a file: must hand it over and end at once with status 0.
launch_again() { # file what
  local rc=0
  timeout 20 "$APP" "$1" >"$APPDIR/second.log" 2>&1 || rc=$?
  [ "$rc" -eq 124 ] && fail "$2: the second launch did not end"
  [ "$rc" -eq 0 ] || fail "$2: the second launch ended with status $rc"
  ok "$2: the second launch handed the file over and ended with 0"
}

start_app "Presentation setup: 1024x768 pixels" "$APPDIR/Blue.v69"
read -r cx cy < <(content_origin "$WIN")
expect_swatch 0000ff "the file named on the command line opened"

# Start presentation is enabled only by an opened folder: Return, its default button, starts.
focus "$WIN"
key Return
pict="$(wait_window "^picture$" "Return starts the presentation of the opened folder")"
[ "$(visible "Presentation setup")" -eq 0 ] || fail "the setup window stays visible"

launch_again "$APPDIR/Green.v69" "during the presentation"
[ "$(visible "Presentation setup")" -eq 0 ] || fail "a setup window appeared during the presentation"
[ "$(visible "^picture$")" -ge 1 ] || fail "the presentation ended by itself"
ok "no second setup window, the presentation goes on"

focus "$pict"
key Escape
wait_gone "^picture$" "Escape ends the presentation"
expect_swatch 00ff00 "the file handed over during the presentation opened after it"

launch_again "$APPDIR/Magenta.v69" "while the setup window shows"
expect_swatch ff00ff "the file handed over opened at once"
[ "$(visible "Presentation setup")" -eq 1 ] || fail "more than one setup window"
ok "one setup window"

focus "$WIN"
key ctrl+q
wait_exit
ok "the program quits"
