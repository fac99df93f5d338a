#pragma once
// Reads what the X server shows (Xlib XGetImage on the toolkit's display
// connection, after syncing it): the wx screen DC gives no pixels under GTK 3.
// For gui tests' pixel probes and reviewers' screenshots.

#include <filesystem>
#include <optional>

#include "platform/core/Rect.h"
#include "platform/gfx/Surface.h"

namespace platform::wx {

class ScreenGrab {
public:
    // `area` in screen coordinates, clipped to the screen; nothing when
    // there is no X display or nothing is left.
    static std::optional<gfx::Surface> Grab(Rect area);
    static bool SavePng(Rect area, const std::filesystem::path& path);
};

} // namespace platform::wx
