// The demo battle rendered headless in both 2D views: with the diagnostic
// art a probe names the cell under a river, a road and a unit; with the demo
// art the renders are kept as PNG files for reviewers.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/Geometry.h"
#include "platform/gfx/Png.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/ArtPainter.h"
#include "tools/render/HeadlessMap.h"

namespace {

namespace fs = std::filesystem;

// The first hex matching the test, in column order.
template <class Test> HexPos FindHex(const CGame& game, Test test)
{
    for (int x = 1; x < game.m_map.GetWidth() - 1; ++x)
        for (int y = 1; y < game.m_map.GetHeight() - 1; ++y)
            if (test(x, y))
                return { x, y };
    return { -1, -1 };
}

std::string FileAt(const HeadlessMap& map, const ArtLayout& layout, platform::Point client)
{
    const auto d = art::DecodeDiagnostic(map.Screen().GetPixel(client.x, client.y));
    return d.sheet >= 1 ? layout.entries[static_cast<std::size_t>(d.sheet - 1)].file : std::string();
}

class DemoRenderTest : public ::testing::TestWithParam<int> { };

TEST_P(DemoRenderTest, RiverRoadsAndUnitsShowWhereTheBattleHasThem)
{
    const int mode = GetParam();
    const std::string suffix = mode == 2 ? "1d.bmp" : "2d.bmp";
    std::string error;
    std::ifstream in(VL_ART_LAYOUT, std::ios::binary);
    const auto layout = ParseArtLayout({ std::istreambuf_iterator<char>(in), {} }, error);
    ASSERT_TRUE(layout) << error;

    // A client that shows the whole map.
    HeadlessMap map(VL_DATA_DIR, VL_DIAGNOSTIC_ART_DIR, { 2000, 2000 });
    ASSERT_TRUE(map.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    map.Show(mode, false, { 0, 0 });
    const CGame& game = map.Game();
    const HexMap& hexes = game.m_map;
    const auto& g = map.View().Geometry();
    auto bare = [&](int x, int y) {
        const HexRecord& h = hexes.GetHex(x, y);
        if (game.HexHasUnits(x, y) || h.terrain != kTerrainOpen || game.m_hexFlags.At(x, y) != 0)
            return false;
        // Counters are 32 pixels in both views: none may stand near.
        for (int dx = -3; dx <= 3; ++dx)
            for (int dy = -3; dy <= 3; ++dy)
                if (hexes.IsOnMap(x + dx, y + dy) && HexDistance(x, y, x + dx, y + dy) <= 2
                    && (game.HexHasUnits(x + dx, y + dy) || game.m_hexFlags.At(x + dx, y + dy) != 0))
                    return false;
        for (int layer = 0; layer < kFeatureLayerCount; ++layer)
            if (layer != kLayerRiver && layer != kLayerRoad && !h.layers[static_cast<std::size_t>(layer)].IsEmpty())
                return false;
        return true;
    };
    const HexPos river = FindHex(game, [&](int x, int y) {
        return bare(x, y) && (hexes.GetFeatureLayer(x, y, kLayerRiver).Value() & 7u) != 0
            && hexes.GetFeatureLayer(x, y, kLayerRoad).IsEmpty();
    });
    const HexPos road = FindHex(game, [&](int x, int y) {
        return bare(x, y) && !hexes.GetFeatureLayer(x, y, kLayerRoad).IsEmpty()
            && hexes.GetFeatureLayer(x, y, kLayerRiver).IsEmpty();
    });
    const HexPos unit = FindHex(game, [&](int x, int y) { return game.HexHasUnits(x, y); });
    ASSERT_NE(river.column, -1);
    ASSERT_NE(road.column, -1);
    ASSERT_NE(unit.column, -1);
    EXPECT_EQ(FileAt(map, *layout, g.GetHexCentre(river.column, river.row)), "Sides" + suffix);
    EXPECT_EQ(FileAt(map, *layout, g.GetHexCentre(road.column, road.row)), "Roads" + suffix);
    const std::string icons = FileAt(map, *layout, g.GetHexCentre(unit.column, unit.row));
    EXPECT_NE(icons.find("cons"), std::string::npos) << icons;

    // The demo art, kept for reviewers.
    HeadlessMap demo(VL_DATA_DIR, VL_DATA_DIR, { 1024, 768 });
    ASSERT_TRUE(demo.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    demo.Show(mode, false, { hexes.GetWidth() / 2, hexes.GetHeight() / 2 });
    fs::create_directories(VL_RENDER_DIR);
    const fs::path png = fs::path(VL_RENDER_DIR) / ("demo-mode" + std::to_string(mode) + ".png");
    ASSERT_TRUE(platform::gfx::WritePngFile(png, demo.Screen()));
    platform::gfx::Surface back;
    ASSERT_TRUE(platform::gfx::ReadPngFile(png, back));
    EXPECT_EQ(back.GetPixel(512, 384), demo.Screen().GetPixel(512, 384));
}

INSTANTIATE_TEST_SUITE_P(Views, DemoRenderTest, ::testing::Values(1, 2));

} // namespace
