#!/bin/bash
# Builds the program folder (Kestrel.exe, Tidewatch.exe and their files) and
# starts Kestrel under Wine from it (build/install/x86, or build/install/x64 on
# a host that cannot execute 32-bit code), as a newcomer meets it: the tip of
# the day first, and the tray monitor, which Kestrel starts from its folder.
# Kestrel keeps Kestrel.cfg there.
#
# With a display, the program opens there and this script waits until it
# ends. Without one, it runs on a private Xvfb display in a closed network,
# saves a screenshot once Kestrel's first window shows and ends the programs.
set -eu
root=$(dirname "$(readlink -f "$0")")/..
cd "$root"
root=$(pwd)
. tests/wine/wine-arch.sh

scripts/setup.sh

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
headless=
[ -n "${DISPLAY:-}" ] || headless=1

# Makes the prefix of one architecture once and keeps it between runs, so
# that the program's per-user settings stay. Fails when the host cannot run
# Wine of that architecture.
prepare_prefix() {
  local arch=$1 prefix_arch=win32
  [ "$arch" = x64 ] && prefix_arch=win64
  export WINEPREFIX=$root/build/run-prefix-$arch${headless:+-headless}
  export WINELOADER WINESERVER
  WINELOADER=$(wine_loader_for "$arch")
  WINESERVER=$(wineserver_for "$arch")
  [ -f "$WINEPREFIX/.kestrel-ready" ] && return 0
  echo "run: preparing the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  WINEARCH=$prefix_arch "$WINELOADER" wineboot -i >"$root/build/run-prefix-$arch.log" 2>&1 ||
    return 1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  if [ -n "$headless" ]; then
    # No window manager runs on Xvfb: Wine draws the title bars itself.
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
      >/dev/null 2>&1
  fi
  "$WINESERVER" -w
  touch "$WINEPREFIX/.kestrel-ready"
}

# Prefer x86, the architecture the programs are made for; take x64 where
# this host cannot start a 32-bit Windows program.
arch=
for candidate in x86 x64; do
  mkdir -p build
  scripts/build.sh "windows-$candidate" --target Kestrel Tidewatch ping_wav wine_probe >/dev/null
  # To a file, not a pipe, which Wine's server could inherit and hold open.
  if prepare_prefix "$candidate" &&
    "$WINELOADER" "build/windows-$candidate/wine_probe.exe" >build/probe-run.log 2>&1 &&
    grep -q '^probe ' build/probe-run.log; then
    arch=$candidate
    # The probe's wineserver must be gone before the program starts in the sandbox.
    "$WINESERVER" -w
    break
  fi
  echo "run: this host cannot run $candidate Windows programs under Wine"
done
if [ -z "$arch" ]; then
  echo "run: no Windows architecture runs here" >&2
  exit 1
fi

cmake --install "build/windows-$arch" >/dev/null
install_dir=$root/build/install/$arch
echo "run: starting $install_dir/Kestrel.exe ($arch)"

if [ -z "$headless" ]; then
  "$WINELOADER" "$install_dir/Kestrel.exe" "$@" >"$root/build/run.log" 2>&1
  exit 0
fi

shot=$root/build/screenshots/run-kestrel.png
mkdir -p "$(dirname "$shot")"
export KESTREL_RUN_SHOT=$shot KESTREL_RUN_EXE=$install_dir/Kestrel.exe
# Wait until X shows Kestrel's first window, the tip of the day or else the
# main window (Kestrel has started the tray monitor by then), and give it a
# moment to paint.
tests/wine/sandbox.sh bash -c '
  "$WINELOADER" "$KESTREL_RUN_EXE" >"$WINEPREFIX/../run.log" 2>&1 &
  shown=
  for _ in $(seq 300); do
    for id in $(xwininfo -root -tree 2>/dev/null | awk "/\"(Kestrel|Tip of the Day)\"/ { print \$1 }"); do
      xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && shown=1
    done
    [ -n "$shown" ] && break
    sleep 0.2
  done
  [ -n "$shown" ] && sleep 1
  import -window root -crop 640x560+0+0 "$KESTREL_RUN_SHOT"
  "$WINESERVER" -k
  [ -n "$shown" ] || echo "run: Kestrel showed no window within 60 s (see build/run.log)" >&2
'
echo "run: no display here, so Kestrel ran on a private Xvfb display."
echo "run: screenshot saved to $shot"
