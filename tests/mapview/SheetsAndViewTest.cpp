// Which files the terrain view loads for the battle's conditions and theme,
// the sheet blit's scaling, and the view's scroll ranges, centring and turn.

#include "tests/mapview/MapViewFixture.h"

#include <algorithm>
#include <set>

namespace {

class SheetsTest : public MapViewTest {
protected:
    void SetUp() override
    {
        MakeMap(20, 20);
        m_empty = std::make_unique<TempDir>();
        m_art = m_empty->Path();
    }
    // The file names the view tried and could not load.
    std::set<std::string> Tried() const
    {
        std::set<std::string> names;
        for (const auto& r : m_services->reports)
            names.insert(std::filesystem::path(r.text.substr(r.text.find(": ") + 2)).filename().string());
        return names;
    }
    bool TriedAll(std::initializer_list<const char*> files) const
    {
        const auto tried = Tried();
        bool all = true;
        for (const char* f : files)
            if (tried.count(f) == 0) {
                ADD_FAILURE() << f << " was not tried";
                all = false;
            }
        return all;
    }
    bool TriedNone(std::initializer_list<const char*> files) const
    {
        const auto tried = Tried();
        bool none = true;
        for (const char* f : files)
            if (tried.count(f) == 1) {
                ADD_FAILURE() << f << " was tried";
                none = false;
            }
        return none;
    }
    std::unique_ptr<TempDir> m_empty;
};

TEST_F(SheetsTest, EachConditionLoadsItsFamiliesOncePerPath)
{
    Show(); // the window's first paint loads the sheets of the default conditions
    EXPECT_TRUE(TriedAll({ "Icons2d.bmp", "Icons1d.bmp", "Roads2d.bmp", "Fords3d.bmp", "Terrain2d.bmp", "Sides1d.bmp",
        "Brown2d.bmp", "Water3d.bmp", "Edges2d.bmp", "GreenTrees3d.bmp", "Bridges3d.bmp" }));
    m_services->reports.clear();
    m_game.m_terrain = { 2, 1, 2, 0 }; // mud, frozen, barren trees
    Show();
    EXPECT_TRUE(TriedAll({ "Mud2d.bmp", "Mud5d.bmp", "MudSides3d.bmp", "MudPavedRoads4d.bmp", "MudRoads3d.bmp",
        "MudGullies3d.bmp", "MudEdges3d.bmp", "MudRailroad5d.bmp", "Frozen3d.bmp", "BarrenTrees3d.bmp",
        "BarrenBlocked3d.bmp", "FrozenBridges3d.bmp" }));
    EXPECT_TRUE(TriedNone({ "Brown2d.bmp", "Water3d.bmp", "ShallowEdge2d.bmp", "Paddies3d.bmp", "MudGrassEdges2d.bmp",
        "ShoreEdge2d.bmp", "SandDune3d.bmp", "MudSandDune3d.bmp" }));
    const auto reports = m_services->reports.size();
    EXPECT_EQ(m_services->reports.front().caption, "Direct Draw Message");
    EXPECT_EQ(m_services->reports.front().text.rfind("Failure to create bitmap surface: ", 0), 0u);
    m_game.m_terrain = { 3, 1, 3, 0 }; // snow, frozen, snow on the trees
    Show();
    EXPECT_TRUE(TriedAll({ "Snow2d.bmp", "SnowPaved3d.bmp", "SnowTrees3d.bmp", "SnowBlocked3d.bmp", "SnFrBridges3d.bmp",
        "SnowEdges2d.bmp" }));
    EXPECT_GT(m_services->reports.size(), reports);
}

TEST_F(SheetsTest, OptionalFamiliesFollowTheirFilesAndTheDesertTheme)
{
    std::ofstream(m_empty->Path("GrassEdges2d.bmp")) << "not a picture";
    m_game.m_map.SetRegion(2);
    m_game.m_terrain = { 1, 0, 0, 0 }; // green
    Show();
    EXPECT_TRUE(
        TriedAll({ "GrassEdges1d.bmp", "ShoreEdge2d.bmp", "ShoreEdge3d.bmp", "WadiEdges3d.bmp", "SandDune3d.bmp" }));
    m_game.m_terrain = { 0, 0, 0, 0 }; // brown: shore edges want their own file
    m_services->reports.clear();
    Show();
    EXPECT_TRUE(TriedNone({ "ShoreEdge2d.bmp" }));
    EXPECT_EQ(m_view->GetSheets(CTerrainView::kShoreEdge2D).At(0), nullptr);
    EXPECT_NE(m_view->GetSheets(CTerrainView::kSandDune).At(0), nullptr) << "dunes need no file test";
}

TEST_F(SheetsTest, ThemeFilesWinOverPlainOnesAndUnchangedConditionsReloadNothing)
{
    std::filesystem::copy_file(
        std::filesystem::path(VL_DIAGNOSTIC_ART_DIR) / "Terrain2d.bmp", m_empty->Path("DES-terrain2D.BMP"));
    m_game.m_map.SetRegion(2);
    Show();
    EXPECT_TRUE(TriedNone({ "Terrain2d.bmp" }));
    ASSERT_NE(m_view->GetSheets(CTerrainView::kTerrain2D).At(0), nullptr);
    EXPECT_TRUE(m_view->GetSheets(CTerrainView::kTerrain2D).At(0)->IsLoaded());
    EXPECT_TRUE(TriedAll({ "Terrain1d.bmp" }));
    const int loads = m_view->GetTerrainSheetLoads();
    m_view->AttachBattle(m_game.m_terrain, true);
    EXPECT_EQ(m_view->GetTerrainSheetLoads(), loads);
    m_game.m_terrain.fieldState = 2;
    m_view->AttachBattle(m_game.m_terrain, true);
    EXPECT_EQ(m_view->GetTerrainSheetLoads(), loads + 1) << "the field state alone reloads";
}

TEST_F(SheetsTest, DrawCellScalesEveryMeasureByTheView)
{
    m_art = VL_DIAGNOSTIC_ART_DIR;
    Show(2);
    auto canvas = m_view->GetSurfaceCanvas();
    canvas.FillRect({ 0, 0, 400, 400 }, 0x000000);
    // 37 x 30 at (72, 60) full size: 18 x 15 from (36, 30) of the half sheet.
    m_view->DrawCell(m_view->GetSheets(CTerrainView::kTerrain2D), 100, 100, 37, 30, 72, 60);
    EXPECT_EQ(CellAt({ 91, 93 }), (ProbedCell { "Terrain1d.bmp", 2, 2 }));
    EXPECT_EQ(CellAt({ 108, 107 }), (ProbedCell { "Terrain1d.bmp", 2, 2 }));
    EXPECT_EQ(At({ 109, 100 }), 0u);
    EXPECT_EQ(At({ 90, 100 }), 0u);
    EXPECT_EQ(At({ 100, 108 }), 0u);
    EXPECT_EQ(m_view->ScaleToView(37), 18);
}

TEST_F(SheetsTest, ScrollRangesCentringAndTheTurn)
{
    m_art = VL_DIAGNOSTIC_ART_DIR;
    Show(1, false, { 260, 300 });
    // 9 columns and 8 rows show.
    EXPECT_EQ(m_view->GetHMax(), 11);
    EXPECT_EQ(m_view->GetVMax(), 12);
    m_view->SetViewMode(1, 10, 10);
    EXPECT_EQ(m_view->GetHPos(), 6);
    EXPECT_EQ(m_view->GetVPos(), 6);
    m_view->SetViewMode(1, 0, 19);
    EXPECT_EQ(m_view->GetHPos(), 0);
    EXPECT_EQ(m_view->GetVPos(), 12);
    EXPECT_TRUE(m_view->ToggleRotation(10, 10));
    EXPECT_TRUE(m_view->IsRotated());
    EXPECT_EQ(m_view->GetHPos(), 5);
    EXPECT_EQ(m_view->GetVPos(), 5);
    m_view->SetHotSpot(3, 4);
    m_view->RotateKeepingHotSpot();
    EXPECT_FALSE(m_view->IsRotated());
    EXPECT_EQ(m_view->GetHotSpot(), (HexPos { 16, 15 }));
    int stack = 0;
    const platform::Point o = m_view->ScrollOrigin();
    const auto c = m_view->Geometry().GetHexCentre(16, 15);
    EXPECT_EQ(m_view->HitTest(c.x - o.x, c.y - o.y, stack), (HexPos { 16, 15 }));
    EXPECT_EQ(stack, -1);
}

} // namespace
