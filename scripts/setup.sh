#!/bin/bash
# Installs what the build and the tests need on a Debian machine, and nothing
# that is already there. Safe to run again.
set -eu

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev            # native tests, and sources for the Windows build of the tests
  clang                              # the fuzz harnesses (and below, their runtimes)
  g++-mingw-w64-i686                 # the 32-bit Windows cross compiler
  g++-mingw-w64-x86-64               # the 64-bit Windows cross compiler
  # Wine runs the Windows programs. wine32 installs even where the kernel
  # cannot execute 32-bit code; the test command then skips x86.
  wine wine64 wine32:i386 fonts-wine
  xvfb x11-apps x11-utils imagemagick  # a display without a screen, its windows, and screenshots
  libstb-dev                         # the end-to-end driver's PNG encoder (header only)
  python3                            # makes Ping.wav and checks the program folder's files
  chromium poppler-utils             # renders the user's guide (scripts/render-guide.sh)
  nsis                               # makensis builds the installers
  iproute2 util-linux                # a closed network for everything under Wine
)

updated=
# Installs those of the packages that are missing.
install_missing() {
  local missing=() package status
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages: ${missing[*]}; run as root or install them" >&2
    exit 1
  fi

  echo "setup: installing ${missing[*]}"
  # wine32 comes from the i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    updated=
  fi
  export DEBIAN_FRONTEND=noninteractive
  if [ -z "$updated" ]; then
    apt-get update -qq
    updated=1
  fi
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${packages[@]}"
# libFuzzer and the sanitizers' runtimes come in a package per clang version,
# which must be the installed clang's.
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -1)
if [ -z "$clang_major" ]; then
  echo "setup: cannot tell the version of the installed clang" >&2
  exit 1
fi
install_missing "libclang-rt-$clang_major-dev"
