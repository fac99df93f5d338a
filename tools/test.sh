#!/usr/bin/env bash
# The one test command. Checks the formatting of every C++ file, then builds
# everything and runs every test twice: a Release build with warnings as
# errors, then an address and undefined-behaviour sanitizer build; last it
# runs every fuzz target of tests/fuzz for 20 seconds (tools/fuzz.sh).
# Installs the build tools and the platform layer's libraries (wxWidgets,
# cairo, FreeType, libpng, Xlib, fonts, Xvfb for the gui tests) from Debian's
# packages first when they are missing. The gui tests (CTest label gui) run
# in both builds on a virtual display (tools/run-gui-test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v clang-format >/dev/null || need+=(clang-format)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
command -v clang++ >/dev/null || need+=(clang)
# libFuzzer comes with clang's runtime libraries.
compgen -G "$(clang++ -print-runtime-dir 2>/dev/null || echo /none)/libclang_rt.fuzzer-*.a" >/dev/null \
  || need+=(libclang-rt-dev)
# The platform layer: windows, painting, text, images, display tests.
command -v pkg-config >/dev/null || need+=(pkg-config)
command -v wx-config >/dev/null || need+=(libwxgtk3.2-dev)
[ -f /usr/include/cairo/cairo.h ] || need+=(libcairo2-dev)
[ -f /usr/include/freetype2/ft2build.h ] || need+=(libfreetype-dev)
[ -f /usr/include/png.h ] || need+=(libpng-dev)
[ -f /usr/include/X11/Xlib.h ] || need+=(libx11-dev)
[ -d /usr/share/fonts/truetype/liberation2 ] || need+=(fonts-liberation2)
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || need+=(fonts-dejavu-core)
command -v xvfb-run >/dev/null || need+=(xvfb)
command -v xauth >/dev/null || need+=(xauth)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi

# VL_JOBS caps the parallel jobs (several builds sharing one machine).
jobs=${VL_JOBS:-$(nproc)}
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DVL_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== format =="
bash tools/check-format.sh
echo "== plain build =="
run_suite build/release -DCMAKE_BUILD_TYPE=Release
echo "== sanitizer build =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVL_SANITIZE=ON -DVL_BENCH=OFF
echo "== fuzz =="
bash tools/fuzz.sh 20
