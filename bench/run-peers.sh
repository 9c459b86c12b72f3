#!/usr/bin/env bash
# The installer against its peers, in one run under Wine on one Xvfb display:
# installation time, extraction against inflate-only, sizes, peak working
# set and start-up. Prints one markdown table and writes it to
# build/bench/peers.md.
#
#   bench/run-peers.sh [ROUNDS]     (default 9; at least 7 gives fair medians)
#
# The peer is NSIS: an installer with zlib, one with solid LZMA and an empty
# one, each silent and installing into a fresh folder, built with makensis
# from the same product folder our payload is made of.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD
rounds=${1:-9}

scripts/setup-machine.sh
bench/setup.sh
scripts/build.sh --target DormivetSetup minimal_window peers_bench extract_bench

out=$repo/build/bench
mkdir -p "$out/peers"
cache_value() { sed -n "s/^$1:[A-Z]*=//p" build/CMakeCache.txt; }
product=$(cache_value PAYLOAD_SOURCE_DIR)
payload_zip=$(cache_value PAYLOAD_ZIP)
[ -d "$product" ] && [ -f "$payload_zip" ] || { echo "run-peers: no product folder or payload in build/" >&2; exit 1; }

# The peers, built afresh from the product folder.
nsis() {  # KIND COMPRESSOR [SOURCE]
  local kind=$1 compressor=$2 source=${3:-}
  local args=(-V3 -X"SetCompressor $compressor" "-DTARGET=C:\\Peer\\$kind" "-DOUTFILE=$out/peers/nsis-$kind.exe")
  [ -n "$source" ] && args+=("-DSOURCE=$source")
  makensis "${args[@]}" bench/peers/peer.nsi >"$out/peers/nsis-$kind.log"
}
nsis zlib zlib "$product"
nsis lzma "/SOLID lzma" "$product"
nsis empty zlib
# The reference archive: zip at its strongest level, of the same files.
rm -f "$out/peers/zip9.zip"
(cd "$product" && zip -9 -r -q "$out/peers/zip9.zip" .)

# The runs under Wine, on one display.
xvfb_pid=""
prefix_root=$repo/build/wine
cleanup() {
  WINEPREFIX=$prefix_root/bench wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && tests/xvfb.sh stop "$xvfb_pid"
  return 0
}
trap cleanup EXIT
eval "$(tests/xvfb.sh start)"
export DISPLAY

# Without a window manager on Xvfb, Wine waits 2 s at the end of every window
# it hands to one (a main window, a message box) for an answer that never
# comes; a desktop answers at once. The silent peers show no window, so the
# prefix manages the windows itself and nobody pays that wait.
tests/wine-run.sh --root "$prefix_root" --prefix bench reg add 'HKCU\Software\Wine\X11 Driver' \
  /v Managed /d N /f >/dev/null
# Wine links the desktop folder to the host's home, which every prefix
# shares: the installations' shortcuts go to a desktop of the prefix's own.
for desktop in "$prefix_root"/bench/drive_c/users/*/Desktop; do
  if [ -L "$desktop" ]; then rm "$desktop" && mkdir "$desktop"; fi
done

work=$repo/build/bench-work
mkdir -p "$work"
echo "run-peers: extraction against inflate-only ($rounds rounds)"
tests/wine-run.sh --root "$prefix_root" --prefix bench "$out/extract_bench.exe" \
  --rounds "$rounds" --speed-only "Z:${work//\//\\}" | tee "$out/extract.txt"
echo "run-peers: installations and start-up ($rounds rounds)"
tests/wine-run.sh --root "$prefix_root" --prefix bench "$out/peers_bench.exe" \
  "$rounds" "$out/peers-runs.tsv" "$repo/build/DormivetSetup.exe" "$out/minimal_window.exe" \
  "$out/peers/nsis-zlib.exe" "$out/peers/nsis-lzma.exe" "$out/peers/nsis-empty.exe"

python3 bench/peers_table.py --runs "$out/peers-runs.tsv" --extract "$out/extract.txt" \
  --setup "$repo/build/DormivetSetup.exe" --payload "$payload_zip" --zip9 "$out/peers/zip9.zip" \
  --nsis-dir "$out/peers" --output "$out/peers.md"
