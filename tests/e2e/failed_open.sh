#!/usr/bin/env bash
# Nothing a user has is lost or altered by a file, with real input: a presentation whose
# folder and notes are written in Latin-1, among pictures named in Latin-1 and in UTF-8, opens
# and is saved back byte for byte; each Open that ends in a beep or a warning leaves it so
# that a save writes the same bytes again, and the presentation still shows every picture
# with its own note. Started with such a file, the program is as on a plain start.
source "$(dirname "${BASH_SOURCE[0]}")/session_lib.sh"
start_session "$1"

e_grave=$'\xe8' e_acute=$'\xe9' a_grave=$'\xe0' u_circumflex=$'\xfb' # Latin-1
folder="$APPDIR/foto gi$a_grave"
mkdir -p "$folder"
convert -size 400x300 xc:'#d04020' "PNG24:$folder/1.png"
convert -size 400x300 xc:'#20a040' "PNG24:$folder/2 caf$e_acute.png"
convert -size 400x300 xc:'#2040d0' "PNG24:$folder/3 caf"$'\xc3\xa9'".png"

# A presentation file as another system wrote it: settings, then notes at the top centre, the
# second long and in Latin-1. The colours are the defaults as the program writes them.
# show_file FOLDER STRIP-EDGE PERCENT COLOUR-LINES
show_file() {
  printf '%s\r%s\r%s\r' "$1" "$2" "$3"
  printf '%s' "$4"
  printf '1\r1\r2\r3\r'
  for text in A "Caff$e_grave cr${e_grave}me br${u_circumflex}l${e_acute}e" B; do
    printf '%s\rarial\r24\r1\r0\r0\r4\r0\r\r\r\r\r5\r' "$text"
  done
}
defaults=$'0\r0\r0.6\r0\r0\r0.8\r0\r0\r0\r0\r1\r0.4980392156862745\r0\r0\r1\r0\r0\r0\r0\r1\r1\r'
show="$APPDIR/show.v69"
show_file "$folder" 3 20 "$defaults" >"$show"

start_app "^Presentation setup: ${SW}x${SH} pixels" "$show"
focus "$WIN"

save_as() { # path
  focus "$WIN"
  key ctrl+s
  answer_dialog "Save As" "$1"
  for _ in $(seq 1 50); do [ -s "$1" ] && return 0; sleep 0.1; done
  fail "nothing saved at $1"
}
save_as "$APPDIR/saved.v69"
cmp "$show" "$APPDIR/saved.v69" || fail "the Latin-1 presentation was not saved byte for byte"
ok "saved unchanged, byte for byte"

# ---------------------------------------------------------------- Opens that fail
other=$'0\r1\r1\r'
other="$other$other$other$other$other$other$other" # every colour red
failing() { # kind: writes the file, prints its path
  local f="$APPDIR/$1.v69"
  case "$1" in
  empty) : >"$f" ;;
  missing) show_file "$APPDIR/gone" 1 45 "$other" >"$f" ;;
  no-pictures)
    mkdir -p "$APPDIR/texts"
    echo "not a picture" >"$APPDIR/texts/a.txt"
    show_file "$APPDIR/texts" 1 45 "$other" >"$f"
    ;;
  too-large)
    show_file "$folder" 1 45 "$other" >"$f"
    truncate -s $((512 * 1024 * 1024 + 1)) "$f"
    ;;
  esac
  echo "$f"
}
# One of each reaction; the window tests try every kind.
for run in "empty beep" "missing warning" "no-pictures warning" "too-large warning"; do
  read -r kind reaction <<<"$run"
  file="$(failing "$kind")"
  focus "$WIN"
  key ctrl+o
  answer_dialog "Open" "$file"
  if [ "$reaction" = warning ]; then
    warn="$(wait_window "^Warning" "$kind: a warning")"
    focus "$warn"
    key Return
    wait_gone "^Warning" "$kind: the warning closed"
  fi
  save_as "$APPDIR/after-$kind.v69"
  cmp "$APPDIR/saved.v69" "$APPDIR/after-$kind.v69" ||
    fail "$kind: a save after the failed Open differs from the one before"
  ok "$kind: the failed Open changed nothing a save writes"
done

# ---------------------------------------------------------------- the presentation still runs
focus "$WIN"
key Return # "Start presentation"
wait_window "^picture" "the presentation starts" >/dev/null
strip=$((SH * 20 / 100 - 10)) # the strip at the bottom, about 20 percent: within it
pitch=$((SW / 4))             # three cells and the exit cell in one row
note_region="$((SW / 2 + 20))x80+$((SW / 4 - 10))+10"
widths=()
for k in 1 2 3; do
  colour=$(echo "d04020 20a040 2040d0" | cut -d' ' -f$k)
  click $(((k - 1) * pitch + pitch / 2)) $((SH - strip / 2))
  shot="$APPDIR/picture$k.png"
  await_pixel "$shot" $((SW / 2)) $(((SH - strip) / 2)) "$colour" "picture $k shown"
  box="$(colour_box "$shot" "$note_region" 7f0000)"
  [ -n "$box" ] || fail "picture $k shows no note"
  read -r left _ right _ <<<"$box"
  widths+=($((right - left)))
done
[ "${widths[1]}" -gt $((4 * widths[0])) ] && [ "${widths[1]}" -gt $((4 * widths[2])) ] ||
  fail "the long Latin-1 note is not picture 2's (widths ${widths[*]})"
ok "each picture shows its own note (text widths ${widths[*]})"
key Escape
wait_window "^Presentation setup" "the setup window is back" >/dev/null
focus "$WIN"
key ctrl+q
wait_exit

# ---------------------------------------------------------------- started with such a file
setup_shot() { # file: the setup window alone, the pointer away from it
  xdotool mousemove $((SW - 1)) $((SH - 1))
  sleep 0.5
  window_geometry "$WIN"
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"
}
start_app "^Presentation setup: ${SW}x${SH} pixels"
setup_shot "$APPDIR/plain.png"
focus "$WIN"
key ctrl+q
wait_exit
for kind in missing no-pictures; do
  start_app "^Presentation setup: ${SW}x${SH} pixels" "$APPDIR/$kind.v69"
  warn="$(wait_window "^Warning" "$kind on the command line: a warning")"
  focus "$warn"
  key Return
  wait_gone "^Warning" "$kind on the command line: the warning closed"
  focus "$WIN"
  key Return # "Start presentation", disabled
  sleep 0.5
  xdotool search --onlyvisible --name "^picture" >/dev/null 2>&1 && fail "$kind: a presentation started"
  setup_shot "$APPDIR/after-$kind.png"
  differ="$(compare -metric AE "$APPDIR/plain.png" "$APPDIR/after-$kind.png" null: 2>&1 || true)"
  [ "$differ" = 0 ] || fail "$kind on the command line: $differ pixels differ from a plain start"
  ok "$kind on the command line: the setup window is as on a plain start"
  key ctrl+q
  wait_exit
done
