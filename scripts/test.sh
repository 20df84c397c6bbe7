#!/bin/bash
# Builds everything and runs the test tiers:
#   a  unit tests of the portable code, natively;
#   fuzz  every fuzz harness for a short, fixed number of inputs (scripts/fuzz.sh);
#   b  adapter tests of the Win32 layer under Wine;
#   c  end-to-end tests that drive the real programs under Wine and Xvfb, the
#      installer and uninstaller among them;
# and it renders the user's guide into pictures (scripts/render-guide.sh), so
# that a person can read it as the user will.
# Tiers b and c run once for each Windows architecture (x86, x64) that this
# host can execute; both architectures are always compiled. Everything under
# Wine runs in a closed network (tests/wine/sandbox.sh).
#
#   scripts/test.sh [--tier a|fuzz|b|c]
#
# --tier runs that one tier, after building only what it needs (without the
# guide). Every tier leaves its results as JUnit XML in build/junit/.
set -u
cd "$(dirname "$(readlink -f "$0")")/.."
root=$(pwd)
architectures=(x86 x64)

usage() {
  echo "usage: scripts/test.sh [--tier a|fuzz|b|c]" >&2
  exit 2
}
tier=all
if [ $# -gt 0 ]; then
  [ $# -eq 2 ] && [ "$1" = --tier ] || usage
  case $2 in
    a | fuzz | b | c) tier=$2 ;;
    *) usage ;;
  esac
fi
# Whether this run includes the tier.
wanted() { [ "$tier" = all ] || [ "$tier" = "$1" ]; }

junit=$root/build/junit
scripts/setup.sh || exit 1
wanted a && { scripts/build.sh native >/dev/null || exit 1; }
wanted fuzz && { scripts/build.sh fuzz >/dev/null || exit 1; }
if wanted b || wanted c; then
  for arch in "${architectures[@]}"; do
    scripts/build.sh "windows-$arch" >/dev/null || exit 1
  done
fi
mkdir -p "$junit"

summaries=()
status=0
run_tier() {
  local name=$1 log=build/test-${1// /-}.log
  shift
  # To a file, not a pipe: Wine's children would inherit a pipe and hold it open.
  "$@" >"$log" 2>&1
  local code=$?
  cat "$log"
  [ "$code" -eq 0 ] || status=1
  local result
  result=$(grep -E 'tests passed|tests failed|No tests were found|^fuzz: ' "$log" | tail -1)
  result=${result#fuzz: }
  summaries+=("tier $name: ${result:-no test ran (exit code $code)}")
  [ -n "$result" ] || status=1
}

# The fuzz tier's summary lines ("fuzz NAME: ...") as JUnit XML: one case per
# harness, failed unless it ends with "no finding".
fuzz_junit() {
  local log=$1 xml=$2
  awk '
    function escape(text) {
      gsub(/&/, "\\&amp;", text); gsub(/</, "\\&lt;", text); gsub(/>/, "\\&gt;", text)
      gsub(/"/, "\\&quot;", text); return text
    }
    /^fuzz [A-Za-z0-9_]+: / {
      name = $2; sub(/:$/, "", name); text = $0; sub(/^fuzz [A-Za-z0-9_]+: /, "", text)
      cases++
      if (text ~ /, no finding$/) {
        body = body sprintf("  <testcase classname=\"fuzz\" name=\"%s\"/>\n", name)
      } else {
        failures++
        body = body sprintf("  <testcase classname=\"fuzz\" name=\"%s\">" \
          "<failure message=\"%s\"/></testcase>\n", name, escape(text))
      }
    }
    END {
      printf "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      printf "<testsuite name=\"fuzz\" tests=\"%d\" failures=\"%d\">\n%s</testsuite>\n", \
        cases, failures, body
    }' "$log" >"$xml"
}

if wanted a; then
  echo "== tier a: unit tests"
  run_tier a ctest --preset native --output-junit "$junit/a.xml"
fi

# About 30 s for the six harnesses together on two busy cores: some 5 s of
# one core each. An input of the ping's host costs about twice one of the
# settings files, one of the undo record about three times and one of the
# tips file about eight times, as it holds many lines; they run fewer.
fuzz_inputs=100000
fuzz_slower=(ping_host=50000 tips_file=20000 undo_record=30000)
if wanted fuzz; then
  echo "== tier fuzz: every fuzz harness, $fuzz_inputs inputs each (${fuzz_slower[*]})"
  run_tier fuzz scripts/fuzz.sh "$fuzz_inputs" "${fuzz_slower[@]}"
  fuzz_junit build/test-fuzz.log "$junit/fuzz.xml"
fi

# The guide as headless Chromium shows and prints it, in the closed network
# too: it must not need anything from outside.
guide_log=build/test-guide.log
if [ "$tier" = all ]; then
  echo "== the user's guide, rendered"
  if tests/wine/sandbox.sh scripts/render-guide.sh >"$guide_log" 2>&1; then
    cat "$guide_log"
    pages=$(grep -c '/help-[0-9]*\.png$' "$guide_log")
    summaries+=("guide: $pages printed pages and the screen view in $root/build/guide")
  else
    cat "$guide_log"
    status=1
    summaries+=("guide: not rendered (see $guide_log)")
  fi
fi

# Whether this host runs one Windows architecture: its Wine prefix can be
# made and the architecture's smallest program starts in it. Sets reason
# when it cannot.
template=$root/build/wine-template
reason=
can_run() {
  local arch=$1 log=$root/build/probe-$1.log prefix=$template prefix_arch=win32
  if [ "$arch" = x64 ]; then
    prefix=$template-win64
    prefix_arch=win64
  fi
  if ! KESTREL_WINE_ARCH=$prefix_arch tests/wine/make-template.sh "$prefix" >"$log" 2>&1; then
    reason="its Wine prefix could not be made"
  elif ! KESTREL_WINE_TEMPLATE=$template tests/wine/run-in-prefix.sh \
    "build/windows-$arch/wine_probe.exe" >"$log" 2>&1 || ! grep -q '^probe ' "$log"; then
    reason="its smallest program did not start"
  else
    return 0
  fi
  if grep -q 'Exec format error' "$log"; then
    reason="$reason: this host cannot execute $arch code (Exec format error; see $log)"
  else
    reason="$reason (see $log)"
  fi
  return 1
}

ran=0
for arch in "${architectures[@]}"; do
  wanted b || wanted c || break
  if ! can_run "$arch"; then
    echo "== $arch skipped: $reason"
    summaries+=("tiers b and c, $arch: skipped, $reason")
    continue
  fi
  ran=$((ran + 1))
  # The x86 tests that need 64-bit Windows (WOW64) run in the 64-bit prefix.
  [ "$arch" = x86 ] && KESTREL_WINE_ARCH=win64 tests/wine/make-template.sh "$template-win64" \
    >/dev/null 2>&1
  if wanted b; then
    echo "== tier b, $arch: adapter tests under Wine"
    run_tier "b $arch" env KESTREL_WINE_TEMPLATE="$template" \
      tests/wine/sandbox.sh ctest --preset "windows-$arch" -L adapter \
      --output-junit "$junit/b-$arch.xml"
  fi
  if wanted c; then
    echo "== tier c, $arch: end-to-end tests under Wine"
    run_tier "c $arch" env KESTREL_WINE_TEMPLATE="$template" \
      tests/wine/sandbox.sh ctest --preset "windows-$arch" -L e2e \
      --output-junit "$junit/c-$arch.xml"
    echo "screenshots, $arch: $root/build/windows-$arch/screenshots"
  fi
done

printf '%s\n' "${summaries[@]}"
echo "JUnit XML: $junit"
if { wanted b || wanted c; } && [ "$ran" -eq 0 ]; then
  echo "test: no Windows architecture can run on this host, so tiers b and c tested nothing" >&2
  exit 1
fi
exit $status
