#!/usr/bin/env bash
# Installs what building and testing the installer needs on a Debian 12 machine.
# Idempotent: does nothing (and touches no network) when everything is in place.
set -euo pipefail

[ "$(id -u)" = 0 ] || { echo "setup-machine: run as root" >&2; exit 1; }

packages=(
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  cmake ninja-build make pkg-config
  libz-mingw-w64-dev
  wine wine32:i386 xvfb x11-utils xdotool fonts-wqy-microhei locales imagemagick
  googletest dpkg-dev
  g++ zlib1g-dev libminizip-dev libzopfli-dev python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

# Source packages: derive deb-src entries from the machine's own Debian sources.
src_list=/etc/apt/sources.list.d/installer-deb-src.sources
if [ ! -e "$src_list" ]; then
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] && [ "$f" != "$src_list" ] || continue
      grep -qi '^URIs:.*debian' "$f" || continue
      sed -e 's/^Types:.*/Types: deb-src/' "$f"
      echo
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb[[:space:]]' /etc/apt/sources.list | grep -i debian |
        sed -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\)[[:space:]]\+\([^[:space:]]\+\)[[:space:]]\+\(.*\)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n/'
    fi
  } > "$src_list.tmp"
  mv "$src_list.tmp" "$src_list"
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-machine: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
