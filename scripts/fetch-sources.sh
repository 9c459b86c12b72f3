#!/usr/bin/env bash
# Unpacks Debian's source packages of the libraries we build for the target
# (with Debian's patches applied) into DIR. Cached: a package already unpacked
# is not fetched again.
#   fetch-sources.sh DIR
set -euo pipefail
dir=${1:?usage: fetch-sources.sh DIR}
mkdir -p "$dir"
cd "$dir"

fetch() { # package  unpacked-directory-name
  local pkg=$1 tree=$2
  [ -f "$tree/.unpacked" ] && return 0
  rm -rf "$tree" "$tree.tmp"
  mkdir "$tree.tmp"
  (cd "$tree.tmp" && apt-get source -q "$pkg" >../"$pkg".log 2>&1) || {
    cat "$pkg.log" >&2
    echo "fetch-sources: 'apt-get source $pkg' failed (are deb-src entries enabled? run scripts/setup-machine.sh)" >&2
    exit 1
  }
  local unpacked
  unpacked=$(find "$tree.tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  mv "$unpacked" "$tree"
  rm -rf "$tree.tmp"
  touch "$tree/.unpacked"
}

fetch minizip minizip
fetch libjpeg-turbo libjpeg-turbo
