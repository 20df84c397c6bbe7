#!/bin/bash
# Runs a command in a closed network: a private network namespace with only
# the loopback interface up, a resolver that names only 127.0.0.1, a hosts
# file of its own, and a private X server (Xvfb) for the Wine programs. Exits
# with the command's code.
#
#   tests/wine/sandbox.sh CMD [ARGS...]
#
# The hosts file maps the programs' built-in public hosts (common/ping_hosts.h)
# to 127.0.0.1, which answers echoes; KESTREL_SILENT_ADDRESS (127.0.0.66) is a
# loopback address that never answers. See hosts.sh for how one test changes
# the mapping (KESTREL_TEST_HOSTS).
# KESTREL_XVFB_SCREEN overrides the screen geometry (default 1280x1024x24).
set -u

if [ $# -eq 0 ]; then
  echo "usage: $0 CMD [ARGS...]" >&2
  exit 2
fi

self=$(readlink -f "$0")
here=$(dirname "$self")
. "$here/hosts.sh"

if [ "${KESTREL_SANDBOX_STAGE:-}" != inside ]; then
  # The new mount namespace keeps the resolver bind mount to ourselves; the
  # network namespace starts with nothing but a downed loopback interface.
  KESTREL_SANDBOX_STAGE=inside exec unshare --net --mount --propagation private -- "$self" "$@"
fi
unset KESTREL_SANDBOX_STAGE

ip link set lo up || { echo "sandbox: cannot bring up lo" >&2; exit 125; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-sandbox.XXXXXX") || exit 125
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Even a name lookup must not leave the machine.
printf 'nameserver 127.0.0.1\n' >"$scratch/resolv.conf"
mount --bind "$scratch/resolv.conf" /etc/resolv.conf ||
  { echo "sandbox: cannot bind-mount resolv.conf" >&2; exit 125; }
# The built-in host names resolve to loopback; a test may change that for
# itself (run-in-prefix.sh), so the sandbox-wide file ignores KESTREL_TEST_HOSTS.
write_hosts "$scratch/hosts" && mount --bind "$scratch/hosts" /etc/hosts ||
  { echo "sandbox: cannot set up the hosts file" >&2; exit 125; }
make_silent_address ||
  { echo "sandbox: cannot route $silent_address to a silent tap device" >&2; exit 125; }
export KESTREL_SILENT_ADDRESS=$silent_address

# The lock files in /tmp are shared with the host and other sandboxes, so a
# display is free only when nobody holds its lock. Xvfb writes the display
# number to the pipe once it accepts connections, which is the moment to go on.
start_xvfb() {
  local n screen=${KESTREL_XVFB_SCREEN:-1280x1024x24}
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    rm -f "$scratch/ready"
    mkfifo "$scratch/ready" || return 1
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset -displayfd 3 \
      3>"$scratch/ready" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local answer=
    # The read returns with the number, or empty when Xvfb died (the pipe's
    # writer closed); the timeout covers a server that neither starts nor dies.
    read -r -t 10 answer <"$scratch/ready"
    if [ -n "$answer" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$answer"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  return 1
}

if ! start_xvfb; then
  echo "sandbox: could not start Xvfb on any display from :91 to :140" >&2
  cat "$scratch/xvfb.log" >&2 2>/dev/null
  exit 125
fi

export KESTREL_SANDBOXED=1
# In the background, so that a signal to us reaches the command at once
# instead of waiting for it to end; stdin is passed on explicitly.
"$@" <&0 &
command_pid=$!
trap 'kill -TERM "$command_pid" 2>/dev/null' TERM HUP
trap 'kill -INT "$command_pid" 2>/dev/null' INT
while :; do
  wait "$command_pid"
  rc=$?
  # wait returns early (above 128) when a trapped signal came in; the
  # command itself is still ending then.
  kill -0 "$command_pid" 2>/dev/null || break
done
exit $rc
