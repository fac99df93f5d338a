#include "tools/art/ArtPainter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "mapview/EdgePieces.h"
#include "mapview/RoadSheet.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Region.h"

namespace art {
namespace {

    using platform::Point;
    using platform::Rect;
    using platform::gfx::Brush;
    using platform::gfx::Canvas;
    using platform::gfx::Pen;
    using platform::gfx::Pixel;
    using platform::gfx::Region;
    using platform::gfx::Rgb;
    using platform::gfx::Surface;

    // One generator per sheet, seeded from the file name: the same bytes on
    // every machine.
    class SheetRandom {
    public:
        explicit SheetRandom(const std::string& name)
        {
            std::uint32_t h = 2166136261u;
            for (char c : name)
                h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
            m_state = h ? h : 1;
        }
        // 0..n-1 (0 for n below 1).
        int Next(int n)
        {
            m_state ^= m_state << 13;
            m_state ^= m_state >> 17;
            m_state ^= m_state << 5;
            return n > 0 ? static_cast<int>(m_state % static_cast<std::uint32_t>(n)) : 0;
        }

    private:
        std::uint32_t m_state;
    };

    Pixel Shade(Pixel c, int delta)
    {
        auto ch = [&](int v) { return std::clamp(v + delta, 0, 250); };
        return Rgb(ch(platform::gfx::RedOf(c)), ch(platform::gfx::GreenOf(c)), ch(platform::gfx::BlueOf(c)));
    }

    void Line(Canvas& canvas, Point a, Point b, Pixel colour, int width)
    {
        canvas.SetPen(Pen { colour, width });
        canvas.MoveTo(a);
        canvas.LineTo(b);
    }

    void Disc(Canvas& canvas, Point c, int r, Pixel colour)
    {
        canvas.SetPen(Pen { colour, 1 });
        canvas.SetBrush(Brush { colour });
        canvas.Ellipse(Rect { c.x - r, c.y - r, c.x + r + 1, c.y + r + 1 });
    }

    void Box(Canvas& canvas, Rect r, Pixel fill, Pixel border, int borderWidth = 1)
    {
        canvas.SetPen(borderWidth > 0 ? Pen { border, borderWidth } : Pen::None());
        canvas.SetBrush(Brush { fill });
        canvas.Rectangle(r);
    }

    void Shape(Canvas& canvas, std::span<const Point> points, Pixel fill)
    {
        canvas.SetPen(Pen::None());
        canvas.SetBrush(Brush { fill });
        canvas.Polygon(points);
    }

    // A flat-topped hex around (cx, cy): top edge half q, half width w, half height h.
    std::array<Point, 6> HexAround(int cx, int cy, int q, int w, int h)
    {
        return { { { cx - q, cy - h }, { cx + q, cy - h }, { cx + w, cy }, { cx + q, cy + h }, { cx - q, cy + h },
            { cx - w, cy } } };
    }

    // The midpoints of the six sides of a 2D normal-view hex, from its centre.
    constexpr std::array<Point, 6> kSideMid { { { 0, -15 }, { 13, -8 }, { 13, 7 }, { 0, 15 }, { -13, 7 },
        { -13, -8 } } };
    // The corners of a 2D normal-view hex from its centre, N side first: the side
    // d runs from corner d to corner d + 1.
    constexpr std::array<Point, 7> kCorner { { { -8, -15 }, { 8, -15 }, { 18, 0 }, { 8, 15 }, { -8, 15 }, { -18, 0 },
        { -8, -15 } } };

    Point Add(Point a, Point b) { return { a.x + b.x, a.y + b.y }; }

    // Squared distance of p from the segment a-b, in whole pixels.
    long DistanceToSegment2(Point p, Point a, Point b)
    {
        const long dx = b.x - a.x;
        const long dy = b.y - a.y;
        const long len2 = dx * dx + dy * dy;
        long t = len2 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) * 1000 / len2 : 0;
        t = std::clamp(t, 0L, 1000L);
        const long qx = a.x * 1000 + t * dx - p.x * 1000;
        const long qy = a.y * 1000 + t * dy - p.y * 1000;
        return (qx * qx + qy * qy) / 1000000;
    }

    // Random points inside a 36x30 hex cell around its centre, kept off the
    // corridors toward the free sides (where roads will run).
    std::vector<Point> Scatter(
        SheetRandom& random, Point centre, int count, int spread, unsigned freeSides, int clearance)
    {
        std::vector<Point> points;
        const Region hex = Region::FromPolygon(HexAround(centre.x, centre.y, 7, 16, 13));
        for (int tries = 0; tries < count * 20 && static_cast<int>(points.size()) < count; ++tries) {
            const Point p { centre.x - spread + random.Next(2 * spread + 1),
                centre.y - spread + random.Next(2 * spread + 1) };
            if (!hex.Contains(p))
                continue;
            bool clear = true;
            for (int d = 0; d < 6; ++d)
                if ((freeSides >> d) & 1u)
                    clear &= DistanceToSegment2(p, centre, Add(centre, kSideMid[static_cast<std::size_t>(d)]))
                        > clearance * clearance;
            if (clear)
                points.push_back(p);
        }
        return points;
    }

    // ---- soils ----

    void DrawSoil(Surface& s, SheetRandom& random, int palette)
    {
        static constexpr Pixel kBase[4]
            = { Rgb(176, 150, 96), Rgb(112, 160, 72), Rgb(124, 100, 70), Rgb(226, 230, 236) };
        Canvas canvas(s);
        const Pixel base = kBase[std::clamp(palette, 0, 3)];
        for (int row = 0; row < 14; ++row) {
            const Pixel colour = row == 13 ? Rgb(222, 204, 150) : Shade(base, palette == 3 ? -row * 4 : row * 7);
            for (int col = 0; col < 6; ++col) {
                const Point c { col * 38 + 19, row * 32 + 16 };
                const auto hex = HexAround(c.x, c.y, 9, 19, 16);
                Shape(canvas, hex, colour);
                const Region inside = Region::FromPolygon(hex);
                for (int i = 0; i < 30; ++i) {
                    const Point p { c.x - 16 + random.Next(33), c.y - 14 + random.Next(29) };
                    if (inside.Contains(p))
                        s.SetPixel(p.x, p.y, Shade(colour, random.Next(2) ? 14 : -14));
                }
            }
        }
    }

    // ---- terrain ----

    Point CellCentre(int col, int row) { return { col * 36 + 18, row * 30 + 15 }; }

    void Trees(Canvas& canvas, SheetRandom& random, Point c, unsigned freeSides, int count, Pixel colour)
    {
        for (Point p : Scatter(random, c, count, 13, freeSides, 5)) {
            Disc(canvas, p, 3, colour);
            canvas.Target().SetPixel(p.x - 1, p.y - 1, Shade(colour, 40));
        }
    }

    void Houses(Canvas& canvas, SheetRandom& random, Point c, unsigned freeSides, int count, Pixel roof)
    {
        for (Point p : Scatter(random, c, count, 11, freeSides, 5))
            Box(canvas, Rect { p.x - 3, p.y - 2, p.x + 3, p.y + 3 }, roof, Rgb(70, 40, 30));
    }

    void Orchard(Canvas& canvas, Point c, unsigned freeSides)
    {
        for (int dy = -9; dy <= 9; dy += 6)
            for (int dx = -12; dx <= 12; dx += 6) {
                const Point p { c.x + dx, c.y + dy };
                bool clear = true;
                for (int d = 0; d < 6; ++d)
                    if ((freeSides >> d) & 1u)
                        clear &= DistanceToSegment2(p, c, Add(c, kSideMid[static_cast<std::size_t>(d)])) > 9;
                if (clear)
                    Disc(canvas, p, 2, Rgb(70, 150, 60));
            }
    }

    void Palms(Canvas& canvas, SheetRandom& random, Point c, unsigned freeSides)
    {
        for (Point p : Scatter(random, c, 6, 12, freeSides, 5)) {
            Line(canvas, { p.x - 3, p.y }, { p.x + 4, p.y }, Rgb(40, 130, 40), 1);
            Line(canvas, { p.x, p.y - 3 }, { p.x, p.y + 4 }, Rgb(40, 130, 40), 1);
            canvas.Target().SetPixel(p.x, p.y, Rgb(110, 80, 40));
        }
    }

    void Stripes(Canvas& canvas, Point c, Pixel colour, int step, int slant)
    {
        const Region clip = Region::FromPolygon(HexAround(c.x, c.y, 7, 16, 13));
        canvas.Save();
        canvas.SetClip(&clip);
        for (int y = c.y - 14; y <= c.y + 14; y += step)
            Line(canvas, { c.x - 18, y - slant }, { c.x + 18, y + slant }, colour, 1);
        canvas.Restore();
    }

    void Blocks(Canvas& canvas, SheetRandom& random, Point c, int count, int size, Pixel colour)
    {
        for (Point p : Scatter(random, c, count, 10, 0, 0))
            Box(canvas, Rect { p.x - size / 2, p.y - size / 2, p.x + size - size / 2, p.y + size - size / 2 }, colour,
                Shade(colour, -40));
    }

    void Speckles(Surface& s, SheetRandom& random, Point c, int count, Pixel colour, int size)
    {
        Canvas canvas(s);
        for (Point p : Scatter(random, c, count, 13, 0, 0))
            Box(canvas, Rect { p.x, p.y, p.x + size, p.y + size }, colour, colour, 0);
    }

    void Water(Canvas& canvas, SheetRandom& random, Point c, Pixel colour)
    {
        Shape(canvas, HexAround(c.x, c.y, 8, 18, 15), colour);
        for (int i = 0; i < 4; ++i) {
            const Point p { c.x - 9 + random.Next(16), c.y - 9 + random.Next(18) };
            Line(canvas, p, { p.x + 3, p.y }, Shade(colour, 35), 1);
        }
    }

    // A bridge or a line of pontoons along axis a (0 N-S, 1 NE-SW, 2 SE-NW).
    void Crossing(Canvas& canvas, Point c, int axis, bool damaged, bool pontoon)
    {
        const Point a = Add(c, kSideMid[static_cast<std::size_t>(axis)]);
        const Point b = Add(c, kSideMid[static_cast<std::size_t>(axis + 3)]);
        const Pixel deck = pontoon ? Rgb(110, 80, 50) : Rgb(150, 150, 150);
        const int width = pontoon ? 3 : 5;
        if (!damaged) {
            Line(canvas, a, b, deck, width);
        } else {
            const Point m1 { (a.x * 2 + c.x) / 3, (a.y * 2 + c.y) / 3 };
            const Point m2 { (b.x * 2 + c.x) / 3, (b.y * 2 + c.y) / 3 };
            Line(canvas, a, m1, deck, width);
            Line(canvas, b, m2, deck, width);
            Line(canvas, { c.x - 2, c.y - 2 }, { c.x + 3, c.y + 3 }, Rgb(200, 40, 30), 1);
            Line(canvas, { c.x + 2, c.y - 2 }, { c.x - 3, c.y + 3 }, Rgb(200, 40, 30), 1);
        }
    }

    void Checker(Surface& s, Point c, Pixel colour, int block, int keep)
    {
        const Region hex = Region::FromPolygon(HexAround(c.x, c.y, 8, 18, 15));
        for (int y = c.y - 15; y < c.y + 15; ++y)
            for (int x = c.x - 18; x < c.x + 18; ++x)
                if (hex.Contains({ x, y }) && ((x / block + y / block) % 2 == 0 || (keep && (y / block) % 2 == 0)))
                    s.SetPixel(x, y, colour);
    }

    void DrawTerrain(Surface& s, SheetRandom& random)
    {
        Canvas canvas(s);
        using RoadSheet::AwareTable;
        const Pixel forest = Rgb(34, 100, 34);
        const Pixel jungle = Rgb(20, 84, 36);
        for (int col = 0; col < 6; ++col) {
            auto at = [&](int row) { return CellCentre(col, row); };
            Trees(canvas, random, at(0), 0, 9, forest);
            Orchard(canvas, at(1), 0);
            Speckles(s, random, at(2), 14, Rgb(130, 120, 110), 2);
            for (Point p : Scatter(random, at(3), 10, 13, 0, 0))
                Line(canvas, p, { p.x, p.y + 3 }, Rgb(60, 120, 110), 1);
            for (Point p : Scatter(random, at(4), 10, 13, 0, 0)) {
                Line(canvas, p, { p.x, p.y + 3 }, Rgb(50, 100, 80), 1);
                Line(canvas, { p.x + 2, p.y + 2 }, { p.x + 5, p.y + 2 }, Rgb(80, 120, 170), 1);
            }
            Stripes(canvas, at(5), Rgb(210, 190, 90), 3, 0);
            Box(canvas, Rect { at(6).x - 7, at(6).y - 5, at(6).x + 7, at(6).y + 5 }, Rgb(140, 120, 100),
                Rgb(80, 60, 50));
            Blocks(canvas, random, at(7), 3, 6, Rgb(120, 120, 125));
            Line(canvas, at(7), { at(7).x, at(7).y - 9 }, Rgb(60, 60, 60), 2);
            Blocks(canvas, random, at(8), 7, 6, Rgb(128, 128, 128));
            Houses(canvas, random, at(9), 0, 3, Rgb(170, 90, 60));
            Houses(canvas, random, at(10), 0, 5, Rgb(170, 60, 40));
            Water(canvas, random, at(11), Rgb(60, 110, 190));
            Water(canvas, random, at(12), Rgb(200, 220, 236));
            for (int block = 0; block < 3; ++block) {
                const int k = block * 6 + col;
                Trees(canvas, random, at(13 + block), RoadSheet::FreeSidesOfCell(AwareTable::A, k).Value(), 9, forest);
                Trees(canvas, random, at(29 + block), RoadSheet::FreeSidesOfCell(AwareTable::A, k).Value(), 12, jungle);
            }
            for (int block = 0; block < 2; ++block) {
                const int k = block * 6 + col;
                Houses(canvas, random, at(16 + block), RoadSheet::FreeSidesOfCell(AwareTable::B, k).Value(), 5,
                    Rgb(170, 60, 40));
            }
            Orchard(canvas, at(18), RoadSheet::FreeSidesOfCell(AwareTable::C, col).Value());
            Speckles(s, random, at(19), 12, col < 3 ? Rgb(150, 110, 90) : Rgb(110, 110, 110), 2);
            Crossing(canvas, at(20), col % 3, col >= 3, false);
            Crossing(canvas, at(21), col % 3, col >= 3, true);
            Water(canvas, random, at(23), Rgb(110, 160, 214));
            Stripes(canvas, at(24), Rgb(110, 60, 110), 4, 3);
            Stripes(canvas, at(25), Rgb(90, 170, 90), 4, 0);
            Palms(canvas, random, at(26), 0);
            Palms(canvas, random, at(27), RoadSheet::FreeSidesOfCell(AwareTable::C, col).Value());
            Trees(canvas, random, at(28), 0, 12, jungle);
            for (Point p : Scatter(random, at(32), 16, 13, 0, 0))
                Line(canvas, p, { p.x + 1, p.y - 3 }, Rgb(150, 180, 80), 1);
        }
        // Row 22: Impassible, then the hex shading of the two 2D views, by day
        // and at night.
        const Point rock = CellCentre(0, 22);
        Shape(canvas, HexAround(rock.x, rock.y, 8, 18, 15), Rgb(72, 70, 76));
        Speckles(s, random, rock, 12, Rgb(110, 105, 110), 3);
        Checker(s, CellCentre(1, 22), Rgb(0, 0, 0), 1, 0);
        Checker(s, CellCentre(2, 22), Rgb(0, 0, 0), 2, 0);
        Checker(s, CellCentre(3, 22), Rgb(10, 10, 50), 1, 1);
        Checker(s, CellCentre(4, 22), Rgb(10, 10, 50), 2, 1);
    }

    // ---- hexsides ----

    void SideLine(Canvas& canvas, Point c, int side, Pixel colour, int width, bool ticks)
    {
        const Point a = Add(c, kCorner[static_cast<std::size_t>(side)]);
        const Point b = Add(c, kCorner[static_cast<std::size_t>(side + 1)]);
        Line(canvas, a, b, colour, width);
        if (ticks) {
            // Hatching toward the lower side, outward from the hex.
            const Point m = Add(c, kSideMid[static_cast<std::size_t>(side)]);
            const Point out { c.x + (m.x - c.x) * 5 / 4, c.y + (m.y - c.y) * 5 / 4 };
            Line(canvas, m, out, colour, 1);
            Line(canvas, { (a.x + m.x) / 2, (a.y + m.y) / 2 },
                { (a.x + m.x) / 2 + (out.x - m.x), (a.y + m.y) / 2 + (out.y - m.y) }, colour, 1);
            Line(canvas, { (b.x + m.x) / 2, (b.y + m.y) / 2 },
                { (b.x + m.x) / 2 + (out.x - m.x), (b.y + m.y) / 2 + (out.y - m.y) }, colour, 1);
        }
    }

    void DrawSides(Surface& s)
    {
        Canvas canvas(s);
        struct Lines {
            int row;
            Pixel colour;
            int width;
        };
        const Lines lines[] = { { 0, Rgb(90, 150, 220), 2 }, { 1, Rgb(40, 90, 200), 4 }, { 2, Rgb(120, 90, 50), 2 },
            { 7, Rgb(40, 120, 40), 2 }, { 10, Rgb(30, 80, 30), 3 }, { 11, Rgb(140, 140, 140), 2 },
            { 12, Rgb(90, 90, 90), 3 }, { 14, Rgb(200, 180, 110), 3 } };
        for (const Lines& l : lines)
            for (int set = 1; set <= 7; ++set) {
                const Point c { (set - 1) * 42 + 21, l.row * 36 + 18 };
                for (int side = 0; side < 3; ++side)
                    if ((set >> side) & 1)
                        SideLine(canvas, c, side, l.colour, l.width, false);
            }
        const Lines slopes[] = { { 6, Rgb(90, 60, 30), 3 }, { 8, Rgb(150, 120, 80), 2 }, { 13, Rgb(120, 80, 40), 2 } };
        for (const Lines& l : slopes)
            for (int side = 0; side < 6; ++side)
                SideLine(canvas, { side * 42 + 21, l.row * 36 + 18 }, side, l.colour, l.width, true);
        // Bridges and fords across the N, NE and SE sides.
        const Lines crossings[] = { { 3, Rgb(150, 110, 60), 3 }, { 4, Rgb(130, 130, 130), 4 },
            { 5, Rgb(90, 90, 90), 5 }, { 9, Rgb(200, 190, 150), 4 } };
        static constexpr Point kPlank[3][2]
            = { { { 0, -22 }, { 0, -8 } }, { { 7, -12 }, { 19, -4 } }, { { 7, 3 }, { 19, 11 } } };
        for (const Lines& l : crossings)
            for (int side = 0; side < 3; ++side) {
                const Point c { side * 42 + 21, l.row * 36 + 18 };
                Line(canvas, Add(c, kPlank[side][0]), Add(c, kPlank[side][1]), l.colour, l.width);
            }
    }

    // ---- roads ----

    void DrawRoads(Surface& s, int kind)
    {
        Canvas canvas(s);
        for (int p = 0; p < RoadSheet::kPositions; ++p) {
            const unsigned sides = RoadSheet::SetAtPosition(p).Value();
            const Point c { (p % 6) * 36 + 18, (p / 6) * 30 + 15 };
            for (int pass = 0; pass < 2; ++pass)
                for (int d = 0; d < 6; ++d) {
                    if (!((sides >> d) & 1u))
                        continue;
                    const Point end = Add(c, kSideMid[static_cast<std::size_t>(d)]);
                    switch (kind) {
                    case 0:
                        Line(canvas, c, end, pass ? Rgb(176, 172, 160) : Rgb(96, 96, 96), pass ? 2 : 4);
                        break;
                    case 1:
                        if (!pass)
                            Line(canvas, c, end, Rgb(150, 110, 70), 3);
                        break;
                    case 2:
                        Line(canvas, c, end, pass ? Rgb(170, 170, 170) : Rgb(50, 40, 36), pass ? 1 : 3);
                        break;
                    default:
                        if (!pass)
                            for (int i = 0; i <= 8; i += 2)
                                canvas.Target().SetPixel(
                                    c.x + (end.x - c.x) * i / 8, c.y + (end.y - c.y) * i / 8, Rgb(120, 90, 60));
                        break;
                    }
                }
        }
    }

    // ---- edge pieces ----

    void DrawEdges(Surface& s, SheetRandom& random, int kind)
    {
        static constexpr Pixel kColour[4]
            = { Rgb(196, 176, 116), Rgb(232, 236, 240), Rgb(112, 160, 70), Rgb(120, 110, 72) };
        const Pixel colour = kColour[std::clamp(kind, 0, 3)];
        Canvas canvas(s);
        std::vector<Rect> pieces;
        for (const auto& slot : EdgePieces::kSlots)
            for (const auto* piece : { &slot.both, &slot.firstOnly, &slot.secondOnly })
                pieces.push_back(piece->source);
        for (const Rect& r : pieces) {
            canvas.SetPen(Pen { colour, 1 });
            canvas.SetBrush(Brush { colour });
            canvas.Ellipse(r);
            for (int i = 0; i < 4; ++i)
                s.SetPixel(r.left + 2 + random.Next(std::max(1, r.Width() - 4)),
                    r.top + 2 + random.Next(std::max(1, r.Height() - 4)), Shade(colour, -20));
        }
    }

    // ---- icons ----

    Pixel NationColour(int nation)
    {
        switch (nation) {
        case 0:
            return Rgb(96, 124, 180);
        case 1:
            return Rgb(178, 72, 60);
        case 9:
            return Rgb(116, 136, 76);
        case 10:
            return Rgb(150, 150, 136);
        default:
            return Rgb(60 + (nation * 37) % 150, 60 + (nation * 71) % 150, 60 + (nation * 13) % 150);
        }
    }

    // Drawing in one 32-pixel cell around its centre, at 1/scale of full size.
    struct Cell {
        Canvas& canvas;
        Point centre;
        int scale;

        Point P(int dx, int dy) const { return { centre.x + dx / scale, centre.y + dy / scale }; }
        Rect R(int l, int t, int r, int b) const
        {
            return { centre.x + l / scale, centre.y + t / scale, centre.x + r / scale, centre.y + b / scale };
        }
        int W(int width) const { return std::max(1, width / scale); }
        void Line(int x1, int y1, int x2, int y2, Pixel c, int w) const
        {
            art::Line(canvas, P(x1, y1), P(x2, y2), c, W(w));
        }
        void Box(int l, int t, int r, int b, Pixel fill, Pixel border, int w = 1) const
        {
            art::Box(canvas, R(l, t, r, b), fill, border, W(w));
        }
        void Disc(int x, int y, int r, Pixel c) const { art::Disc(canvas, P(x, y), std::max(1, r / scale), c); }
    };

    const Pixel kBlack = Rgb(24, 24, 24);
    const Pixel kWhite = Rgb(244, 244, 240);

    void CounterBase(const Cell& c, Pixel colour, bool highlighted)
    {
        c.Box(-11, -11, 12, 12, colour, highlighted ? Rgb(250, 220, 40) : Shade(colour, -60), highlighted ? 2 : 1);
    }

    void Objective(const Cell& c, Pixel colour)
    {
        c.Line(-8, 10, -8, -11, kBlack, 2);
        c.Box(-7, -11, 9, -1, colour, kBlack);
    }

    void Contact(const Cell& c, Pixel colour)
    {
        c.Box(-10, -10, 11, 11, Shade(colour, 50), colour, 2);
        c.Disc(0, 0, 3, colour);
    }

    // The unit symbols of the counters: a framed box with the common map sign.
    void Symbol(const Cell& c, int s)
    {
        c.Box(-8, -6, 9, 6, kWhite, kBlack);
        switch (s) {
        case 0: // infantry
            c.Line(-8, -6, 8, 5, kBlack, 1), c.Line(-8, 5, 8, -6, kBlack, 1);
            break;
        case 1: // engineers
            c.Line(-4, 2, 4, 2, kBlack, 1), c.Line(-4, -2, -4, 2, kBlack, 1), c.Line(0, -2, 0, 2, kBlack, 1),
                c.Line(4, -2, 4, 2, kBlack, 1);
            break;
        case 2: // machine gun
            c.Line(-8, -6, 8, 5, kBlack, 1), c.Line(-8, 5, 8, -6, kBlack, 1), c.Disc(0, 3, 1, kBlack);
            break;
        case 3: // mortar
            c.Line(0, 4, 0, -4, kBlack, 1), c.Line(-2, -2, 0, -4, kBlack, 1), c.Line(2, -2, 0, -4, kBlack, 1);
            break;
        case 4: // anti-tank gun
            c.Line(-6, 5, 0, -5, kBlack, 1), c.Line(6, 5, 0, -5, kBlack, 1);
            break;
        case 5: // armour
        case 6: // tank destroyer
        case 7: // armoured carrier
            c.canvas.SetPen(Pen { kBlack, 1 });
            c.canvas.SetBrush(Brush::None());
            c.canvas.Ellipse(c.R(-6, -3, 7, 4));
            if (s == 6)
                c.Line(0, -5, 0, 5, kBlack, 1);
            if (s == 7)
                c.Line(-8, -6, 8, 5, kBlack, 1), c.Line(-8, 5, 8, -6, kBlack, 1);
            break;
        case 8: // reconnaissance
            c.Line(-8, 5, 8, -6, kBlack, 1);
            break;
        case 9: // transport
            c.Disc(-4, 2, 2, kBlack), c.Disc(4, 2, 2, kBlack);
            break;
        case 10: // artillery
            c.Disc(0, 0, 2, kBlack);
            break;
        case 11: // boat
            c.Line(-5, 1, 5, 1, kBlack, 1), c.Line(-5, 1, -3, 3, kBlack, 1), c.Line(5, 1, 3, 3, kBlack, 1);
            break;
        case 12: // aircraft
            c.Line(-6, 0, 6, 0, kBlack, 1), c.Line(0, -4, 0, 4, kBlack, 1);
            break;
        default: // headquarters
            c.Line(-8, -6, -8, 10, kBlack, 1);
            break;
        }
    }

    // Picture icons: a silhouette per icon number.
    void Picture(const Cell& c, int p)
    {
        const Pixel dark = Rgb(36, 40, 36);
        switch (p % 6) {
        case 0: // soldiers
            for (int x : { -5, 0, 5 })
                c.Disc(x, -3, 2, dark), c.Line(x, -1, x, 6, dark, 2);
            break;
        case 1: // tank
            c.Box(-9, 0, 10, 6, dark, dark), c.Box(-5, -4, 5, 0, dark, dark), c.Line(4, -2, 11, -3, dark, 2);
            break;
        case 2: // gun
            c.Line(-8, 5, 8, -4, dark, 2), c.Disc(-3, 4, 3, dark);
            break;
        case 3: // lorry
            c.Box(-9, -3, 4, 4, dark, dark), c.Box(4, -1, 9, 4, dark, dark), c.Disc(-6, 6, 2, dark),
                c.Disc(6, 6, 2, dark);
            break;
        case 4: // half-track
            c.Box(-9, -2, 9, 4, dark, dark), c.Disc(-6, 6, 2, dark), c.Box(0, 5, 9, 8, dark, dark);
            break;
        default: // boat or aircraft
            c.Line(-9, 2, 9, 2, dark, 3), c.Line(-2, -5, -2, 2, dark, 1);
            break;
        }
    }

    void Arrow(const Cell& c, int direction)
    {
        static constexpr Point kTip[6] = { { 0, -12 }, { 10, -6 }, { 10, 6 }, { 0, 12 }, { -10, 6 }, { -10, -6 } };
        const Point t = kTip[direction];
        const Pixel red = Rgb(220, 40, 30);
        c.Line(-t.x, -t.y, t.x, t.y, red, 2);
        c.Disc(t.x, t.y, 3, red);
    }

    void DrawIcons(Surface& s, int scale)
    {
        Canvas canvas(s);
        auto cell = [&](int n) { return Cell { canvas, { (n % 12) * 32 + 16, (n / 12) * 32 + 16 }, scale }; };
        const Pixel red = Rgb(210, 40, 30);
        const Pixel grey = Rgb(120, 120, 120);
        cell(0).Box(-9, -9, 10, 10, grey, kBlack);
        for (int m = 1; m <= 3; ++m)
            for (int i = 0; i < m; ++i)
                cell(m).Disc(-6 + i * 6, 6, 2, kBlack), cell(m).Line(-6 + i * 6, 6, -6 + i * 6, 2, red, 1);
        cell(4).Line(-9, -9, 9, 9, kBlack, 3), cell(4).Line(-9, 9, 9, -9, kBlack, 3);
        cell(5).Box(-8, -2, 9, 8, Rgb(90, 90, 90), kBlack);
        cell(6).Line(-10, 8, 10, 8, Rgb(120, 80, 40), 3);
        cell(7).Box(-6, -1, 7, 5, Rgb(60, 50, 46), kBlack);
        cell(8).Box(-10, -3, 11, 7, Rgb(60, 50, 46), kBlack), cell(8).Disc(0, -5, 3, Rgb(200, 90, 30));
        for (int i = 0; i < 4; ++i)
            cell(9).Disc(-6 + i * 4, 6, 1, Rgb(120, 40, 140));
        canvas.SetPen(Pen { red, 2 }), canvas.SetBrush(Brush::None());
        canvas.Ellipse(cell(10).R(-12, -12, 13, 13));
        Objective(cell(11), NationColour(1));
        Objective(cell(12), NationColour(0));
        Objective(cell(31), Rgb(220, 190, 60));
        cell(13).Line(-12, 0, 12, 0, red, 2), cell(13).Line(0, -12, 0, 12, red, 2);
        canvas.SetPen(Pen { red, 2 }), canvas.SetBrush(Brush::None());
        canvas.Ellipse(cell(13).R(-7, -7, 8, 8));
        for (int d = 0; d < 6; ++d)
            Arrow(cell(15 + d), d);
        Contact(cell(21), NationColour(0));
        Contact(cell(22), NationColour(1));
        Contact(cell(30), grey);
        for (Point p : { Point { -5, 0 }, Point { 4, -3 }, Point { 3, 5 } })
            cell(23).Disc(p.x, p.y, 6, Rgb(200, 200, 204));
        CounterBase(cell(24), NationColour(0), false);
        CounterBase(cell(25), NationColour(0), true);
        CounterBase(cell(54), NationColour(1), false);
        CounterBase(cell(55), NationColour(1), true);
        cell(36).Line(-6, -6, 6, 6, red, 3), cell(36).Line(-6, 6, 6, -6, red, 3);
        cell(37).Line(-11, 0, 11, 0, Rgb(240, 140, 20), 2), cell(37).Line(0, -11, 0, 11, Rgb(240, 140, 20), 2);
        cell(37).Line(-9, -9, 9, 9, Rgb(240, 140, 20), 2), cell(37).Line(-9, 9, 9, -9, Rgb(240, 140, 20), 2);
        cell(40).Box(-8, -4, 9, 9, kBlack, kBlack), cell(40).Disc(0, -4, 8, kBlack);
        cell(41).Line(0, -10, 0, 10, Rgb(250, 240, 120), 2), cell(41).Line(-10, 0, 10, 0, Rgb(250, 240, 120), 2);
        cell(41).Disc(0, 0, 3, Rgb(255, 255, 200));
        cell(42).Disc(0, 3, 6, Rgb(230, 90, 20)), cell(42).Disc(0, -1, 3, Rgb(250, 200, 40));
        for (int sym = 0; sym <= 13; ++sym)
            Symbol(cell(84 + sym), sym);
        cell(178).Box(-8, -6, 9, 7, Rgb(110, 110, 110), kBlack), cell(178).Line(-3, 0, 4, 0, kBlack, 2);
        for (int i = 0; i < 4; ++i)
            cell(179).Line(-10 + i * 5, 4, -8 + i * 5, -1, Rgb(110, 80, 40), 2);
        // The compass rose.
        const Cell rose = cell(206);
        rose.Disc(0, 0, 4, kBlack);
        rose.Line(0, -14, 0, 14, kBlack, 1), rose.Line(-14, 0, 14, 0, kBlack, 1);
        rose.Line(0, -14, 0, 0, red, 3);
        for (int p = 0; p < 36; ++p) {
            Picture(cell(216 + p), p);
            Picture(cell(336 + p), p);
        }
    }

    void DrawNationIcons(Surface& s, int nation, int scale)
    {
        Canvas canvas(s);
        auto cell = [&](int n) { return Cell { canvas, { (n % 12) * 32 + 16, (n / 12) * 32 + 16 }, scale }; };
        CounterBase(cell(0), NationColour(nation), false);
        CounterBase(cell(1), NationColour(nation), true);
        Contact(cell(30), NationColour(nation));
        Objective(cell(31), NationColour(nation));
        for (int p = 0; p < 36; ++p)
            Picture(cell(36 + p), p);
    }

    // ---- the main window's pictures ----

    // The info box's panels: columns unit, unit selected, leader, leader
    // selected; rows side 0 and side 1.
    void DrawPanels(Surface& s)
    {
        Canvas canvas(s);
        const int w = s.Width() / 4;
        const int h = s.Height() / 2;
        const Pixel sideFill[2] = { Rgb(112, 98, 46), Rgb(96, 98, 106) };
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 4; ++column) {
                const Rect cell { column * w, row * h, column * w + w, row * h + h };
                const bool selected = column % 2 == 1;
                const bool leader = column >= 2;
                Box(canvas, cell, sideFill[row], selected ? Rgb(250, 220, 60) : Rgb(40, 36, 20), selected ? 3 : 1);
                // The name strip and the bar's well.
                Box(canvas, { cell.left + 24, cell.top + 1, cell.right - 24, cell.top + 16 }, Shade(sideFill[row], -30),
                    Shade(sideFill[row], -30), 0);
                Box(canvas, { cell.left + 47, cell.top + 150, cell.left + 149, cell.top + 162 }, Rgb(30, 30, 30),
                    Rgb(200, 200, 200));
                // The picture's frame; leaders get a gold one.
                const Point c { cell.left + w / 2, cell.top + h / 2 };
                Box(canvas, { c.x - 30, c.y - 28, c.x + 31, c.y + 29 }, Shade(sideFill[row], 20),
                    leader ? Rgb(220, 180, 40) : Shade(sideFill[row], -40), leader ? 3 : 1);
            }
        }
    }

    // The backdrop tile under the panels.
    void DrawBackdrop(Surface& s, SheetRandom& random)
    {
        Canvas canvas(s);
        Box(canvas, { 0, 0, s.Width(), s.Height() }, Rgb(150, 128, 52), Rgb(150, 128, 52), 0);
        for (int i = 0; i < s.Width() * s.Height() / 24; ++i)
            canvas.SetPixel({ random.Next(s.Width()), random.Next(s.Height()) }, Rgb(136, 116, 46));
    }

    // Tool-bar buttons, one cell each, pressed in the second row; each
    // button's glyph is a shape and colour of its own.
    void DrawToolBar(Surface& s, int buttons)
    {
        Canvas canvas(s);
        const int w = s.Width() / std::max(1, buttons);
        const int h = s.Height() / 2;
        const Pixel colours[6] = { Rgb(200, 40, 30), Rgb(30, 90, 190), Rgb(30, 140, 50), Rgb(30, 30, 30),
            Rgb(150, 60, 160), Rgb(230, 150, 20) };
        for (int pressed = 0; pressed < 2; ++pressed) {
            for (int b = 0; b < buttons; ++b) {
                const Rect r { b * w, pressed * h, b * w + w, pressed * h + h };
                const Pixel face = Rgb(169, 144, 55);
                Box(canvas, r, pressed ? Shade(face, -25) : face, Rgb(60, 50, 20));
                Line(canvas, { r.left + 1, r.top + 1 }, { r.right - 2, r.top + 1 },
                    pressed ? Rgb(102, 97, 41) : Rgb(221, 198, 117), 1);
                const Point c { r.left + w / 2 + pressed, r.top + h / 2 + pressed };
                const Pixel ink = colours[b % 6];
                switch ((b / 6) % 4) {
                case 0:
                    Disc(canvas, c, 6, ink);
                    break;
                case 1:
                    Box(canvas, { c.x - 6, c.y - 6, c.x + 7, c.y + 7 }, ink, Rgb(20, 20, 20));
                    break;
                case 2: {
                    const std::array<Point, 3> tri { { { c.x, c.y - 7 }, { c.x + 7, c.y + 6 }, { c.x - 7, c.y + 6 } } };
                    Shape(canvas, tri, ink);
                    break;
                }
                default:
                    Line(canvas, { c.x - 7, c.y - 7 }, { c.x + 7, c.y + 7 }, ink, 3);
                    Line(canvas, { c.x - 7, c.y + 7 }, { c.x + 7, c.y - 7 }, ink, 3);
                    break;
                }
            }
        }
    }

    // The program's icon: a hex of the map with a unit counter on it.
    void DrawProgramIcon(Surface& s)
    {
        Canvas canvas(s);
        const auto hex = HexAround(16, 16, 8, 15, 13);
        Shape(canvas, hex, Rgb(150, 170, 90));
        Box(canvas, { 8, 9, 25, 24 }, Rgb(90, 110, 60), Rgb(20, 20, 20));
        Line(canvas, { 10, 11 }, { 23, 22 }, Rgb(20, 20, 20), 2);
        Line(canvas, { 10, 22 }, { 23, 11 }, Rgb(20, 20, 20), 2);
    }

    // Leader portraits of a nation: head and shoulders in the nation's
    // colours, each a little different.
    void DrawLeaders(Surface& s, SheetRandom& random, int nation)
    {
        Canvas canvas(s);
        const int cell = 52;
        const Pixel coat = NationColour(nation);
        for (int n = 0; n < (s.Width() / cell) * (s.Height() / cell); ++n) {
            const int x = (n % 12) * cell;
            const int y = (n / 12) * cell;
            Box(canvas, { x + 1, y + 1, x + cell - 1, y + cell - 1 }, Rgb(200, 190, 160), Rgb(60, 50, 30));
            const Pixel skin = Rgb(220 - random.Next(40), 180 - random.Next(40), 140 - random.Next(30));
            Box(canvas, { x + 10, y + 34, x + 42, y + 51 }, coat, Shade(coat, -40));
            Disc(canvas, { x + 26, y + 22 }, 9 + random.Next(3), skin);
            Box(canvas, { x + 16, y + 8, x + 37, y + 15 }, Shade(coat, -30), Shade(coat, -60));
        }
    }

    // ---- diagnostic and scaled files ----

    Surface DrawDiagnostic(const ArtEntry& entry, int sheet)
    {
        Surface s(entry.width, entry.height, kKey);
        const int cw = entry.cellWidth * entry.divisor;
        const int ch = entry.cellHeight * entry.divisor;
        for (int y = 0; y < entry.height; ++y) {
            platform::gfx::Pixel* row = s.Row(y);
            for (int x = 0; x < entry.width; ++x)
                row[x] = DiagnosticColour(sheet, x * entry.divisor / cw, y * entry.divisor / ch);
        }
        return s;
    }

    Surface Sample(const ArtEntry& entry, const Surface& full)
    {
        Surface s(entry.width, entry.height, kKey);
        for (int y = 0; y < entry.height; ++y)
            for (int x = 0; x < entry.width; ++x)
                s.SetPixel(x, y, full.GetPixel(x * entry.divisor, y * entry.divisor));
        return s;
    }

} // namespace

Pixel DiagnosticColour(int sheet, int column, int row) { return Rgb(sheet, column, row); }

DiagnosticCell DecodeDiagnostic(Pixel pixel)
{
    const int sheet = platform::gfx::RedOf(pixel);
    if (sheet == 0 || sheet == 0xFF)
        return {};
    return { sheet, platform::gfx::GreenOf(pixel), platform::gfx::BlueOf(pixel) };
}

Surface DrawArtEntry(const ArtEntry& entry, int sheet, bool diagnostic, const SourceLookup& sources, std::string& error)
{
    if (entry.later)
        return {};
    Surface s;
    if (diagnostic) {
        s = DrawDiagnostic(entry, sheet);
    } else if (entry.divisor != 1) {
        const Surface* full = sources ? sources(entry.source) : nullptr;
        if (!full) {
            error = entry.file + ": " + entry.source + " was not drawn";
            return {};
        }
        s = Sample(entry, *full);
    } else {
        s = Surface(entry.width, entry.height, kKey);
        SheetRandom random(entry.file);
        if (entry.recipe == "soil")
            DrawSoil(s, random, entry.argument);
        else if (entry.recipe == "terrain")
            DrawTerrain(s, random);
        else if (entry.recipe == "sides")
            DrawSides(s);
        else if (entry.recipe == "road")
            DrawRoads(s, entry.argument);
        else if (entry.recipe == "edges")
            DrawEdges(s, random, entry.argument);
        else if (entry.recipe == "icons")
            DrawIcons(s, std::max(1, entry.argument));
        else if (entry.recipe == "nation")
            DrawNationIcons(s, entry.argument % 100, entry.argument >= 100 ? 2 : 1);
        else if (entry.recipe == "panel")
            DrawPanels(s);
        else if (entry.recipe == "backdrop")
            DrawBackdrop(s, random);
        else if (entry.recipe == "toolbar")
            DrawToolBar(s, entry.argument);
        else if (entry.recipe == "programicon")
            DrawProgramIcon(s);
        else if (entry.recipe == "leaders")
            DrawLeaders(s, random, entry.argument);
        else {
            error = entry.file + ": no recipe \"" + entry.recipe + "\"";
            return {};
        }
    }
    // The key, whatever the drawing did at the corner.
    s.SetPixel(0, 0, kKey);
    s.SetKeyFromCorner();
    return s;
}

} // namespace art
