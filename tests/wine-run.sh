#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, for CTest (as the
# cross-compiling emulator) and for the scripts.
#
#   wine-run.sh --root DIR [--prefix NAME] PROGRAM.exe [ARGS...]
#
# Every program runs in a private Wine prefix DIR/NAME (NAME defaults to
# $WINE_TEST_PREFIX, else the program's base name), copied on first use from a
# template prefix that is booted once. Without a display a private Xvfb is
# started for the run. The program's exit code is passed on.
#
# Set by add_wine_test (cmake/WineTests.cmake):
#   WINE_TEST_HOOKS      host-side preparation, see host-hooks.sh
#   WINE_TEST_ARTIFACTS  host folder for the test's screenshots and other
#                        output, emptied first; the program sees it as
#                        $TEST_ARTIFACTS_DIR
#   WINE_TEST_END_ALL=1  end every process left in the prefix afterwards, so
#                        that no window outlives its test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=""
name=${WINE_TEST_PREFIX:-}
while [ $# -gt 0 ]; do
  case $1 in
    --root) root=$2; shift 2 ;;
    --prefix) name=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ -n "$root" ] && [ $# -ge 1 ] || { echo "usage: wine-run.sh --root DIR [--prefix NAME] PROGRAM [ARGS...]" >&2; exit 2; }
program=$1; shift
[ -n "$name" ] || name=$(basename "$program" .exe)

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
export WINEARCH=win32

mkdir -p "$root"
root=$(cd "$root" && pwd)

# The template prefix: booted once, then copied for every private prefix.
# Both are marked with the Wine version and the template's own make-up and
# made again when either changes, so that Wine never updates a prefix (and the
# files it shares with the template) in place.
prefix_key="$(wine --version); own shell folders; unmanaged windows"
template=$root/.template
(
  flock 9
  if [ "$(cat "$template/.ready" 2>/dev/null)" != "$prefix_key" ]; then
    rm -rf "$template"
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    # Wine links the user's desktop and document folders to the host's home:
    # every prefix would share them (and a test's shortcut would land in
    # /root). Each prefix gets folders of its own.
    for link in "$template"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    # Without a window manager on Xvfb, Wine waits two seconds for one at
    # the end of every managed window; windows it manages itself end at once.
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    echo "$prefix_key" >"$template/.ready"
  fi
) 9>"$root/.template.lock"

# A private prefix is built aside and renamed into place, so an interrupted
# copy is never taken for a ready one.
prefix=$root/$name
(
  flock 9
  if [ "$(cat "$prefix/.ready" 2>/dev/null)" != "$prefix_key" ]; then
    partial=$prefix.partial
    for mnt in "$prefix"/mnt-*; do  # drives left mounted by a killed run
      if mountpoint -q "$mnt" 2>/dev/null; then umount "$mnt"; fi
    done
    rm -rf "$prefix" "$partial"
    # Hard links for the system's binaries, which Wine only reads (a prefix is
    # mostly those: 2 MB instead of 600 MB a copy); every other file is a copy
    # of its own, since Wine rewrites registry and .ini files in place.
    cp -al "$template" "$partial"
    find "$partial" -type f -links +1 ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.sys' -o -iname '*.nls' -o -iname '*.tt[fc]' -o -iname '*.fon' -o -iname '*.acm' \
        -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' -o -iname '*.mui' \
        -o -iname '*.com' -o -iname '*.ds' -o -iname '*.vxd' \) \
      -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' _ {} +
    mv "$partial" "$prefix"
  fi
) 9>"$root/.$name.lock"
export WINEPREFIX=$prefix

xvfb_pid=""
hooks_undo=""
cleanup() {
  if [ -n "${WINE_TEST_END_ALL:-}" ] || [ -n "$xvfb_pid" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$hooks_undo" ]; then eval "$hooks_undo" || true; fi
  if [ -n "$xvfb_pid" ]; then "$here/xvfb.sh" stop "$xvfb_pid"; fi
  return 0
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  eval "$("$here/xvfb.sh" start)"
fi

if [ -n "${WINE_TEST_ARTIFACTS:-}" ]; then
  # Only this run's pictures: an old failure's must not be taken for a new one.
  rm -rf "$WINE_TEST_ARTIFACTS"
  mkdir -p "$WINE_TEST_ARTIFACTS"
  export TEST_ARTIFACTS_DIR=$WINE_TEST_ARTIFACTS
fi

# Host-side preparation that a test asks for (drive letters, mounts).
# shellcheck source=host-hooks.sh
source "$here/host-hooks.sh"
recover_hooks "$template"
if [ -n "${WINE_TEST_HOOKS:-}" ]; then
  apply_hooks "$WINE_TEST_HOOKS"
fi

set +e
wine "$program" "$@"
rc=$?
set -e
exit $rc
