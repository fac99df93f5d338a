#pragma once
// Draws the pictures of the layout table: the demo art from integer drawing
// recipes (one seeded generator per sheet, so two runs give identical
// bytes), or diagnostic art whose every cell is one colour that names the
// sheet, the cell's column and its row.

#include <functional>
#include <string>

#include "platform/gfx/Surface.h"
#include "tools/art/ArtLayout.h"

namespace art {

// The transparent colour of every sheet, pixel (0, 0) of each.
inline constexpr platform::gfx::Pixel kKey = 0xFF00FF;

// Diagnostic colours: red the sheet number (1 up, the entry's place in the
// layout table), green the cell column, blue the cell row. Half- and
// quarter-size files carry their own sheet number and the full-size cell.
platform::gfx::Pixel DiagnosticColour(int sheet, int column, int row);
struct DiagnosticCell {
    int sheet = 0; // 0: not a diagnostic colour (the backdrop, say)
    int column = 0;
    int row = 0;
};
DiagnosticCell DecodeDiagnostic(platform::gfx::Pixel pixel);

// The full-size picture a scaled entry samples; null when it has none.
using SourceLookup = std::function<const platform::gfx::Surface*(const std::string& file)>;

// The picture of one entry; an empty surface for a "later" entry or an
// unknown recipe (with the reason in `error`).
platform::gfx::Surface DrawArtEntry(
    const ArtEntry& entry, int sheet, bool diagnostic, const SourceLookup& sources, std::string& error);

} // namespace art
