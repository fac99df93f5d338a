#!/usr/bin/env bash
# The one test command. Checks the formatting of every C++ file, then builds
# everything and runs every test twice: a Release build with warnings as
# errors, then an address and undefined-behaviour sanitizer build; last it
# runs every fuzz target of tests/fuzz for 20 seconds (tools/fuzz.sh).
# Installs the build tools from Debian's packages first when they are missing.
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
