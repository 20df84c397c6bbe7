#!/bin/bash
# Measures how long Kestrel takes from its process start to its first visible
# window, beside a yardstick: first_window.exe, one window with Kestrel's
# manifest, a toolbar and a status bar (tests/bench/). Both are started by
# turns in the same run and the same private Wine prefix, in the closed
# network, so that they share the conditions.
#
#   scripts/bench-start.sh            (x64 under wine64; about a minute)
#
# Kestrel starts with "Show Tips at Startup" cleared, so its first window is
# the main window. Each program is started once to warm up and then 9 times;
# the script prints both medians and their ratio (the aim is 1.3 at most).
# It fails when any start was not measured (no window, or a zero time).
# Not a test: the figures depend on the machine's load.
set -u
self=$(readlink -f "$0")
root=$(dirname "$self")/..
cd "$root"
root=$(pwd)
arch=x64
runs=9
build=$root/build/windows-$arch
template=$root/build/wine-template

if [ "${KESTREL_BENCH_STAGE:-}" != inside ]; then
  scripts/build.sh "windows-$arch" >/dev/null || exit 1
  KESTREL_WINE_ARCH=win64 tests/wine/make-template.sh "$template-win64" >/dev/null || exit 1
  KESTREL_BENCH_STAGE=inside exec tests/wine/sandbox.sh "$self" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-bench-start.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
windows_path() { echo "Z:${1//\//\\}"; }
kestrel=$(windows_path "$build/kestrel/win32/Kestrel.exe")
yardstick=$(windows_path "$build/tests/bench/first_window.exe")

. tests/wine/wine-arch.sh
TMPDIR=$work KESTREL_WINE_TEMPLATE=$template KESTREL_WINE_TIMEOUT=600 \
  tests/wine/run-in-prefix.sh "$build/tests/bench/bench_start_timer.exe" "$runs" --tips-off \
  "$kestrel" "$yardstick" >"$work/log" 2>&1
# The probe writes Windows line ends.
tr -d '\r' <"$work/log" >"$work/times"

# The times of one program (1 Kestrel, 2 the yardstick), one a line.
times_of() { awk -v p="$1" '$1 == "start" && $2 == p { print $6 }' "$work/times"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

status=0
for program in 1 2; do
  count=$(times_of "$program" | awk '$1 > 0' | wc -l)
  if [ "$count" -ne "$runs" ]; then
    echo "bench: $((runs - count)) of $runs starts of program $program were not measured:" >&2
    cat "$work/log" >&2
    status=1
  fi
done
[ $status -eq 0 ] || exit 1

kestrel_ms=$(times_of 1 | median)
yardstick_ms=$(times_of 2 | median)
windows=$(awk '$1 == "start" { print $8 }' "$work/times" | sort | uniq -c | awk '{ printf "%s%s x%d", sep, $2, $1; sep = ", " }')
echo "Start-up benchmark: $arch, $(wine_version), closed network, median of $runs"
echo "  Kestrel.exe    $kestrel_ms ms   ($(times_of 1 | tr '\n' ' '))"
echo "  yardstick      $yardstick_ms ms   ($(times_of 2 | tr '\n' ' '))"
awk -v k="$kestrel_ms" -v y="$yardstick_ms" 'BEGIN {
  printf "  ratio          %.2f (aim 1.30 at most)\n", k / y }'
echo "  first windows: $windows"
