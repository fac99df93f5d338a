// Which cell each 2D painter draws, decoded from the diagnostic art, in
// both 2D views, turned and not.

#include "tests/mapview/MapViewFixture.h"

#include <tuple>

namespace {

struct ViewCase {
    int mode;
    bool rotated;
};

class Painters2DTest : public MapViewTest, public ::testing::WithParamInterface<ViewCase> {
protected:
    static constexpr int kSize = 8;

    void SetUp() override { MakeMap(kSize, kSize); }
    int Mode() const { return GetParam().mode; }
    bool Rotated() const { return GetParam().rotated; }
    // The file of a 2D family in this view.
    std::string Sheet(const std::string& stem) const { return stem + (Mode() == 2 ? "1d.bmp" : "2d.bmp"); }
    std::string Icons() const { return Mode() == 2 ? "Icons1d.bmp" : "Icons2d.bmp"; }
    // The map hex shown at a view hex, and a view side in map terms.
    HexPos M(int column, int row) const
    {
        return Rotated() ? HexPos { kSize - 1 - column, kSize - 1 - row } : HexPos { column, row };
    }
    HexSide R(HexSide side) const { return Rotated() ? side.Opposite() : side; }
    void TerrainAt(int column, int row, int terrain)
    {
        const HexPos m = M(column, row);
        SetTerrain(m.column, m.row, terrain);
    }
    void LevelAt(int column, int row, int level)
    {
        const HexPos m = M(column, row);
        SetLevel(m.column, m.row, level);
    }
    // A feature on a view side of a view hex (map terms stored).
    void FeatureAt(int column, int row, int layer, HexSide side)
    {
        const HexPos m = M(column, row);
        AddFeature(m.column, m.row, layer, R(side));
    }
    void Render() { Show(Mode(), Rotated()); }
    int Variant(int column, int row, int n, bool code) const { return m_view->GetTileVariant(column, row, n, code); }
};

TEST_P(Painters2DTest, BaseCellsTakeTheLevelRowCappedAtTwelve)
{
    LevelAt(3, 3, 5);
    LevelAt(5, 3, 20);
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Brown"), Variant(3, 3, 6, false), 5 }));
    EXPECT_EQ(CellAtHex(5, 3), (ProbedCell { Sheet("Brown"), Variant(5, 3, 6, false), 12 }));
    EXPECT_EQ(CellAtHex(1, 1), (ProbedCell { Sheet("Brown"), Variant(1, 1, 6, false), 0 }));
}

TEST_P(Painters2DTest, SoilFollowsTheSurfaceState)
{
    m_game.m_terrain.surface = 3;
    Render();
    EXPECT_EQ(CellAtHex(2, 2).file, Sheet("Snow"));
}

TEST_P(Painters2DTest, WaterCellsDeepShallowAndFrozen)
{
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 5; ++r)
            TerrainAt(c, r, kTerrainWater);
    TerrainAt(4, 4, kTerrainShallowWater);
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Terrain"), Variant(3, 3, 6, true), 11 }));
    EXPECT_EQ(CellAtHex(4, 4), (ProbedCell { Sheet("Terrain"), Variant(4, 4, 6, true), 23 }));
    m_game.m_terrain.water = 1;
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Terrain"), Variant(3, 3, 6, true), 12 }));
    EXPECT_EQ(CellAtHex(4, 4), (ProbedCell { Sheet("Terrain"), Variant(4, 4, 6, true), 12 }));
}

TEST_P(Painters2DTest, WaterEdgesOnlyTowardLand)
{
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 5; ++r)
            TerrainAt(c, r, kTerrainWater);
    TerrainAt(3, 2, kTerrainOpen); // the N neighbour of (3, 3)
    Render();
    const int s = Mode() == 2 ? 2 : 1;
    // Land on N alone: the "first only" piece of the N/NW slot (the one of
    // the N/NE slot lies under the NE neighbour, painted later).
    EXPECT_EQ(CellAtHex(3, 3, -8 / s, -11 / s).file, Sheet("Edges"));
    EXPECT_EQ(CellAtHex(3, 3, 0, 6 / s).file, Sheet("Terrain"));
    EXPECT_EQ(CellAtHex(4, 4, -8 / s, -11 / s).file, Sheet("Terrain")) << "no land around";
}

TEST_P(Painters2DTest, BeachTakesRowThirteenAndGrassTowardLandUnlessSnow)
{
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 5; ++r)
            TerrainAt(c, r, kTerrainWater);
    TerrainAt(3, 3, kTerrainBeach);
    TerrainAt(3, 2, kTerrainOpen);
    TerrainAt(4, 4, kTerrainBeach);
    Render();
    const int s = Mode() == 2 ? 2 : 1;
    EXPECT_EQ(CellAtHex(3, 3, 0, 6 / s), (ProbedCell { Sheet("Brown"), Variant(3, 3, 6, false), 13 }));
    EXPECT_EQ(CellAtHex(3, 3, -8 / s, -11 / s).file, Sheet("GrassEdges"));
    EXPECT_EQ(CellAtHex(4, 4, -8 / s, -11 / s).file, Sheet("Brown")) << "water all around";
    m_game.m_terrain.surface = 3;
    Render();
    EXPECT_EQ(CellAtHex(3, 3, -8 / s, -11 / s).file, Sheet("Snow"));
}

TEST_P(Painters2DTest, HexsideLinesAreDrawnByTheHexThatOwnsTheSide)
{
    // A stream between (3, 3) and its N neighbour (3, 2): stored on both.
    FeatureAt(3, 3, kLayerStream, HexSide::North);
    FeatureAt(3, 2, kLayerStream, HexSide::South);
    FeatureAt(5, 3, kLayerRiver, HexSide::NorthEast);
    FeatureAt(5, 3, kLayerRiver, HexSide::SouthEast);
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Sides"), 0, 0 }));
    EXPECT_EQ(CellAtHex(3, 2).file, Sheet("Brown"));
    // NE and SE: side value 6, column (6 - 1) mod 7.
    EXPECT_EQ(CellAtHex(5, 3), (ProbedCell { Sheet("Sides"), 5, 1 }));
    m_game.m_terrain.water = 1;
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Sides"), 0, 2 })) << "frozen: the gully row";
}

TEST_P(Painters2DTest, SlopesOnlyFromTheUpperHex)
{
    LevelAt(3, 3, 3);
    LevelAt(3, 2, 1);
    FeatureAt(3, 3, kLayerCliff, HexSide::North);
    FeatureAt(3, 2, kLayerCliff, HexSide::South);
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Sides"), 0, 6 }));
    EXPECT_EQ(CellAtHex(3, 2).file, Sheet("Brown"));
}

TEST_P(Painters2DTest, FordsAndBridgesOnTheOwnSides)
{
    FeatureAt(3, 3, kLayerFord, HexSide::North);
    FeatureAt(5, 3, kLayerHeavyBridge, HexSide::NorthEast);
    FeatureAt(1, 5, kLayerLightBridge, HexSide::SouthEast);
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Sides"), 0, 9 }));
    EXPECT_EQ(CellAtHex(5, 3), (ProbedCell { Sheet("Sides"), 1, 5 }));
    EXPECT_EQ(CellAtHex(1, 5), (ProbedCell { Sheet("Sides"), 2, 3 }));
    m_game.m_terrain.water = 1;
    Render();
    EXPECT_EQ(CellAtHex(3, 3).file, Sheet("Brown")) << "no fords on frozen water";
}

TEST_P(Painters2DTest, RoadsTakeTheirSideSetsCellAndPathsJoinUnpavedRoads)
{
    FeatureAt(5, 5, kLayerUnpaved, HexSide::South);
    FeatureAt(3, 3, kLayerPath, HexSide::North);
    FeatureAt(3, 3, kLayerUnpaved, HexSide::South);
    FeatureAt(1, 3, kLayerRoad, HexSide::North);
    FeatureAt(1, 3, kLayerRoad, HexSide::NorthEast);
    Render();
    // {S} is position 23 of the road-sheet order; {N, NE} position 0.
    EXPECT_EQ(CellAtHex(5, 5), (ProbedCell { Sheet("Unpaved"), 5, 3 }));
    EXPECT_EQ(CellAtHex(1, 3), (ProbedCell { Sheet("Roads"), 0, 0 }));
    // The unpaved cell covers the path cell; without it the path shows {N, S}
    // (position 2).
    LeaveOutArt({ "Unpaved2d.bmp", "Unpaved1d.bmp" });
    m_host.reset();
    m_view.reset();
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Paths"), 2, 0 }));
}

TEST_P(Painters2DTest, ARoadAcrossWaterIsTheBridgeCellAndDamagedMarksShow)
{
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 5; ++r)
            TerrainAt(c, r, kTerrainWater);
    FeatureAt(3, 3, kLayerRoad, HexSide::North);
    FeatureAt(3, 3, kLayerRoad, HexSide::South);
    FeatureAt(2, 2, kLayerRoad, HexSide::NorthEast);
    FeatureAt(2, 2, kLayerRoad, HexSide::SouthWest);
    const HexPos damaged = M(2, 2);
    SetFlags(damaged.column, damaged.row, CGameData::kHexDamaged);
    const HexPos marked = M(5, 5);
    m_game.m_damagedBridges.At(marked.column, marked.row) = HexSideSet(R(HexSide::North).Value());
    Render();
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Terrain"), 0, 20 }));
    EXPECT_EQ(CellAtHex(2, 2), (ProbedCell { Sheet("Terrain"), 4, 20 }));
    const int h = m_view->Geometry().GetHalfRow();
    EXPECT_EQ(CellAtHex(5, 5, 0, -h), (ProbedCell { Icons(), 0, 3 }));
}

TEST_P(Painters2DTest, OverlaysPlainAroundRoadsAndAsRubble)
{
    TerrainAt(1, 1, kTerrainForest);
    TerrainAt(3, 3, kTerrainForest);
    FeatureAt(3, 3, kLayerRoad, HexSide::North);
    TerrainAt(5, 3, kTerrainVillage);
    TerrainAt(5, 5, kTerrainCity);
    TerrainAt(1, 5, kTerrainField);
    const HexPos village = M(5, 3);
    const HexPos city = M(5, 5);
    SetFlags(village.column, village.row, CGameData::kHexRubble);
    SetFlags(city.column, city.row, CGameData::kHexRubble);
    Render();
    EXPECT_EQ(CellAtHex(1, 1), (ProbedCell { Sheet("Terrain"), Variant(1, 1, 6, true), 0 }));
    const int k = m_view->PickRoadAwareCellA(3, 3);
    EXPECT_EQ(CellAtHex(3, 3), (ProbedCell { Sheet("Terrain"), k % 6, 13 + k / 6 }));
    EXPECT_EQ(CellAtHex(5, 3), (ProbedCell { Sheet("Terrain"), Variant(5, 3, 3, true), 19 }));
    EXPECT_EQ(CellAtHex(5, 5), (ProbedCell { Sheet("Terrain"), Variant(5, 5, 3, true) + 3, 19 }));
    EXPECT_EQ(CellAtHex(1, 5), (ProbedCell { Sheet("Terrain"), Variant(1, 5, 6, true), 5 }));
}

TEST_P(Painters2DTest, BackdropOnlyOutsideTheMapBox)
{
    Render();
    const auto& g = m_view->Geometry();
    const int inside = g.GetHexCentreY(0, 3);
    EXPECT_EQ(At({ 2, inside }), 0u);
    EXPECT_EQ(CellAt({ 2, inside }).file, "");
    EXPECT_EQ(At({ g.GetHexCentreX(3, 3), 1 }), 0u) << "above the first row";
    EXPECT_NE(CellAt({ g.GetHexCentreX(3, 3), inside }).file, "");
}

INSTANTIATE_TEST_SUITE_P(Views, Painters2DTest,
    ::testing::Values(ViewCase { 1, false }, ViewCase { 1, true }, ViewCase { 2, false }, ViewCase { 2, true }),
    [](const auto& info) {
        return std::string(info.param.mode == 1 ? "Normal" : "ZoomOut") + (info.param.rotated ? "Turned" : "");
    });

} // namespace
