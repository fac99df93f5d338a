// Reading a 200 x 200 version-6 map file (scrambled header and grids, all 21
// feature layers, a code grid and labels), and the per-hex queries the rules
// run over a whole map.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchTempPath.h"
#include "model/HexMap.h"
#include "model/Scramble.h"
#include "model/TerrainConditions.h"

namespace {

constexpr int kSize = 200;

// Deterministic content, so that every run reads the same file.
class MapWriter {
public:
    explicit MapWriter(std::uint32_t seed)
        : m_state(seed)
    {
    }

    std::string Build()
    {
        std::string text = "6\n";
        text += ScrambleLine(std::to_string(kSize) + " " + std::to_string(kSize)) + "\n";
        text += ScrambleLine("0 20 1 1 0 0") + "\n";
        for (int y = 0; y < kSize; ++y) {
            std::string row;
            for (int x = 0; x < kSize; ++x)
                row += TerrainTypeChar(static_cast<int>(Next() % kTerrainTypeCount));
            text += ScrambleLine(row) + "\n";
        }
        for (int y = 0; y < kSize; ++y) {
            std::string row;
            for (int x = 0; x < kSize; ++x)
                row += ElevationLevelChar(static_cast<int>(Next() % (kMaxElevationLevel + 1)));
            text += ScrambleLine(row) + "\n";
        }
        for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
            text += "1\n";
            for (int y = 0; y < kSize; ++y) {
                std::string row;
                for (int x = 0; x < kSize; ++x)
                    row += static_cast<char>(' ' + (Next() % 8 == 0 ? Next() % 64 : 0));
                text += row + "\n";
            }
        }
        text += "1\n";
        for (int y = 0; y < kSize; ++y) {
            std::string row;
            for (int x = 0; x < kSize; ++x)
                row += "0123456789abc"[Next() % 13];
            text += row + "\n";
        }
        for (int n = 0; n < 50; ++n)
            text += std::to_string(Next() % kSize) + ".5 " + std::to_string(Next() % kSize) + ".5 1 1 0 Place "
                + std::to_string(n) + "\n";
        return text;
    }

private:
    std::uint32_t Next()
    {
        m_state = m_state * 1103515245u + 12345u;
        return m_state >> 8;
    }

    std::uint32_t m_state;
};

const std::filesystem::path& MapPath()
{
    // Written once, removed at exit.
    static const BenchTempPath file("vl-bench-", ".map");
    static const bool written = static_cast<bool>(std::ofstream(file.Path(), std::ios::binary) << MapWriter(1).Build());
    (void)written;
    return file.Path();
}

// The reference for the map reader: the same file read whole into memory and
// nothing more.
void BM_BareReadOfMapFile(benchmark::State& state)
{
    const std::filesystem::path& path = MapPath();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        in.seekg(0, std::ios::end);
        std::string text(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(MapPath())));
}
BENCHMARK(BM_BareReadOfMapFile)->Unit(benchmark::kMillisecond);

void BM_ReadMapFile200x200(benchmark::State& state)
{
    const std::string name = MapPath().string();
    HexMap map;
    for (auto _ : state) {
        const char* error = map.LoadMapFile(name);
        if (error) {
            state.SkipWithError(error);
            break;
        }
        benchmark::DoNotOptimize(map.GetTerrain(kSize - 1, kSize - 1));
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(MapPath())));
}
BENCHMARK(BM_ReadMapFile200x200)->Unit(benchmark::kMillisecond);

HexMap& LoadedMap()
{
    static HexMap map = [] {
        HexMap m;
        m.LoadMapFile(MapPath().string());
        return m;
    }();
    return map;
}

void BM_EffectiveTerrainAndElevationScan(benchmark::State& state)
{
    const HexMap& map = LoadedMap();
    const TerrainConditions winter { .surface = 3, .water = 1, .foliage = 0, .fieldState = 2 };
    for (auto _ : state) {
        long long sum = 0;
        for (int x = 0; x < map.GetWidth(); ++x) {
            for (int y = 0; y < map.GetHeight(); ++y)
                sum += map.GetEffectiveTerrain(x, y, winter) + map.GetElevation(x, y);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_EffectiveTerrainAndElevationScan)->Unit(benchmark::kMicrosecond);

void BM_NeighboursAndRoadsScan(benchmark::State& state)
{
    const HexMap& map = LoadedMap();
    for (auto _ : state) {
        long long count = 0;
        for (int x = 0; x < map.GetWidth(); ++x) {
            for (int y = 0; y < map.GetHeight(); ++y) {
                for (HexSide side(1); side.IsValid(); side.Next()) {
                    HexPos next;
                    if (map.GetNeighbour(side, x, y, next))
                        count += map.HasRoadThrough(next.column, next.row, side);
                }
            }
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize * 6);
}
BENCHMARK(BM_NeighboursAndRoadsScan)->Unit(benchmark::kMicrosecond);

} // namespace
