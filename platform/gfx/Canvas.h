#pragma once
// Drawing state on one surface, in the manner of a device context.
//
// Coordinates given to drawing calls are logical: the origin is added to
// them. The clip region is in surface pixels and does not move with the
// origin; no clip means the whole surface. Save and Restore keep every
// setting (origin, clip, pen, brush, font, text colours and alignment, the
// current point) on a stack.
//
// Conventions (tests probe interiors, not edge pixels):
// - Lines are Bresenham's without their last pixel; a pen of width w paints
//   a w by w square centred on each line pixel.
// - Rectangle(r) fills r with the brush and paints a border of the pen's
//   width inside r; Ellipse(r) fills the pixels whose centres lie inside the
//   ellipse inscribed in r, with a one-pixel pen outline.
// - Polygons fill by the even-odd rule at pixel centres (Region::FromPolygon)
//   and are outlined with the pen, closing the last point to the first.
// - Text: TextOut aligns horizontally on the point (left, centre, right) and
//   vertically by its top, baseline or bottom; opaque text first fills its
//   cell box with the back colour. Glyph coverage blends the text colour
//   into the surface.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/core/Point.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Surface.h"

namespace platform::gfx {

class Font;
class MonoMask;

struct Pen {
    Pixel colour = 0;
    int width = 1;
    bool none = false;
    static Pen None() { return { 0, 0, true }; }
};

struct Brush {
    Pixel colour = 0;
    bool none = false;
    static Brush None() { return { 0, true }; }
};

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Baseline, Bottom };

// DrawText placement within its rectangle; the text is clipped to it.
enum TextFlags : unsigned {
    kTextLeft = 0,
    kTextCentre = 1,
    kTextRight = 2,
    kTextTop = 0,
    kTextVCentre = 4,
    kTextBottom = 8,
    kTextSingleLine = 16, // else each "\n" starts a line
};

class Canvas {
public:
    explicit Canvas(Surface& target);

    Surface& Target() { return m_target; }
    const Surface& Target() const { return m_target; }

    void SetOrigin(Point origin) { m_state.origin = origin; }
    Point Origin() const { return m_state.origin; }
    // Copies the region; null removes the clip.
    void SetClip(const Region* clip);
    const Region* Clip() const { return m_state.clip ? &*m_state.clip : nullptr; }
    void Save();
    void Restore(); // without a matching Save: nothing

    void SetPen(Pen pen) { m_state.pen = pen; }
    void SetBrush(Brush brush) { m_state.brush = brush; }
    Pen GetPen() const { return m_state.pen; }
    Brush GetBrush() const { return m_state.brush; }

    void SetPixel(Point p, Pixel colour);
    void FillRect(Rect r, Pixel colour);
    void FillRegion(const Region& region, Pixel colour); // region in logical coordinates
    void MoveTo(Point p) { m_state.position = p; }
    void LineTo(Point p);
    void Polyline(std::span<const Point> points);
    void Polygon(std::span<const Point> points);
    void Rectangle(Rect r);
    void Ellipse(Rect r);

    // Blits through the origin and the clip (see Blit.h).
    void DrawSurface(Point at, const Surface& picture, Rect from, bool keyed = false);
    void StretchSurface(Rect to, const Surface& picture, Rect from, bool keyed = false);
    // Copies the `size` pixels of `picture` at `from` where the mask at
    // `maskAt` is clear; mask bits outside the mask count as transparent.
    void MaskedDraw(Point at, Size size, const Surface& picture, Point from, const MonoMask& mask, Point maskAt);

    void SetFont(const Font* font) { m_state.font = font; }
    const Font* GetFont() const { return m_state.font; }
    void SetTextColour(Pixel colour) { m_state.textColour = colour; }
    void SetBackColour(Pixel colour) { m_state.backColour = colour; }
    void SetTextAlign(HAlign h, VAlign v)
    {
        m_state.hAlign = h;
        m_state.vAlign = v;
    }
    void SetTransparentText(bool transparent) { m_state.transparentText = transparent; }
    void TextOut(Point at, std::string_view text);
    // Width by cell height of the current font; zero without one.
    Size TextExtent(std::string_view text) const;
    void DrawText(Rect r, std::string_view text, unsigned flags);

private:
    struct State {
        Point origin;
        std::optional<Region> clip;
        Pen pen;
        Brush brush;
        const Font* font = nullptr;
        Pixel textColour = 0;
        Pixel backColour = 0xFFFFFF;
        HAlign hAlign = HAlign::Left;
        VAlign vAlign = VAlign::Top;
        bool transparentText = false;
        Point position;
    };

    // Surface coordinates from here on.
    void FillSpan(int y, int left, int right, Pixel colour);
    void Plot(int x, int y, Pixel colour);
    void PenDot(int x, int y);
    void Line(Point a, Point b);
    bool Visible(int x, int y) const;
    void DrawLine(Point baselineStart, std::u32string_view text);

    Surface& m_target;
    State m_state;
    std::vector<State> m_saved;
};

} // namespace platform::gfx
