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

# Italian flag, 28 x 28: green, white and red bands with a thin grey edge.
convert -size 28x28 xc:white +antialias \
    -fill '#009246' -draw 'rectangle 0,0 8,27' \
    -fill '#ce2b37' -draw 'rectangle 19,0 27,27' \
    -fill none -stroke '#9a9a9a' -strokewidth 1 -draw 'rectangle 0,0 27,27' \
    $png_options "PNG32:$out/bita.png"

# United States flag, 28 x 28: thirteen stripes (2 or 3 pixels each, red first) and a blue
# canton over the top seven with a few white dots.
stripes=""
i=0
while [ $i -lt 13 ]; do
    top=$(( (i * 28 + 6) / 13 ))
    bottom=$(( ((i + 1) * 28 + 6) / 13 - 1 ))
    if [ $((i % 2)) -eq 0 ]; then
        stripes="$stripes rectangle 0,$top 27,$bottom"
    fi
    i=$((i + 1))
done
canton_bottom=$(( (7 * 28 + 6) / 13 - 1 ))
dots=""
for y in 2 6 10; do
    for x in 2 5 8 11; do
        dots="$dots point $x,$y"
    done
done
for y in 4 8 12; do
    [ "$y" -le "$canton_bottom" ] || continue
    for x in 3 6 9; do
        dots="$dots point $x,$y"
    done
done
convert -size 28x28 xc:white +antialias \
    -fill '#b22234' -draw "$stripes" \
    -fill '#3c3b6e' -draw "rectangle 0,0 13,$canton_bottom" \
    -fill white -draw "$dots" \
    -fill none -stroke '#9a9a9a' -strokewidth 1 -draw 'rectangle 0,0 27,27' \
    $png_options "PNG32:$out/busa.png"

# Placeholder for a picture that cannot be read, 200 x 150: a grey card with a small
# landscape (frame, hills, sun) struck through.
convert -size 200x150 xc:'#d6d6d6' \
    -fill none -stroke '#a8a8a8' -strokewidth 4 -draw 'rectangle 2,2 197,147' \
    -fill '#f2f2f2' -stroke '#7a7a7a' -strokewidth 4 -draw 'roundrectangle 55,35 145,115 6,6' \
    -stroke none -fill '#9c9c9c' -draw 'polygon 59,111 85,72 104,96 116,82 141,111' \
    -fill '#b5b5b5' -draw 'circle 122,56 122,65' \
    -stroke '#c0392b' -strokewidth 8 -draw 'line 42,128 158,22' \
    $png_options "PNG32:$out/notfound.png"

# Exit cell of the thumbnail strip, 200 x 150: a dark red panel, a door with an arrow
# leading out, and the word in white.
exit_cell() {
    convert -size 200x150 xc:'#3a0d0d' \
        -fill '#8e1b1b' -stroke '#d9a441' -strokewidth 4 -draw 'roundrectangle 8,8 191,141 14,14' \
        -fill none -stroke white -strokewidth 5 \
        -draw 'line 62,30 86,30' -draw 'line 62,30 62,62' -draw 'line 62,62 86,62' \
        -draw 'line 74,46 124,46' \
        -stroke none -fill white -draw 'polygon 138,46 120,34 120,58' \
        -font "$font_bold" -pointsize 44 -fill white -gravity south -annotate +0+20 "$1" \
        $png_options "PNG32:$out/$2.png"
}
exit_cell ESCI eesci
exit_cell EXIT eexit

# Logo, 64 x 64: a shop window (vetrina) in a navy tile: a large V above a row of three
# little coloured panes, like thumbnails on show.
convert -size 64x64 xc:none \
    -fill '#1f3f66' -draw 'roundrectangle 0,0 63,63 10,10' \
    -font "$font_bold" -pointsize 40 -fill white -gravity north -annotate +0+1 V \
    -gravity northwest -stroke white -strokewidth 1 \
    -fill '#e4572e' -draw 'rectangle 9,45 21,55' \
    -fill '#f3c13a' -draw 'rectangle 26,45 38,55' \
    -fill '#4fb286' -draw 'rectangle 43,45 55,55' \
    $png_options "PNG32:$out/vetrinova.png"

# The program's icon at the sizes desktops use, from its drawing (icons/vetrinova.svg).
for size in 16 24 32 48 64 128 256; do
    convert -background none -density $((size * 9 / 4)) "$out/icons/vetrinova.svg" \
        -resize "${size}x${size}" $png_options "PNG32:$out/icons/vetrinova-$size.png"
done

for name in bita busa notfound eesci eexit vetrinova icons/vetrinova-16 icons/vetrinova-256; do
    identify -format '%f %wx%h\n' "$out/$name.png"
done
