# Shared by run.sh and test.sh: install missing Debian packages, configure and build.
# shellcheck shell=bash

# What building and running needs; glabels-data holds the label products
# (recommended: Quillon runs without it).
QUILLON_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6printsupport6 libcups2 libcups2-dev fonts-dejavu-core fonts-liberation2 fontconfig
  libgtest-dev libgmock-dev libbenchmark-dev glabels-data
)
# What the tests need on top: the referee decoders, PDF rasteriser, a CUPS
# server with a PDF queue, an X server (with xdotool and xclip) for the
# real-window smoke tests, and clang with its sanitizer and libFuzzer runtimes
# (llvm for the symbolizer).
QUILLON_TEST_PACKAGES=(
  zbar-tools zxing-cpp-tools poppler-utils imagemagick librsvg2-bin
  cups cups-client cups-bsd printer-driver-cups-pdf ghostscript
  xvfb xauth x11-utils xdotool xclip desktop-file-utils appstream dpkg-dev
  clang libclang-rt-14-dev llvm
)

quillon_log() { echo "[quillon] $*" >&2; }

# ensure_packages PKG...: installs those not yet installed (apt-get, as root or through sudo).
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  quillon_log "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { quillon_log "need root (or sudo) to install: ${missing[*]}"; return 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >&2
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2
}

# build_project TARGET...: configures build/ (Release, Ninja) once and builds the targets.
build_project() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
  fi
  cmake --build "$root/build" --target "$@" >&2
}
