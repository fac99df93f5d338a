#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, address and
# undefined-behaviour sanitizers) and runs each for SECONDS (20 by default),
# VL_JOBS of them at a time (all by default). A finding fails the run; its
# input is left in build/fuzz/findings/<target>/ and belongs, once the reader
# is fixed, in tests/fixtures/fuzz/<target>/, whose inputs a test replays.
#   bash tools/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
dir=$PWD/build/fuzz
jobs=${VL_JOBS:-$(nproc)}

# Warnings are the plain build's gate; this build hunts crashes only.
cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVL_FUZZ=ON -DVL_WERROR=OFF >/dev/null
cmake --build "$dir" -j "$jobs"

if [ $# -gt 0 ]; then targets=("$@"); else mapfile -t targets < "$dir/fuzz-targets.txt"; fi
rm -rf "$dir/logs"
mkdir -p "$dir/logs"
run_one() {
  local name=$1 dir=$2 seconds=$3
  mkdir -p "$dir/corpus/$name" "$dir/findings/$name"
  if "$dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$dir/findings/$name/" "$dir/corpus/$name" "$dir/fuzz-seeds/$name" \
       >"$dir/logs/$name.log" 2>&1; then
    echo "$name: $(grep -oE 'Done [0-9]+ runs' "$dir/logs/$name.log" | tail -1 || true)"
  else
    echo "$name: FINDING (log: $dir/logs/$name.log)"
    touch "$dir/logs/$name.failed"
  fi
}
export -f run_one
echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$dir" "$seconds"

failed=$(cd "$dir/logs" && ls -- *.failed 2>/dev/null | sed 's/\.failed$//' || true)
if [ -n "$failed" ]; then
  for name in $failed; do
    echo "== $name =="
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$dir/logs/$name.log" | head -20 || tail -20 "$dir/logs/$name.log"
  done
  exit 1
fi
echo "no findings"
