#!/usr/bin/env bash
# The game layers (model, rules, ai) may include only the standard library and
# the project's own headers: no GUI, sound or network library ever reaches them.
# One exception: model/DataFile.cpp, the atomic save, may use the POSIX file
# calls (<fcntl.h>, <unistd.h>, <sys/stat.h>) for fsync and permissions.
# The platform layer is the one floor that touches system libraries (see the
# per-folder rules below).
# They also stack in one direction: model includes no rules or ai header, rules
# no ai header; a lower layer never reaches up.
set -u
root=${1:-$(dirname "$0")/..}
std='algorithm|array|atomic|bit|bitset|cassert|cctype|cerrno|cfloat|charconv|chrono|cinttypes|climits|cmath|compare|concepts|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|deque|exception|filesystem|fstream|functional|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|map|memory|new|numeric|optional|ostream|queue|random|ranges|set|span|sstream|stack|stdexcept|streambuf|string|string_view|system_error|tuple|type_traits|unordered_map|unordered_set|utility|variant|vector|thread|mutex|condition_variable'
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
launcher_bad=$( { ls "$root"/launcher/shell/{LauncherRandom,MissionTypes}.{h,cpp} 2>/dev/null | xargs -r grep -HnE '^[[:space:]]*#[[:space:]]*include'
                  [ -d "$root/launcher/generator" ] && includes launcher/generator; } \
      | grep -vE "#[[:space:]]*include[[:space:]]*<($std)>" \
      | grep -vE '#[[:space:]]*include[[:space:]]*"(model|launcher/shell|launcher/generator|launcher/campaign)/[A-Za-z0-9_]+\.h"')
if [ -n "$launcher_bad" ]; then
  echo "Window-free launcher files include something other than the standard library, model or launcher headers:"
  echo "$launcher_bad"
  status=1
fi
[ $status -eq 0 ] && echo "window-free launcher includes are clean"

# Per-folder rules of the platform floor. Each rule: the folder, then the
# include patterns allowed there beside the standard library.
sysinc='<(wx/|SDL|asio|ft2build\.h|freetype|png\.h|cairo|X11/)|FT_[A-Z_]+_H|"platform/wx/'
check_folder() {
  local folder=$1 allowed=$2 what=$3
  [ -d "$root/$folder" ] || return 0
  local found
  found=$(includes "$folder" \
      | grep -vE "#[[:space:]]*include[[:space:]]*<($std)>" \
      | grep -vE "#[[:space:]]*include[[:space:]]*($allowed)")
  if [ -n "$found" ]; then
    echo "$what"
    echo "$found"
    status=1
  fi
}
own='"(platform/core)/[A-Za-z0-9_]+\.h"'
# The process launcher starts programs with posix_spawn.
check_folder platform/core "$own|<(spawn|unistd)\.h>" \
  "platform/core includes something other than the standard library, its own headers and posix_spawn's:"
check_folder platform/ui '"platform/(core|gfx|window|ui)/[A-Za-z0-9_]+\.h"' \
  "platform/ui includes something other than the standard library, core, gfx, window and ui:"
check_folder platform/gfx '"platform/(core|gfx)/[A-Za-z0-9_]+\.h"|<ft2build\.h>|FT_FREETYPE_H|<png\.h>' \
  "platform/gfx includes something other than the standard library, core, FreeType and libpng:"
check_folder platform/window '"platform/(core|gfx|window)/[A-Za-z0-9_]+\.h"' \
  "platform/window includes something other than the standard library, core, gfx and window:"
check_folder platform/testing '"platform/(core|gfx|window|ui|audio|net|testing)/[A-Za-z0-9_]+\.h"' \
  "platform/testing includes a system library or the wx hosts:"
for folder in frame special; do
  check_folder $folder '"(model|rules|ai|mapview(/[A-Za-z0-9_]+)*|frame|special|platform/(core|gfx|window|ui|audio))/[A-Za-z0-9_]+\.h"|"platform/wx/[A-Za-z0-9_]+\.h"|<wx/' \
    "$folder includes something other than the standard library, the game layers, mapview and platform core, gfx, window, ui, audio:"
done
check_folder mapview '"(model|rules|ai|mapview(/[A-Za-z0-9_]+)*|platform/(core|gfx|window))/[A-Za-z0-9_]+\.h"' \
  "mapview includes something other than the standard library, the game layers and platform core, gfx, window:"

# platform never reaches up into a game folder; its worker-thread parts use no wx.
platform_up=$(includes platform | grep -E '#[[:space:]]*include[[:space:]]*"(model|rules|ai|mapview|frame|special|launcher)/')
if [ -n "$platform_up" ]; then
  echo "platform includes a game folder:"
  echo "$platform_up"
  status=1
fi
for folder in platform/audio platform/net; do
  [ -d "$root/$folder" ] || continue
  wx=$(includes $folder | grep -E '#[[:space:]]*include[[:space:]]*(<wx/|"platform/wx/)')
  if [ -n "$wx" ]; then
    echo "$folder (worker threads) includes wx:"
    echo "$wx"
    status=1
  fi
done

# Outside platform nothing includes a system library of the windows, sound or
# network, nor the wx hosts: only the two programs' main files build the real
# services, and the gui tests of tests/platform/wx, tests/mapview/wx and
# tests/frame/wx test
# the wx hosts.
outside=$(for folder in model rules ai mapview frame special launcher tools bench tests; do
            [ -d "$root/$folder" ] && includes $folder
          done \
      | grep -E "#[[:space:]]*include[[:space:]]*($sysinc)" \
      | grep -vE '/(frame/app|launcher/shell)/main\.cpp:|/tests/(platform|mapview|frame)/wx/')
if [ -n "$outside" ]; then
  echo "A library header or the wx hosts are included outside platform/:"
  echo "$outside"
  status=1
fi
[ $status -eq 0 ] && echo "platform and mapview includes are clean"
exit $status
