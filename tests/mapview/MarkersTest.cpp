// What the map view draws over the counters: the marked hex (the line of
// sight's blocking hex) in the 2D and 3D views, the fire trace's target and
// line in the 2D views, the move trail's arrows, turned with the view, and
// the refresh and span repaints the frame asks for.

#include "tests/mapview/MapViewFixture.h"

#include "model/PlatoonType.h"
#include "platform/gfx/Bmp.h"

namespace {

using platform::Point;
using platform::gfx::Pixel;

constexpr int kOwnSheet = 200; // the diagnostic number of the test's 3D icon sheets
constexpr Pixel kOrange = CMapView::kTraceColour;

class MarkersTest : public MapViewTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        m_type.m_id = 101; // nation 0, side 0
    }
    void AddUnit(int x, int y)
    {
        PlacedUnit unit;
        unit.m_type = &m_type;
        unit.m_strength = 3;
        m_game.m_stacks.At(x, y).Append(unit);
    }
    // A side-0 unit at the firer's hex, seen by side 1 with that contact.
    void Trace(HexPos firer, HexPos target, int contact)
    {
        AddUnit(firer.column, firer.row);
        m_game.SetContact(firer.column, firer.row, 1, contact, 1);
        m_game.SetFireTrace(HexSide::None, firer.column, firer.row, HexSide::None, target.column, target.row);
    }
    // The diagnostic art with icon sheets of the three 3D views, each cell
    // in its own colour.
    void With3DIconSheets()
    {
        LeaveOutArt({});
        const struct {
            const char* file;
            int cell;
        } sheets[] = { { "icons3d.bmp", 128 }, { "icons4d.bmp", 64 }, { "icons5d.bmp", 32 } };
        for (const auto& s : sheets) {
            platform::gfx::Surface picture(12 * s.cell, 2 * s.cell);
            for (int row = 0; row < 2; ++row)
                for (int column = 0; column < 12; ++column)
                    picture.Fill(platform::Rect::FromPointSize({ column * s.cell, row * s.cell }, { s.cell, s.cell }),
                        art::DiagnosticColour(kOwnSheet, column, row));
            picture.SetPixel(0, 0, art::kKey);
            ASSERT_TRUE(platform::gfx::WriteBmpFile(m_art / s.file, picture));
        }
    }
    static Pixel OwnCell(int cell) { return art::DiagnosticColour(kOwnSheet, cell % 12, cell / 12); }
    static ProbedCell Icons(int mode, int cell)
    {
        return { mode == 1 ? "Icons2d.bmp" : "Icons1d.bmp", cell % 12, cell / 12 };
    }
    int CountPixels(Pixel colour) const
    {
        int n = 0;
        const auto& back = m_view->BackBuffer();
        for (int y = 0; y < m_host->ClientSize().height; ++y)
            for (int x = 0; x < m_host->ClientSize().width; ++x)
                n += back.GetPixel(x, y) == colour;
        return n;
    }
    Point Centre(HexPos hex) const { return m_view->Geometry().GetHexCentre(hex.column, hex.row); }

    PlatoonType m_type;
};

// ---- the marked hex ----

TEST_F(MarkersTest, MarkedHexShowsItsCellOverTheCountersInEveryView)
{
    With3DIconSheets();
    AddUnit(1, 1);
    m_game.m_blockingHex = { 1, 1 };
    const platform::Size client { 1000, 800 };
    for (int mode : { 1, 2 }) {
        Show(mode, false, client);
        EXPECT_EQ(CellAtHex(1, 1), Icons(mode, 10)) << mode;
        EXPECT_NE(CellAtHex(3, 3), Icons(mode, 10)) << mode;
    }
    for (int mode : { 0, 3, 4 }) {
        Show(mode, false, client);
        EXPECT_EQ(At(Centre({ 1, 1 })), OwnCell(21)) << mode;
        EXPECT_NE(At(Centre({ 2, 2 })), OwnCell(21)) << mode;
    }
}

TEST_F(MarkersTest, MarkedHexTurnsWithTheView)
{
    m_game.m_blockingHex = { 1, 2 };
    Show(1, true);
    const HexPos view = m_view->RotateHex(1, 2);
    ASSERT_NE(view, (HexPos { 1, 2 }));
    EXPECT_EQ(CellAtHex(view.column, view.row), Icons(1, 10));
    EXPECT_NE(CellAtHex(1, 2), Icons(1, 10));
}

// ---- the fire trace ----

struct TraceCase {
    const char* name;
    int mode;
    HexPos firer;
    HexPos target;
    int contact;
    bool line;
};

TEST_F(MarkersTest, TraceLineOnlyIn2DWithEnemyContactExactlyOne)
{
    With3DIconSheets();
    const TraceCase cases[] = {
        { "2D normal", 1, { 2, 2 }, { 6, 4 }, 1, true },
        { "2D zoom-out", 2, { 2, 2 }, { 6, 4 }, 1, true },
        { "contact 2", 1, { 2, 2 }, { 6, 4 }, 2, false },
        { "no contact", 1, { 2, 2 }, { 6, 4 }, 0, false },
        { "a trace on one hex", 1, { 3, 3 }, { 3, 3 }, 1, false },
        { "3D normal", 0, { 2, 2 }, { 6, 4 }, 1, false },
        { "3D zoom-out", 3, { 2, 2 }, { 6, 4 }, 1, false },
    };
    for (const TraceCase& c : cases) {
        m_game.m_stacks.At(c.firer.column, c.firer.row).Free();
        Trace(c.firer, c.target, c.contact);
        Show(c.mode);
        const bool flat = c.mode == 1 || c.mode == 2;
        EXPECT_EQ(CountPixels(kOrange) > 0, c.line) << c.name;
        if (c.line) {
            EXPECT_EQ(At(Centre(c.firer)), kOrange) << c.name << ": from the firer's centre";
        }
        EXPECT_EQ(m_view->ShouldDrawTraceLine(c.firer, c.target), c.line) << c.name;
        // The target's marker: in the 2D views whatever the line does.
        if (flat && c.firer != c.target) {
            EXPECT_EQ(CellAtHex(c.target.column, c.target.row, 6, -8), Icons(c.mode, 13)) << c.name;
        }
        if (!flat) {
            EXPECT_NE(At(Centre(c.target)), OwnCell(13)) << c.name;
        }
        m_game.SetContact(c.firer.column, c.firer.row, 1, 0, -1);
    }
}

TEST_F(MarkersTest, TraceTurnsWithTheView)
{
    Trace({ 1, 2 }, { 5, 6 }, 1);
    Show(1, true);
    const HexPos firer = m_view->RotateHex(1, 2);
    const HexPos target = m_view->RotateHex(5, 6);
    EXPECT_EQ(CellAtHex(target.column, target.row, 6, -8), Icons(1, 13));
    EXPECT_EQ(At(Centre(firer)), kOrange);
}

TEST_F(MarkersTest, RepaintSpanDrawsOrErasesOnlyALineThatIsDrawn)
{
    const HexPos firer { 2, 2 };
    const HexPos target { 6, 4 };
    Trace(firer, target, 1);
    Show(1);
    const int drawn = CountPixels(kOrange);
    ASSERT_GT(drawn, 0);
    // The trace is gone: the span's repaint takes the line away.
    m_game.ClearFireTrace();
    m_host->ClearPresents();
    m_view->RepaintSpan(firer.column, firer.row, target.column, target.row);
    EXPECT_EQ(CountPixels(kOrange), 0);
    EXPECT_EQ(m_host->Presents().size(), 1u);
    // And back.
    m_game.SetFireTrace(HexSide::None, firer.column, firer.row, HexSide::None, target.column, target.row);
    m_view->RepaintSpan(firer.column, firer.row, target.column, target.row);
    EXPECT_EQ(CountPixels(kOrange), drawn);

    struct Case {
        const char* name;
        HexPos a;
        HexPos b;
    };
    const Case nothing[] = {
        { "one hex", firer, firer },
        { "an unset hex", { -1, 2 }, target },
        { "no contact 1 at the first hex", target, firer },
    };
    for (const Case& c : nothing) {
        m_host->ClearPresents();
        m_view->RepaintSpan(c.a.column, c.a.row, c.b.column, c.b.row);
        EXPECT_TRUE(m_host->Presents().empty()) << c.name;
    }
}

TEST_F(MarkersTest, RefreshPresentsOnlyWhenSomethingIsMarked)
{
    struct Case {
        const char* name;
        HexPos marked;
        HexPos firer;
        HexPos target;
        bool presents;
    };
    const HexPos none { -1, -1 };
    const Case cases[] = {
        { "nothing", none, none, none, false },
        { "a marked hex", { 2, 2 }, none, none, true },
        { "a firer", none, { 2, 2 }, none, true },
        { "a target", none, none, { 2, 2 }, true },
        { "half a hex", { 2, -1 }, { -1, 3 }, none, false },
    };
    Show(1);
    for (const Case& c : cases) {
        m_game.m_blockingHex = c.marked;
        m_game.m_traceFirerHex = c.firer;
        m_game.m_traceTargetHex = c.target;
        m_host->ClearPresents();
        m_view->RefreshMarkers();
        EXPECT_EQ(m_host->Presents().size(), c.presents ? 1u : 0u) << c.name;
    }
    m_game.m_blockingHex = { 2, 2 };
    m_view->RefreshMarkers();
    EXPECT_EQ(CellAtHex(2, 2), Icons(1, 10));
    // Clearing the mark and repainting takes the marker away.
    m_game.m_blockingHex = { -1, -1 };
    m_view->Redraw();
    EXPECT_NE(CellAtHex(2, 2), Icons(1, 10));
}

// ---- the move trail ----

TEST_F(MarkersTest, MoveTrailArrowsPointWhereTheUnitsWent)
{
    ASSERT_EQ(HexSide().SetBetween(4, 3, 5, 3), HexSide::NorthEast);
    m_game.RecordMove(4, 4, 4, 3);
    m_game.RecordMove(4, 3, 5, 3);
    Show(1);
    EXPECT_EQ(CellAtHex(4, 4), Icons(1, 15)) << "N";
    EXPECT_EQ(CellAtHex(4, 3), Icons(1, 16)) << "NE";
    EXPECT_NE(CellAtHex(5, 3).file, "Icons2d.bmp") << "the last hex has no arrow";
    // Zoomed out the cells overlap: the later hex's arrow lies on top.
    Show(2);
    EXPECT_EQ(CellAtHex(4, 3), Icons(2, 16));
    // Turned, the arrow of the N side points S.
    Show(1, true);
    const HexPos view = m_view->RotateHex(4, 4);
    EXPECT_EQ(CellAtHex(view.column, view.row), Icons(1, 18));
    // The 3D views draw no arrows; an undone step leaves none.
    With3DIconSheets();
    m_host.reset();
    m_view.reset();
    Show(0);
    EXPECT_NE(At(Centre({ 4, 4 })), OwnCell(15));
    m_game.ClearUndo();
    Show(1);
    EXPECT_NE(CellAtHex(4, 4), Icons(1, 15));
}

TEST_F(MarkersTest, MoveTrailHidesArrowsOnHexesTheMoverCannotSee)
{
    m_game.RecordMove(4, 4, 4, 3);
    m_game.RecordMove(4, 3, 5, 3);
    m_game.m_hidden[0] = true; // side 0 moves under hidden information
    Show(1);
    EXPECT_NE(CellAtHex(4, 4), Icons(1, 15)) << "no armed contact of the other side";
    EXPECT_NE(CellAtHex(4, 3), Icons(1, 16));
    // The other side's armed contact with a hex shows its arrow again.
    m_game.SetContact(4, 4, 1, 1, 1);
    m_view->Redraw();
    EXPECT_EQ(CellAtHex(4, 4), Icons(1, 15));
    EXPECT_NE(CellAtHex(4, 3), Icons(1, 16));
}

} // namespace
