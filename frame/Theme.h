#pragma once
// The program's own colour scheme. The system's colours cannot be changed on
// Linux, so the scheme colours the windows the program paints itself: bars,
// panels and painted dialogs.

#include "platform/gfx/Surface.h"

namespace theme {

using platform::gfx::Pixel;

constexpr Pixel kButtonFace = 0xA99037; // 169, 144, 55
constexpr Pixel kButtonShadow = 0x666129; // 102, 97, 41
constexpr Pixel kButtonHighlight = 0xDDC675; // 221, 198, 117
constexpr Pixel kMenu = 0xA99037;
constexpr Pixel kDarkShadow = 0x000000;
constexpr Pixel kLight = 0xDDC675;
constexpr Pixel kScrollBar = 0xF2E6B8; // 242, 230, 184
constexpr Pixel kWindow = 0xF2E6B8;
constexpr Pixel kHighlight = 0x946B00; // 148, 107, 0
constexpr Pixel kWindowFrame = 0x000000;
constexpr Pixel kActiveBorder = 0xF2E6B8;
constexpr Pixel kInactiveBorder = 0xF2E6B8;
constexpr Pixel kActiveCaption = 0x946B00;
constexpr Pixel kInactiveCaption = 0x946B00;
constexpr Pixel kDesktop = 0xF2E6B8;
constexpr Pixel kWorkSpace = 0xF2E6B8;
constexpr Pixel kCaptionText = 0xFFFFFF;
constexpr Pixel kToolTip = 0xFFFFFF;

} // namespace theme
