#!/usr/bin/env bash
# Builds and runs the extractor benchmark under Wine: Extract against zlib
# inflating the same 256 MB to memory, and peak memory for one 512 MB entry.
# The generated archives stay in build/bench-work for later runs.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

scripts/build.sh --target extract_bench
work=$repo/build/bench-work
mkdir -p "$work"
exec tests/wine-run.sh --root "$repo/build/wine" --prefix bench "$repo/build/bench/extract_bench.exe" \
  "Z:${work//\//\\}"
