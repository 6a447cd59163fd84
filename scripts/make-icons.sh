#!/usr/bin/env bash
# Regenerates every icon file from data/icons/veltrin.svg. The results are committed, so
# building Veltrin needs none of these tools; `scripts/veltrin.sh test` installs them.
usage="usage: scripts/make-icons.sh   (needs librsvg2-bin, imagemagick and icoutils)"
set -euo pipefail
case "${1:-}" in
-h | --help) echo "$usage" && exit 0 ;;
"") ;;
*) echo "$usage" >&2 && exit 2 ;;
esac
missing=()
for tool in rsvg-convert:librsvg2-bin convert:imagemagick icotool:icoutils; do
    command -v "${tool%:*}" >/dev/null || missing+=("${tool#*:}")
done
if ((${#missing[@]})); then
    echo "make-icons.sh: missing; install with: apt-get install ${missing[*]}" >&2
    exit 1
fi
cd "$(dirname "$0")/../data/icons"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Freedesktop hicolor theme, and the window icon embedded in the program.
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" veltrin.svg \
        -o "hicolor/${size}x${size}/apps/example.veltrin.Veltrin.png"
done
mkdir -p hicolor/scalable/apps
cp veltrin.svg hicolor/scalable/apps/example.veltrin.Veltrin.svg

# The page as an installed app: 192 and 512 pixels, and a maskable 512 whose board stays
# inside the middle 80% (the part a launcher's mask never cuts) on the frame's colour.
mkdir -p web
for size in 192 512; do
    rsvg-convert -w "$size" -h "$size" veltrin.svg -o "web/veltrin-$size.png"
done
rsvg-convert -w 400 -h 400 veltrin.svg -o "$work/maskable.png"
convert "$work/maskable.png" -background "#404040" -gravity center -extent 512x512 \
    web/veltrin-maskable-512.png
# iOS's home screen: 180 pixels, opaque (it shows transparency as black and rounds the
# corners itself), so the frame's colour runs to the edges.
rsvg-convert -w 180 -h 180 veltrin.svg |
    convert - -background "#404040" -flatten -define png:exclude-chunks=date,time \
        web/veltrin-apple-touch-180.png

# Windows: exactly three images, as the classic icon had them: 32x32 in two colours,
# 32x32 and 16x16 in sixteen colours.
rsvg-convert -w 32 -h 32 veltrin.svg -o "$work/32.png"
rsvg-convert -w 16 -h 16 veltrin.svg -o "$work/16.png"
# In two colours the board reads as a white grid on the dark frame.
convert "$work/32.png" -background white -flatten -fuzz 40% -fill white -opaque "#ff0000" \
    -opaque "#0000ff" -colorspace gray -threshold 60% \
    -type bilevel "PNG8:$work/32-2.png"
convert "$work/32.png" -background white -flatten -dither None -colors 16 "PNG8:$work/32-16.png"
convert "$work/16.png" -background white -flatten -dither None -colors 16 "PNG8:$work/16-16.png"
icotool -c -o veltrin.ico -b 1 "$work/32-2.png" -b 4 "$work/32-16.png" -b 4 "$work/16-16.png"
icotool -l veltrin.ico
