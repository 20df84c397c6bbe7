#!/bin/bash
# Runs one Windows program in a fresh copy of the template Wine prefix and
# exits with its exit code. CTest uses it as the cross-compiling emulator:
#
#   KESTREL_WINE_TEMPLATE=DIR tests/wine/run-in-prefix.sh EXE [ARGS...]
#
# DIR is the 32-bit template; the 64-bit one is DIR-win64. An x64 program
# runs under the 64-bit loader in the 64-bit template. An x86 program runs
# under the 32-bit loader in the 32-bit template, or in the 64-bit one (WOW64)
# when KESTREL_WINE_VARIANT=win64.
# KESTREL_WINE_TIMEOUT (seconds, default 240) ends a program that hangs, so
# that the prefix is still cleaned up before CTest's own timeout strikes.
# KESTREL_KEEP_PREFIX=1 keeps the prefix copy for a look afterwards.
# KESTREL_WINE_TRACE=1 reports how long each step took.
# KESTREL_DLL_OVERRIDES adds to Wine's load order of libraries (WINEDLLOVERRIDES)
# for this program and every program it starts.
# KESTREL_TEST_HOSTS (see hosts.sh) maps host names for this program alone:
# its hosts file is bind-mounted in a mount namespace of its own, nested in
# the sandbox's, so that no other test sees it.
# KESTREL_WINE_COPY=full copies every file of the template; the default links
# the program files, fonts and code pages, which Wine only reads, and copies
# the rest (the registry hives and the .ini files, which programs write). That
# takes 0.1 s instead of 1.5 s for the 560 MB of the template.
set -u

if [ $# -eq 0 ]; then
  echo "usage: KESTREL_WINE_TEMPLATE=DIR $0 EXE [ARGS...]" >&2
  exit 2
fi

self=$(readlink -f "$0")
here=$(dirname "$self")
. "$here/wine-arch.sh"

# A closed network means a namespace of our own without a default route.
sandboxed() {
  [ "${KESTREL_SANDBOXED:-}" = 1 ] || return 1
  [ -n "${DISPLAY:-}" ] || return 1
  [ "$(readlink /proc/self/ns/net)" != "$(readlink /proc/1/ns/net)" ] || return 1
  [ -z "$(ip route show default 2>/dev/null)" ] || return 1
  [ -z "$(ip -6 route show default 2>/dev/null)" ] || return 1
}
if ! sandboxed; then
  exec "$here/sandbox.sh" "$self" "$@"
fi

if [ -n "${KESTREL_TEST_HOSTS:-}" ] && [ "${KESTREL_HOSTS_STAGE:-}" != inside ]; then
  KESTREL_HOSTS_STAGE=inside exec unshare --mount --propagation private -- "$self" "$@"
fi
if [ "${KESTREL_HOSTS_STAGE:-}" = inside ]; then
  unset KESTREL_HOSTS_STAGE
  . "$here/hosts.sh"
  hosts_file=$(mktemp "${TMPDIR:-/tmp}/kestrel-hosts.XXXXXX") || exit 125
  # shellcheck disable=SC2086 # the entries are separated by blanks
  if ! write_hosts "$hosts_file" $KESTREL_TEST_HOSTS || ! mount --bind "$hosts_file" /etc/hosts; then
    echo "run-in-prefix: cannot apply KESTREL_TEST_HOSTS='$KESTREL_TEST_HOSTS'" >&2
    rm -f "$hosts_file"
    exit 125
  fi
  # The mount holds the file; its name is not needed any more.
  rm -f "$hosts_file"
fi

arch=$(pe_arch "$1") || {
  echo "run-in-prefix: $1 is not a Windows program of a known architecture" >&2
  exit 125
}
loader=$(wine_loader_for "$arch")
template=${KESTREL_WINE_TEMPLATE:-}
# A 64-bit program, or a test that needs 64-bit Windows, runs in the 64-bit
# template beside the usual one.
if [ -n "$template" ] && { [ "$arch" = x64 ] || [ "${KESTREL_WINE_VARIANT:-}" = win64 ]; }; then
  template=$template-win64
fi
if [ -z "$template" ] || [ ! -f "$template/.kestrel-template-stamp" ]; then
  echo "run-in-prefix: KESTREL_WINE_TEMPLATE must name a prefix made by" \
    "tests/wine/make-template.sh (got '${template}')" >&2
  exit 125
fi
template=$(realpath "$template")

stamp=$template/.kestrel-template-stamp
# A newer Wine would update the prefix on its first start, rewriting linked
# files in place.
stamp_text=$(cat "$stamp")
stamp_wine=${stamp_text% *}
if [ "$stamp_wine" != "$(wine_version)" ]; then
  echo "run-in-prefix: $template was made with $stamp_wine, not $(wine_version);" \
    "run tests/wine/make-template.sh again" >&2
  exit 125
fi

# Files that Wine and the programs only read, and that may therefore be shared.
read_only_files=( \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys'
  -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.tlb' -o -iname '*.ax'
  -o -iname '*.ds' -o -iname '*.nls' -o -iname '*.ttf' -o -iname '*.fon' \) )

copy_template() {
  if [ "${KESTREL_WINE_COPY:-link}" = full ]; then
    cp -a "$template/." "$prefix/"
    return
  fi
  cp -al "$template/." "$prefix/" || return 1
  # Everything else gets a copy of its own, so that the template stays as it is.
  (cd "$template" && find . -type f ! "${read_only_files[@]}" -print0) |
    (cd "$template" && xargs -0 -r cp -a --remove-destination --parents -t "$prefix")
}

# A shared file that changed means a program wrote into the template itself:
# take its stamp away, so that the next make-template.sh builds it anew.
check_template() {
  [ "${KESTREL_WINE_COPY:-link}" = full ] && return 0
  local changed
  changed=$(find "$template" -type f "${read_only_files[@]}" -newer "$stamp" -print -quit)
  if [ -n "$changed" ]; then
    echo "run-in-prefix: the test changed the template's file $changed;" \
      "the template is spoilt and will be rebuilt" >&2
    rm -f "$stamp"
    return 1
  fi
}

trace_at=$EPOCHREALTIME
trace() {
  [ "${KESTREL_WINE_TRACE:-}" = 1 ] || return 0
  local now=$EPOCHREALTIME
  printf 'run-in-prefix: %-9s %6.3f s\n' "$1" "$(awk "BEGIN{print $now-$trace_at}")" >&2
  trace_at=$now
}

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-prefix.XXXXXX") || exit 125
out="$prefix.stdout"
err="$prefix.stderr"
cleanup() {
  # wineserver -k also ends every Windows program the test left running.
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  if [ "${KESTREL_KEEP_PREFIX:-}" = 1 ]; then
    echo "run-in-prefix: kept prefix $prefix" >&2
  else
    rm -rf "$prefix"
  fi
  rm -f "$out" "$err"
  trace cleanup
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

if ! copy_template; then
  echo "run-in-prefix: cannot copy $template" >&2
  exit 125
fi
trace copy

# KESTREL_WINE_DPI: the display scaling of the copy (144 for 150 %, 192 for
# 200 %), written into its registry files before Wine reads them: the
# user's LogPixels, the machine's font setting and Wine's own.
if [ -n "${KESTREL_WINE_DPI:-}" ]; then
  dpi_value=$(printf '"LogPixels"=dword:%08x' "$KESTREL_WINE_DPI") &&
    sed -i "s/^\"LogPixels\"=dword:.*/$dpi_value/" "$prefix/system.reg" "$prefix/user.reg" &&
    sed -i "/^\[Control Panel\\\\\\\\Desktop\] /{n;a $dpi_value
}" "$prefix/user.reg" || {
    echo "run-in-prefix: cannot set the display scaling to $KESTREL_WINE_DPI" >&2
    exit 125
  }
fi

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko; and no menu builder, which would copy every Start-menu
# entry that a program (the installer) makes into the user's own desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${KESTREL_DLL_OVERRIDES:+;$KESTREL_DLL_OVERRIDES}"
# Programs started from inside take the same loader.
export WINELOADER=$loader
unset WINEARCH

# Output goes to files, never to a pipe: programs that the test starts inherit
# the handles, and a pipe would stay open (and CTest wait) as long as they run.
timeout --kill-after=5 "${KESTREL_WINE_TIMEOUT:-240}" "$loader" "$@" >"$out" 2>"$err" </dev/null &
wine_pid=$!
# A signal to us ends the program (timeout passes it on) and then the
# cleanup runs; wait returns early when a trapped signal arrives.
trap 'kill -TERM "$wine_pid" 2>/dev/null; interrupted=143' TERM HUP
trap 'kill -INT "$wine_pid" 2>/dev/null; interrupted=130' INT
interrupted=
while :; do
  wait "$wine_pid"
  rc=$?
  kill -0 "$wine_pid" 2>/dev/null || break
done
if [ -n "$interrupted" ]; then
  cat "$out"
  cat "$err" >&2
  exit "$interrupted"
fi
trace wine
if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
  echo "run-in-prefix: $1 did not end within ${KESTREL_WINE_TIMEOUT:-240} s" >>"$err"
fi
cat "$out"
cat "$err" >&2
# Settle the prefix first: a program still running could write after the check.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
WINEPREFIX="$prefix" wineserver -w 2>/dev/null
trace shutdown
check_template || [ $rc -ne 0 ] || rc=125
trace check
exit $rc
