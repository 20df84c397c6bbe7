#!/bin/bash
# Renders the user's guide (distribution/Help/help.htm) into PNG pictures that
# a person can read and judge:
#
#   scripts/render-guide.sh [OUTDIR]      (default build/guide)
#
#   OUTDIR/help-screen.png         the top of the guide as a browser window of
#                                  1000 x 1300 pixels shows it
#   OUTDIR/help-01.png, -02, ...   the whole guide, page by page, as it prints
#                                  on A4 paper (110 dots per inch)
#
# and prints their paths. Headless Chromium opens the local file only: the
# guide loads nothing from the network, and Chromium's own background traffic
# is switched off. Needs chromium and pdftoppm (scripts/setup.sh installs both).
set -eu
cd "$(dirname "$(readlink -f "$0")")/.."
root=$(pwd)
out=${1:-build/guide}
mkdir -p "$out"
out=$(cd "$out" && pwd)
guide=$root/distribution/Help/help.htm

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f "$out"/help-*.png

# chromium OUTPUT-FLAG: one headless run in a fresh profile. To a file, not a
# pipe: Chromium's helper processes would inherit a pipe and hold it open.
chromium_run() {
  rm -rf "$work/profile"
  if ! chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --no-pdf-header-footer \
    "$@" "file://$guide" >"$work/chromium.log" 2>&1; then
    cat "$work/chromium.log" >&2
    echo "render-guide: Chromium failed on $guide" >&2
    exit 1
  fi
}

chromium_run --window-size=1000,1300 --screenshot="$out/help-screen.png"
chromium_run --print-to-pdf="$work/help.pdf"
pdftoppm -r 110 -png "$work/help.pdf" "$out/help"
for page in "$out"/help-screen.png "$out"/help-*.png; do
  [ -s "$page" ] || {
    echo "render-guide: no picture $page" >&2
    exit 1
  }
done
ls "$out"/help-*.png
