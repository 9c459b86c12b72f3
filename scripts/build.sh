#!/usr/bin/env bash
# Configures (once) and builds the project in build/. Extra arguments go to
# the build tool, for example --target DormivetSetup.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build "$@"
