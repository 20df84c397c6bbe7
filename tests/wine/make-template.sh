#!/bin/bash
# Makes the template Wine prefix that every Wine test copies:
#
#   tests/wine/make-template.sh DIR
#
# A 32-bit prefix (KESTREL_WINE_ARCH=win64: a 64-bit one) with Wine's own fonts, no audio driver, unmanaged X windows
# (no window manager runs under Xvfb, and managed windows cost 2 s per hide)
# and real Desktop/Documents folders, so that nothing a test writes lands in
# the user's home. A DIR whose stamp matches this Wine and this script is
# reused as it is.
set -eu

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi

self=$(readlink -f "$0")
here=$(dirname "$self")
target=$(realpath -m "$1")
. "$here/wine-arch.sh"

wine_version=$(wine_version)
# KESTREL_WINE_ARCH=win64 makes a 64-bit prefix, where the 64-bit programs run,
# and the 32-bit ones under WOW64 as on 64-bit Windows.
arch=${KESTREL_WINE_ARCH:-win32}
loader=$(wine_loader_for "$arch")
script_sum=$({ cat "$self"; echo "$arch"; } | sha256sum | cut -d' ' -f1)
stamp_text="$wine_version $script_sum"
stamp_name=.kestrel-template-stamp

if [ -f "$target/$stamp_name" ] && [ "$(cat "$target/$stamp_name")" = "$stamp_text" ]; then
  exit 0
fi

# Only a former template (it has a stamp) or an empty directory is replaced;
# a wrong argument must not delete anything else.
if [ -e "$target" ] && [ ! -f "$target/$stamp_name" ] &&
  [ -n "$(ls -A "$target" 2>/dev/null || echo not-a-directory)" ]; then
  echo "make-template: $target exists and is not a template prefix; not replacing it" >&2
  exit 1
fi

# Wine runs only in the closed network, with a display for wineboot's windows.
if [ "${KESTREL_SANDBOXED:-}" != 1 ]; then
  exec "$here/sandbox.sh" "$self" "$@"
fi

mkdir -p "$(dirname "$target")"
# Build beside the target and rename at the end, so that an interrupted run
# never leaves a half-made prefix that carries a valid stamp.
work=$(mktemp -d "$target.new.XXXXXX")
cleanup() {
  WINEPREFIX="$work" wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX="$work"
export WINEARCH=$arch
export WINELOADER=$loader
export WINEDEBUG=-all
# No network: keep wineboot from offering the Mono and Gecko installers. No
# menu builder either: it writes into the user's home, outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

log="$work.log"
run_wine() {
  if ! "$@" >>"$log" 2>&1; then
    echo "make-template: '$*' failed; its output:" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
}
: >"$log"

SECONDS=0
run_wine "$loader" wineboot -i
run_wine "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
run_wine "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f
# Wine writes the hives lazily; make sure they are on disk before copying.
wineserver -w
rm -f "$log"

# This Wine does not find its own fonts; without them text falls back to
# another face and the caption buttons draw as letters.
mkdir -p "$work/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$work/drive_c/windows/Fonts/"

# The shell folders are links into the user's home; make them real folders.
for user_dir in "$work"/drive_c/users/*; do
  [ -d "$user_dir" ] || continue
  find "$user_dir" -maxdepth 2 -type l | while read -r link; do
    rm -f "$link"
    mkdir -p "$link"
  done
done

printf '%s\n' "$stamp_text" >"$work/$stamp_name"

trap - EXIT
rm -rf "$target"
mv "$work" "$target"
echo "make-template: $target ready in ${SECONDS} s"
