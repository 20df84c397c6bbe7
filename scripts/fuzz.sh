#!/bin/bash
# Runs every fuzz harness, or the ones named, for a fixed number of inputs
# each, for example
#   scripts/fuzz.sh 10000000
#   scripts/fuzz.sh 10000000 tips_file ping_host
#   scripts/fuzz.sh 100000 tips_file=20000
# A NAME=INPUTS argument gives that harness its own number of inputs, for a
# harness whose inputs take longer; given alone, it leaves no harness out.
# It builds the fuzz preset first, then prints one line per harness with
# its inputs and times, and a closing summary line. A finding fails it: a
# crash, a sanitizer report, a broken check, an input that takes more than
# 10 s, or a leak. libFuzzer saves the input in build/fuzz/findings/<name>/.
# KESTREL_FUZZ_WORK names another folder than build/fuzz for the findings,
# the grown corpora and the logs, so that a long run can go on beside the
# short ones.
#
# The harnesses run side by side, as many at a time as there are cores
# (KESTREL_FUZZ_JOBS sets another number), at a lower priority, because the
# machine is shared. Each starts from its seeds in tests/fuzz/corpus/<name>/
# and from what earlier runs found, in build/fuzz/corpus/<name>/, and adds
# to the latter only.
set -u
cd "$(dirname "$(readlink -f "$0")")/.."

inputs=${1:-}
if ! [[ $inputs =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh INPUTS_PER_HARNESS [HARNESS | HARNESS=INPUTS]..." >&2
  exit 2
fi
shift
wanted=()
declare -A own_inputs=()
for argument in "$@"; do
  if [[ $argument =~ ^([A-Za-z0-9_]+)=([1-9][0-9]*)$ ]]; then
    own_inputs[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
  elif [[ $argument =~ ^[A-Za-z0-9_]+$ ]]; then
    wanted+=("$argument")
  else
    echo "usage: scripts/fuzz.sh INPUTS_PER_HARNESS [HARNESS | HARNESS=INPUTS]..." >&2
    exit 2
  fi
done
# Named harnesses with their own counts are picked too, once any is picked.
[ ${#wanted[@]} -gt 0 ] && wanted+=("${!own_inputs[@]}")
jobs=${KESTREL_FUZZ_JOBS:-$(nproc)}
# AddressSanitizer keeps 256 MB of freed memory by default; cycling through it
# costs the fuzzer half its speed. 16 MB still holds thousands of inputs'
# worth of freed blocks, so a use after free is still caught.
export ASAN_OPTIONS=quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}

out=build/fuzz
work=${KESTREL_FUZZ_WORK:-$out}
mkdir -p build
if ! scripts/build.sh fuzz >build/fuzz-build.log 2>&1; then
  cat build/fuzz-build.log
  echo "fuzz: the fuzz preset did not build" >&2
  exit 1
fi

names=()
programs=()
counts=()
listed=" "
while read -r name program; do
  [ -n "$name" ] || continue
  listed+="$name "
  if [ ${#wanted[@]} -gt 0 ] && [[ " ${wanted[*]} " != *" $name "* ]]; then continue; fi
  names+=("$name")
  programs+=("$program")
  counts+=("${own_inputs[$name]:-$inputs}")
done <"$out/fuzz-harnesses.txt"
unknown=0
for name in "${wanted[@]}" "${!own_inputs[@]}"; do
  [[ $listed == *" $name "* ]] || unknown=1
done
if [ ${#names[@]} -eq 0 ] || [ "$unknown" -eq 1 ]; then
  echo "fuzz: no such harness; the harnesses are:" \
    "$(cut -d' ' -f1 "$out/fuzz-harnesses.txt" | tr '\n' ' ')" >&2
  exit 2
fi

# One harness, its log in $work/logs/<name>.log and its exit code and times
# (wall and CPU seconds) in <name>.result.
run_harness() {
  local name=$1 program=$2 runs=$3 logs=$work/logs
  local corpus=$work/corpus/$name findings=$work/findings/$name
  mkdir -p "$corpus" "$findings" "$logs"
  local options=(-runs="$runs" -timeout=10 -print_final_stats=1
                 -artifact_prefix="$findings/")
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  local TIMEFORMAT='%R %U %S' code
  { time nice -n 10 "$program" "${options[@]}" "$corpus" "tests/fuzz/corpus/$name" \
      >"$logs/$name.log" 2>&1; } 2>"$logs/$name.time"
  code=$?
  echo "$code $(cat "$logs/$name.time")" >"$logs/$name.result"
}

for i in "${!names[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  run_harness "${names[$i]}" "${programs[$i]}" "${counts[$i]}" &
done
wait

status=0
found=0
for i in "${!names[@]}"; do
  name=${names[$i]}
  log=$work/logs/$name.log
  read -r code wall user system <"$work/logs/$name.result"
  wall=$(awk -v s="$wall" 'BEGIN { printf "%.1f", s }')
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.1f", u + s }')
  ran=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  times="${ran:-?} inputs in $wall s (CPU $cpu s)"
  if [ "$code" -eq 0 ] && [ "${ran:-0}" -ge "${counts[$i]}" ]; then
    echo "fuzz $name: $times, no finding"
    continue
  fi
  status=1
  artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
  if [ -n "$artifact" ]; then
    found=$((found + 1))
    # The report: the sanitizer's or the check's lines, without the fuzzer's progress.
    grep -vE '^#[0-9]+|^(INFO|MS|Base64|stat):|^\s*$' "$log" | tail -40 | sed 's/^/    /'
    echo "fuzz $name: FINDING after $times, input saved in $artifact;" \
      "repeat it with: ${programs[$i]} $artifact"
  else
    tail -20 "$log" | sed 's/^/    /'
    echo "fuzz $name: the run failed (exit code $code) after $times; see $log"
  fi
done

each="$inputs inputs each"
for i in "${!names[@]}"; do
  [ "${counts[$i]}" = "$inputs" ] || each+=", ${names[$i]} ${counts[$i]}"
done
if [ "$status" -eq 0 ]; then
  echo "fuzz: ${#names[@]} harnesses, $each, no finding"
else
  echo "fuzz: ${#names[@]} harnesses, $each, FAILED: $found with a finding"
fi
exit $status
