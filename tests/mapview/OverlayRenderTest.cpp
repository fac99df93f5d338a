// The demo battle rendered headless in both 2D views with its labels, hex
// outlines and the visible-hexes overlay: probed with the diagnostic art,
// and kept as PNG files with the demo art for reviewers.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gfx/Png.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/ArtPainter.h"
#include "tools/render/HeadlessMap.h"

namespace {

namespace fs = std::filesystem;

void ShowOverlays(HeadlessMap& map, int mode, HexPos eye)
{
    const HexMap& hexes = map.Game().m_map;
    map.Show(mode, false, { hexes.GetWidth() / 2, hexes.GetHeight() / 2 });
    CMapView& view = map.View();
    view.SetHotSpot(eye.column, eye.row);
    view.ShowVisibleHexes(true);
    view.ToggleHexOutlines();
    view.ShowLabels(true);
}

class OverlayRenderTest : public ::testing::TestWithParam<int> { };

TEST_P(OverlayRenderTest, DemoWithLabelsOutlinesAndTheVisibleHexes)
{
    const int mode = GetParam();
    std::string error;
    std::ifstream in(VL_ART_LAYOUT, std::ios::binary);
    const auto layout = ParseArtLayout({ std::istreambuf_iterator<char>(in), {} }, error);
    ASSERT_TRUE(layout) << error;
    const std::string shading = mode == 2 ? "Terrain1d.bmp" : "Terrain2d.bmp";

    HeadlessMap map(VL_DATA_DIR, VL_DIAGNOSTIC_ART_DIR, { 2000, 2000 });
    ASSERT_TRUE(map.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    const HexPos eye { 20, 14 };
    ShowOverlays(map, mode, eye);
    CGame& game = map.Game();
    const auto& g = map.View().Geometry();
    int shaded = 0;
    int hidden = 0;
    for (int x = 0; x < game.m_map.GetWidth(); ++x)
        for (int y = 0; y < game.m_map.GetHeight(); ++y) {
            const auto d = art::DecodeDiagnostic(map.Screen().GetPixel(g.GetHexCentreX(x, y), g.GetHexCentreY(x, y)));
            // Counters and text are no diagnostic cells: their colours decode to anything.
            const bool isShaded = d.sheet >= 1 && d.sheet <= static_cast<int>(layout->entries.size())
                && layout->entries[static_cast<std::size_t>(d.sheet - 1)].file == shading && d.row == 22
                && d.column == (mode == 2 ? 2 : 1);
            const bool seen = game.HasLineOfSight(eye.column, eye.row, x, y);
            hidden += seen ? 0 : 1;
            shaded += isShaded ? 1 : 0;
            if (isShaded) {
                EXPECT_FALSE(seen) << x << ", " << y;
            }
        }
    EXPECT_GT(hidden, 0);
    // Labels and counters cover a few shaded centres.
    EXPECT_GT(shaded, hidden * 3 / 4);
    EXPECT_EQ(game.m_blockingHex, (HexPos { -1, -1 }));
    // A label's box (white inside) at its anchor.
    const MapLabel& label = game.m_map.GetLabels().Head()->value;
    const platform::Point anchor { g.GetLabelX(label.x), g.GetLabelY(label.x, label.y) };
    EXPECT_EQ(map.Screen().GetPixel(anchor.x - 3, anchor.y + 2), 0xFFFFFFu);

    // The demo art, kept for reviewers.
    HeadlessMap demo(VL_DATA_DIR, VL_DATA_DIR, { 1024, 768 });
    ASSERT_TRUE(demo.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    ShowOverlays(demo, mode, eye);
    fs::create_directories(VL_RENDER_DIR);
    const fs::path png = fs::path(VL_RENDER_DIR) / ("demo-overlays-mode" + std::to_string(mode) + ".png");
    ASSERT_TRUE(platform::gfx::WritePngFile(png, demo.Screen()));
}

INSTANTIATE_TEST_SUITE_P(Views, OverlayRenderTest, ::testing::Values(1, 2));

} // namespace
