#!/bin/sh
# Regenerates the toolbar images, the splash picture and the application icon from their SVG sources.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for name in new open addcompany addtitle maintainissue coverprice browse report1 report2 report3; do
    rsvg-convert -w 24 -h 24 "src/$name.svg" -o "$name.png"
    rsvg-convert -w 48 -h 48 "src/$name.svg" -o "$name@2x.png"
done
rsvg-convert -w 120 -h 120 src/splash.svg -o splash.png
rsvg-convert -w 240 -h 240 src/splash.svg -o splash@2x.png
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w $size -h $size src/panelkeep.svg -o "panelkeep-$size.png"
done
