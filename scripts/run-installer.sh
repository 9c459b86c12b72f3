#!/usr/bin/env bash
# Sets the machine up, builds the installer and runs it under Wine. With a
# display the window opens there; without one it runs on a private Xvfb
# display, a screenshot of its window is saved, and the window is closed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

scripts/setup-machine.sh
scripts/build.sh --target DormivetSetup

run=(tests/wine-run.sh --root "$repo/build/wine" --prefix app "$repo/build/DormivetSetup.exe")
if [ -n "${DISPLAY:-}" ]; then
  exec "${run[@]}"
fi

eval "$(tests/xvfb.sh start)"
export DISPLAY
shot=$repo/build/screenshot.png
cleanup() {
  WINEPREFIX=$repo/build/wine/app wineserver -k 2>/dev/null || true
  tests/xvfb.sh stop "$xvfb_pid"
}
trap cleanup EXIT

"${run[@]}" &
app=$!
# The window's title is "Mordakel - 安装程序"; wait until it is mapped.
wid=$(timeout 60 xdotool search --sync --onlyvisible --name 'Mordakel' | head -n 1) || {
  echo "run-installer: the installer window did not appear" >&2
  exit 1
}
sleep 1  # let the first frame be painted
import -window "$wid" "$shot"
echo "run-installer: the installer window is in $shot"

# Close it as a user would, with Alt+F4, and wait for the exit code.
xdotool windowfocus --sync "$wid" key alt+F4 2>/dev/null || true
if timeout 15 tail --pid="$app" -f /dev/null; then
  wait "$app" && rc=0 || rc=$?
  echo "run-installer: the installer ended with exit code $rc"
else
  echo "run-installer: the installer did not close; ending it" >&2
  kill "$app" 2>/dev/null || true
fi
