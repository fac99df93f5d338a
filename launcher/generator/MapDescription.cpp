// "Map Description.dat": one parameter set a line, 42 numbers and a text.

#include <algorithm>
#include <array>

#include "launcher/generator/RandomMap.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

using Parameter = std::int8_t RandomMap::*;

// Fields 1 to 42 of a line; null for the fields read and not used.
constexpr std::array<Parameter, RandomMap::kDescriptionFieldCount> kFields = {
    &RandomMap::m_mapHills,
    &RandomMap::m_mapRough,
    &RandomMap::m_mapCliffs,
    &RandomMap::m_mapEmbankments,
    &RandomMap::m_mapLakes,
    &RandomMap::m_mapMajorRiverWidth,
    &RandomMap::m_mapRivers,
    &RandomMap::m_mapStreams,
    &RandomMap::m_mapGullies,
    &RandomMap::m_mapMarsh,
    &RandomMap::m_mapForest,
    &RandomMap::m_mapSpare1,
    &RandomMap::m_mapHedges,
    &RandomMap::m_mapPaths,
    &RandomMap::m_mapUnpavedRoads,
    &RandomMap::m_mapRoads,
    &RandomMap::m_mapRailways,
    &RandomMap::m_mapFields,
    &RandomMap::m_mapOrchards,
    &RandomMap::m_mapTowns,
    &RandomMap::m_mapSuburbs,
    &RandomMap::m_mapCities,
    &RandomMap::m_mapIndustry,
    &RandomMap::m_mapSpare2,
    nullptr,
    nullptr,
    nullptr,
    &RandomMap::m_mapEscarpments,
    &RandomMap::m_mapCactus,
    &RandomMap::m_mapWadi,
    &RandomMap::m_mapHammada,
    &RandomMap::m_mapVineyard,
    &RandomMap::m_mapScrub,
    &RandomMap::m_mapSoftSand,
    &RandomMap::m_mapHighWalls,
    &RandomMap::m_mapStoneWalls,
    &RandomMap::m_mapDunes,
    &RandomMap::m_mapBocage,
    &RandomMap::m_mapTheme,
    nullptr,
    nullptr,
    nullptr,
};
constexpr int kThemeField = 38; // 0-based

// What a line sets besides its fields: cleared before every parse.
constexpr std::array<Parameter, 11> kClearedParameters = {
    &RandomMap::m_mapBaseElevation,
    &RandomMap::m_mapRicePaddy,
    &RandomMap::m_mapFloodedPaddy,
    &RandomMap::m_mapPalmTrees,
    &RandomMap::m_mapLightJungle,
    &RandomMap::m_mapJungle,
    &RandomMap::m_mapKunai,
    &RandomMap::m_mapReef,
    &RandomMap::m_mapLakeFlag,
    &RandomMap::m_mapRiverCrossing,
    &RandomMap::m_mapCoastFlag,
};

} // namespace

std::string RandomMap::ReadMapDescription(int line)
{
    std::ifstream in = OpenDataFile(DataFilePath(kDescriptionFileName));
    if (!in.is_open())
        return {};
    const int wanted = std::max(line, 1);
    std::string text;
    std::string last;
    int read = 0;
    while (read < wanted) {
        if (!ReadDataLine(in, text)) {
            // The plain end of the file, else an over-long line or a read error.
            if (in.eof() && !in.bad() && text.empty())
                break;
            return {};
        }
        last = std::move(text);
        ++read;
    }
    if (read == 0)
        return {};

    for (Parameter field : kFields) {
        if (field)
            this->*field = 0;
    }
    for (Parameter parameter : kClearedParameters)
        this->*parameter = 0;
    m_mapTheme = -1;

    TextCursor cursor(last);
    for (int field = 0; field < kDescriptionFieldCount; ++field) {
        std::int32_t value = 0;
        if (!cursor.ReadInt(value))
            return {};
        const Parameter parameter = kFields[static_cast<std::size_t>(field)];
        if (!parameter)
            continue;
        if (field == kThemeField)
            m_mapTheme = static_cast<std::int8_t>(value >= -1 && value <= 4 ? value : -1);
        else
            this->*parameter = static_cast<std::int8_t>(std::clamp(value, 0, 100));
    }
    return std::string(TrimRight(TrimLeft(cursor.Rest())));
}
