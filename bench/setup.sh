#!/usr/bin/env bash
# Installs what only the benchmarks need, on top of scripts/setup-machine.sh:
# the peer installer's compiler (makensis) and zip for the reference archive.
# Idempotent: does nothing (and touches no network) when everything is there.
set -euo pipefail

[ "$(id -u)" = 0 ] || { echo "bench/setup: run as root" >&2; exit 1; }

packages=(nsis zip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench/setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
