#!/bin/bash
# Measures what the tray monitor costs, under Wine in the closed network,
# beside a yardstick: idle_timers.exe, a program with nothing but one hidden
# window and the same three timers (tests/bench/). Both run in the same run,
# each pair in one Wine prefix, so that they share the conditions.
#
#   scripts/bench-tidewatch.sh [x64|x86]     (about 13 minutes; x64 by default)
#
# 1. Connection down (the connection-test host does not answer): the CPU time
#    of both programs over 60 s of idling, and their working sets at its end,
#    whole and private. The monitor's CPU time is to be within 10 % of the
#    yardstick's, its working set within 1 MiB.
# 2. Connection up (the host answers, the icon animates; the yardstick's
#    200 ms timer runs too): the kernel handles and GDI objects of both after
#    1 and after 10 minutes, counted by tests/bench/probe.cpp. They are to
#    stay the same.
# 3. Responsiveness: the worst round trip of WM_NULL to the monitor's hidden
#    window, sent every 50 ms for 90 s, with echoes answered (beside part 2)
#    and with a silent network (net.ipv4.icmp_echo_ignore_all=1 in the
#    sandbox, after part 2). The worst is to stay within 100 ms in both.
# Parts 1 and 2 run beside each other, so the whole takes as long as the
# second part and the silent run. KESTREL_BENCH_PARTS=answers runs part 3
# alone (about 3 minutes).
# Prints the figures as ratios and differences; exits 1 when a limit is
# broken. Not a test: it takes too long and depends on the machine's load.
set -u
self=$(readlink -f "$0")
root=$(dirname "$self")/..
cd "$root"
root=$(pwd)
arch=${1:-x64}
build=$root/build/windows-$arch
template=$root/build/wine-template

if [ "${KESTREL_BENCH_STAGE:-}" != inside ]; then
  scripts/build.sh "windows-$arch" >/dev/null || exit 1
  if [ "$arch" = x64 ]; then
    KESTREL_WINE_ARCH=win64 tests/wine/make-template.sh "$template-win64" >/dev/null || exit 1
  else
    tests/wine/make-template.sh "$template" >/dev/null || exit 1
  fi
  KESTREL_BENCH_STAGE=inside exec tests/wine/sandbox.sh "$self" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-bench.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
probe=$build/tests/bench/bench_probe.exe
tidewatch="Z:${build//\//\\}\\tidewatch\\win32\\Tidewatch.exe"
yardstick="Z:${build//\//\\}\\tests\\bench\\idle_timers.exe"

# Runs the probe in a fresh prefix below $work/$1 with the two programs.
# Every prefix of this run lies below $work, so its programs are told from
# other runs' by WINEPREFIX.
run_probe() {
  local part=$1 seconds=$2
  shift 2
  mkdir -p "$work/$part"
  TMPDIR=$work/$part KESTREL_WINE_TEMPLATE=$template KESTREL_WINE_TIMEOUT=$((seconds + 60)) \
    tests/wine/run-in-prefix.sh "$probe" "$seconds" "$@" >"$work/$part.log" 2>&1
}

# The Unix process of a Windows program (by its name, as the kernel keeps
# it) whose prefix lies below $work/$1.
find_pid() {
  local part=$1 name=$2 pid
  for pid in /proc/[0-9]*; do
    pid=${pid#/proc/}
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -q "^WINEPREFIX=$work/$part/" || continue
    echo "$pid"
    return 0
  done
  return 1
}

wait_pid() {
  local part=$1 name=$2 pid i
  for i in $(seq 1 300); do
    pid=$(find_pid "$part" "$name") && { echo "$pid"; return 0; }
    sleep 0.1
  done
  echo "bench: $name did not start (see $work/$part.log)" >&2
  return 1
}

# CPU time of all threads of a process, in nanoseconds.
cpu_ns() {
  local total=0 task ns
  for task in /proc/"$1"/task/*/schedstat; do
    read -r ns _ <"$task" 2>/dev/null || continue
    total=$((total + ns))
  done
  echo "$total"
}

# The working set: every resident page, those shared with other processes
# (the system's libraries) included.
rss_kib() {
  awk '/^Rss:/ {print $2}' "/proc/$1/smaps_rollup"
}

# The private working set, the pages of this process alone (what Windows'
# Task Manager shows as a process's memory).
private_kib() {
  awk '/^Private_(Clean|Dirty):/ {sum += $2} END {print sum}' "/proc/$1/smaps_rollup"
}

# Part 3: one run of the monitor alone, its window asked every 50 ms.
run_answers() {
  run_probe "$1" 90 --answer TidewatchHiddenForm --start "$tidewatch"
}
silent_answers() {
  sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  run_answers silent
  sysctl -qw net.ipv4.icmp_echo_ignore_all=0
}
report_answers() {
  local part line worst
  echo "Responsiveness, worst WM_NULL round trip over 90 s:"
  for part in answered silent; do
    line=$(tr -d '\r' <"$work/$part.log" | grep '^answer ')
    worst=$(echo "$line" | awk '{print $4}')
    if [ -z "$worst" ]; then
      echo "bench: no responsiveness figure for the $part run:" >&2
      cat "$work/$part.log" >&2
      status=1
      continue
    fi
    printf '  %-20s %8.1f ms (limit 100), %s s after the start  ' "echoes $part" "$worst" \
      "$(echo "$line" | sed 's/.*, \([0-9.]*\) s after the start.*/\1/')"
    verdict "$(awk -v w="$worst" 'BEGIN { print (w <= 100) ? 1 : 0 }')"
  done
}

. tests/wine/wine-arch.sh
status=0
verdict() {
  if [ "$1" = 1 ]; then echo "ok"; else echo "TOO MUCH"; status=1; fi
}

if [ "${KESTREL_BENCH_PARTS:-all}" = answers ]; then
  echo "Tidewatch benchmark: $arch, $(wine_version), closed network, responsiveness only"
  run_answers answered
  silent_answers
  report_answers
  exit $status
fi

run_answers answered &
answered_pid=$!

# Part 2 in the background: ten minutes and a little.
run_probe up 620 --sample 60 --sample 600 --start "$tidewatch" --start "$yardstick --animate" &
up_pid=$!
animated=$(wait_pid up Tidewatch.exe) || exit 1
# Its working set at the same moments as the probe's counts.
(sleep 60; rss_kib "$animated" >"$work/up-rss-60"; sleep 540; rss_kib "$animated" >"$work/up-rss-600") &

# Part 1: 15 s for the start and the first check's 10 s timeout, then 60 s.
KESTREL_TEST_HOSTS=ConnectionTestHost=silent run_probe down 90 \
  --start "$tidewatch" --start "$yardstick" &
down_pid=$!
monitor=$(wait_pid down Tidewatch.exe) && idle=$(wait_pid down idle_timers.exe) || exit 1
sleep 15
monitor_cpu0=$(cpu_ns "$monitor")
idle_cpu0=$(cpu_ns "$idle")
sleep 60
monitor_cpu=$(($(cpu_ns "$monitor") - monitor_cpu0))
idle_cpu=$(($(cpu_ns "$idle") - idle_cpu0))
monitor_rss=$(rss_kib "$monitor")
idle_rss=$(rss_kib "$idle")
monitor_private=$(private_kib "$monitor")
idle_private=$(private_kib "$idle")
wait "$down_pid"

echo "Tidewatch benchmark: $arch, $(wine_version), closed network"
echo "Connection down, idle for 60 s:"
awk -v m="$monitor_cpu" -v i="$idle_cpu" 'BEGIN {
  printf "  %-20s Tidewatch %8.2f ms   yardstick %8.2f ms   ratio %.3f (limit 1.100)  ", "CPU time",
    m / 1e6, i / 1e6, (i > 0 ? m / i : 0) }'
verdict "$(awk -v m="$monitor_cpu" -v i="$idle_cpu" 'BEGIN { print (i > 0 && m <= 1.1 * i) ? 1 : 0 }')"
memory() {
  awk -v l="$1" -v m="$2" -v i="$3" 'BEGIN {
    printf "  %-20s Tidewatch %8.2f MiB  yardstick %8.2f MiB  difference %+.2f MiB (limit 1)  ",
      l, m / 1024, i / 1024, (m - i) / 1024 }'
  verdict "$(awk -v m="$2" -v i="$3" 'BEGIN { print (m - i <= 1024) ? 1 : 0 }')"
}
memory "working set" "$monitor_rss" "$idle_rss"
memory "private working set" "$monitor_private" "$idle_private"

echo "Connection up, animating: after 1 minute -> after 10 minutes (waiting for the probe)"
wait "$up_pid"
# The probe writes Windows line ends.
tr -d '\r' <"$work/up.log" >"$work/up.txt"
for program in Tidewatch.exe idle_timers.exe; do
  for what in handles gdi; do
    first=$(awk -v p="$program" -v w="$what" '$1 == "sample" && $2 == 60 && $3 == p {
      for (f = 4; f < NF; f += 2) if ($f == w) print $(f + 1) }' "$work/up.txt")
    last=$(awk -v p="$program" -v w="$what" '$1 == "sample" && $2 == 600 && $3 == p {
      for (f = 4; f < NF; f += 2) if ($f == w) print $(f + 1) }' "$work/up.txt")
    if [ -z "$first" ] || [ -z "$last" ] || grep -q "ended" "$work/up.txt"; then
      echo "bench: the probe did not report $what of $program:" >&2
      cat "$work/up.log" >&2
      exit 1
    fi
    label=$what
    [ "$what" = gdi ] && label="GDI objects"
    printf '  %-16s %-12s %5d -> %5d   difference %+d  ' "$program" "$label" "$first" "$last" \
      $((last - first))
    if [ "$program" = Tidewatch.exe ]; then
      verdict "$([ "$first" = "$last" ] && echo 1 || echo 0)"
    else
      echo "(yardstick)"
    fi
  done
done
first=$(cat "$work/up-rss-60" 2>/dev/null)
last=$(cat "$work/up-rss-600" 2>/dev/null)
if [ -n "$first" ] && [ -n "$last" ]; then
  printf '  %-16s %-12s %5d -> %5d KiB  difference %+d KiB (information)\n' Tidewatch.exe \
    "working set" "$first" "$last" $((last - first))
fi
wait "$answered_pid"
silent_answers
report_answers
exit $status
