// The info box on the demo battle: the listing rule, the linked selection of
// carriers and passengers, save and restore, scrolling, the panel's numbers
// and marks, the hex description and the hit tests, probed on its surface.

#include <set>

#include "tests/frame/FrameFixture.h"

using namespace platform;

namespace {

class InfoBoxTest : public FrameFixture {
protected:
    void SetUp() override
    {
        ConfirmChooseDialog();
        Start(Scenario("demo.scn"));
        // The box shown beside the map.
        ASSERT_TRUE(host->Command(1113));
        box = &frame->InfoBox();
        game = &frame->Game();
    }
    // The first hex, in column-then-row order, with at least `count` units.
    HexPos StackOf(std::size_t count)
    {
        for (int c = 0; c < game->m_map.GetWidth(); ++c)
            for (int r = 0; r < game->m_map.GetHeight(); ++r)
                if (game->m_stacks.At(c, r).Count() >= count)
                    return { c, r };
        return { -1, -1 };
    }
    UnitList& Units(HexPos hex) { return game->m_stacks.At(hex.column, hex.row); }
    // A hex of the demo with its stack grown to `count` units by copies.
    HexPos StackWith(std::size_t count)
    {
        const HexPos hex = StackOf(1);
        EXPECT_NE(hex.column, -1);
        UnitList& units = Units(hex);
        while (units.Count() < count)
            units.Append(units.Head()->value);
        // Plain units: nobody carried, loaded, fired or dug in.
        for (PlacedUnit& unit : units)
            unit.m_status = 0;
        return hex;
    }
    MouseEvent Mouse(MouseKind kind, Point at, unsigned buttons = 0)
    {
        MouseEvent event;
        event.kind = kind;
        event.point = at;
        event.buttons = buttons;
        return event;
    }
    platform::testing::HeadlessWindowHost& BoxHost() { return *host->ChildHost(*box); }

    CInfoBoxWnd* box = nullptr;
    CGame* game = nullptr;
};

TEST_F(InfoBoxTest, ListsOneEntryPerUnitInStackOrder)
{
    const HexPos hex = StackOf(2);
    ASSERT_NE(hex.column, -1);
    box->SetHex(hex.column, hex.row, { 1 });
    ASSERT_EQ(box->Entries().size(), Units(hex).Count());
    int i = 0;
    for (const PlacedUnit& unit : Units(hex))
        EXPECT_EQ(box->Entries()[static_cast<std::size_t>(i++)].name, unit.GetName().str());
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 1 });
    EXPECT_EQ(box->GetScroll(), 0);
    // An empty hex has no entries; the description starts at the top.
    const HexPos empty { 0, 0 };
    ASSERT_TRUE(Units(empty).IsEmpty());
    box->SetHex(0, 0);
    EXPECT_TRUE(box->Entries().empty());
    EXPECT_EQ(box->PanelAt(5), -1);
}

TEST_F(InfoBoxTest, CarrierAndPassengerSelectTogether)
{
    const HexPos hex = StackWith(3);
    UnitList& units = Units(hex);
    // The second unit carries the third.
    units.Head()->next->value.m_status |= 0x40;
    units.Head()->next->next->value.m_status |= 0x10;
    box->SetHex(hex.column, hex.row);
    box->SelectUnit(1, true);
    EXPECT_EQ(box->GetSelectedIndices(), (std::vector<int> { 1, 2 }));
    box->SelectUnit(2, false);
    EXPECT_TRUE(box->GetSelectedIndices().empty());
    // A passenger's carrier follows it; the top unit links to nothing above.
    box->SelectUnit(2, true);
    EXPECT_EQ(box->GetSelectedIndices(), (std::vector<int> { 1, 2 }));
    units.Head()->value.m_status |= 0x10;
    box->SetHex(hex.column, hex.row);
    box->SelectUnit(0, true);
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 0 });
}

TEST_F(InfoBoxTest, RightButtonShowsPassengersInPlaceOfCarriers)
{
    const HexPos hex = StackWith(3);
    UnitList& units = Units(hex);
    UnitNode* carrier = units.Head()->next;
    UnitNode* passenger = carrier->next;
    carrier->value.m_status |= 0x40;
    passenger->value.m_status |= 0x10;
    box->SetHex(hex.column, hex.row);
    EXPECT_TRUE(box->IsUnitListed(carrier));
    EXPECT_FALSE(box->IsUnitListed(passenger));
    BoxHost().SendMouse(Mouse(MouseKind::RightDown, { 5, 5 }, kMouseRight));
    EXPECT_TRUE(box->IsRightButtonHeld());
    EXPECT_FALSE(box->IsUnitListed(carrier));
    EXPECT_TRUE(box->IsUnitListed(passenger));
    BoxHost().SendMouse(Mouse(MouseKind::RightUp, { 5, 5 }));
    EXPECT_TRUE(box->IsUnitListed(carrier));
    // List indices do not change.
    EXPECT_EQ(box->Entries().size(), units.Count());
}

TEST_F(InfoBoxTest, SavedSelectionComesBackForUnitsStillThere)
{
    const HexPos hex = StackWith(3);
    box->SetHex(hex.column, hex.row, { 0, 2 });
    box->SaveSelection();
    box->SetHex(hex.column, hex.row);
    EXPECT_TRUE(box->GetSelectedIndices().empty());
    box->RestoreSelection();
    EXPECT_EQ(box->GetSelectedIndices(), (std::vector<int> { 0, 2 }));
    // The top unit leaves: the other one is found at its new place.
    UnitList& units = Units(hex);
    units.Remove(units.Head());
    box->SetHex(hex.column, hex.row);
    box->RestoreSelection();
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 1 });
}

TEST_F(InfoBoxTest, ReadersSeeAtMost128Selections)
{
    const HexPos hex = StackOf(1);
    UnitList& units = Units(hex);
    const PlacedUnit copy = units.Head()->value;
    for (int i = 0; i < 140; ++i)
        units.Append(copy);
    box->SetHex(hex.column, hex.row);
    box->SelectAll();
    const auto selected = box->GetSelectedIndices();
    ASSERT_EQ(selected.size(), 128u);
    EXPECT_EQ(selected.front(), 0);
    EXPECT_EQ(selected.back(), 127);
}

TEST_F(InfoBoxTest, ClicksSelectToggleBarModesAndDragScrolls)
{
    const HexPos hex = StackWith(2);
    box->SetHex(hex.column, hex.row);
    const int H = box->PanelHeight();
    const int W = box->PanelWidth();
    // A click in the second panel's body toggles its unit.
    BoxHost().SendMouse(Mouse(MouseKind::LeftDown, { W / 2, H + 90 }, kMouseLeft));
    BoxHost().SendMouse(Mouse(MouseKind::LeftUp, { W / 2, H + 90 }));
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 1 });
    // The name strip neither selects nor deselects.
    BoxHost().SendMouse(Mouse(MouseKind::LeftDown, { W / 2, H + 8 }, kMouseLeft));
    BoxHost().SendMouse(Mouse(MouseKind::LeftUp, { W / 2, H + 8 }));
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 1 });
    // The strength number picks the strength bar; nothing is selected.
    BoxHost().SendMouse(Mouse(MouseKind::LeftDown, { 93, 31 }, kMouseLeft));
    BoxHost().SendMouse(Mouse(MouseKind::LeftUp, { 93, 31 }));
    EXPECT_EQ(box->GetBarMode(), CInfoBoxWnd::kBarStrength);
    EXPECT_EQ(box->GetSelectedIndices(), std::vector<int> { 1 });
    BoxHost().SendMouse(Mouse(MouseKind::LeftDown, { 52, 55 }, kMouseLeft));
    BoxHost().SendMouse(Mouse(MouseKind::LeftUp, { 52, 55 }));
    EXPECT_EQ(box->GetBarMode(), CInfoBoxWnd::kBarMorale);
    // Dragging up scrolls without an upper limit; down stops at the top.
    const Point below { W / 2, 2 * H + 400 };
    BoxHost().SendMouse(Mouse(MouseKind::LeftDown, below, kMouseLeft));
    BoxHost().SendMouse(Mouse(MouseKind::Move, below - Point { 0, 5000 }, kMouseLeft));
    EXPECT_EQ(box->GetScroll(), 5000);
    BoxHost().SendMouse(Mouse(MouseKind::Move, below + Point { 0, 2000 }, kMouseLeft));
    EXPECT_EQ(box->GetScroll(), 0);
    BoxHost().SendMouse(Mouse(MouseKind::LeftUp, below));
    BoxHost().SendMouse(Mouse(MouseKind::Move, below - Point { 0, 50 }));
    EXPECT_EQ(box->GetScroll(), 0) << "no drag after the button went up";
}

TEST_F(InfoBoxTest, PanelNumbersAndHiddenInformation)
{
    const HexPos hex = StackOf(1);
    PlacedUnit& unit = Units(hex).Head()->value;
    box->SetHex(hex.column, hex.row);
    auto t = box->DescribeUnit(unit, hex.column, hex.row);
    EXPECT_EQ(t.action, std::to_string(unit.m_actionPoints));
    EXPECT_EQ(t.defense, std::to_string(unit.m_type->m_value13));
    EXPECT_EQ(t.assault, std::to_string(unit.m_type->m_value12));
    EXPECT_EQ(t.fire, std::to_string(unit.m_type->m_fireApCost));
    EXPECT_EQ(t.bar, "Action");
    // Three-phase turns show the move range and the weapon's range.
    game->m_options |= 0x80;
    t = box->DescribeUnit(unit, hex.column, hex.row);
    EXPECT_EQ(t.bar, "Move");
    EXPECT_EQ(t.fire, std::to_string(CGameWeapons::GetMaximumRange(unit.m_type)));
    game->m_options &= ~0x80;
    // A name over 20 characters gives way to the short name.
    if (unit.GetName().GetLength() > 20) {
        EXPECT_EQ(t.name, unit.GetShortName().str());
    }
    // Hidden: the side's information under night and fog.
    game->m_night = 1;
    game->SetInfoHidden(true);
    if (game->IsSideInfoHidden(unit.m_type->GetSide())) {
        t = box->DescribeUnit(unit, hex.column, hex.row);
        EXPECT_EQ(t.name, "Unknown");
        EXPECT_EQ(t.action, "??");
        EXPECT_EQ(t.morale, "?");
    }
}

TEST_F(InfoBoxTest, MarksFollowTheUnitsStatus)
{
    const HexPos hex = StackOf(1);
    PlacedUnit& unit = Units(hex).Head()->value;
    unit.m_status = 0;
    const auto none = box->StatusMarks(unit, hex.column, hex.row);
    unit.m_status = 0x1 | 0x200 | 0x800;
    const auto marks = box->StatusMarks(unit, hex.column, hex.row);
    EXPECT_NE(std::find(marks.begin(), marks.end(), 186), marks.end()) << "fired";
    EXPECT_NE(std::find(marks.begin(), marks.end(), 197), marks.end()) << "digging in";
    EXPECT_NE(std::find(marks.begin(), marks.end(), 214), marks.end());
    EXPECT_EQ(marks.size(), none.size() + 3);
    // Digging-in comes before fired, fired before 0x800.
    EXPECT_LT(std::find(marks.begin(), marks.end(), 197), std::find(marks.begin(), marks.end(), 186));
    EXPECT_LT(std::find(marks.begin(), marks.end(), 186), std::find(marks.begin(), marks.end(), 214));
}

TEST_F(InfoBoxTest, HexDescriptionInTwoColumns)
{
    const HexPos hex = StackOf(1);
    box->SetHex(hex.column, hex.row);
    const auto lines = box->DescribeHex();
    ASSERT_GE(lines.size(), 16u);
    String terrain;
    game->GetHexTerrainName(terrain, hex.column, hex.row);
    EXPECT_EQ(lines[0].rfind(terrain.str(), 0), 0u);
    EXPECT_EQ(lines[2], "Objective");
    EXPECT_EQ(lines[4], "Wrecks");
    EXPECT_EQ(lines[8], "Visibility");
    EXPECT_EQ(lines[9], std::to_string(game->m_visibility));
    EXPECT_EQ(lines[10], "Air Power");
    EXPECT_EQ(lines[11], std::to_string(game->m_airPower[0]) + "/" + std::to_string(game->m_airPower[1]));
    EXPECT_EQ(lines[lines.size() - 2], "Ammo");
    // At night the starshells come before the ammunition.
    game->m_night = 1;
    const auto night = box->DescribeHex();
    EXPECT_EQ(night.size(), lines.size() + 2);
    EXPECT_EQ(night[14], "Starshells");
    // A hidden penalty objective reads "?" only when its side is fogged.
    game->m_objectives.At(hex.column, hex.row) = { -3, 1 };
    EXPECT_EQ(box->DescribeHex()[3], "2");
}

TEST_F(InfoBoxTest, PanelsArePaintedOnTheBox)
{
    const HexPos hex = StackWith(2);
    box->SetHex(hex.column, hex.row);
    const auto& screen = BoxHost().ScreenSurface();
    const int H = box->PanelHeight();
    // Panels differ from the description area below them.
    std::set<gfx::Pixel> panel;
    for (int y = 2; y < H - 2; y += 7)
        panel.insert(screen.GetPixel(box->PanelWidth() / 2, y));
    EXPECT_GE(panel.size(), 2u);
    // A selected panel is painted in another cell than an unselected one.
    const gfx::Pixel before = screen.GetPixel(1, 1);
    box->SelectUnit(0, true);
    EXPECT_NE(screen.GetPixel(1, 1), before);
    EXPECT_GT(BoxHost().Presents().size(), 0u);
}

TEST_F(InfoBoxTest, LeadersOfNationsOutsideTheSheetsDrawNoPicture)
{
    const HexPos hex = StackWith(1);
    UnitList& units = Units(hex);
    PlacedUnit& unit = units.Head()->value;
    PlatoonType leader = *unit.m_type;
    leader.m_wideId = 0;
    unit.m_type = &leader;
    const auto panel = [&](int nation) {
        leader.m_id = static_cast<std::uint32_t>(nation * 1000 + kCategoryLeader * 100 + 1);
        gfx::Surface surface(box->PanelWidth(), box->PanelHeight(), 0x123456);
        int y = 0;
        box->DrawUnitPanel(surface, units.Head(), hex.column, hex.row, false, 0, y);
        EXPECT_EQ(y, box->PanelHeight());
        return surface;
    };
    // A nation past the sheets and one far past the table: the same panel,
    // with no leader picture read from outside the table.
    const gfx::Surface past = panel(29);
    const gfx::Surface far = panel(99);
    for (int y = 0; y < past.Height(); y += 3)
        for (int x = 0; x < past.Width(); x += 3)
            ASSERT_EQ(past.GetPixel(x, y), far.GetPixel(x, y)) << x << ", " << y;
}

} // namespace
