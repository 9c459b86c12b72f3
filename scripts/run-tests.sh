#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test under Wine.
# Arguments go to ctest, for example -R runtime_tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

scripts/setup-machine.sh
scripts/build.sh

xvfb_pid=""
stop_all() {
  # Wine servers of the test prefixes hold the display; end them first.
  for p in "$repo"/build/wine/*/; do
    [ -f "$p/system.reg" ] && WINEPREFIX=$p wineserver -k 2>/dev/null || true
  done
  [ -n "$xvfb_pid" ] && "$repo/tests/xvfb.sh" stop "$xvfb_pid"
  return 0
}
trap stop_all EXIT
if [ -z "${DISPLAY:-}" ]; then
  eval "$(tests/xvfb.sh start)"
  echo "run-tests: Xvfb on display $DISPLAY"
fi

cd build
ctest --output-on-failure -j "$(nproc)" "$@"
