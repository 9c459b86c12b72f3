#!/usr/bin/env bash
# Installs what only the benchmarks need, on top of scripts/setup-machine.sh:
# the peer installer's compiler (makensis), zip for the reference archive and
# Debian's Zopfli library for the host packer's strongest deflate.
# Idempotent: does nothing (and touches no network) when everything is there.
set -euo pipefail

[ "$(id -u)" = 0 ] || { echo "bench/setup: run as root" >&2; exit 1; }

packages=(nsis zip libzopfli-dev)
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
