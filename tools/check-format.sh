#!/usr/bin/env bash
# Every C++ file the repository tracks is formatted as .clang-format says.
# Prints the files that differ; `clang-format -i FILE` formats one.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' '*.cc' '*.hpp')
else
  mapfile -d '' files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
fi
[ ${#files[@]} -gt 0 ] || { echo "no C++ files found"; exit 1; }
if ! report=$(printf '%s\0' "${files[@]}" \
    | xargs -0 -n 16 -P "$(nproc)" clang-format --dry-run --Werror 2>&1); then
  echo "Not formatted as .clang-format says (run clang-format -i on them):"
  grep -oE '^[^:[:space:]]+:[0-9]+:[0-9]+: (error|warning)' <<<"$report" | cut -d: -f1 | sort -u | sed 's/^/  /'
  [ -n "$(grep -E ': (error|warning)' <<<"$report")" ] || echo "$report"
  exit 1
fi
echo "${#files[@]} C++ files are formatted"
