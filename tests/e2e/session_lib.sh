# Helpers shared by the whole-session tests, with lib.sh: generated picture
# folders, polling for windows, the folder dialog, and colour counts in screenshots.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# A session of its own: a fresh copy of the program whose folder is also the home folder, the
# program and whatever was started beside it (OTHERS) ended and the folder removed at the end
# (kept with E2E_KEEP), and the screen's size in SW and SH.
start_session() { # program
  fresh_app "$1"
  export HOME="$APPDIR"
  OTHERS=()
  trap 'kill "$APP_PID" "${OTHERS[@]}" 2>/dev/null || true; [ -n "${E2E_KEEP:-}" ] || rm -rf "$APPDIR"' EXIT
  read -r SW SH < <(xdotool getdisplaygeometry)
}

# Three pictures of distinct colours and shapes, plus a file and a subfolder that are not
# pictures of this folder: 1 a wide red one, 2 a tall green one, 3 a square blue one. They are
# stored as true-colour PNGs (ImageMagick would write a solid colour as a 1-bit palette).
make_pictures() { # folder
  mkdir -p "$1/sub"
  convert -size 400x300 xc:'#d04020' "PNG24:$1/img1.png"
  convert -size 200x300 xc:'#20a040' "PNG24:$1/img2.png"
  convert -size 300x300 xc:'#2040d0' "PNG24:$1/img10.png"
  convert -size 100x100 xc:'#ffffff' "$1/sub/inner.png"
  echo "not a picture" >"$1/readme.txt"
}

# Waits until the window's title is exactly the text. Qt on X11 appends " — " and the
# application's display name to the name it gives the window manager; that suffix is allowed.
expect_title() { # window text what
  local got=""
  for _ in $(seq 1 50); do
    got="$(xdotool getwindowname "$1" 2>/dev/null || true)"
    [ "$got" = "$2" ] && { ok "$3"; return 0; }
    sleep 0.1
  done
  fail "$3: the title is '$got', expected '$2'"
}

# Qt's own dialogs (no platform theme under a bare X server), titled in the interface
# language: the text typed into the field that has the focus (the file name; in the colour
# dialog, the one the given key moves to), Return takes it.
answer_dialog() { # title text [key]
  local dlg
  dlg="$(wait_window "^$1" "the dialog '$1'")"
  focus "$dlg"
  key ${3:-} ctrl+a
  xdotool type --delay 20 "$2"
  sleep 0.3
  key Return
  wait_gone "^$1" "the dialog '$1' closed"
}

# A region of a screenshot as a mask: white where the pixel has exactly the colour, black
# elsewhere (whatever the colour, black and white included).
colour_mask() { # file WxH+X+Y rrggbb
  convert "$1" -crop "$2" +repage -alpha off \( +clone -fill "#$3" -colorize 100 \) \
    -compose difference -composite -colorspace gray -threshold 0 -negate "${@:4}"
}

# Number of pixels of exactly one colour in a region of a screenshot.
count_colour() { # file WxH+X+Y rrggbb
  colour_mask "$1" "$2" "$3" -format '%[fx:int(mean*w*h+0.5)]\n' info:
}

# Bounding box, in screen coordinates, of the pixels of one colour in a region: prints
# "left top right bottom", or nothing when there is none.
colour_box() { # file WxH+X+Y rrggbb
  local ox oy geo w h x y
  ox="$(echo "$2" | cut -d+ -f2)"
  oy="$(echo "$2" | cut -d+ -f3)"
  [ "$(count_colour "$1" "$2" "$3")" -gt 0 ] || return 0
  # A black border keeps the trim working when the colour touches the region's corner.
  geo="$(colour_mask "$1" "$2" "$3" -bordercolor black -border 1 -format '%@' info:)"
  w="${geo%%x*}"
  h="$(echo "$geo" | sed -E 's/^[0-9]+x([0-9]+)\+.*/\1/')"
  x="$(echo "$geo" | cut -d+ -f2)"
  y="$(echo "$geo" | cut -d+ -f3)"
  echo "$((ox + x - 1)) $((oy + y - 1)) $((ox + x + w - 2)) $((oy + y + h - 2))"
}

# Takes screenshots until the pixel shows the colour (windows map and paint asynchronously).
await_pixel() { # file x y rrggbb what
  local got=""
  for _ in $(seq 1 40); do
    screenshot "$1"
    got="$(pixel "$1" "$2" "$3")"
    [ "$got" = "$4" ] && { ok "$5"; return 0; }
    sleep 0.15
  done
  fail "$5: pixel ($2,$3) is $got, expected $4"
}
