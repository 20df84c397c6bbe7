# Sourced by the Wine scripts: which Wine loader runs which Windows
# architecture, and what the host can run.
#
# x86 programs (i686) run under the 32-bit loader, in a 32-bit prefix or under
# WOW64 in a 64-bit one; x64 programs run under the 64-bit loader in a 64-bit
# prefix. Debian's /usr/bin/wine always picks the 32-bit loader once wine32 is
# installed, even on a host whose kernel cannot execute 32-bit code, so the
# scripts call the loaders directly.

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

# The loader for an architecture: x86 or win32, x64 or win64.
wine_loader_for() {
  case $1 in
    x64 | win64) echo "$wine64_loader" ;;
    *) echo "$wine32_loader" ;;
  esac
}

# The Wine server that goes with an architecture's loader; the generic
# wineserver script picks the 64-bit one whenever it is installed.
wineserver_for() {
  case $1 in
    x64 | win64) echo /usr/lib/wine/wineserver64 ;;
    *) echo /usr/lib/wine/wineserver32 ;;
  esac
}

# The Wine version, from whichever loader this host can start.
wine_version() {
  "$wine64_loader" --version 2>/dev/null || "$wine32_loader" --version 2>/dev/null
}

# The architecture of a Windows program file (x86 or x64), read from the
# machine field of its PE header; nothing for anything else.
pe_arch() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo x86 ;;
    8664) echo x64 ;;
    *) return 1 ;;
  esac
}
