# Sourced by sandbox.sh and run-in-prefix.sh: the sandbox's own hosts file.
#
# Inside the sandbox the programs must be able to ping their built-in public
# hosts without leaving the machine. Wine's resolver is the system's, so a
# hosts file bind-mounted over /etc/hosts in the sandbox's private mount
# namespace gives those names loopback addresses. The names are read from the
# one header that defines them, common/ping_hosts.h; by default each maps to
# 127.0.0.1, which answers echoes.
#
# A test can change the mapping for itself with KESTREL_TEST_HOSTS, a list of
# NAME=ADDRESS entries separated by blanks:
#   NAME     a host name, or the name of a constant of common/ping_hosts.h
#            (ConnectionTestHost), which stands for its host;
#   ADDRESS  an IPv4 address, "silent" for the sandbox's loopback address that
#            never answers (KESTREL_SILENT_ADDRESS), or empty for no address,
#            so that the name has no answer.
# Example: KESTREL_TEST_HOSTS="ConnectionTestHost=silent DefaultPingHost="
# run-in-prefix.sh applies it in a mount namespace of that test's own.

hosts_header=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../../common/ping_hosts.h

# The address inside the sandbox that swallows echoes: it is routed to a tap
# device that nobody reads, while 127.0.0.1 still answers.
silent_address=127.0.0.66

# Prints "Constant host" for each host constant of the header.
host_constants() {
  sed -nE 's/^[[:space:]]*inline constexpr char ([A-Za-z_][A-Za-z0-9_]*)\[\] = "([^"]+)";.*/\1 \2/p' \
    "$hosts_header"
}

# write_hosts FILE [NAME=ADDRESS ...]: the default mapping, changed by the
# entries, written to FILE.
write_hosts() {
  local file=$1 entry name address constant host
  shift
  local -A mapped=()
  local order=()
  local constants
  constants=$(host_constants)
  if [ -z "$constants" ]; then
    echo "hosts: no host constants found in $hosts_header" >&2
    return 1
  fi
  while read -r constant host; do
    mapped[$host]=127.0.0.1
    order+=("$host")
  done <<<"$constants"
  for entry in "$@"; do
    if [[ $entry != *=* ]]; then
      echo "hosts: '$entry' is not NAME=ADDRESS" >&2
      return 1
    fi
    name=${entry%%=*}
    address=${entry#*=}
    while read -r constant host; do
      [ "$constant" = "$name" ] && name=$host
    done <<<"$constants"
    [ "$address" = silent ] && address=$silent_address
    if ! [[ $name =~ ^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$ ]]; then
      echo "hosts: '$name' is not a host name" >&2
      return 1
    fi
    if [ -n "$address" ] && ! [[ $address =~ ^[0-9]{1,3}(\.[0-9]{1,3}){3}$ ]]; then
      echo "hosts: '$address' is not an IPv4 address" >&2
      return 1
    fi
    [ -n "${mapped[$name]+set}" ] || order+=("$name")
    mapped[$name]=$address
  done
  {
    printf '127.0.0.1\tlocalhost\n'
    for name in "${order[@]}"; do
      [ -n "${mapped[$name]}" ] && printf '%s\t%s\n' "${mapped[$name]}" "$name"
    done
  } >"$file"
}

# Routes the silent address to a tap device without a reader. Needs the
# sandbox's own network namespace.
make_silent_address() {
  ip tuntap add dev kestrel-silent mode tap &&
    ip link set kestrel-silent up &&
    echo 1 >/proc/sys/net/ipv4/conf/kestrel-silent/route_localnet &&
    ip route add "$silent_address/32" dev kestrel-silent table local
}
