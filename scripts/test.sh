#!/bin/bash
# Builds everything and runs the three test tiers:
#   a  unit tests of the portable code, natively;
#   b  adapter tests of the Win32 layer under Wine;
#   c  end-to-end tests that drive the real programs under Wine and Xvfb.
# Everything under Wine runs in a closed network (tests/wine/sandbox.sh).
set -u
cd "$(dirname "$(readlink -f "$0")")/.."
root=$(pwd)

scripts/setup.sh || exit 1
scripts/build.sh native >/dev/null || exit 1
scripts/build.sh windows >/dev/null || exit 1
tests/wine/make-template.sh build/wine-template || exit 1
KESTREL_WINE_ARCH=win64 tests/wine/make-template.sh build/wine-template-win64 || exit 1

summaries=()
status=0
run_tier() {
  local name=$1 log=build/test-$1.log
  shift
  # To a file, not a pipe: Wine's children would inherit a pipe and hold it open.
  "$@" >"$log" 2>&1
  local code=$?
  cat "$log"
  [ "$code" -eq 0 ] || status=1
  summaries+=("tier $name: $(grep -E 'tests passed|tests failed' "$log" | tail -1)")
}

echo "== tier a: unit tests"
run_tier a ctest --preset native
echo "== tiers b and c: adapter and end-to-end tests under Wine"
run_tier bc env KESTREL_WINE_TEMPLATE="$root/build/wine-template" \
  tests/wine/sandbox.sh ctest --preset windows
echo "screenshots: $root/build/windows/screenshots"
printf '%s\n' "${summaries[@]}"
exit $status
