#!/bin/sh
# Draws the six pictures that travel inside the program (resources/*.png).
# The PNGs are committed, so building never needs this script; run it again only to change
# the artwork. Needs ImageMagick's `convert` and the Liberation fonts (fonts-liberation).
set -eu

out="${1:-$(dirname "$0")/../resources}"
mkdir -p "$out"
font_bold=Liberation-Sans-Bold

# Same pixels give the same file: no time stamps, no metadata.
png_options="-strip -define png:exclude-chunks=date,time,tIME"

# The two flags and the logo are drawn twice: at their size and at twice it (NAME@2x.png),
# for screens of two device pixels to the pixel, where the first would be enlarged.

# Italian flag, 28 x 28 times k: green, white and red bands with a thin grey edge.
flag_ita() { # k file
    n=$((28 * $1))
    convert -size ${n}x${n} xc:white +antialias \
        -fill '#009246' -draw "rectangle 0,0 $((9 * $1 - 1)),$((n - 1))" \
        -fill '#ce2b37' -draw "rectangle $((19 * $1)),0 $((n - 1)),$((n - 1))" \
        -fill none -stroke '#9a9a9a' -strokewidth 1 -draw "rectangle 0,0 $((n - 1)),$((n - 1))" \
        $png_options "PNG32:$2"
}
flag_ita 1 "$out/bita.png"
flag_ita 2 "$out/bita@2x.png"

# United States flag, 28 x 28 times k: thirteen stripes (red first) and a blue canton over
# the top seven with a few white dots.
flag_usa() { # k file
    k=$1
    n=$((28 * k))
    stripes=""
    i=0
    while [ $i -lt 13 ]; do
        top=$(( (i * n + 6 * k) / 13 ))
        bottom=$(( ((i + 1) * n + 6 * k) / 13 - 1 ))
        if [ $((i % 2)) -eq 0 ]; then
            stripes="$stripes rectangle 0,$top $((n - 1)),$bottom"
        fi
        i=$((i + 1))
    done
    canton_bottom=$(( (7 * n + 6 * k) / 13 - 1 ))
    dots=""
    for y in 2 6 10; do
        for x in 2 5 8 11; do
            dots="$dots rectangle $((x * k)),$((y * k)) $((x * k + k - 1)),$((y * k + k - 1))"
        done
    done
    for y in 4 8 12; do
        [ $((y * k)) -le "$canton_bottom" ] || continue
        for x in 3 6 9; do
            dots="$dots rectangle $((x * k)),$((y * k)) $((x * k + k - 1)),$((y * k + k - 1))"
        done
    done
    convert -size ${n}x${n} xc:white +antialias \
        -fill '#b22234' -draw "$stripes" \
        -fill '#3c3b6e' -draw "rectangle 0,0 $((14 * k - 1)),$canton_bottom" \
        -fill white -draw "$dots" \
        -fill none -stroke '#9a9a9a' -strokewidth 1 -draw "rectangle 0,0 $((n - 1)),$((n - 1))" \
        $png_options "PNG32:$2"
}
flag_usa 1 "$out/busa.png"
flag_usa 2 "$out/busa@2x.png"

# The placeholder and the exit cells are drawn at 400 x 300: a cell of a strip on a screen of
# two device pixels to the pixel is that large, and shrinks them rather than enlarges them.
k=2
# The numbers of a drawing, times k.
sc() { echo "$1" | awk -v k=$k '{ for (i = 1; i <= NF; i++) { n = split($i, p, ","); o = "";
    for (j = 1; j <= n; j++) o = o (j > 1 ? "," : "") (p[j] ~ /^[0-9]+$/ ? p[j] * k : p[j]);
    printf "%s%s", (i > 1 ? " " : ""), o } print "" }'; }

# Placeholder for a picture that cannot be read: a grey card with a small landscape (frame,
# hills, sun) struck through.
convert -size $((200 * k))x$((150 * k)) xc:'#d6d6d6' \
    -fill none -stroke '#a8a8a8' -strokewidth $((4 * k)) -draw "$(sc 'rectangle 2,2 197,147')" \
    -fill '#f2f2f2' -stroke '#7a7a7a' -strokewidth $((4 * k)) \
    -draw "$(sc 'roundrectangle 55,35 145,115 6,6')" \
    -stroke none -fill '#9c9c9c' -draw "$(sc 'polygon 59,111 85,72 104,96 116,82 141,111')" \
    -fill '#b5b5b5' -draw "$(sc 'circle 122,56 122,65')" \
    -stroke '#c0392b' -strokewidth $((8 * k)) -draw "$(sc 'line 42,128 158,22')" \
    $png_options "PNG32:$out/notfound.png"

# Exit cell of the thumbnail strip: a dark red panel, a door with an arrow leading out, and
# the word in white.
exit_cell() {
    convert -size $((200 * k))x$((150 * k)) xc:'#3a0d0d' \
        -fill '#8e1b1b' -stroke '#d9a441' -strokewidth $((4 * k)) \
        -draw "$(sc 'roundrectangle 8,8 191,141 14,14')" \
        -fill none -stroke white -strokewidth $((5 * k)) \
        -draw "$(sc 'line 62,30 86,30')" -draw "$(sc 'line 62,30 62,62')" \
        -draw "$(sc 'line 62,62 86,62')" -draw "$(sc 'line 74,46 124,46')" \
        -stroke none -fill white -draw "$(sc 'polygon 138,46 120,34 120,58')" \
        -font "$font_bold" -pointsize $((44 * k)) -fill white -gravity south \
        -annotate +0+$((20 * k)) "$1" \
        $png_options "PNG32:$out/$2.png"
}
exit_cell ESCI eesci
exit_cell EXIT eexit

# Logo, 64 x 64 times k: a shop window (vetrina) in a navy tile: a large V above a row of
# three little coloured panes, like thumbnails on show.
logo() { # k file
    k=$1
    convert -size $((64 * k))x$((64 * k)) xc:none \
        -fill '#1f3f66' -draw "roundrectangle 0,0 $((64 * k - 1)),$((64 * k - 1)) $((10 * k)),$((10 * k))" \
        -font "$font_bold" -pointsize $((40 * k)) -fill white -gravity north -annotate +0+$k V \
        -gravity northwest -stroke white -strokewidth $k \
        -fill '#e4572e' -draw "rectangle $((9 * k)),$((45 * k)) $((22 * k - 1)),$((56 * k - 1))" \
        -fill '#f3c13a' -draw "rectangle $((26 * k)),$((45 * k)) $((39 * k - 1)),$((56 * k - 1))" \
        -fill '#4fb286' -draw "rectangle $((43 * k)),$((45 * k)) $((56 * k - 1)),$((56 * k - 1))" \
        $png_options "PNG32:$2"
}
logo 1 "$out/vetrinova.png"
logo 2 "$out/vetrinova@2x.png"

# The program's icon at the sizes desktops use, from its drawing (icons/vetrinova.svg).
for size in 16 24 32 48 64 128 256; do
    convert -background none -density $((size * 9 / 4)) "$out/icons/vetrinova.svg" \
        -resize "${size}x${size}" $png_options "PNG32:$out/icons/vetrinova-$size.png"
done

for name in bita bita@2x busa busa@2x notfound eesci eexit vetrinova vetrinova@2x icons/vetrinova-16 \
    icons/vetrinova-256; do
    identify -format '%f %wx%h\n' "$out/$name.png"
done
