// A 400 x 400 random map generated and written for each line of the demo
// "Map Description.dat" and for uniform percentages with the three water
// toggles, and the same file read back by the main program's map reader, for
// the ratio of the two in one run.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchTempPath.h"
#include "launcher/generator/RandomMap.h"
#include "launcher/generator/RandomMapParameters.h"
#include "model/HexMap.h"

namespace {

constexpr int kSize = 400;
constexpr int kDemoLines = 10;

const std::filesystem::path& OutputPath()
{
    static const BenchTempPath path("vl-bench-random-", ".map");
    return path.Path();
}

// Generates the map of one demo line, seeded with a fixed time.
std::string Generate(RandomMap& map, int line)
{
    map.ReadMapDescription(line);
    map.m_mapWidth = kSize;
    map.m_mapHeight = kSize;
    return map.GenerateRandomMap(OutputPath());
}

void BM_GenerateRandomMap400x400(benchmark::State& state)
{
    const int line = static_cast<int>(state.range(0));
    LauncherRandom random;
    random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
    RandomMap map(random);
    map.SetDataFolder(VL_BENCH_DATA_DIR);
    for (auto _ : state) {
        const std::string error = Generate(map, line);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_GenerateRandomMap400x400)->DenseRange(1, kDemoLines)->Unit(benchmark::kMillisecond);

void BM_ReadGeneratedMap400x400(benchmark::State& state)
{
    const int line = static_cast<int>(state.range(0));
    LauncherRandom random;
    random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
    RandomMap generator(random);
    generator.SetDataFolder(VL_BENCH_DATA_DIR);
    const std::string error = Generate(generator, line);
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    HexMap map;
    for (auto _ : state) {
        std::ifstream in(OutputPath(), std::ios::binary);
        if (!map.ReadMapFile(in)) {
            state.SkipWithError("map not read");
            break;
        }
        benchmark::DoNotOptimize(map.GetTerrain(kSize - 1, kSize - 1));
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(OutputPath())));
}
BENCHMARK(BM_ReadGeneratedMap400x400)->DenseRange(1, kDemoLines)->Unit(benchmark::kMillisecond);

// Every percentage at the given value, the three water toggles set.
std::string GenerateUniform(RandomMap& map, int percent)
{
    for (const RandomMapParameter& parameter : RandomMapParameters()) {
        if (parameter.high == 100)
            map.*(parameter.member) = static_cast<std::int8_t>(percent);
    }
    map.m_mapBaseElevation = 0;
    map.m_mapLakeFlag = map.m_mapRiverCrossing = map.m_mapCoastFlag = 1;
    map.m_mapWidth = kSize;
    map.m_mapHeight = kSize;
    return map.GenerateRandomMap(OutputPath());
}

// Percentages 50 (and 100, the heaviest map) with a lake, a crossing and a coast.
void BM_GenerateUniformMap400x400(benchmark::State& state)
{
    LauncherRandom random;
    random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
    RandomMap map(random);
    map.SetDataFolder(VL_BENCH_DATA_DIR);
    for (auto _ : state) {
        const std::string error = GenerateUniform(map, static_cast<int>(state.range(0)));
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}
BENCHMARK(BM_GenerateUniformMap400x400)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
