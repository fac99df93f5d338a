# Sourced by tools/play.sh and tools/test.sh: the Debian packages that
# building and running vl needs, and their installer. Each script lists what
# it needs into the array need (need_vl_packages, then its own), then calls
# install_needed, which runs apt-get only when something is missing.
need=()

need_vl_packages() {
  command -v cmake >/dev/null || need+=(cmake)
  command -v ninja >/dev/null || need+=(ninja-build)
  command -v g++ >/dev/null || need+=(g++)
  command -v pkg-config >/dev/null || need+=(pkg-config)
  # CMake configures the tests with every build.
  [ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
  # The platform layer: windows, painting, text, images.
  command -v wx-config >/dev/null || need+=(libwxgtk3.2-dev)
  [ -f /usr/include/cairo/cairo.h ] || need+=(libcairo2-dev)
  [ -f /usr/include/freetype2/ft2build.h ] || need+=(libfreetype-dev)
  [ -f /usr/include/png.h ] || need+=(libpng-dev)
  [ -f /usr/include/X11/Xlib.h ] || need+=(libx11-dev)
  [ -d /usr/share/fonts/truetype/liberation2 ] || need+=(fonts-liberation2)
  [ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || need+=(fonts-dejavu-core)
}

install_needed() {
  if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}"
  fi
}
