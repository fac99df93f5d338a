#pragma once
// The black screen behind the main window while the program runs: the
// program's "BlankDialog" backdrop, undecorated, screen-sized, off the task
// bar. Its window is the toolkit's; this is what it looks like.

#include "platform/gfx/Surface.h"

class CBackdropDialog {
public:
    static constexpr const char* kTitle = "";
    static constexpr platform::gfx::Pixel kColour = 0x000000;
};
