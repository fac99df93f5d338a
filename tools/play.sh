#!/usr/bin/env bash
# Builds `vl` and starts it on the demo battle, or on the battle file given
# (a scenario .scn, or a saved battle with -o before its name), in the built
# data folder <build>/data. Installs the build tools and libraries first
# when they are missing. VL_BUILD_DIR chooses the build folder (default
# build/play), VL_JOBS the parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v pkg-config >/dev/null || need+=(pkg-config)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
command -v wx-config >/dev/null || need+=(libwxgtk3.2-dev)
[ -f /usr/include/cairo/cairo.h ] || need+=(libcairo2-dev)
[ -f /usr/include/freetype2/ft2build.h ] || need+=(libfreetype-dev)
[ -f /usr/include/png.h ] || need+=(libpng-dev)
[ -f /usr/include/X11/Xlib.h ] || need+=(libx11-dev)
[ -d /usr/share/fonts/truetype/liberation2 ] || need+=(fonts-liberation2)
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || need+=(fonts-dejavu-core)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi

build=${VL_BUILD_DIR:-build/play}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVL_BENCH=OFF >/dev/null
cmake --build "$build" -j "${VL_JOBS:-$(nproc)}" --target vl demo_data vl_resources
[ $# -gt 0 ] || set -- demo.scn
cd "$build/data"
exec ../frame/vl "$@"
