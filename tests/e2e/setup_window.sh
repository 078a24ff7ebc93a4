#!/usr/bin/env bash
# The program starts on a 1024 x 768 screen with no preferences file, shows the setup
# window with its colour swatches and screen preview, titled exactly by its caption in both
# languages for the window manager too, with the program's icon, and quits with Ctrl+Q,
# writing "1".
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"
fresh_app "$1"
start_app "Presentation setup: 1024x768 pixels"
window_geometry "$WIN"
# The content (512 x 344) is the lower part of the window, below the menu bar.
cx=$WX
cy=$((WY + WH - 344))
shot="$APPDIR/setup.png"
screenshot "$shot"
expect_pixel "$shot" $((cx + 362)) $((cy + 237)) 999999 "swatch 0 grey"
expect_pixel "$shot" $((cx + 362)) $((cy + 267)) cccccc "swatch 1 light grey"
expect_pixel "$shot" $((cx + 362)) $((cy + 117)) 7f0000 "swatch 3 dark red"
expect_pixel "$shot" $((cx + 362)) $((cy + 297)) ff0000 "swatch 6 red"
expect_pixel "$shot" $((cx + 350)) $((cy + 225)) 00ffff "swatch border"
expect_pixel "$shot" $((cx + 440)) $((cy + 290)) 000000 "picture area preview"
# Screen preview: 320 x 240 at (10, 10) with a black border of 3; the strip on the left.
expect_pixel "$shot" $((cx + 328)) $((cy + 120)) 000000 "preview right border"
expect_pixel "$shot" $((cx + 200)) $((cy + 245)) 7f7f72 "preview fill"
expect_pixel "$shot" $((cx + 25)) $((cy + 200)) 6b8eb2 "strip preview"
[ -f "$APPDIR/vtnvprfs.txt" ] && fail "preferences written before quitting"

# What task bars and window managers show: _NET_WM_NAME, exactly the caption.
expect_title() { # window title
  local net
  net="$(xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')"
  [ "$net" = "$2" ] || fail "_NET_WM_NAME is '$net', expected '$2'"
  ok "title '$2'"
}
expect_title "$WIN" "Presentation setup: 1024x768 pixels"
icons="$(xprop -id "$WIN" _NET_WM_ICON)"
grep -q 'Icon (32 x 32)' <<<"$icons" || fail "no 32 x 32 window icon"
ok "window icon"
click $((cx + 316)) $((cy + 302))
expect_title "$WIN" "Settaggi presentazione: 1024x768 pixels"
click $((cx + 24)) $((cy + 302))
expect_title "$WIN" "Presentation setup: 1024x768 pixels"
xdotool windowactivate --sync "$WIN" 2>/dev/null || xdotool windowfocus --sync "$WIN"
key ctrl+q
wait_exit
[ -f "$APPDIR/vtnvprfs.txt" ] || fail "no preferences file after quitting"
[ "$(head -c 1 "$APPDIR/vtnvprfs.txt")" = "1" ] || fail "preferences file does not hold 1"
ok "Ctrl+Q quits and writes 1"
rm -rf "$APPDIR"
