#!/bin/bash
# Renders the committed icons on a light and on a dark taskbar colour, at
# real size and eight times enlarged, into PNG contact sheets:
#
#   tools/art/contact_sheet.sh [OUTDIR]      (default build/art)
#
# tray.png: the five tray pictures (16, 20, 24, then 32 px), frames 1 to 4
# and the resting picture; apps.png: both programs' icons at 16, 24, 32, 48
# and 64 px.
# Needs ImageMagick's convert.
set -eu
cd "$(dirname "$(readlink -f "$0")")/../.."
out=${1:-build/art}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

light='#f0f0f0'  # a light taskbar
dark='#1f1f1f'   # a dark taskbar

# One picture of an .ico over a background, scaled without smoothing, with
# room around it.
cell() {  # file index background scale output
  convert -background "$3" "$1[$2]" -flatten -scale "$4" \
    -bordercolor "$3" -border "$(( ${4%\%} == 100 ? 4 : 8 ))" "$5"
}

# A strip of cells side by side, over one background.
strip() {  # output background scale index files...
  local output=$1 background=$2 scale=$3 index=$4 cells=() n=0
  shift 4
  for file in "$@"; do
    cell "$file" "$index" "$background" "$scale" "$work/c$n.png"
    cells+=("$work/c$n.png")
    n=$((n + 1))
  done
  convert "${cells[@]}" +append "$output"
}

tray=(tidewatch/win32/icons/tray{1,2,3,4,5}.ico)
rows=()
for index in 0 1 2 3; do  # 16, 20, 24, then 32 px
  for background in "$light" "$dark"; do
    for scale in 100 800; do
      strip "$work/t$index${background#\#}$scale.png" "$background" "$scale%" "$index" "${tray[@]}"
      rows+=("$work/t$index${background#\#}$scale.png")
    done
  done
done
convert -background white "${rows[@]}" -gravity west -append "$out/tray.png"

apps=(kestrel/win32/icons/kestrel.ico tidewatch/win32/icons/tidewatch.ico)
rows=()
for background in "$light" "$dark"; do
  for scale in 100 800; do
    parts=()
    for index in 0 1 2 3 4; do
      strip "$work/a$index.png" "$background" "$scale%" "$index" "${apps[@]}"
      cp "$work/a$index.png" "$work/a${background#\#}$scale$index.png"
      parts+=("$work/a${background#\#}$scale$index.png")
    done
    convert -background "$background" "${parts[@]}" -gravity south +append \
      "$work/a${background#\#}$scale.png"
    rows+=("$work/a${background#\#}$scale.png")
  done
done
convert -background white "${rows[@]}" -gravity west -append "$out/apps.png"
echo "contact sheets: $out/tray.png $out/apps.png"
