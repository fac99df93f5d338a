// The mouse layer on the headless host: clicks, drags, double and right
// clicks with their callbacks, hover and cursor follow, scrolling a hex into
// view, the central part of the view, repaints of hex lists, the map under
// another window, and the icon sheets and effect sprites it loads.

#include "tests/mapview/MapViewFixture.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/gfx/Bmp.h"
#include "tests/FunctionCallback.h"

namespace {

using platform::MouseKind;
using platform::Point;
using platform::Rect;
using platform::Size;
using platform::gfx::Pixel;

constexpr Size kClient { 416, 390 }; // 2D normal: 15 columns, 11 rows

// A view whose hits also report a stack index the test chooses.
class StackHitView : public CMapView {
public:
    using CMapView::CMapView;
    std::function<int(HexPos, Point)> m_stackAt;

    HexPos HitTest(int x, int y, int& stackIndex) const override
    {
        const HexPos hex = CMapView::HitTest(x, y, stackIndex);
        if (m_stackAt)
            stackIndex = m_stackAt(hex, { x, y });
        return hex;
    }
};

class MouseTest : public MapViewTest {
protected:
    void SetUp() override
    {
        MakeMap(60, 40);
        m_makeView = [this](CGame* game) {
            auto view = std::make_unique<StackHitView>(game);
            m_hits = view.get();
            return view;
        };
    }

    // A new view (new services) in the mode.
    void Fresh(int mode = 1, bool rotated = false)
    {
        m_host.reset();
        m_view.reset();
        Show(mode, rotated, kClient);
        m_calls.clear();
    }
    void SetAllCallbacks()
    {
        for (int slot = 0; slot < CMouseView::kCallbackCount; ++slot)
            m_view->SetCallback(static_cast<CMouseView::CallbackSlot>(slot),
                MakeFunctionCallback([this, slot] { m_calls.push_back(slot); }));
    }
    // The client point of a view hex's centre, moved by (dx, dy).
    Point ClientOf(HexPos hex, int dx = 0, int dy = 0) const
    {
        const Point c = m_view->Geometry().GetHexCentre(hex.column, hex.row);
        const Point o = m_view->ScrollOrigin();
        return { c.x - o.x + dx, c.y - o.y + dy };
    }
    void Send(MouseKind kind, Point client)
    {
        platform::MouseEvent event;
        event.kind = kind;
        event.point = client;
        m_host->SendMouse(event);
    }
    void Send(MouseKind kind, HexPos hex, int dx = 0, int dy = 0) { Send(kind, ClientOf(hex, dx, dy)); }
    // The pointer on the screen over a view hex (the client lies at 0, 0).
    void PointAt(HexPos hex, int dx = 0) { m_services->screen.SetPointer(ClientOf(hex, dx)); }
    int Presents() const { return static_cast<int>(m_host->Presents().size()); }
    int ReportsNaming(const std::string& file) const
    {
        return static_cast<int>(std::count_if(m_services->reports.begin(), m_services->reports.end(),
            [&](const auto& r) { return r.text.ends_with("/" + file); }));
    }

    StackHitView* m_hits = nullptr;
    std::vector<int> m_calls;
};

// ---- buttons ----

struct MouseStep {
    MouseKind kind;
    HexPos hex;
    bool alt = false;
};

struct ClickCase {
    const char* name;
    bool callbacksSet;
    std::vector<MouseStep> steps;
    std::vector<int> invoked;
    HexPos hotSpot;
    HexPos lastHit;
    int stackIndex;
    int presents;
};

TEST_F(MouseTest, ButtonsInvokeTheirCallbacksWithTheHexUnderThePointer)
{
    using K = MouseKind;
    using M = CMouseView;
    const HexPos none { -1, -1 };
    const ClickCase cases[] = {
        { "click on the hot spot's hex", true, { { K::LeftDown, { 0, 0 } } }, { M::kLeftDown }, { 0, 0 }, none, 0, 0 },
        { "click on another hex", true, { { K::LeftDown, { 3, 4 } } }, { M::kLeftDown }, { 3, 4 }, none, 3, 2 },
        { "press and release on different hexes", true, { { K::LeftDown, { 3, 4 } }, { K::LeftUp, { 5, 6 } } },
            { M::kLeftDown, M::kDragRelease }, { 3, 4 }, { 5, 6 }, 5, 2 },
        { "release on the hot spot's hex", true, { { K::LeftDown, { 3, 4 } }, { K::LeftUp, { 3, 4 } } },
            { M::kLeftDown }, { 3, 4 }, { 3, 4 }, 3, 2 },
        { "release without a press", true, { { K::LeftUp, { 5, 6 } } }, {}, { 0, 0 }, { 5, 6 }, 5, 0 },
        { "double click", true, { { K::LeftDouble, { 6, 2 } } }, { M::kLeftDouble }, { 0, 0 }, none, 6, 0 },
        { "release after a double click", true, { { K::LeftDouble, { 6, 2 } }, { K::LeftUp, { 7, 2 } } },
            { M::kLeftDouble, M::kDragRelease }, { 0, 0 }, { 7, 2 }, 7, 0 },
        { "right click", true, { { K::RightDown, { 4, 4 } } }, { M::kRightDown }, { 0, 0 }, { 4, 4 }, 4, 0 },
        { "right click with Alt", true, { { K::RightDown, { 4, 4 }, true } }, { M::kRightDownAlt }, { 0, 0 }, { 4, 4 },
            4, 0 },
        { "unset callbacks are skipped", false,
            { { K::LeftDown, { 3, 4 } }, { K::LeftUp, { 5, 6 } }, { K::RightDown, { 2, 2 }, true } }, {}, { 3, 4 },
            { 2, 2 }, 2, 2 },
    };
    for (const ClickCase& c : cases) {
        Fresh();
        m_hits->m_stackAt = [](HexPos hex, Point) { return hex.column; };
        if (c.callbacksSet)
            SetAllCallbacks();
        m_host->ClearPresents();
        for (const MouseStep& step : c.steps) {
            // Alt as the keyboard says, not as the event does.
            m_services->keys.Set({ false, step.alt, false });
            Send(step.kind, step.hex, 3, 2);
        }
        EXPECT_EQ(m_calls, c.invoked) << c.name;
        EXPECT_EQ(m_view->GetHotSpot(), c.hotSpot) << c.name;
        EXPECT_EQ(m_view->GetLastHitHex(), c.lastHit) << c.name;
        EXPECT_EQ(m_view->GetLastStackIndex(), c.stackIndex) << c.name;
        EXPECT_EQ(Presents(), c.presents) << c.name << ": the old and the new hot spot";
    }
}

TEST_F(MouseTest, LeftButtonCallbackSeesTheHotSpotAlreadyMoved)
{
    Fresh();
    HexPos seen { -1, -1 };
    m_view->SetCallback(CMouseView::kLeftDown, MakeFunctionCallback([&] { seen = m_view->GetHotSpot(); }));
    Send(MouseKind::LeftDown, HexPos { 8, 3 });
    EXPECT_EQ(seen, (HexPos { 8, 3 }));
    EXPECT_TRUE(m_view->IsButtonDown());
}

// ---- hover and cursor follow ----

TEST_F(MouseTest, HoverReportsOnlyAChangeOfHexOrStackIndex)
{
    Fresh();
    SetAllCallbacks();
    // Right of the centre the pointer is over unit 1, left of it over none.
    m_hits->m_stackAt = [this](HexPos hex, Point p) { return p.x < ClientOf(hex).x ? -1 : 1; };
    const auto hovers = [&] { return std::count(m_calls.begin(), m_calls.end(), CMouseView::kHoverChange); };
    Send(MouseKind::Move, HexPos { 2, 2 }, 3);
    EXPECT_EQ(hovers(), 0) << "hover tracking is off";
    EXPECT_EQ(m_view->GetLastHitHex(), (HexPos { 2, 2 })) << "the hex is stored all the same";

    PointAt({ 2, 2 }, 3);
    m_view->SetHoverTracking(true);
    EXPECT_EQ(hovers(), 1) << "switching it on forgets the last hex and looks under the pointer";
    Send(MouseKind::Move, HexPos { 2, 2 }, 5);
    EXPECT_EQ(hovers(), 1) << "same hex, same unit";
    Send(MouseKind::Move, HexPos { 2, 2 }, -5);
    EXPECT_EQ(hovers(), 2) << "same hex, another unit";
    EXPECT_EQ(m_view->GetHoverStackIndex(), -1);
    Send(MouseKind::Move, HexPos { 3, 2 }, -5);
    EXPECT_EQ(hovers(), 3);
    EXPECT_EQ(m_view->GetLastHitHex(), (HexPos { 3, 2 }));
    m_view->SetHoverTracking(true);
    EXPECT_EQ(hovers(), 3) << "already on: nothing";
    m_view->SetHoverTracking(false);
    Send(MouseKind::Move, HexPos { 4, 2 });
    EXPECT_EQ(hovers(), 3);
    // No cursor-follow calls in a 2D view.
    EXPECT_EQ(std::count(m_calls.begin(), m_calls.end(), CMouseView::kCursorFollowChange), 0);
}

TEST_F(MouseTest, CursorFollowOnlyInTheThreeDViews)
{
    for (int mode = 0; mode <= 4; ++mode) {
        Fresh(mode);
        SetAllCallbacks();
        const HexPos a { 0, 1 };
        const HexPos b { 1, 1 };
        PointAt(a);
        m_view->ToggleCursorFollow();
        Send(MouseKind::Move, a, 2);
        Send(MouseKind::Move, b);
        const bool follows = mode == 0 || mode == 3 || mode == 4;
        const auto n = std::count(m_calls.begin(), m_calls.end(), CMouseView::kCursorFollowChange);
        EXPECT_EQ(n, follows ? 2 : 0) << "mode " << mode;
        EXPECT_TRUE(m_view->IsCursorFollowOn());
        EXPECT_EQ(m_view->GetCursorFollowHex(), (follows ? b : HexPos { -1, -1 })) << "mode " << mode;
    }
}

TEST_F(MouseTest, CursorFollowRepaintsTheHexesWithAUnitUnderThePointer)
{
    Fresh(0);
    SetAllCallbacks();
    // Right of the centre unit 2, left of it none.
    m_hits->m_stackAt = [this](HexPos hex, Point p) { return p.x < ClientOf(hex).x ? -1 : 2; };
    const auto follows = [&] { return std::count(m_calls.begin(), m_calls.end(), CMouseView::kCursorFollowChange); };
    const HexPos a { 0, 1 };
    const HexPos b { 1, 1 };
    const HexPos c { 1, 2 };
    struct Step {
        const char* name;
        HexPos hex;
        int dx;
        long calls;
        int presents;
        int index;
    };
    const Step steps[] = {
        { "same hex and unit", a, -8, 1, 0, -1 },
        { "same hex, a unit: that hex", a, 8, 2, 1, 2 },
        { "another hex without one: the old hex", b, -8, 3, 1, -1 },
        { "another hex with one: the new hex", c, 8, 4, 1, 2 },
    };
    PointAt(a, -5);
    m_view->ToggleCursorFollow();
    EXPECT_EQ(follows(), 1) << "switched on, it follows at once";
    EXPECT_EQ(m_view->GetCursorFollowHex(), a);
    for (const Step& s : steps) {
        m_host->ClearPresents();
        Send(MouseKind::Move, s.hex, s.dx);
        EXPECT_EQ(follows(), s.calls) << s.name;
        EXPECT_EQ(Presents(), s.presents) << s.name;
        EXPECT_EQ(m_view->GetCursorFollowHex(), s.hex) << s.name;
        EXPECT_EQ(m_view->GetCursorFollowStackIndex(), s.index) << s.name;
    }
    m_view->ClearCursorFollow();
    EXPECT_FALSE(m_view->IsCursorFollowOn());
    EXPECT_EQ(m_view->GetCursorFollowHex(), (HexPos { -1, -1 }));
    Send(MouseKind::Move, a, 8);
    EXPECT_EQ(follows(), 4);
    m_view->ToggleCursorFollow();
    m_view->ToggleCursorFollow();
    EXPECT_FALSE(m_view->IsCursorFollowOn());
}

// ---- scrolling into view ----

struct IntoViewCase {
    HexPos hex;
    bool centre;
    HexPos target;
};

TEST_F(MouseTest, ScrollIntoViewMovesTheLeastOrCentresClamped)
{
    // From (10, 10) with 15 columns and 11 rows the middle half runs over
    // columns 13..21 and rows 12..18.
    const IntoViewCase cases[] = {
        { { 20, 15 }, false, { 10, 10 } },
        { { 30, 25 }, false, { 19, 17 } },
        { { 5, 3 }, false, { 2, 1 } },
        { { 1, 0 }, false, { 0, 0 } },
        { { 59, 39 }, false, { 45, 29 } },
        { { 30, 25 }, true, { 23, 20 } },
        { { 2, 2 }, true, { 0, 0 } },
        { { 59, 39 }, true, { 45, 29 } },
    };
    Fresh();
    for (bool smooth : { false, true }) {
        for (const IntoViewCase& c : cases) {
            m_view->m_smoothScroll = false;
            m_view->ScrollTo(10, 10);
            ASSERT_EQ(m_view->GetHPos(), 10);
            m_view->m_smoothScroll = smooth;
            const std::size_t scrollsBefore = m_host->Scrolls().size();
            m_host->ClearPresents();
            m_view->ScrollViewHexIntoView(c.hex.column, c.hex.row, c.centre);
            const HexPos at { m_view->GetHPos(), m_view->GetVPos() };
            EXPECT_EQ(at, c.target) << c.hex.column << "," << c.hex.row << " centre " << c.centre;
            const int columns = std::abs(c.target.column - 10);
            const int rows = std::abs(c.target.row - 10);
            const auto scrolls = m_host->Scrolls().size() - scrollsBefore;
            if (smooth) {
                // One line scroll per column, then per row, each presenting its strip.
                ASSERT_EQ(scrolls, std::size_t(columns + rows));
                for (int i = 0; i < columns + rows; ++i) {
                    const Point step = m_host->Scrolls()[scrollsBefore + std::size_t(i)];
                    EXPECT_EQ(i < columns ? std::abs(step.x) : std::abs(step.y), i < columns ? 26 : 30);
                    EXPECT_EQ(i < columns ? step.y : step.x, 0);
                }
                ASSERT_EQ(Presents(), columns + rows);
                for (const Rect& strip : m_host->Presents())
                    EXPECT_TRUE(strip.Width() == 26 || strip.Height() == 30);
            } else {
                EXPECT_LE(scrolls, 1u) << "one jump";
                EXPECT_LE(Presents(), 1);
            }
        }
    }
}

TEST_F(MouseTest, ScrollHexIntoViewTakesAMapHex)
{
    Fresh(1, true);
    m_view->m_smoothScroll = false;
    m_view->ScrollHexIntoView(59 - 30, 39 - 25, true);
    EXPECT_EQ((HexPos { m_view->GetHPos(), m_view->GetVPos() }), (HexPos { 23, 20 }));
}

TEST_F(MouseTest, CentralViewAtTheQuarterBoundsAndTheExactCentre)
{
    struct Case {
        HexPos hex;
        bool exact;
        bool inside;
    };
    const Case cases[] = {
        { { 13, 12 }, false, true },
        { { 21, 18 }, false, true },
        { { 12, 12 }, false, false },
        { { 22, 12 }, false, false },
        { { 13, 11 }, false, false },
        { { 13, 19 }, false, false },
        { { 17, 15 }, true, true },
        { { 17, 16 }, true, false },
        { { 16, 15 }, true, false },
    };
    for (bool rotated : { false, true }) {
        Fresh(1, rotated);
        m_view->m_smoothScroll = false;
        m_view->ScrollTo(10, 10);
        for (const Case& c : cases) {
            const HexPos map = m_view->RotateHex(c.hex);
            EXPECT_EQ(m_view->IsHexInCentralView(map.column, map.row, c.exact), c.inside)
                << c.hex.column << "," << c.hex.row << " exact " << c.exact << " turned " << rotated;
        }
    }
}

TEST_F(MouseTest, ModeChangeKeepsTheHotSpotInTheCentre)
{
    Fresh();
    m_view->SetHotSpot(20, 15);
    m_host->ClearPresents();
    m_view->SetViewModeKeepingHotSpot(2);
    EXPECT_EQ(m_view->GetViewMode(), 2);
    // 2D zoom-out: 31 columns and 24 rows are shown.
    EXPECT_EQ((HexPos { m_view->GetHPos(), m_view->GetVPos() }), (HexPos { 5, 3 }));
    EXPECT_EQ(m_host->Bar(platform::Axis::Horizontal).maximum, 29);
    ASSERT_FALSE(m_host->Presents().empty());
    EXPECT_EQ(m_host->Presents().back(), Rect::FromSize(kClient));
}

TEST_F(MouseTest, CentreOnPointMovesTheHotSpotAndAnswersInMapTerms)
{
    Fresh(1, true);
    const Point centre = m_view->Geometry().GetHexCentre(30, 20);
    EXPECT_EQ(m_view->CentreOnPoint(centre), (HexPos { 29, 19 }));
    EXPECT_EQ(m_view->GetHotSpot(), (HexPos { 30, 20 }));
    EXPECT_EQ((HexPos { m_view->GetHPos(), m_view->GetVPos() }), (HexPos { 23, 15 }));
    // The jump map's jump answers the same map hex, not a twice-turned one.
    const Point other = m_view->Geometry().GetHexCentre(12, 8);
    EXPECT_EQ(m_view->JumpToPoint(other), (HexPos { 47, 31 }));
    EXPECT_EQ(m_view->GetHotSpot(), (HexPos { 12, 8 }));
}

// ---- repaints ----

TEST_F(MouseTest, RepaintHexListSkipsHexesOffTheMapAndTurnsTheRest)
{
    Fresh(1, true);
    HexList hexes;
    AppendHexListNode(hexes, 57, 37);
    AppendHexListNode(hexes, -1, 5);
    AppendHexListNode(hexes, 56, 36);
    AppendHexListNode(hexes, 60, 3);
    m_host->ClearPresents();
    m_view->RepaintHexList(hexes);
    ASSERT_EQ(Presents(), 2);
    EXPECT_TRUE(m_host->Presents()[0].Contains(ClientOf({ 2, 2 })));
    EXPECT_TRUE(m_host->Presents()[1].Contains(ClientOf({ 3, 3 })));

    m_host->ClearPresents();
    m_view->RepaintHexAndNeighbours(57, 36);
    EXPECT_EQ(Presents(), 7);
    m_host->ClearPresents();
    m_view->RepaintHexAndNeighbours(60, 36);
    EXPECT_EQ(Presents(), 0);
}

// ---- the map under another window ----

TEST_F(MouseTest, MapUnderAnotherWindowCopiesExactlyTheOverlap)
{
    Fresh();
    // Another drawing window whose client lies at (300, 250) on the screen.
    CDirectDrawWnd other(200, 200);
    platform::testing::HeadlessWindowHost otherHost(other, m_services->Get(), { 200, 200 }, { 300, 250 });
    ASSERT_TRUE(otherHost.Create());
    other.BackBuffer().Fill(0x123456);
    m_view->DrawMapUnderWindow(other);
    const Rect overlap { 0, 0, 116, 140 };
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const Pixel expected
                = overlap.Contains({ x, y }) ? m_view->BackBuffer().GetPixel(x + 300, y + 250) : 0x123456;
            wrong += other.BackBuffer().GetPixel(x, y) != expected;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(MouseTest, MapUnderADialogOnGreyCopiesExactlyTheOverlap)
{
    Fresh();
    platform::gfx::Surface dialog(200, 150, 0x123456);
    platform::gfx::Canvas canvas(dialog);
    const Rect onScreen { -50, 300, 150, 450 };
    m_view->DrawMapUnderDialog(canvas, onScreen);
    const Rect overlap { 50, 0, 200, 90 };
    int wrong = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const Pixel expected = overlap.Contains({ x, y }) ? m_view->BackBuffer().GetPixel(x - 50, y + 300)
                                                              : CMouseView::kUnderDialogGrey;
            wrong += dialog.GetPixel(x, y) != expected;
        }
    EXPECT_EQ(wrong, 0);
}

// ---- pictures ----

TEST_F(MouseTest, EachMissingViewSheetOrSpriteIsReportedOnce)
{
    Fresh();
    m_view->LoadIconSheets();
    for (const char* file : { "icons3d.bmp", "icons4d.bmp", "icons5d.bmp", "animate3d.bmp", "firing0.bmp" })
        EXPECT_EQ(ReportsNaming(file), 1) << file;
    ASSERT_NE(m_view->GetFiringSprite(), nullptr);
    EXPECT_TRUE(m_view->GetFiringSprite()->IsEmpty());
    EXPECT_TRUE(m_view->m_beepOnError);
    EXPECT_TRUE(m_view->m_smoothScroll);
    EXPECT_EQ(m_view->GetBlackBrush().colour, 0x000000u);
}

TEST_F(MouseTest, SpritesAtTheScaleOfTheView)
{
    LeaveOutArt({});
    ASSERT_TRUE(platform::gfx::WriteBmpFile(m_art / "animate3d.bmp", platform::gfx::Surface(768, 64, 0xFF00FF)));
    ASSERT_TRUE(platform::gfx::WriteBmpFile(m_art / "firing0.bmp", platform::gfx::Surface(224, 192, 0xFF00FF)));
    const int widths[5] = { 768, 768, 768, 384, 192 };
    for (int mode = 0; mode <= 4; ++mode) {
        Fresh(mode);
        ASSERT_NE(m_view->GetAnimateSprite(), nullptr);
        EXPECT_EQ(m_view->GetAnimateSprite()->Width(), widths[mode]) << mode;
        EXPECT_EQ(m_view->GetFiringSprite()->Width(), widths[mode] * 224 / 768) << mode;
    }
    EXPECT_EQ(ReportsNaming("animate3d.bmp"), 0);
}

TEST_F(MouseTest, NationSheetsLoadOnceAndOthersFallBack)
{
    Fresh();
    EXPECT_EQ(m_view->GetNationIconSheet(1), m_view->GetIconSheet());
    EXPECT_EQ(m_view->GetNationIconSheet(29), m_view->GetIconSheet());
    const BitmapSurface* nine = m_view->GetNationIconSheet(9);
    ASSERT_NE(nine, nullptr);
    EXPECT_TRUE(nine->IsLoaded());
    EXPECT_EQ(m_view->GetNationIconSheet(9), nine);
    m_view->GetNationIconSheet(5);
    m_view->GetNationIconBitmap(5);
    for (const char* file : { "icons2d05.bmp", "icons1d05.bmp", "bases3d05.bmp", "bases4d05.bmp", "bases5d05.bmp" })
        EXPECT_EQ(ReportsNaming(file), 1) << file;
    ASSERT_NE(m_view->GetNationIconBitmap(9), nullptr);
    EXPECT_EQ(m_view->GetNationIconBitmap(9)->Width(), 384);
    EXPECT_EQ(m_view->GetNationIconBitmap(0)->Height(), 1024) << "the shared icons";
    m_view->SetViewModeKeepingHotSpot(2);
    EXPECT_NE(m_view->GetNationIconSheet(9), nine) << "the zoom-out sheet";
}

} // namespace
