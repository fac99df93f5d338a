#!/usr/bin/env bash
# Builds `vl` and starts it on the demo battle, or on the battle file given
# (a scenario .scn, or a saved battle with -o before its name), in the built
# data folder <build>/data. Installs the build tools and libraries first
# when they are missing. VL_BUILD_DIR chooses the build folder (default
# build/play), VL_JOBS the parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

source tools/packages.sh
need_vl_packages
install_needed

build=${VL_BUILD_DIR:-build/play}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVL_BENCH=OFF >/dev/null
cmake --build "$build" -j "${VL_JOBS:-$(nproc)}" --target vl demo_data vl_resources
[ $# -gt 0 ] || set -- demo.scn
cd "$build/data"
exec ../frame/vl "$@"
