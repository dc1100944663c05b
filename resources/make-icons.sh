#!/bin/sh
# Renders the program's icon at the sizes the desktop and the tray use.
# Needs rsvg-convert (Debian package librsvg2-bin); the PNGs are committed.
set -e
cd "$(dirname "$0")/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w $size -h $size velmorand.svg -o velmorand-$size.png
done
