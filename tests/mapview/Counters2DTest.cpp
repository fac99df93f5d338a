// The 2D counters, hex markers, marks and objectives, decoded from the
// diagnostic art in the normal 2D view.

#include "tests/mapview/MapViewFixture.h"

#include "model/Geometry.h"
#include "model/PlatoonType.h"

namespace {

class Counters2DTest : public MapViewTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        // Nation 0 (ids below 1000) and nation 9.
        m_types[0].m_id = 101;
        m_types[0].m_value28 = 5;
        m_types[0].m_value33 = 7;
        m_types[1].m_id = 9101;
        m_types[1].m_value28 = 0;
        m_types[1].m_value33 = 2;
    }
    PlacedUnit& AddUnit(int x, int y, int type, std::uint32_t status = 0)
    {
        PlacedUnit unit;
        unit.m_type = &m_types[type];
        unit.m_strength = 3;
        unit.m_status = status;
        return m_game.m_stacks.At(x, y).Append(unit)->value;
    }
    static ProbedCell Shared(int cell) { return { "Icons2d.bmp", cell % 12, cell / 12 }; }
    static ProbedCell Nation9(int cell) { return { "icons2d09.bmp", cell % 12, cell / 12 }; }

    PlatoonType m_types[2];
};

TEST_F(Counters2DTest, OneUnitShowsItsPictureOrSymbolOnOneCounter)
{
    AddUnit(3, 3, 0);
    AddUnit(5, 3, 1);
    Show();
    EXPECT_EQ(CellAtHex(3, 3), Shared(336 + 7)) << "nation 0's picture";
    EXPECT_EQ(CellAtHex(5, 3), Nation9(36 + 2)) << "another nation's picture from its own sheet";
    // The counter base shows at the corner the picture leaves.
    m_view->ToggleGraphicalIcons();
    EXPECT_EQ(CellAtHex(3, 3), Shared(84 + 5));
    EXPECT_EQ(CellAtHex(5, 3), Shared(84 + 0));
}

TEST_F(Counters2DTest, PilesOfOneToSixAndTheHighlightWord)
{
    // Six units: four counters, the deepest at +3, +3.
    for (int i = 0; i < 6; ++i)
        AddUnit(3, 3, 0, i == 5 ? 0x400u : 0u);
    AddUnit(5, 3, 0);
    AddUnit(5, 3, 0, 0x400u);
    Show();
    // The bottom-right pixels belong to the deepest counter alone.
    EXPECT_EQ(CellAtHex(3, 3, 18, 18), Shared(24));
    EXPECT_EQ(CellAtHex(3, 3, -19, -19), Shared(336 + 7)) << "the picture moved up and left by 3";
    m_view->SetHighlightMode(CDisplayView::kHighlightMoved);
    EXPECT_EQ(CellAtHex(3, 3, 18, 18), Shared(25)) << "the sixth unit lights the fourth counter";
    // Two units: the second (deepest, at +1) is the moved one.
    EXPECT_EQ(CellAtHex(5, 3, 16, 16), Shared(25));
    m_view->SetHighlightMode(CDisplayView::kHighlightMoved);
    EXPECT_EQ(m_view->GetHighlightMode(), 0) << "the same mode twice switches off";
    EXPECT_EQ(CellAtHex(5, 3, 16, 16), Shared(24));
}

TEST_F(Counters2DTest, CarriedAndHiddenUnitsNeitherCountNorShow)
{
    AddUnit(3, 3, 0);
    AddUnit(3, 3, 0, 16u);
    AddUnit(3, 3, 0, 16u);
    Show();
    // One counter: the picture covers it whole, and nothing lies beyond.
    EXPECT_EQ(CellAtHex(3, 3, 15, 15), Shared(336 + 7));
    EXPECT_NE(CellAtHex(3, 3, 16, 16).file, "Icons2d.bmp");
}

TEST_F(Counters2DTest, MarkersByPrecedenceUnderOrOverTheCounters)
{
    SetFlags(1, 1, CGameData::kHexMinefield1 | CGameData::kHexBlocked);
    SetFlags(3, 3, CGameData::kHexMinefield2);
    m_game.SetSmoke(0, 3, 3, false);
    SetFlags(5, 5, CGameData::kHexTrench);
    AddUnit(5, 5, 0);
    Show();
    EXPECT_EQ(CellAtHex(1, 1), Shared(1));
    EXPECT_EQ(CellAtHex(3, 3), Shared(23)) << "smoke over a minefield";
    EXPECT_EQ(CellAtHex(5, 5), Shared(336 + 7)) << "the marker lies under the counters";
    m_view->ToggleSpecialsOnTop();
    EXPECT_EQ(CellAtHex(5, 5), Shared(179)) << "specials on top";
}

TEST_F(Counters2DTest, ContactCellsInUnseenHexes)
{
    AddUnit(3, 3, 1);
    m_game.m_unitsAnswer = [](int, int) { return false; };
    m_game.SetContact(3, 3, 0, 2, 1);
    m_game.SetContact(3, 3, 1, 2, 1);
    SetFlags(3, 3, CGameData::kHexImprovedPosition);
    Show();
    EXPECT_EQ(CellAtHex(3, 3), Shared(6)) << "the marker over the contact cell";
    m_view->ToggleSpecialsOnTop();
    EXPECT_EQ(CellAtHex(3, 3), Nation9(30));
}

TEST_F(Counters2DTest, UnitsSwitchedOffShowOnlyTheOccupiedCell)
{
    AddUnit(3, 3, 0);
    m_game.m_objectives.At(3, 3) = { 5, 0 };
    Show();
    m_view->ToggleObjectives();
    m_view->ToggleUnitsOff();
    EXPECT_EQ(CellAtHex(3, 3), Shared(0));
}

TEST_F(Counters2DTest, ObjectivesAndTheirTexts)
{
    m_game.m_objectives.At(3, 3) = { 5, 0 };
    m_game.m_objectives.At(5, 3) = { -4, 9 };
    Show();
    EXPECT_EQ(CellAtHex(3, 3).file, "Brown2d.bmp") << "not drawn until objectives are shown";
    m_view->ToggleObjectives();
    EXPECT_EQ(CellAtHex(3, 3, -14, -14), Shared(12));
    EXPECT_EQ(CellAtHex(5, 3, -14, -14), Nation9(31));
    EXPECT_EQ(m_view->ObjectiveText(5, 0), "5");
    EXPECT_EQ(m_view->ObjectiveText(-4, 9), "3");
    m_game.m_infoHidden = 1;
    m_game.m_hidden[DefaultSideOfNation(9)] = true;
    EXPECT_EQ(m_view->ObjectiveText(-4, 9), "?");
    EXPECT_EQ(m_view->ObjectiveText(-4, 0), DefaultSideOfNation(0) == DefaultSideOfNation(9) ? "?" : "3");
}

TEST_F(Counters2DTest, NightShadesUnlitHexes)
{
    m_game.m_night = 1;
    m_game.SetStarshell(0, 5, 5);
    Show();
    // The plain shading cell of the normal view (odd column: one pixel up).
    EXPECT_EQ(CellAtHex(3, 3, 0, -5), (ProbedCell { "Terrain2d.bmp", 1, 22 }));
    EXPECT_EQ(CellAtHex(2, 2), (ProbedCell { "Terrain2d.bmp", 1, 22 }));
    EXPECT_EQ(CellAtHex(5, 5), Shared(41)) << "a starshell lights its hex";
}

TEST_F(Counters2DTest, StrikesAndPlottedFireShowWhenTheirSideIsNotHidden)
{
    m_game.m_airStrikeValue.At(3, 3) = 1;
    m_game.m_airStrikeSide.At(3, 3) = 1;
    AddUnit(1, 1, 0); // a unit without a node fires the plotted mission
    PendingFire fire;
    fire.fromColumn = 1;
    fire.fromRow = 1;
    fire.targetColumn = 5;
    fire.targetRow = 5;
    m_game.m_pendingFire.Append(fire);
    Show();
    EXPECT_EQ(CellAtHex(3, 3), Shared(37));
    EXPECT_EQ(CellAtHex(5, 5), Shared(37));
    m_game.m_infoHidden = 1;
    m_game.m_hidden[1] = true;
    m_game.m_hidden[DefaultSideOfNation(0)] = true;
    m_view->Redraw();
    EXPECT_NE(CellAtHex(3, 3), Shared(37));
    EXPECT_NE(CellAtHex(5, 5), Shared(37));
}

} // namespace
