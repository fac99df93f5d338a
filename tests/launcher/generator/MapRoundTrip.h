#pragma once
// Reads a written random map back with the main program's reader and checks
// it against the generator's grid hex by hex.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The terrain letters the hill and scatter passes write.
inline const std::string kScatterLetters = " fntdgjklpqyzA";

// Every hex of the file equals the grid: terrain, level, layers 0..18 (19 and
// 20 empty), code = random value, region = theme; the labels in order with
// their positions, kinds and names. The letters seen are added to `letters`.
inline void ExpectFileMatchesGrid(const std::filesystem::path& path, const RandomMap& map,
    const std::vector<std::string>& names, std::set<char>* letters = nullptr)
{
    std::ifstream in(path, std::ios::binary);
    HexMap hexMap;
    ASSERT_TRUE(hexMap.ReadMapFile(in)) << path;
    const MapGeometry& geometry = map.Geometry();
    ASSERT_EQ(hexMap.GetVersion(), 3);
    ASSERT_EQ(hexMap.GetWidth(), geometry.Width());
    ASSERT_EQ(hexMap.GetHeight(), geometry.Height());
    EXPECT_EQ(hexMap.GetRegion(), map.m_mapTheme >= -1 && map.m_mapTheme <= 4 ? map.m_mapTheme : -1);
    EXPECT_EQ(hexMap.GetBaseElevation(), 0);
    EXPECT_EQ(hexMap.GetElevationStep(), 20);
    int mismatches = 0;
    for (int y = 0; y < geometry.Height() && mismatches < 5; ++y) {
        for (int x = 0; x < geometry.Width() && mismatches < 5; ++x) {
            const MapCell& cell = map.Cell(geometry.CellIndex(x, y));
            const HexRecord& hex = hexMap.GetHex(x, y);
            bool same = hex.terrain == TerrainTypeFromChar(cell.terrain) && hex.level == cell.elevation
                && hexMap.GetCode(x, y) == cell.random && cell.elevation >= 0 && cell.elevation <= 12;
            for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
                const unsigned expected
                    = layer < RandomMap::kMapFileLayerCount ? cell.layers[static_cast<std::size_t>(layer)] : 0u;
                same = same && hex.layers[static_cast<std::size_t>(layer)].Value() == expected;
            }
            if (!same) {
                ++mismatches;
                ADD_FAILURE() << "hex " << x << "," << y << " differs";
            }
            if (letters)
                letters->insert(cell.terrain);
        }
    }
    const std::size_t labelCount = map.TownLabels().size() + map.RiverLabels().size();
    ASSERT_EQ(hexMap.GetLabels().Count(), names.empty() ? 0u : labelCount);
    std::size_t k = 0;
    for (const MapLabelNode* node = hexMap.GetLabels().Head(); node; node = node->next, ++k) {
        const MapLabel& label = node->value;
        const bool river = k >= map.TownLabels().size();
        const MapLabelPosition position = river ? map.RiverLabels()[k - map.TownLabels().size()] : map.TownLabels()[k];
        EXPECT_EQ(label.x, (river && position.column == 0 ? 3 : position.column) + 0.5) << k;
        EXPECT_EQ(label.y, position.row + 0.5) << k;
        EXPECT_EQ(label.size, 1);
        EXPECT_EQ(label.alignment, 1);
        EXPECT_EQ(label.colour, river ? 1 : 0);
        std::string text = label.text.str();
        if (river) {
            ASSERT_TRUE(text.size() >= 6 && text.ends_with(" River")) << text;
            text.resize(text.size() - 6);
        }
        EXPECT_NE(std::find(names.begin(), names.end(), text), names.end()) << text;
    }
}
