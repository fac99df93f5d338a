#pragma once
// A map view on a headless host over a game object whose map the test makes
// by hand, drawing with the diagnostic art (each cell one colour that names
// its sheet, column and row), so that a probe tells which cell a painter
// drew at a pixel.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ai/Game.h"
#include "mapview/MapView.h"
#include "platform/gfx/Bmp.h"
#include "platform/testing/HeadlessServices.h"
#include "platform/testing/HeadlessWindowHost.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/ArtPainter.h"

// Sheets whose cells name themselves by colour, for painters the diagnostic
// art does not cover: cell (column, row) is filled with NamedCellColour, and
// NamedCellOf reads the cell back from a pixel ((-1, -1) for any other).
inline platform::gfx::Pixel NamedCellColour(int column, int row)
{
    return static_cast<platform::gfx::Pixel>(((40 * column + 20) << 16) | ((10 * row + 5) << 8) | 0x80);
}

inline HexPos NamedCellOf(platform::gfx::Pixel p)
{
    const int r = static_cast<int>(p >> 16) & 0xFF;
    const int g = static_cast<int>(p >> 8) & 0xFF;
    if ((p & 0xFF) != 0x80 || (r - 20) % 40 != 0 || (g - 5) % 10 != 0)
        return { -1, -1 };
    return { (r - 20) / 40, (g - 5) / 10 };
}

// A sheet of columns by rows named cells of the full size given, drawn at
// 1 / divisor of it, with the key colour at its first pixel.
inline void WriteNamedCellSheet(
    const std::filesystem::path& path, int columns, int rows, int cellWidth, int cellHeight, int divisor = 1)
{
    platform::gfx::Surface sheet(columns * cellWidth / divisor, rows * cellHeight / divisor);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            sheet.Fill({ c * cellWidth / divisor, r * cellHeight / divisor, (c + 1) * cellWidth / divisor,
                           (r + 1) * cellHeight / divisor },
                NamedCellColour(c, r));
    sheet.SetPixel(0, 0, 0xFF00FF);
    ASSERT_TRUE(platform::gfx::WriteBmpFile(path, sheet));
}

// The game object with the fog-of-war answers set by the test.
class CViewTestGame : public CGame {
public:
    std::function<bool(int, int)> m_unitsAnswer;
    bool m_hidden[2] = { false, false };

    bool HexHasUnits(int column, int row) const override
    {
        return m_unitsAnswer ? m_unitsAnswer(column, row) : CGame::HexHasUnits(column, row);
    }
    bool IsSideHidden(int side) const override { return side >= 0 && side <= 1 && m_hidden[side]; }
};

// A decoded probe: the file whose cell drew the pixel, and the cell.
struct ProbedCell {
    std::string file; // empty: no diagnostic cell (the backdrop, say)
    int column = 0;
    int row = 0;
    friend bool operator==(const ProbedCell&, const ProbedCell&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ProbedCell& c)
    {
        return out << (c.file.empty() ? "(none)" : c.file) << " [" << c.column << ", " << c.row << "]";
    }
};

class MapViewTest : public ::testing::Test {
protected:
    MapViewTest()
    {
        std::string text;
        std::ifstream in(VL_ART_LAYOUT, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
        std::string error;
        m_layout = *ParseArtLayout(text, error);
    }
    ~MapViewTest() override
    {
        m_host.reset();
        m_view.reset();
    }

    // The diagnostic art, less the named files (then copied to a folder of
    // the test's own).
    void LeaveOutArt(const std::vector<std::string>& files)
    {
        namespace fs = std::filesystem;
        m_artCopy = std::make_unique<TempDir>();
        for (const auto& entry : fs::directory_iterator(VL_DIAGNOSTIC_ART_DIR)) {
            const std::string name = entry.path().filename().string();
            bool skip = false;
            for (const auto& f : files)
                skip |= f == name;
            if (!skip)
                fs::copy_file(entry.path(), m_artCopy->Path(name));
        }
        m_art = m_artCopy->Path();
    }

    void MakeMap(int width, int height)
    {
        static_cast<HexMap&>(m_game.m_map) = HexMap(width, height);
        m_game.AllocateGrids(width, height);
        m_game.m_night = 0;
    }
    HexRecord& Hex(int x, int y) { return m_game.m_map.GetHex(x, y); }
    void SetTerrain(int x, int y, int terrain) { Hex(x, y).terrain = terrain; }
    void SetLevel(int x, int y, int level) { Hex(x, y).level = level; }
    void AddFeature(int x, int y, int layer, HexSide side) { Hex(x, y).layers[layer].Add(side); }
    void SetFlags(int x, int y, int flags) { m_game.m_hexFlags.At(x, y) = flags; }

    // Creates the view (once) and shows the map in the mode with scroll 0, 0.
    void Show(int mode = 1, bool rotated = false, platform::Size client = { 400, 400 })
    {
        if (!m_view) {
            m_services = std::make_unique<platform::testing::HeadlessServices>(m_art);
            m_view = m_makeView ? m_makeView(&m_game) : std::make_unique<CMapView>(&m_game);
            m_host = std::make_unique<platform::testing::HeadlessWindowHost>(*m_view, m_services->Get(), client);
            ASSERT_TRUE(m_host->Create());
        }
        m_view->AttachBattle(m_game.m_terrain, false);
        if (rotated != m_view->IsRotated())
            m_view->ToggleRotation(0, 0);
        m_view->SetViewMode(mode, 0, 0);
    }

    // The pixel at a picture point, from the back buffer.
    platform::gfx::Pixel At(platform::Point picture) const
    {
        const platform::Point o = m_view->ScrollOrigin();
        return m_view->BackBuffer().GetPixel(picture.x - o.x, picture.y - o.y);
    }
    ProbedCell Decode(platform::gfx::Pixel pixel) const
    {
        const art::DiagnosticCell d = art::DecodeDiagnostic(pixel);
        if (d.sheet < 1 || d.sheet > static_cast<int>(m_layout.entries.size()))
            return {};
        return { m_layout.entries[static_cast<std::size_t>(d.sheet - 1)].file, d.column, d.row };
    }
    ProbedCell CellAt(platform::Point picture) const { return Decode(At(picture)); }
    // The cell at a view hex's centre, moved by (dx, dy).
    ProbedCell CellAtHex(int column, int row, int dx = 0, int dy = 0) const
    {
        const platform::Point c = m_view->Geometry().GetHexCentre(column, row);
        return CellAt({ c.x + dx, c.y + dy });
    }

    // The view the test shows, when it needs a kind of its own.
    std::function<std::unique_ptr<CMapView>(CGame*)> m_makeView;
    ArtLayout m_layout;
    std::filesystem::path m_art = VL_DIAGNOSTIC_ART_DIR;
    std::unique_ptr<TempDir> m_artCopy;
    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    CViewTestGame m_game;
    std::unique_ptr<platform::testing::HeadlessServices> m_services;
    std::unique_ptr<CMapView> m_view;
    std::unique_ptr<platform::testing::HeadlessWindowHost> m_host;
};
