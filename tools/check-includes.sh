#!/usr/bin/env bash
# The game layers (model, rules, ai) may include only the standard library and
# the project's own headers: no GUI, sound or network library ever reaches them.
set -u
root=${1:-$(dirname "$0")/..}
std='algorithm|array|atomic|bit|bitset|cassert|cctype|cerrno|cfloat|charconv|chrono|cinttypes|climits|cmath|compare|concepts|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|deque|exception|filesystem|fstream|functional|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|map|memory|new|numeric|optional|ostream|queue|random|ranges|set|span|sstream|stack|stdexcept|streambuf|string|string_view|system_error|tuple|type_traits|unordered_map|unordered_set|utility|variant|vector'
bad=$(grep -HnE '^[[:space:]]*#[[:space:]]*include' "$root"/model/*.{h,cpp} "$root"/rules/*.{h,cpp} "$root"/ai/*.{h,cpp} 2>/dev/null \
      | grep -vE "#[[:space:]]*include[[:space:]]*<($std)>" \
      | grep -vE '#[[:space:]]*include[[:space:]]*"(model|rules|ai)/[A-Za-z0-9_]+\.h"')
if [ -n "$bad" ]; then
  echo "Game layers include something other than the standard library or their own headers:"
  echo "$bad"
  exit 1
fi
echo "game layer includes are clean"
