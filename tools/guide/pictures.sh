#!/bin/bash
# Makes the pictures of the user's guide in distribution/Help/images/.
#
#   tools/guide/pictures.sh [NAME=SCREENSHOT ...]
#
# Always draws the pictures that come from the committed icons:
#   kestrel.png                  Kestrel's icon, 48 px, for the guide's title
#   tray-connected.gif           the tray animation as the user sees it: the
#                                four frames, 200 ms each, twice the real size
#   tray-resting.png             the resting picture, twice the real size
# Each NAME=SCREENSHOT copies a window's screenshot from the end-to-end tests
# (build/windows-<arch>/screenshots/) into images/NAME, without metadata and
# compressed: the driver writes large, barely compressed PNG files.
# Needs ImageMagick's convert. The pictures are committed; run this again
# after the icons or the windows change, and look at the rendered guide
# (scripts/render-guide.sh).
set -eu
cd "$(dirname "$(readlink -f "$0")")/../.."
images=distribution/Help/images
mkdir -p "$images"

# convert's arguments, the output last, written as a small PNG without metadata.
png() {
  convert "${@:1:$#-1}" -strip -define png:compression-level=9 \
    -define png:exclude-chunks=date,time "${@: -1}"
}

png 'kestrel/win32/icons/kestrel.ico[3]' "$images/kestrel.png"
# Scaled without smoothing, so the pixels stay as crisp as in the tray.
convert -dispose background -delay 20 -loop 0 \
  tidewatch/win32/icons/tray{1,2,3,4}.ico'[3]' -scale 200% "$images/tray-connected.gif"
png 'tidewatch/win32/icons/tray5.ico[3]' -scale 200% "$images/tray-resting.png"

for pair in "$@"; do
  name=${pair%%=*} shot=${pair#*=}
  [ "$name" != "$pair" ] && [ -f "$shot" ] || {
    echo "pictures: expected NAME=SCREENSHOT with an existing file, got '$pair'" >&2
    exit 1
  }
  png "$shot" "$images/$name"
done
ls -l "$images"
