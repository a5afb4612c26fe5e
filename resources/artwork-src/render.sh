#!/bin/sh
# Regenerates the bitmap resources from the drawings in this folder:
#   images/background.png, images/background@2x.png   <- background.svg (written by contours.py)
#   images/image-needhelp-insert-sd.png                <- image-needhelp-insert-sd.svg
#   images/sd-disable-read-only.png                    <- sd-disable-read-only.svg
#   images/loader.gif                                  <- loader-frame.svg, twelve frames
#   icons/HalvornSync.ico                              <- app-icon.svg, at 16, 32, 48 and 256 px
# Needs rsvg-convert (librsvg2-bin), ImageMagick, optipng and gifsicle, and the Noto Sans font
# installed (fonts-noto-core) for the text in the drawings.
set -eu
cd "$(dirname "$0")"
images=../images
icons=../icons
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 contours.py

rsvg-convert -w 352 -h 505 background.svg -o "$images/background.png"
rsvg-convert -w 704 -h 1010 background.svg -o "$images/background@2x.png"
rsvg-convert image-needhelp-insert-sd.svg -o "$images/image-needhelp-insert-sd.png"
rsvg-convert sd-disable-read-only.svg -o "$images/sd-disable-read-only.png"
optipng -quiet -o7 -strip all "$images/background.png" "$images/background@2x.png" \
    "$images/image-needhelp-insert-sd.png" "$images/sd-disable-read-only.png"

# The spinner is drawn over white and white is then made transparent, so the anti-aliased edges
# blend into the near-white page behind it (GIF has only on/off transparency).
frames=""
for i in 0 1 2 3 4 5 6 7 8 9 10 11; do
    sed "s/ANGLE/$((i * 30))/" loader-frame.svg > "$tmp/frame.svg"
    rsvg-convert -b white "$tmp/frame.svg" -o "$tmp/frame$i.png"
    frames="$frames $tmp/frame$i.png"
done
# shellcheck disable=SC2086  # one word per frame
convert -delay 7 -loop 0 -dispose background $frames -transparent white "$tmp/loader.gif"
gifsicle -O3 "$tmp/loader.gif" -o "$images/loader.gif"

for size in 16 32 48 256; do
    rsvg-convert -w $size -h $size app-icon.svg -o "$tmp/icon$size.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon256.png" "$icons/HalvornSync.ico"
