#pragma once
// Fonts made in one call from the three things the windows choose: face,
// height and weight. A positive height is the cell height, a negative one
// the em height; weight 600 and up is bold. Faces map to files as in
// gfx::FontMap. Pens need no maker: a gfx::Pen is a colour and a width.

#include <memory>
#include <string_view>

#include "platform/gfx/Font.h"

std::unique_ptr<platform::gfx::Font> CreateFontObject(
    std::string_view face, int height, int weight, bool italic = false);
