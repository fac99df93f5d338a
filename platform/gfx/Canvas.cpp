#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/MonoMask.h"

namespace platform::gfx {

namespace {

    Pixel Blend(Pixel under, Pixel over, int coverage)
    {
        const auto mix = [coverage](int a, int b) { return a + ((b - a) * coverage + 127) / 255; };
        return Rgb(
            mix(RedOf(under), RedOf(over)), mix(GreenOf(under), GreenOf(over)), mix(BlueOf(under), BlueOf(over)));
    }

} // namespace

Canvas::Canvas(Surface& target)
    : m_target(target)
{
}

void Canvas::SetClip(const Region* clip)
{
    if (clip)
        m_state.clip = *clip;
    else
        m_state.clip.reset();
}

void Canvas::Save() { m_saved.push_back(m_state); }

void Canvas::Restore()
{
    if (m_saved.empty())
        return;
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
}

bool Canvas::Visible(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_target.Width() || y >= m_target.Height())
        return false;
    return !m_state.clip || m_state.clip->Contains({ x, y });
}

void Canvas::Plot(int x, int y, Pixel colour)
{
    if (Visible(x, y))
        m_target.Row(y)[x] = colour;
}

void Canvas::FillSpan(int y, int left, int right, Pixel colour)
{
    if (y < 0 || y >= m_target.Height())
        return;
    left = std::max(left, 0);
    right = std::min(right, m_target.Width());
    if (left >= right)
        return;
    Pixel* row = m_target.Row(y);
    if (!m_state.clip) {
        std::fill(row + left, row + right, colour);
        return;
    }
    for (const Region::Span& s : m_state.clip->SpansAt(y)) {
        const int l = std::max(s.left, left), r = std::min(s.right, right);
        if (l < r)
            std::fill(row + l, row + r, colour);
    }
}

void Canvas::SetPixel(Point p, Pixel colour)
{
    p += m_state.origin;
    Plot(p.x, p.y, colour);
}

void Canvas::FillRect(Rect r, Pixel colour)
{
    r = r.Offset(m_state.origin);
    for (int y = r.top; y < r.bottom; ++y)
        FillSpan(y, r.left, r.right, colour);
}

void Canvas::FillRegion(const Region& region, Pixel colour)
{
    for (const Region::Band& band : region.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (const Region::Span& s : band.spans)
                FillSpan(y + m_state.origin.y, s.left + m_state.origin.x, s.right + m_state.origin.x, colour);
}

void Canvas::PenDot(int x, int y)
{
    const Pen& pen = m_state.pen;
    if (pen.width <= 1) {
        Plot(x, y, pen.colour);
        return;
    }
    const int from = -(pen.width / 2);
    for (int dy = 0; dy < pen.width; ++dy)
        FillSpan(y + from + dy, x + from, x + from + pen.width, pen.colour);
}

namespace {

    // The dots of a line from a up to b, b left out, as Bresenham steps them.
    template <typename Dot> void WalkLine(Point a, Point b, Dot dot)
    {
        const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int error = dx + dy;
        for (Point p = a; p != b;) {
            dot(p);
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                p.x += sx;
            }
            if (twice <= dx) {
                error += dx;
                p.y += sy;
            }
        }
    }

} // namespace

void Canvas::Line(Point a, Point b)
{
    if (m_state.pen.none)
        return;
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    // A thin pen within no clip or a one-rectangle clip (the map view's usual
    // case) writes its dots straight into the rows, tested against that one
    // rectangle only where the line's box leaves it; level and upright lines
    // are runs.
    const Region* clip = m_state.clip ? &*m_state.clip : nullptr;
    const bool rectangular
        = !clip || (clip->Bands().size() == 1 && clip->Bands().front().spans.size() == 1) || clip->Bands().empty();
    if (m_state.pen.width <= 1 && rectangular) {
        const Rect bounds = clip ? clip->Bounds().Intersect(m_target.Bounds()) : m_target.Bounds();
        if (a == b || bounds.IsEmpty())
            return;
        const Pixel colour = m_state.pen.colour;
        Pixel* const pixels = m_target.Pixels().data();
        const std::ptrdiff_t stride = m_target.Width();
        if (dy == 0) {
            if (a.y < bounds.top || a.y >= bounds.bottom)
                return;
            // The dots from a up to b, b left out.
            const int left = std::max(sx > 0 ? a.x : b.x + 1, bounds.left);
            const int right = std::min(sx > 0 ? b.x : a.x + 1, bounds.right);
            if (left < right)
                std::fill(pixels + a.y * stride + left, pixels + a.y * stride + right, colour);
            return;
        }
        if (dx == 0) {
            if (a.x < bounds.left || a.x >= bounds.right)
                return;
            const int top = std::max(sy > 0 ? a.y : b.y + 1, bounds.top);
            const int bottom = std::min(sy > 0 ? b.y : a.y + 1, bounds.bottom);
            for (int y = top; y < bottom; ++y)
                pixels[y * stride + a.x] = colour;
            return;
        }
        const Rect box { std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1 };
        const bool inside = box.Intersect(bounds) == box;
        WalkLine(a, b, [&](Point p) {
            if (inside || bounds.Contains(p))
                pixels[p.y * stride + p.x] = colour;
        });
        return;
    }
    WalkLine(a, b, [this](Point p) { PenDot(p.x, p.y); });
}

void Canvas::LineTo(Point p)
{
    Line(m_state.position + m_state.origin, p + m_state.origin);
    m_state.position = p;
}

void Canvas::Polyline(std::span<const Point> points)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        Line(points[i] + m_state.origin, points[i + 1] + m_state.origin);
    if (!points.empty())
        m_state.position = points.back();
}

void Canvas::Polygon(std::span<const Point> points)
{
    if (points.size() < 2)
        return;
    if (!m_state.brush.none) {
        Region area = Region::FromPolygon(points);
        area.Offset(m_state.origin.x, m_state.origin.y);
        for (const Region::Band& band : area.Bands())
            for (int y = band.top; y < band.bottom; ++y)
                for (const Region::Span& s : band.spans)
                    FillSpan(y, s.left, s.right, m_state.brush.colour);
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        Line(points[i] + m_state.origin, points[(i + 1) % points.size()] + m_state.origin);
}

void Canvas::Rectangle(Rect r)
{
    r = r.Offset(m_state.origin);
    if (r.IsEmpty())
        return;
    if (!m_state.brush.none)
        for (int y = r.top; y < r.bottom; ++y)
            FillSpan(y, r.left, r.right, m_state.brush.colour);
    if (m_state.pen.none)
        return;
    const int w = std::max(m_state.pen.width, 1);
    const Pixel c = m_state.pen.colour;
    for (int y = r.top; y < r.bottom; ++y) {
        if (y < r.top + w || y >= r.bottom - w) {
            FillSpan(y, r.left, r.right, c);
        } else {
            FillSpan(y, r.left, std::min(r.left + w, r.right), c);
            FillSpan(y, std::max(r.right - w, r.left), r.right, c);
        }
    }
}

void Canvas::Ellipse(Rect r)
{
    r = r.Offset(m_state.origin);
    if (r.IsEmpty())
        return;
    // Twice the coordinates, so that centres and radii stay whole numbers.
    const std::int64_t cx = r.left + r.right, cy = r.top + r.bottom;
    const std::int64_t rx = r.Width(), ry = r.Height();
    const auto inside = [&](int x, int y) {
        const std::int64_t px = 2 * x + 1 - cx, py = 2 * y + 1 - cy;
        return px * px * ry * ry + py * py * rx * rx <= rx * rx * ry * ry;
    };
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && !m_state.pen.none)
                Plot(x, y, m_state.pen.colour);
            else if (!m_state.brush.none)
                Plot(x, y, m_state.brush.colour);
        }
    }
}

void Canvas::DrawSurface(Point at, const Surface& picture, Rect from, bool keyed)
{
    Blit(m_target, at + m_state.origin, picture, from, { keyed, Clip() });
}

void Canvas::StretchSurface(Rect to, const Surface& picture, Rect from, bool keyed)
{
    StretchBlit(m_target, to.Offset(m_state.origin), picture, from, { keyed, Clip() });
}

void Canvas::MaskedDraw(Point at, Size size, const Surface& picture, Point from, const MonoMask& mask, Point maskAt)
{
    at += m_state.origin;
    for (int j = 0; j < size.height; ++j) {
        const int sy = from.y + j;
        if (sy < 0 || sy >= picture.Height())
            continue;
        for (int i = 0; i < size.width; ++i) {
            const int sx = from.x + i;
            if (sx < 0 || sx >= picture.Width() || mask.IsTransparent(maskAt.x + i, maskAt.y + j))
                continue;
            Plot(at.x + i, at.y + j, picture.Row(sy)[sx]);
        }
    }
}

Size Canvas::TextExtent(std::string_view text) const { return m_state.font ? m_state.font->Extent(text) : Size {}; }

void Canvas::DrawLine(Point baseline, std::u32string_view text)
{
    const Font& font = *m_state.font;
    int penX = baseline.x;
    if (!m_state.transparentText) {
        int width = 0;
        for (char32_t c : text)
            width += font.GetGlyph(c).advance;
        for (int y = baseline.y - font.Ascent(); y < baseline.y + font.Descent(); ++y)
            FillSpan(y, penX, penX + width, m_state.backColour);
    }
    for (char32_t c : text) {
        const Font::Glyph& glyph = font.GetGlyph(c);
        const int left = penX + glyph.left, top = baseline.y - glyph.top;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const int coverage = glyph.coverage[std::size_t(y) * std::size_t(glyph.width) + std::size_t(x)];
                if (coverage == 0 || !Visible(left + x, top + y))
                    continue;
                Pixel& p = m_target.Row(top + y)[left + x];
                p = coverage == 255 ? m_state.textColour : Blend(p, m_state.textColour, coverage);
            }
        }
        penX += glyph.advance;
    }
}

void Canvas::TextOut(Point at, std::string_view text)
{
    const Font* font = m_state.font;
    if (!font || !font->IsValid() || text.empty())
        return;
    at += m_state.origin;
    const int width = font->Extent(text).width;
    if (m_state.hAlign == HAlign::Centre)
        at.x -= width / 2;
    else if (m_state.hAlign == HAlign::Right)
        at.x -= width;
    if (m_state.vAlign == VAlign::Top)
        at.y += font->Ascent();
    else if (m_state.vAlign == VAlign::Bottom)
        at.y -= font->Descent();
    DrawLine(at, Font::Decode(text));
}

void Canvas::DrawText(Rect r, std::string_view text, unsigned flags)
{
    const Font* font = m_state.font;
    if (!font || !font->IsValid() || text.empty())
        return;
    std::vector<std::string_view> lines;
    if (flags & kTextSingleLine) {
        lines.push_back(text);
    } else {
        std::size_t begin = 0;
        while (true) {
            const std::size_t end = text.find('\n', begin);
            lines.push_back(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
            if (end == std::string_view::npos)
                break;
            begin = end + 1;
        }
    }
    const int lineHeight = font->CellHeight();
    const int blockHeight = lineHeight * int(lines.size());
    int top = r.top;
    if (flags & kTextVCentre)
        top = r.top + (r.Height() - blockHeight) / 2;
    else if (flags & kTextBottom)
        top = r.bottom - blockHeight;

    Save();
    Region clip = Region::FromRect(r.Offset(m_state.origin));
    if (m_state.clip)
        clip.And(*m_state.clip);
    m_state.clip = std::move(clip);
    for (std::string_view line : lines) {
        const std::u32string chars = Font::Decode(line);
        int width = 0;
        for (char32_t c : chars)
            width += font->GetGlyph(c).advance;
        int left = r.left;
        if (flags & kTextCentre)
            left = r.left + (r.Width() - width) / 2;
        else if (flags & kTextRight)
            left = r.right - width;
        DrawLine(Point { left, top + font->Ascent() } + m_state.origin, chars);
        top += lineHeight;
    }
    Restore();
}

} // namespace platform::gfx
