#!/bin/bash
# Builds Kestrel.exe and starts it under Wine from a program folder of its own
# (build/install/Kestrel), where it keeps Kestrel.cfg.
#
# With a display, the program opens there and this script waits until it
# ends. Without one, it runs on a private Xvfb display in a closed network,
# saves a screenshot after a few seconds and ends the program.
set -eu
root=$(dirname "$(readlink -f "$0")")/..
cd "$root"
root=$(pwd)

scripts/setup.sh
scripts/build.sh windows --target Kestrel >/dev/null

install_dir=$root/build/install/Kestrel
mkdir -p "$install_dir"
cp build/windows/kestrel/win32/Kestrel.exe "$install_dir/"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
prepare_prefix() {
  export WINEPREFIX=$1
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "run: preparing the Wine prefix $WINEPREFIX"
  WINEARCH=win32 wineboot -i >/dev/null 2>&1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  if [ "${2:-}" = unmanaged ]; then
    # No window manager runs on Xvfb: Wine draws the title bars itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  fi
  wineserver -w
}

if [ -n "${DISPLAY:-}" ]; then
  prepare_prefix "$root/build/run-prefix"
  echo "run: starting $install_dir/Kestrel.exe"
  wine "$install_dir/Kestrel.exe" "$@" >"$root/build/run.log" 2>&1
  exit 0
fi

prepare_prefix "$root/build/run-prefix-headless" unmanaged
shot=$root/build/screenshots/run-kestrel.png
mkdir -p "$(dirname "$shot")"
export KESTREL_RUN_SHOT=$shot KESTREL_RUN_EXE=$install_dir/Kestrel.exe
tests/wine/sandbox.sh bash -c '
  wine "$KESTREL_RUN_EXE" >"$WINEPREFIX/../run.log" 2>&1 &
  sleep 6
  import -window root -crop 640x560+0+0 "$KESTREL_RUN_SHOT"
  wineserver -k
'
echo "run: no display here, so Kestrel ran on a private Xvfb display."
echo "run: screenshot saved to $shot"
