#!/usr/bin/env bash
# The game layers (model, rules, ai) may include only the standard library and
# the project's own headers: no GUI, sound or network library ever reaches them.
# One exception: model/DataFile.cpp, the atomic save, may use the POSIX file
# calls (<fcntl.h>, <unistd.h>, <sys/stat.h>) for fsync and permissions.
# They also stack in one direction: model includes no rules or ai header, rules
# no ai header; a lower layer never reaches up.
set -u
root=${1:-$(dirname "$0")/..}
std='algorithm|array|atomic|bit|bitset|cassert|cctype|cerrno|cfloat|charconv|chrono|cinttypes|climits|cmath|compare|concepts|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|deque|exception|filesystem|fstream|functional|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|map|memory|new|numeric|optional|ostream|queue|random|ranges|set|span|sstream|stack|stdexcept|streambuf|string|string_view|system_error|tuple|type_traits|unordered_map|unordered_set|utility|variant|vector'
status=0

# Every include line of the layer's sources, as "file:line:text".
includes() {
  find "$root/$1" -name '*.h' -o -name '*.cpp' | sort | xargs -r grep -HnE '^[[:space:]]*#[[:space:]]*include'
}

bad=$(for layer in model rules ai; do includes $layer; done \
      | grep -vE "#[[:space:]]*include[[:space:]]*<($std)>" \
      | grep -vE '#[[:space:]]*include[[:space:]]*"(model|rules|ai)/[A-Za-z0-9_]+\.h"' \
      | grep -vE '/model/DataFile\.cpp:[0-9]+:#[[:space:]]*include[[:space:]]*<(fcntl|unistd|sys/stat)\.h>')
if [ -n "$bad" ]; then
  echo "Game layers include something other than the standard library or their own headers:"
  echo "$bad"
  status=1
fi

up=$( { includes model | grep -E '#[[:space:]]*include[[:space:]]*"(rules|ai)/'
        includes rules | grep -E '#[[:space:]]*include[[:space:]]*"ai/'; } )
if [ -n "$up" ]; then
  echo "A lower game layer includes a header of a layer above it (model < rules < ai):"
  echo "$up"
  status=1
fi

[ $status -eq 0 ] && echo "game layer includes are clean"

# The launcher's window-free parts (its random numbers, the generators) reach
# the standard library, the model and the launcher's own headers, never the
# platform layer.
launcher_bad=$( { ls "$root"/launcher/shell/LauncherRandom.{h,cpp} 2>/dev/null | xargs -r grep -HnE '^[[:space:]]*#[[:space:]]*include'
                  [ -d "$root/launcher/generator" ] && includes launcher/generator; } \
      | grep -vE "#[[:space:]]*include[[:space:]]*<($std)>" \
      | grep -vE '#[[:space:]]*include[[:space:]]*"(model|launcher/shell|launcher/generator)/[A-Za-z0-9_]+\.h"')
if [ -n "$launcher_bad" ]; then
  echo "Window-free launcher files include something other than the standard library, model or launcher headers:"
  echo "$launcher_bad"
  status=1
fi
[ $status -eq 0 ] && echo "window-free launcher includes are clean"
exit $status
