#!/usr/bin/env bash
# The generated demo sources in data/ are exactly what tools/make-demo-data.py
# writes: runs it into a fresh folder and compares every file it made.
#   tools/check-demo-sources.sh [PYTHON [ROOT]]
set -euo pipefail
python=${1:-python3}
root=${2:-$(dirname "$0")/..}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$python" "$root/tools/make-demo-data.py" "$out"
made=0
status=0
for file in "$out"/*; do
  [ -f "$file" ] || continue
  made=$((made + 1))
  name=$(basename "$file")
  if ! cmp -s "$file" "$root/data/$name"; then
    echo "data/$name differs from what tools/make-demo-data.py makes (run it, or change its tables)"
    status=1
  fi
done
[ $made -gt 0 ] || { echo "tools/make-demo-data.py made no file"; exit 1; }
[ $status -eq 0 ] && echo "the $made generated demo sources match their script"
exit $status
