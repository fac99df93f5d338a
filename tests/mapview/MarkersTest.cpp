// The markers the map view draws over the counters: the marked hex in the
// 2D views, turned with the view.

#include "tests/mapview/MapViewFixture.h"

#include "model/PlatoonType.h"

namespace {

class MarkersTest : public MapViewTest {
protected:
    void SetUp() override { MakeMap(8, 8); }
};

TEST_F(MarkersTest, MarkedHexShowsCellTenOverTheCountersInBoth2DViews)
{
    PlatoonType type;
    type.m_id = 101;
    PlacedUnit unit;
    unit.m_type = &type;
    unit.m_strength = 3;
    m_game.m_stacks.At(3, 3).Append(unit);
    m_game.m_blockingHex = { 3, 3 };
    for (int mode : { 1, 2 }) {
        Show(mode);
        const std::string sheet = mode == 1 ? "Icons2d.bmp" : "Icons1d.bmp";
        EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { sheet, 10, 0 })) << mode;
        EXPECT_NE(CellAtHex(4, 4).file, sheet) << mode;
    }
}

TEST_F(MarkersTest, MarkedHexTurnsWithTheView)
{
    m_game.m_blockingHex = { 1, 2 };
    Show(1, true);
    const HexPos view = m_view->RotateHex(1, 2);
    ASSERT_NE(view, (HexPos { 1, 2 }));
    EXPECT_EQ(CellAtHex(view.column, view.row), (ProbedCell { "Icons2d.bmp", 10, 0 }));
    EXPECT_NE(CellAtHex(1, 2).file, "Icons2d.bmp");
}

TEST_F(MarkersTest, RefreshPresentsOnlyWhenAHexIsMarked)
{
    Show(1);
    m_host->ClearPresents();
    m_view->RefreshMarkers();
    EXPECT_TRUE(m_host->Presents().empty());
    m_game.m_blockingHex = { 2, 2 };
    m_view->RefreshMarkers();
    EXPECT_EQ(m_host->Presents().size(), 1u);
    EXPECT_EQ(CellAtHex(2, 2), (ProbedCell { "Icons2d.bmp", 10, 0 }));
    // Clearing the mark and repainting takes the marker away.
    m_game.m_blockingHex = { -1, -1 };
    m_view->Redraw();
    EXPECT_NE(CellAtHex(2, 2).file, "Icons2d.bmp");
}

} // namespace
