#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, then
# prepares the third-party sources (LAME, libpng) that are cross-built for Windows.
# Idempotent: a second run only checks. Needs root (or sudo) for apt.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build pkg-config make
  g++ googletest
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64
  xvfb xauth x11-apps xdotool imagemagick
  pulseaudio pulseaudio-utils sox libsox-fmt-all
  lame libmp3lame-dev libpng-dev
  tesseract-ocr tesseract-ocr-fra
  fonts-dejavu-extra fonts-liberation fonts-wine
  python3 python3-pil
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Source entries for apt-get source: a copy of the machine's own main archive
# entry (the first stanza), with deb-src as its type. Whether the source index
# is usable decides the update, not whether our file exists: an update that
# failed once must be tried again.
src_list=/etc/apt/sources.list.d/sonoraflux-src.sources
if [ ! -f "$src_list" ] && [ ! -f /etc/apt/sources.list.d/sonoraflux-src.list ]; then
  main_sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$main_sources" ]; then
    awk 'BEGIN{RS="";ORS="\n\n"} NR==1{print}' "$main_sources" \
      | sed 's/^Types:.*/Types: deb-src/' | as_root tee "$src_list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | grep -v security | head -n 1 \
      | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/sonoraflux-src.list >/dev/null
  fi
fi
need_update=0
sources_usable() { [ -n "$(apt-cache showsrc lame 2>/dev/null | head -n 1)" ]; }
sources_usable || need_update=1

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  as_root apt-get update -qq
  if [ $need_update = 1 ] && ! sources_usable; then
    echo "setup: the Debian source index is not usable after apt-get update" >&2
    exit 1
  fi
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Third-party sources, built by CMake into the build tree; kept in a cache folder
# whose default is the one the top CMakeLists.txt takes (SONORAFLUX_CACHE_DIR).
cache=${SONORAFLUX_CACHE:-$here/.cache}
mkdir -p "$cache/src"
fetch_source() { # package, glob of the unpacked folder
  local pkg=$1 dir=$2
  if ! ls -d "$cache/src/"$dir >/dev/null 2>&1; then
    (cd "$cache/src" && apt-get source --download-only -qq "$pkg" >/dev/null)
    local orig
    orig=$(ls "$cache/src/"${pkg}_*.orig.tar.* | head -n 1)
    tar -xf "$orig" -C "$cache/src"
  fi
}
fetch_source lame 'lame-3.*'
fetch_source libpng1.6 'libpng-1.6.*'
echo "setup: ready"
