// Whole generations checked as the game sees them: every map is written, read
// back with the main program's reader and compared hex by hex, then its
// terrain, levels and hexside features are checked on the loaded map.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "MapRoundTrip.h"
#include "TempDir.h"
#include "launcher/generator/RandomMap.h"
#include "launcher/generator/RandomMapParameters.h"
#include "model/HexMap.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

bool Has(const HexRecord& hex, int layer, HexSide side)
{
    return hex.layers[static_cast<std::size_t>(layer)].Contains(side);
}

bool IsWater(int terrain) { return terrain == kTerrainWater || terrain == kTerrainShallowWater; }

// A hex and the sides of its neighbours, as the game reads them.
struct SideView {
    const HexRecord& hex;
    const HexRecord* neighbour; // null off the map
    HexSide side;

    bool Has(int layer) const { return ::Has(hex, layer, side); }
};

void ExpectInvariants(const HexMap& map, const std::vector<MapLabelPosition>& riverLabels, std::set<int>& terrains)
{
    const int width = map.GetWidth();
    const int height = map.GetHeight();
    int failures = 0;
    const auto fail = [&](int x, int y, const std::string& what) {
        if (++failures <= 8)
            ADD_FAILURE() << what << " at " << x << "," << y;
    };
    // Hexes of water or with a River or Stream side, for the marsh test.
    std::vector<char> wet(static_cast<std::size_t>(width * height), 0);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const HexRecord& hex = map.GetHex(x, y);
            wet[static_cast<std::size_t>(x * height + y)]
                = IsWater(hex.terrain) || !hex.layers[kLayerRiver].IsEmpty() || !hex.layers[kLayerStream].IsEmpty();
        }
    }
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const HexRecord& hex = map.GetHex(x, y);
            terrains.insert(hex.terrain);
            if (hex.terrain == kTerrainBuilding || hex.terrain == kTerrainImpassible)
                fail(x, y, "terrain " + std::to_string(hex.terrain));
            if (hex.level < 0 || hex.level > 12)
                fail(x, y, "level " + std::to_string(hex.level));
            const bool water = IsWater(hex.terrain);
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            if (!hex.layers[kLayerFord].IsEmpty())
                fail(x, y, "ford");
            if (water
                && !(hex.layers[kLayerRiver].IsEmpty() && hex.layers[kLayerStream].IsEmpty()
                    && hex.layers[kLayerGully].IsEmpty()))
                fail(x, y, "watercourse on water");
            if (water && edge
                && !(hex.layers[kLayerRoad].IsEmpty() && hex.layers[kLayerUnpaved].IsEmpty()
                    && hex.layers[kLayerRail].IsEmpty()))
                fail(x, y, "road on edge water");
            if (hex.terrain == kTerrainMarsh || hex.terrain == kTerrainSwamp) {
                bool near = false;
                for (int i = std::max(x - 2, 0); i <= std::min(x + 2, width - 1); ++i) {
                    for (int j = std::max(y - 2, 0); j <= std::min(y + 2, height - 1); ++j)
                        near = near || wet[static_cast<std::size_t>(i * height + j)];
                }
                if (!near)
                    fail(x, y, "marsh away from water");
            }
            for (HexSide side(1); side.IsValid(); side.Next()) {
                HexPos pos;
                const bool on = map.GetNeighbour(side, x, y, pos);
                const HexRecord* other = on ? &map.GetHex(pos.column, pos.row) : nullptr;
                const SideView s { hex, other, side };
                if (other) {
                    const int diff = std::abs(hex.level - other->level);
                    if (diff > 3)
                        fail(x, y, "levels " + std::to_string(diff) + " apart");
                    for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
                        if (s.Has(layer) != Has(*other, layer, side.Opposite()))
                            fail(x, y, std::string("one-sided ") + FeatureLayerName(layer));
                    }
                    if ((s.Has(kLayerCliff) || s.Has(kLayerEscarpment)) && diff < 1)
                        fail(x, y, "cliff on the level");
                    if (s.Has(kLayerEmbankment) && diff == 0)
                        fail(x, y, "embankment on the level");
                    if (s.Has(kLayerHedge) && !(hex.terrain == kTerrainField && other->terrain == kTerrainField))
                        fail(x, y, "hedge off fields");
                    if (s.Has(kLayerDune) && !(hex.terrain == kTerrainSoftSand && other->terrain == kTerrainSoftSand))
                        fail(x, y, "dune off sand");
                    if ((s.Has(kLayerBocage) || s.Has(kLayerHighWall) || s.Has(kLayerStoneWall))
                        && water == IsWater(other->terrain))
                        fail(x, y, "shore feature off the shore");
                } else {
                    for (const int layer : { kLayerCliff, kLayerEscarpment, kLayerEmbankment, kLayerHedge, kLayerDune,
                             kLayerBocage, kLayerHighWall, kLayerStoneWall }) {
                        if (s.Has(layer))
                            fail(x, y, std::string("off-map ") + FeatureLayerName(layer));
                    }
                }
                if (s.Has(kLayerRiver) && (s.Has(kLayerStream) || s.Has(kLayerGully)))
                    fail(x, y, "river with stream or gully");
                if (s.Has(kLayerStream) && s.Has(kLayerGully))
                    fail(x, y, "stream with gully");
                if (s.Has(kLayerRail) && (s.Has(kLayerRoad) || s.Has(kLayerUnpaved)))
                    fail(x, y, "rail with road");
                if (s.Has(kLayerRoad) && s.Has(kLayerUnpaved))
                    fail(x, y, "road with unpaved");
                const bool road = s.Has(kLayerRoad) || s.Has(kLayerRail) || s.Has(kLayerUnpaved);
                const bool anyRoad = road || s.Has(kLayerPath);
                const bool course = s.Has(kLayerRiver) || s.Has(kLayerStream) || s.Has(kLayerGully);
                const bool bridge = s.Has(kLayerHeavyBridge) || s.Has(kLayerMediumBridge) || s.Has(kLayerLightBridge);
                if (anyRoad && course && !bridge)
                    fail(x, y, "road over a watercourse without a bridge");
                if (bridge && !(anyRoad && course))
                    fail(x, y, "bridge without road and watercourse");
                if (road && (s.Has(kLayerCliff) || s.Has(kLayerEscarpment) || s.Has(kLayerEmbankment)))
                    fail(x, y, "slope feature across a road");
                if (anyRoad
                    && (s.Has(kLayerHedge) || s.Has(kLayerDune) || s.Has(kLayerBocage) || s.Has(kLayerHighWall)
                        || s.Has(kLayerStoneWall)))
                    fail(x, y, "boundary feature across a road");
            }
        }
    }

    // Labels: towns black, rivers blue (the file writes a river in column 0
    // in column 3, so the generator's positions are taken); the major river
    // runs as water from its label to an edge.
    int towns = 0;
    int rivers = 0;
    for (const MapLabelNode* node = map.GetLabels().Head(); node; node = node->next)
        ++(node->value.colour == 0 ? towns : rivers);
    EXPECT_LE(towns, RandomMap::kMaxLabels);
    EXPECT_LE(rivers, 1);
    EXPECT_EQ(static_cast<std::size_t>(rivers), riverLabels.size());
    for (const MapLabelPosition& label : riverLabels) {
        const int x = label.column;
        const int y0 = label.row;
        ASSERT_TRUE(x >= 0 && x < width && y0 >= 0 && y0 < height) << "river label " << x << "," << y0;
        ASSERT_TRUE(IsWater(map.GetTerrain(x, y0))) << "river label " << x << "," << y0;
        std::vector<char> seen(static_cast<std::size_t>(width * height), 0);
        std::queue<HexPos> open;
        open.push({ x, y0 });
        seen[static_cast<std::size_t>(x * height + y0)] = 1;
        bool edge = false;
        while (!open.empty() && !edge) {
            const HexPos p = open.front();
            open.pop();
            edge = p.column == 0 || p.row == 0 || p.column == width - 1 || p.row == height - 1;
            for (HexSide side(1); side.IsValid(); side.Next()) {
                HexPos n;
                if (map.GetNeighbour(side, p.column, p.row, n) && IsWater(map.GetTerrain(n.column, n.row))
                    && !seen[static_cast<std::size_t>(n.column * height + n.row)]) {
                    seen[static_cast<std::size_t>(n.column * height + n.row)] = 1;
                    open.push(n);
                }
            }
        }
        EXPECT_TRUE(edge) << "major river from " << x << "," << y0 << " does not reach an edge";
    }
}

// Moderate amounts of everything, for the rows of the toggle table.
void SetEverything(RandomMap& m)
{
    m.m_mapHills = 40;
    m.m_mapForest = 30;
    m.m_mapSoftSand = 15;
    m.m_mapLakes = 40;
    m.m_mapMajorRiverWidth = 45;
    m.m_mapRivers = 60;
    m.m_mapStreams = 40;
    m.m_mapGullies = 30;
    m.m_mapMarsh = 60;
    m.m_mapRough = 30;
    m.m_mapEmbankments = 30;
    m.m_mapCliffs = 70;
    m.m_mapEscarpments = 70;
    m.m_mapFields = 50;
    m.m_mapOrchards = 30;
    m.m_mapTowns = 70;
    m.m_mapCities = 30;
    m.m_mapSuburbs = 40;
    m.m_mapIndustry = 60;
    m.m_mapRoads = 60;
    m.m_mapUnpavedRoads = 50;
    m.m_mapPaths = 50;
    m.m_mapRailways = 60;
    m.m_mapHedges = 50;
    m.m_mapDunes = 60;
    m.m_mapBocage = 40;
    m.m_mapHighWalls = 100;
    m.m_mapStoneWalls = 100;
}

struct Setting {
    std::string name;
    std::function<void(RandomMap&)> set;
};

std::vector<Setting> Settings()
{
    std::vector<Setting> settings;
    for (int toggles = 0; toggles < 8; ++toggles) {
        settings.push_back({ "toggles " + std::to_string(toggles), [toggles](RandomMap& m) {
                                SetEverything(m);
                                m.m_mapLakeFlag = static_cast<std::int8_t>(toggles & 1);
                                m.m_mapRiverCrossing = static_cast<std::int8_t>((toggles >> 1) & 1);
                                m.m_mapCoastFlag = static_cast<std::int8_t>((toggles >> 2) & 1);
                            } });
    }
    for (int line = 1; line <= 10; ++line) {
        settings.push_back({ "description " + std::to_string(line), [line](RandomMap& m) {
                                m.SetDataFolder(DemoDataFolder());
                                ASSERT_NE(m.ReadMapDescription(line), "");
                            } });
    }
    settings.push_back({ "zeros", [](RandomMap&) {} });
    for (const int toggles : { 0, 7 }) {
        settings.push_back({ "all 100, toggles " + std::to_string(toggles), [toggles](RandomMap& m) {
                                for (const RandomMapParameter& p : RandomMapParameters()) {
                                    if (p.high == 100)
                                        m.*(p.member) = 100;
                                }
                                m.m_mapLakeFlag = m.m_mapRiverCrossing = m.m_mapCoastFlag
                                    = static_cast<std::int8_t>(toggles != 0);
                            } });
    }
    settings.push_back({ "tropical", [](RandomMap& m) {
                            SetEverything(m);
                            m.m_mapRicePaddy = 30;
                            m.m_mapFloodedPaddy = 30;
                            m.m_mapPalmTrees = 30;
                            m.m_mapLightJungle = 30;
                            m.m_mapJungle = 30;
                            m.m_mapKunai = 30;
                            m.m_mapCactus = 20;
                            m.m_mapHammada = 20;
                            m.m_mapScrub = 20;
                            m.m_mapWadi = 20;
                            m.m_mapVineyard = 20;
                            m.m_mapCoastFlag = 1;
                        } });
    return settings;
}

// Generates, reads back and checks one map.
void CheckMap(const Setting& setting, int width, int height, std::int64_t seconds, std::set<int>& terrains)
{
    SCOPED_TRACE(testing::Message() << setting.name << ", " << width << "x" << height << ", seed " << seconds);
    TempDir dir;
    LauncherRandom random;
    random.SetTimeSource([seconds] { return seconds; });
    RandomMap generator(random);
    generator.SetDataFolder(DemoDataFolder());
    setting.set(generator);
    generator.m_mapWidth = static_cast<std::int16_t>(width);
    generator.m_mapHeight = static_cast<std::int16_t>(height);
    const fs::path path = dir.Path("map.map");
    ASSERT_EQ(generator.GenerateRandomMap(path), "");
    EXPECT_EQ(generator.WalkLimitHits(), 0);
    ExpectFileMatchesGrid(path, generator, generator.LoadPlaceNames());
    std::ifstream in(path, std::ios::binary);
    HexMap map;
    ASSERT_TRUE(map.ReadMapFile(in));
    ExpectInvariants(map, generator.RiverLabels(), terrains);
}

} // namespace

TEST(RandomMapInvariantsTest, SmallMapsOfEveryKind)
{
    const std::pair<int, int> sizes[] = { { 2, 2 }, { 4, 3 }, { 2, 9 }, { 8, 2 }, { 10, 12 }, { 20, 14 }, { 40, 40 } };
    std::set<int> terrains;
    std::int64_t seconds = 1'650'000'000;
    for (const Setting& setting : Settings()) {
        for (const auto& [width, height] : sizes) {
            for (int seed = 0; seed < 3; ++seed)
                CheckMap(setting, width, height, seconds++, terrains);
        }
    }
    // Every letter the generator writes: 26 types, no Building, nothing
    // Impassible.
    EXPECT_EQ(terrains.size(), 26u);
}

TEST(RandomMapInvariantsTest, LargeMaps)
{
    std::set<int> terrains;
    const std::vector<Setting> settings = Settings();
    // The toggles all set, a demo line, and everything at 100.
    for (const std::size_t k : { std::size_t { 7 }, std::size_t { 8 }, settings.size() - 2 })
        CheckMap(settings[k], 400, 400, 1'660'000'000 + static_cast<std::int64_t>(k), terrains);
}
