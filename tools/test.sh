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

source tools/packages.sh
need_vl_packages
command -v clang-format >/dev/null || need+=(clang-format)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
command -v clang++ >/dev/null || need+=(clang)
# libFuzzer comes with clang's runtime libraries.
compgen -G "$(clang++ -print-runtime-dir 2>/dev/null || echo /none)/libclang_rt.fuzzer-*.a" >/dev/null \
  || need+=(libclang-rt-dev)
# The gui tests' virtual display.
command -v xvfb-run >/dev/null || need+=(xvfb)
command -v xauth >/dev/null || need+=(xauth)
install_needed

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
