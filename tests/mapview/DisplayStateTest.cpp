// The display layer's state: every operation with its redraw rule, counted
// on the headless host; the three exclusive hex overlays; the range rings;
// the choice of unit pictures; the damage variants; the pontoon labels.

#include "tests/mapview/MapViewFixture.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "model/GameWeapons.h"
#include "model/Geometry.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::gfx::Pixel;

constexpr Pixel kBlue = 0x0000FF;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kBlack = 0x000000;
const ProbedCell kShaded { "Terrain2d.bmp", 1, 22 };

class DisplayStateTest : public MapViewTest {
protected:
    void SetUp() override { MakeMap(12, 12); }
    int Presents() const { return static_cast<int>(m_host->Presents().size()); }
    bool Shaded(int column, int row) const { return CellAtHex(column, row) == kShaded; }
};

// ---- every operation and its redraw ----

struct Operation {
    const char* name;
    std::function<void(CDisplayView&)> prepare;
    std::function<void(CDisplayView&)> act;
    bool redraws;
    std::function<bool(const CDisplayView&)> holds;
};

TEST_F(DisplayStateTest, EveryOperationWithItsRedraw)
{
    Show();
    HexList reachable;
    AppendHexListNode(reachable, 2, 3);
    AppendHexListNode(reachable, 4, 5);
    OrgNode node(2);
    PlatoonType type;
    WeaponRecord weapon;
    weapon.m_softValue[5] = 3; // soft targets to 6 hexes
    weapon.m_hardValue[2] = 2; // hard ones to 3
    type.m_weapon = &weapon;
    PlacedUnit unit;
    unit.m_type = &type;
    auto nothing = [](CDisplayView&) {};
    auto overlays = [](const CDisplayView& v) {
        return int(v.AreVisibleHexesShown()) + int(v.AreReachableHexesShown()) + int(v.IsCommandRangeShown());
    };
    auto reachableCount = [](const CDisplayView& v) { return v.GetReachableHexes().Count(); };

    const Operation operations[] = {
        { "units off", nothing, [](CDisplayView& v) { v.ToggleUnitsOff(); }, true,
            [](const CDisplayView& v) { return !v.AreUnitsShown(); } },
        { "units on again", nothing, [](CDisplayView& v) { v.ToggleUnitsOff(); }, true,
            [](const CDisplayView& v) { return v.AreUnitsShown(); } },
        { "specials on top", nothing, [](CDisplayView& v) { v.ToggleSpecialsOnTop(); }, true,
            [](const CDisplayView& v) { return v.AreSpecialsOnTop(); } },
        { "objectives", nothing, [](CDisplayView& v) { v.ToggleObjectives(); }, true,
            [](const CDisplayView& v) { return v.AreObjectivesShown(); } },
        { "visible hexes on", [](CDisplayView& v) { v.ShowCommandRange(true); },
            [](CDisplayView& v) { v.ShowVisibleHexes(true); }, true,
            [&](const CDisplayView& v) { return v.AreVisibleHexesShown() && overlays(v) == 1; } },
        { "visible hexes off", nothing, [](CDisplayView& v) { v.ShowVisibleHexes(false); }, true,
            [&](const CDisplayView& v) { return overlays(v) == 0; } },
        { "reachable on waits for its list", [](CDisplayView& v) { v.ShowVisibleHexes(true); },
            [](CDisplayView& v) { v.ShowReachableHexes(true); }, false,
            [&](const CDisplayView& v) { return v.AreReachableHexesShown() && overlays(v) == 1; } },
        { "the list arrives", nothing, [&](CDisplayView& v) { v.SetReachableHexes(reachable); }, true,
            [&](const CDisplayView& v) { return reachableCount(v) == 2; } },
        { "the view's own list again", nothing, [](CDisplayView& v) { v.SetReachableHexes(v.GetReachableHexes()); },
            true, [&](const CDisplayView& v) { return reachableCount(v) == 2; } },
        { "reachable off", nothing, [](CDisplayView& v) { v.ShowReachableHexes(false); }, true,
            [&](const CDisplayView& v) { return overlays(v) == 0 && reachableCount(v) == 2; } },
        { "a list while the overlay is off", nothing, [](CDisplayView& v) { v.SetReachableHexes(HexList()); }, false,
            [&](const CDisplayView& v) { return reachableCount(v) == 0; } },
        { "command range on waits for its request", [](CDisplayView& v) { v.ShowReachableHexes(true); },
            [](CDisplayView& v) { v.ShowCommandRange(true); }, false,
            [&](const CDisplayView& v) { return v.IsCommandRangeShown() && overlays(v) == 1; } },
        { "command range off", nothing, [](CDisplayView& v) { v.ShowCommandRange(false); }, true,
            [&](const CDisplayView& v) { return overlays(v) == 0; } },
        { "highlight mode", nothing, [](CDisplayView& v) { v.SetHighlightMode(3); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 3; } },
        { "another mode switches directly", nothing, [](CDisplayView& v) { v.SetHighlightMode(5); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 5; } },
        { "the same mode again switches off", nothing, [](CDisplayView& v) { v.SetHighlightMode(5); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 0; } },
        { "organisation", nothing, [&](CDisplayView& v) { v.HighlightOrganization(&node); }, true,
            [&](const CDisplayView& v) { return v.GetHighlightMode() == 11 && v.GetHighlightNode() == &node; } },
        { "organisation without a node", nothing, [](CDisplayView& v) { v.HighlightOrganization(nullptr); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 11 && !v.GetHighlightNode(); } },
        { "targets in range", nothing, [](CDisplayView& v) { v.HighlightTargetsInRange(4, 7, 2, 3); }, true,
            [](const CDisplayView& v) {
                return v.GetHighlightMode() == 6 && v.GetFireRangeVsHard() == 4 && v.GetFireRangeVsSoft() == 7
                    && v.GetFireRangeHex() == HexPos { 2, 3 };
            } },
        { "clearing the target highlight", nothing, [](CDisplayView& v) { v.ClearTargetHighlight(); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 0; } },
        { "clearing it under another mode", [](CDisplayView& v) { v.SetHighlightMode(4); },
            [](CDisplayView& v) { v.ClearTargetHighlight(); }, false,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 4; } },
        { "range display", nothing, [&](CDisplayView& v) { v.ShowRange(unit, 5, 6); }, true,
            [](const CDisplayView& v) {
                return v.IsRangeShown() && v.GetRangeVsSoft() == 6 && v.GetRangeVsHard() == 3
                    && v.GetRangeCentre() == HexPos { 5, 6 };
            } },
        { "range cleared", nothing, [](CDisplayView& v) { v.ClearRange(); }, true,
            [](const CDisplayView& v) { return !v.IsRangeShown(); } },
        { "graphical icons", nothing, [](CDisplayView& v) { v.ToggleGraphicalIcons(); }, true,
            [](const CDisplayView& v) { return !v.AreGraphicalIcons(); } },
        { "special icons", nothing, [](CDisplayView& v) { v.ToggleSpecialIcons(); }, true,
            [](const CDisplayView& v) { return !v.AreSpecialIcons(); } },
        { "assault marker", nothing, [](CDisplayView& v) { v.SetAssaultMarker(true); }, false,
            [](const CDisplayView& v) { return v.IsAssaultMarkerOn(); } },
        { "attach forgets the highlight", [&](CDisplayView& v) { v.HighlightOrganization(&node); },
            [&](CDisplayView& v) { v.AttachBattle(m_game.m_terrain, false); }, false,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 0 && !v.GetHighlightNode(); } },
        { "attach with a redraw", nothing, [&](CDisplayView& v) { v.AttachBattle(m_game.m_terrain, true); }, true,
            [](const CDisplayView& v) { return v.GetHighlightMode() == 0; } },
    };
    for (const Operation& op : operations) {
        op.prepare(*m_view);
        m_host->ClearPresents();
        op.act(*m_view);
        EXPECT_EQ(Presents() > 0, op.redraws) << op.name;
        EXPECT_TRUE(op.holds(*m_view)) << op.name;
    }

    // The refresh at a phase's start redraws only for modes that depend on
    // the units' state.
    for (int mode = 0; mode <= 13; ++mode) {
        m_view->SetHighlightMode(0);
        if (mode != 0)
            m_view->SetHighlightMode(mode);
        m_host->ClearPresents();
        m_view->RedrawIfHighlightDependsOnState();
        const bool depends = mode == 1 || mode == 2 || mode == 3 || mode == 4 || mode == 10 || mode == 12;
        EXPECT_EQ(Presents() > 0, depends) << "mode " << mode;
    }
}

// ---- hex overlays ----

TEST_F(DisplayStateTest, VisibleHexesShadeExactlyTheHiddenOnes)
{
    // A ridge across the map between the hot spot and the far columns.
    for (int y = 0; y < 12; ++y)
        SetLevel(5, y, 8);
    Show();
    m_view->SetHotSpot(2, 6);
    m_view->ShowVisibleHexes(true);
    int hidden = 0;
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) {
            const bool seen = m_game.HasLineOfSight(2, 6, x, y);
            hidden += seen ? 0 : 1;
            EXPECT_EQ(Shaded(x, y), !seen) << x << ", " << y;
        }
    EXPECT_GT(hidden, 0);
    EXPECT_FALSE(Shaded(3, 6)) << "a neighbour";
    EXPECT_TRUE(Shaded(9, 6)) << "behind the ridge";
    EXPECT_EQ(m_game.m_blockingHex, (HexPos { -1, -1 })) << "no blocking hex left behind";
    // Another overlay switched on ends this one.
    m_view->ShowReachableHexes(true);
    m_view->Redraw();
    EXPECT_FALSE(Shaded(9, 6));
}

TEST_F(DisplayStateTest, MovingTheHotSpotShadesFromItsNewHex)
{
    for (int y = 0; y < 12; ++y)
        SetLevel(5, y, 8);
    Show();
    m_view->SetHotSpot(2, 6);
    m_host->ClearPresents();
    m_view->SetHotSpot(3, 6);
    EXPECT_EQ(Presents(), 2) << "without the overlay: the two hexes only";
    m_view->ShowVisibleHexes(true);
    ASSERT_TRUE(Shaded(9, 6));
    // Over the ridge: the far side is seen, the near side hidden.
    m_view->SetHotSpot(10, 6);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y)
            EXPECT_EQ(Shaded(x, y), !m_game.HasLineOfSight(10, 6, x, y)) << x << ", " << y;
    EXPECT_FALSE(Shaded(9, 6));
    EXPECT_TRUE(Shaded(2, 6));
}

TEST_F(DisplayStateTest, VisibleHexesFromTheHotSpotOnATurnedMap)
{
    for (int y = 0; y < 12; ++y)
        SetLevel(5, y, 8);
    Show(1, true);
    // The view hex of map hex (2, 6), and map hex (9, 6) behind the ridge.
    m_view->SetHotSpot(9, 5);
    m_view->ShowVisibleHexes(true);
    EXPECT_TRUE(Shaded(2, 5));
    EXPECT_FALSE(Shaded(8, 5));
}

TEST_F(DisplayStateTest, ReachableHexesShadeTheRestOnlyWithAList)
{
    Show();
    m_view->ShowReachableHexes(true);
    m_view->Redraw();
    EXPECT_FALSE(Shaded(5, 5)) << "an empty list shades nothing";
    HexList list;
    AppendHexListNode(list, 2, 3);
    AppendHexListNode(list, 3, 3);
    m_view->SetReachableHexes(list);
    EXPECT_FALSE(Shaded(2, 3));
    EXPECT_FALSE(Shaded(3, 3));
    EXPECT_TRUE(Shaded(5, 5));
    EXPECT_TRUE(Shaded(2, 4));
    // Map hexes: on a turned map the view hexes turn with them.
    m_view->ToggleRotation(0, 0);
    m_view->Redraw();
    EXPECT_FALSE(Shaded(9, 8));
    EXPECT_TRUE(Shaded(2, 3));
}

TEST_F(DisplayStateTest, CommandRangeShadesBeyondTheLeadersRangeOnlyWithARequest)
{
    Show();
    FormationNode company(1); // a company commands 4 hexes
    OrgNode* rifles = company.AppendChild(std::make_unique<OrgNode>(0));
    PlatoonType type;
    UnitNode* unit = m_game.m_stacks.At(5, 5).Append(PlacedUnit {});
    unit->value.m_type = &type;
    unit->value.m_node = rifles;

    m_view->ShowCommandRange(true);
    m_view->Redraw();
    EXPECT_FALSE(Shaded(11, 11)) << "no request yet: nothing shaded";
    m_view->SetCommandRangeHexes({ nullptr, 5, 5 });
    EXPECT_FALSE(Shaded(11, 11)) << "a range of 0 shades nothing";

    m_view->SetCommandRangeHexes({ unit, 5, 5 });
    EXPECT_FALSE(Shaded(5, 5));
    EXPECT_FALSE(Shaded(9, 5)) << "distance 4 is in range";
    EXPECT_TRUE(Shaded(10, 5));
    EXPECT_TRUE(Shaded(5, 0));

    // The view keeps its own copy: the unit leaving the map changes nothing.
    m_game.m_stacks.At(5, 5).Free();
    m_view->Redraw();
    EXPECT_TRUE(Shaded(10, 5));
    EXPECT_FALSE(Shaded(9, 5));

    // A new battle drops the request with the old battle's organisation.
    m_view->AttachBattle(m_game.m_terrain, true);
    EXPECT_FALSE(Shaded(10, 5));
}

// ---- range rings ----

TEST_F(DisplayStateTest, RangeRingsRunOnlyTowardFartherHexesOnTheMap)
{
    PlatoonType type;
    WeaponRecord weapon;
    weapon.m_softValue[4] = 1; // 5 hexes
    weapon.m_hardValue[2] = 1; // 3 hexes
    type.m_weapon = &weapon;
    PlacedUnit unit;
    unit.m_type = &type;
    Show();
    const auto& g = m_view->Geometry();
    auto north = [&](int c, int r) { return At({ g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) - g.GetHalfRow() }); };
    auto south = [&](int c, int r) { return At({ g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) + g.GetHalfRow() }); };
    m_view->ShowRange(unit, 5, 5);
    ASSERT_EQ(HexDistance(5, 2, 5, 5), 3);
    EXPECT_EQ(north(5, 2), kRed) << "hard range, outward";
    EXPECT_EQ(south(5, 8), kRed);
    EXPECT_NE(south(5, 2), kRed) << "not inward";
    EXPECT_NE(south(5, 2), kBlue);
    EXPECT_EQ(south(5, 10), kBlue) << "soft range, outward";
    EXPECT_NE(north(5, 0), kBlue) << "nothing toward the map's edge";
    EXPECT_NE(north(5, 1), kBlue) << "nothing between ring and edge";
    // The slanted sides: the NE side of the ring's top hex runs outward.
    ASSERT_EQ(HexDistance(6, 1, 5, 5), 4);
    const auto corners = g.GetHexPolygon(5, 2);
    const Point mid { (corners[1].x + corners[2].x) / 2, (corners[1].y + corners[2].y) / 2 };
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            red |= At({ mid.x + dx, mid.y + dy }) == kRed;
    EXPECT_TRUE(red);

    // On a turned map the rings stand around the same map hex.
    m_view->ToggleRotation(0, 0);
    m_view->Redraw();
    EXPECT_EQ(south(6, 9), kRed) << "map hex (5, 2) shown turned";
    EXPECT_NE(north(6, 9), kRed);

    m_view->ClearRange();
    EXPECT_NE(south(6, 9), kRed);
}

// ---- unit pictures ----

struct PictureCase {
    int nation;
    int year;
    int month;
    int surface;
    int theme;
    bool specials;
    const char* files; // existing: S, E, L special, T the theme's
    const char* expected;
};
std::ostream& operator<<(std::ostream& out, const PictureCase& c)
{
    return out << "nation " << c.nation << " date " << c.month << "/" << c.year << " surface " << c.surface << " theme "
               << c.theme << " files " << c.files;
}

class PictureTest : public DisplayStateTest, public ::testing::WithParamInterface<PictureCase> { };

TEST_P(PictureTest, SpecialPictureByNationDateSurfaceAndTheme)
{
    const PictureCase c = GetParam();
    LeaveOutArt({});
    namespace fs = std::filesystem;
    fs::create_directories(m_art / "Special");
    const std::string files = c.files;
    auto make = [&](const fs::path& path) { std::ofstream(path) << "x"; };
    if (files.find('S') != std::string::npos)
        make(m_art / "Special" / "S-tank.bmp");
    if (files.find('E') != std::string::npos)
        make(m_art / "Special" / "E-tank.bmp");
    if (files.find('L') != std::string::npos)
        make(m_art / "Special" / "L-tank.bmp");
    if (files.find('T') != std::string::npos)
        for (const char* prefix : { "NWE-", "MED-", "DES-", "TRO-", "TEM-" })
            make(m_art / (std::string(prefix) + "tank.bmp"));
    m_game.m_map.SetRegion(c.theme);
    m_game.m_terrain.surface = c.surface;
    m_game.m_orgTree.m_battleYear = c.year;
    m_game.m_orgTree.m_battleMonth = c.month;
    Show();
    if (!c.specials)
        m_view->ToggleSpecialIcons();
    PlatoonType type;
    type.m_id = c.nation * 1000 + 101;
    ASSERT_EQ(type.GetNation(), c.nation);
    EXPECT_EQ(m_view->GetUnitPicturePath(type, "tank.bmp"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureTest,
    ::testing::Values(
        // Nation 0 takes no special picture before October 1941.
        PictureCase { 0, 41, 9, 3, 0, true, "SELT", "NWE-tank.bmp" },
        PictureCase { 0, 41, 10, 3, 0, true, "SELT", "Special\\S-tank.bmp" },
        PictureCase { 0, 42, 1, 0, 0, true, "SELT", "NWE-tank.bmp" },
        // Nation 1: no winter picture before September 1940; early war off
        // themes 1 and 2 before July 1943; late war after June 1943.
        PictureCase { 1, 40, 8, 3, 0, true, "SELT", "Special\\E-tank.bmp" },
        PictureCase { 1, 40, 9, 3, 0, true, "SELT", "Special\\S-tank.bmp" },
        PictureCase { 1, 42, 1, 0, 1, true, "SELT", "MED-tank.bmp" },
        PictureCase { 1, 43, 6, 0, 4, true, "SELT", "Special\\E-tank.bmp" },
        PictureCase { 1, 43, 7, 0, 0, true, "SELT", "Special\\L-tank.bmp" },
        PictureCase { 1, 1943, 7, 0, 2, true, "SELT", "DES-tank.bmp" },
        // Nation 9: early war before July 1940 off theme 2.
        PictureCase { 9, 40, 6, 0, 2, true, "SELT", "DES-tank.bmp" },
        PictureCase { 9, 40, 6, 0, 3, true, "SELT", "Special\\E-tank.bmp" },
        PictureCase { 9, 40, 7, 0, 3, true, "SELT", "TRO-tank.bmp" },
        // Nation 21 always late war; a missing file passes to the next.
        PictureCase { 21, 42, 1, 0, 0, true, "SELT", "Special\\L-tank.bmp" },
        PictureCase { 21, 42, 1, 3, 0, true, "LT", "Special\\L-tank.bmp" },
        PictureCase { 21, 42, 1, 3, 0, true, "T", "NWE-tank.bmp" },
        PictureCase { 21, 42, 1, 3, 0, false, "SELT", "NWE-tank.bmp" },
        // Without a theme, or without its file, the plain name.
        PictureCase { 0, 40, 1, 0, -1, true, "SELT", "tank.bmp" },
        PictureCase { 0, 40, 1, 0, 0, true, "", "tank.bmp" }));

// ---- damage variants ----

TEST_F(DisplayStateTest, DamageVariantsByFlagsTerrainAndValue)
{
    struct Case {
        int terrain;
        int flags;
        int value;
        int variant;
    };
    const Case cases[] = { { kTerrainOpen, 0, 0, -1 }, { kTerrainOpen, 0, 1, 0 }, { kTerrainOpen, 0, 23, 0 },
        { kTerrainOpen, 0, 24, 1 }, { kTerrainOpen, 0, 47, 1 }, { kTerrainOpen, 0, 48, 2 },
        { kTerrainRough, 0, 900, 2 }, { kTerrainForest, 0, 30, 4 }, { kTerrainVillage, 0, 60, 5 },
        { kTerrainVillage, 0, 5, 3 }, { kTerrainOpen, CGameData::kHexRubble, 50, -1 },
        { kTerrainVillage, CGameData::kHexRubble, 50, -1 }, { kTerrainWater, 0, 50, -1 }, { kTerrainMarsh, 0, 50, -1 },
        { kTerrainCity, 0, 50, -1 }, { kTerrainShallowWater, 0, 50, -1 }, { kTerrainIndustrial, 0, 50, -1 },
        { kTerrainSuburb, 0, 50, -1 }, { kTerrainSwamp, 0, 50, -1 } };
    Show();
    for (const Case& c : cases) {
        SetTerrain(4, 5, c.terrain);
        SetFlags(4, 5, c.flags);
        m_game.m_hexValue.At(4, 5) = c.value;
        EXPECT_EQ(m_view->GetHexDamageVariant(4, 5), c.variant)
            << "terrain " << c.terrain << " flags " << c.flags << " value " << c.value;
        EXPECT_EQ(m_view->GetStoredDamageVariant(4, 5), c.variant);
    }
    // View hexes in, map hexes stored.
    m_view->ToggleRotation(0, 0);
    EXPECT_EQ(m_view->GetHexDamageVariant(7, 6), -1);
    m_game.m_hexValue.At(4, 5) = 30;
    SetTerrain(4, 5, kTerrainOpen);
    SetFlags(4, 5, 0);
    EXPECT_EQ(m_view->GetHexDamageVariant(7, 6), 1);
    EXPECT_EQ(m_view->GetStoredDamageVariant(4, 5), 1);
    // A battle attach starts a grid of the new map's size, all -1.
    MakeMap(20, 3);
    m_view->AttachBattle(m_game.m_terrain, false);
    EXPECT_EQ(m_view->GetStoredDamageVariant(4, 5), -1);
    EXPECT_EQ(m_view->GetStoredDamageVariant(4, 2), -1);
    m_game.m_hexValue.At(19, 2) = 60;
    EXPECT_EQ(m_view->GetHexDamageVariant(0, 0), 2) << "the turned map's corner";
    EXPECT_EQ(m_view->GetStoredDamageVariant(19, 2), 2);
}

// ---- pontoon labels ----

TEST_F(DisplayStateTest, PontoonLabelsTextsAndBoxes)
{
    struct Case {
        HexPos hex;
        int capacity;
        const char* text;
    };
    MakeMap(16, 12);
    const Case cases[] = { { { 3, 2 }, 0, "Damaged (0)" }, { { 10, 2 }, 3, "Lt Pontoon (3)" },
        { { 3, 8 }, 4, "Med Pontoon (4)" }, { { 10, 8 }, 7, "Hvy Pontoon (7)" } };
    for (const Case& c : cases) {
        SetTerrain(c.hex.column, c.hex.row, kTerrainWater);
        m_game.m_pontoons.At(c.hex.column, c.hex.row) = { HexSide::North, c.capacity };
    }
    for (bool rotated : { false, true }) {
        Show(1, rotated);
        m_view->ShowLabels(true);
        const auto& g = m_view->Geometry();
        const platform::gfx::Font& font = m_view->GetViewLabelFont();
        for (const Case& c : cases) {
            const HexPos v = m_view->RotateHex(c.hex);
            const Point centre = g.GetHexCentre(v.column, v.row);
            const platform::Size e = font.Extent(c.text);
            const int left = centre.x - e.width / 2 - 5;
            const int right = left + e.width + 10;
            const int top = centre.y - e.height;
            const int bottom = centre.y + e.height / 2;
            EXPECT_EQ(At({ left, centre.y }), kBlack) << c.text;
            EXPECT_EQ(At({ right - 1, centre.y }), kBlack) << c.text;
            EXPECT_NE(At({ left - 1, centre.y }), kBlack) << c.text;
            EXPECT_NE(At({ right, centre.y }), kBlack) << c.text;
            EXPECT_EQ(At({ centre.x, top }), kBlack) << c.text;
            EXPECT_EQ(At({ left + 2, bottom - 1 }), kBlack) << c.text;
            EXPECT_EQ(At({ left + 2, bottom - 2 }), 0xFFFFFF) << c.text;
        }
        m_view->ShowLabels(false);
    }
    EXPECT_EQ(m_view->GetLabelFont().Spec().face, "Small Font");
    EXPECT_EQ(m_view->GetLabelFont().Spec().height, 10);
}

} // namespace
