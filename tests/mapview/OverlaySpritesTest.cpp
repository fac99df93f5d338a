// The 3D mark sprites, the blocked-hex pieces and the miniature samples,
// drawn from sheets the test makes: each cell filled with a colour that
// names its column and row (the 3D families have no art yet).

#include "tests/mapview/MapViewFixture.h"

#include <functional>

#include "platform/gfx/Bmp.h"

namespace {

using platform::Point;
using platform::gfx::Pixel;
using platform::gfx::Surface;

class OverlaySpritesTest : public MapViewTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        LeaveOutArt({});
        WriteNamedCellSheet(m_art / "Terrain3d.bmp", 6, 13, 200, 125);
        WriteNamedCellSheet(m_art / "Blocked3d.bmp", 3, 2, 108, 64);
    }
    HexPos CellAtPoint(Point p) const { return NamedCellOf(At(p)); }
    // The sprite cell at a hex's centre, lifted as the sprites are.
    // The sprite cell at a hex's centre, lifted as the sprites of the view
    // are: 19 pixels in the normal view, 10 and 5 in the zoom-outs.
    HexPos SpriteAt(int column, int row) const
    {
        const int mode = m_view->GetViewMode();
        const Point c = m_view->Geometry().GetHexCentre(column, row);
        return CellAtPoint({ c.x, c.y - (mode == 3 ? 10 : mode == 4 ? 5 : 19) });
    }
};

TEST_F(OverlaySpritesTest, MarkSpritesByParityAndTerrain)
{
    SetTerrain(4, 4, kTerrainCity);
    SetTerrain(5, 4, kTerrainShallowWater);
    // The zoom-out view's half-size sheet: the same cells, lifted less.
    WriteNamedCellSheet(m_art / "Terrain4d.bmp", 6, 13, 100, 62);
    Show(0, false, { 1400, 1000 });
    CMapView& v = *m_view;
    struct Case {
        const char* name;
        std::function<void()> draw;
        HexPos hex;
        HexPos cell;
    };
    const Case cases[] = {
        { "mark, even", [&] { v.DrawMarkSprite3D(2, 2); }, { 2, 2 }, { 0, 8 } },
        { "mark, odd", [&] { v.DrawMarkSprite3D(3, 2); }, { 3, 2 }, { 1, 8 } },
        { "overlay row", [&] { v.DrawOverlayRowSprite3D(2, 2, 5); }, { 2, 2 }, { 5, 9 } },
        { "flag 0x10", [&] { v.DrawFlag10Sprite3D(3, 2); }, { 3, 2 }, { 1, 10 } },
        { "flag 0x10, built up", [&] { v.DrawFlag10Sprite3D(4, 4); }, { 4, 4 }, { 2, 10 } },
        { "flag 0x800", [&] { v.DrawFlag800Sprite3D(2, 2); }, { 2, 2 }, { 4, 10 } },
        { "flag 0x800, shallows", [&] { v.DrawFlag800Sprite3D(5, 4); }, { 5, 4 }, { 5, 10 } },
        { "flag 0x20", [&] { v.DrawFlag20Sprite3D(3, 2); }, { 3, 2 }, { 3, 8 } },
        { "flag 0x400", [&] { v.DrawFlag400Sprite3D(2, 2); }, { 2, 2 }, { 4, 8 } },
        { "flag 0x2000", [&] { v.DrawFlag2000Sprite3D(4, 3); }, { 4, 3 }, { 1, 12 } },
    };
    for (int mode : { 0, 3 }) {
        Show(mode, false, { 1400, 1000 });
        for (const Case& c : cases) {
            v.BackBuffer().Fill(0);
            c.draw();
            EXPECT_EQ(SpriteAt(c.hex.column, c.hex.row), c.cell) << c.name << " mode " << mode;
        }
    }
    // The extreme zoom-out reads the "5d" file, absent here: nothing is drawn.
    v.SetViewMode(4, 0, 0);
    v.BackBuffer().Fill(0);
    v.DrawMarkSprite3D(2, 2);
    EXPECT_EQ(SpriteAt(2, 2), (HexPos { -1, -1 }));
}

TEST_F(OverlaySpritesTest, BlockedHexPiecesBackAndFront)
{
    SetTerrain(3, 4, kTerrainVillage);
    SetTerrain(4, 4, kTerrainIndustrial);
    // The zoom-out view's half-size sheet, and its offsets halved.
    WriteNamedCellSheet(m_art / "Blocked4d.bmp", 3, 2, 54, 32);
    for (int mode : { 0, 3 })
        for (HexPos hex : { HexPos { 3, 4 }, HexPos { 4, 4 } }) {
            Show(mode, false, { 1400, 1000 });
            const auto& g = m_view->Geometry();
            const int s8 = mode == 3 ? 4 : 8;
            const int s32 = mode == 3 ? 16 : 32;
            m_view->BackBuffer().Fill(0);
            m_view->DrawBlockSprites3D(hex.column, hex.row);
            const Point c = g.GetHexCentre(hex.column, hex.row);
            const int w = g.GetHalfColumn();
            const int h = g.GetHalfRow();
            const int p = (hex.column + hex.row) & 1;
            const int q = 1 - p;
            const bool builtUp = hex.column == 4;
            // Each piece's centre, then the cell drawn there.
            const HexPos none { -1, -1 };
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " hex " << hex.column);
            EXPECT_EQ(CellAtPoint({ c.x - w + s8, c.y - s32 }), (builtUp ? none : HexPos { 0, p }));
            EXPECT_EQ(CellAtPoint({ c.x, c.y - h }), (builtUp ? none : HexPos { 1, q }));
            EXPECT_EQ(CellAtPoint({ c.x + w - s8, c.y - s32 }), (builtUp ? none : HexPos { 2, p }));
            EXPECT_EQ(CellAtPoint({ c.x + w - s8, c.y + s32 - 2 * s8 }), (HexPos { 0, q }));
            EXPECT_EQ(CellAtPoint({ c.x - w + s8, c.y + s32 - 2 * s8 }), (HexPos { 2, q }));
            EXPECT_EQ(CellAtPoint({ c.x, c.y + h - 2 * s8 }), (HexPos { 1, p }));
        }
}

TEST_F(OverlaySpritesTest, BridgeCellClippedToItsHex)
{
    WriteNamedCellSheet(m_art / "Bridges3d.bmp", 3, 4, 200, 124);
    SetLevel(3, 4, 3);
    Show(0, false, { 1400, 1000 });
    const auto& g = m_view->Geometry();
    m_view->BackBuffer().Fill(0);
    // Hex (3, 3) has a raised S neighbour: its skirt is cut out of the clip.
    m_view->DrawBridgeCell3D(3, 3, 2, 1);
    const Point c = g.GetHexCentre(3, 3);
    EXPECT_EQ(CellAtPoint(c), (HexPos { 2, 3 }));
    EXPECT_EQ(CellAtPoint({ c.x, c.y + g.GetHalfRow() - 2 }), (HexPos { -1, -1 })) << "under the raised neighbour";
    EXPECT_EQ(CellAtPoint({ c.x, c.y - g.GetHalfRow() - 5 }), (HexPos { -1, -1 })) << "in the cell, off the hexagon";
    EXPECT_EQ(m_view->ClipDepth(), 0);
}

TEST_F(OverlaySpritesTest, MiniatureSamplesFromTheHalfSizeSheets)
{
    SetTerrain(1, 1, kTerrainForest);
    SetTerrain(2, 1, kTerrainWater);
    SetTerrain(3, 1, kTerrainVillage);
    SetLevel(4, 1, 3);
    SetTerrain(5, 1, kTerrainRough);
    Show();
    Surface out(4, 4, 0x010203);
    platform::gfx::Canvas canvas(out);
    auto sample = [&](bool terrain, int column, int row) {
        out.Fill(0x010203);
        if (terrain)
            m_view->SampleMiniatureTerrain(canvas, column, row, { 0, 0, 4, 4 });
        else
            m_view->SampleMiniatureSoil(canvas, column, row, { 0, 0, 4, 4 });
        return out.GetPixel(1, 1);
    };
    auto variant = [&](int column, int row) { return m_view->GetTileVariant(column, row, 6, false); };
    // The miniatures are the half-size sheets; cells name themselves in
    // full-size terms.
    EXPECT_EQ(Decode(sample(true, 1, 1)), (ProbedCell { "Terrain1d.bmp", variant(1, 1), 0 }));
    EXPECT_EQ(Decode(sample(true, 3, 1)), (ProbedCell { "Terrain1d.bmp", variant(3, 1), 10 }));
    EXPECT_EQ(sample(true, 5, 1), 0x010203u) << "no miniature for rough ground";
    EXPECT_EQ(Decode(sample(false, 2, 1)), (ProbedCell { "Terrain1d.bmp", variant(2, 1), 11 }));
    EXPECT_EQ(Decode(sample(false, 4, 1)), (ProbedCell { "Brown1d.bmp", variant(4, 1), 3 }));
}

} // namespace
