#pragma once
// Copies between surfaces.
//
// Blit copies `from` (source coordinates) to `at` (destination coordinates).
// The source rectangle is clipped to the source surface and the result to
// the destination surface and to `clip` (destination coordinates); what is
// left may be empty, and then nothing is drawn. A blit within one surface
// is safe when the rectangles overlap.
//
// Keyed blits leave destination pixels alone where the source has its key
// colour. A keyed source copies its opaque runs with memcpy, found through
// its column index; rows dense with short runs (stipples, dots) take a
// per-pixel select instead. An unkeyed source drawn keyed uses its corner
// pixel, tested pixel by pixel.
//
// StretchBlit scales `from` onto `to`: destination pixel to.left + i takes
// source column from.left + floor(i * from.Width() / to.Width()), rows alike.

#include "platform/core/Point.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Surface.h"

namespace platform::gfx {

class Region;

struct BlitOptions {
    bool keyed = false;
    const Region* clip = nullptr;
};

void Blit(Surface& dst, Point at, const Surface& src, Rect from, const BlitOptions& options = {});
// Blit of a cell of a sheet, clipped to the rectangle `clip` (destination
// coordinates): the same pixels, found through the source's kept pieces of
// `from` (Surface::CellOpaqueRuns), so that drawing the same cells again
// and again costs little more than the copies.
void BlitCell(Surface& dst, Point at, const Surface& src, Rect from, Rect clip, bool keyed);
// The widest vectors the cell blit may use: 16 or 32 bytes, 0 for the
// processor's widest (the default). For tests of both kinds of copy.
void SetCellBlitVectorBytes(int bytes);
void StretchBlit(Surface& dst, Rect to, const Surface& src, Rect from, const BlitOptions& options = {});

} // namespace platform::gfx
