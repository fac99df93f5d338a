#!/usr/bin/env bash
# Runs one gui test program on a virtual X display (Xvfb, 1280x1024, 24 bits)
# with the environment the real hosts expect: X11 through GTK, no
# accessibility bus, no sound device, a temporary profile folder.
# Screenshots go to VL_SCREENSHOT_DIR when it is set.
set -euo pipefail
export GDK_BACKEND=x11 NO_AT_BRIDGE=1 SDL_AUDIODRIVER=dummy
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export VL_CONFIG_DIR="$profile"
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing (Debian package xvfb; tools/test.sh installs it)" >&2
  exit 1
fi
xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
