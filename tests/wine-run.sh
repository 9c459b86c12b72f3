#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, for CTest (as the
# cross-compiling emulator) and for the scripts.
#
#   wine-run.sh --root DIR [--prefix NAME] PROGRAM.exe [ARGS...]
#
# Every program runs in a private Wine prefix DIR/NAME (NAME defaults to the
# program's base name, or $WINE_TEST_PREFIX), copied on first use from a
# template prefix that is booted once. Without a display a private Xvfb is
# started for the run. The program's exit code is passed on.
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
template=$root/.template
(
  flock 9
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    touch "$template/.ready"
  fi
) 9>"$root/.template.lock"

prefix=$root/$name
(
  flock 9
  if [ ! -f "$prefix/.ready" ]; then
    rm -rf "$prefix"
    # Hard links for the system's binaries, which Wine only reads (a prefix is
    # mostly those: 2 MB instead of 600 MB a copy); every other file is a copy
    # of its own, since Wine rewrites registry and .ini files in place.
    cp -al "$template" "$prefix"
    find "$prefix" -type f -links +1 ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.sys' -o -iname '*.nls' -o -iname '*.tt[fc]' -o -iname '*.fon' -o -iname '*.acm' \
        -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' -o -iname '*.mui' \
        -o -iname '*.com' -o -iname '*.ds' -o -iname '*.vxd' \) \
      -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' _ {} +
  fi
) 9>"$root/.$name.lock"
export WINEPREFIX=$prefix

xvfb_pid=""
cleanup() {
  [ -n "${hooks_undo:-}" ] && eval "$hooks_undo" || true
  [ -n "$xvfb_pid" ] && { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
  return 0
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  eval "$("$here/xvfb.sh" start)"
fi

# Host-side preparation that a test asks for (drive letters, mounts).
hooks_undo=""
if [ -n "${WINE_TEST_HOOKS:-}" ]; then
  # shellcheck source=host-hooks.sh
  source "$here/host-hooks.sh"
  apply_hooks "$WINE_TEST_HOOKS" || exit $?
fi

set +e
wine "$program" "$@"
rc=$?
set -e
exit $rc
