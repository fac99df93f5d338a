#include "launcher/generator/RandomMapParameters.h"

#include <array>

namespace {

constexpr int kPercent = 100;

constexpr std::array kParameters = {
    RandomMapParameter { "BaseElevation", &RandomMap::m_mapBaseElevation, 0, RandomMap::kMaxLevel },
    RandomMapParameter { "Hills", &RandomMap::m_mapHills, 0, kPercent },
    RandomMapParameter { "Forest", &RandomMap::m_mapForest, 0, kPercent },
    RandomMapParameter { "Vineyard", &RandomMap::m_mapVineyard, 0, kPercent },
    RandomMapParameter { "Cactus", &RandomMap::m_mapCactus, 0, kPercent },
    RandomMapParameter { "Hammada", &RandomMap::m_mapHammada, 0, kPercent },
    RandomMapParameter { "Scrub", &RandomMap::m_mapScrub, 0, kPercent },
    RandomMapParameter { "SoftSand", &RandomMap::m_mapSoftSand, 0, kPercent },
    RandomMapParameter { "Wadi", &RandomMap::m_mapWadi, 0, kPercent },
    RandomMapParameter { "RicePaddy", &RandomMap::m_mapRicePaddy, 0, kPercent },
    RandomMapParameter { "FloodedPaddy", &RandomMap::m_mapFloodedPaddy, 0, kPercent },
    RandomMapParameter { "PalmTrees", &RandomMap::m_mapPalmTrees, 0, kPercent },
    RandomMapParameter { "LightJungle", &RandomMap::m_mapLightJungle, 0, kPercent },
    RandomMapParameter { "Jungle", &RandomMap::m_mapJungle, 0, kPercent },
    RandomMapParameter { "Kunai", &RandomMap::m_mapKunai, 0, kPercent },
    RandomMapParameter { "Lakes", &RandomMap::m_mapLakes, 0, kPercent },
    RandomMapParameter { "MajorRiverWidth", &RandomMap::m_mapMajorRiverWidth, 0, kPercent },
    RandomMapParameter { "Rivers", &RandomMap::m_mapRivers, 0, kPercent },
    RandomMapParameter { "Streams", &RandomMap::m_mapStreams, 0, kPercent },
    RandomMapParameter { "Gullies", &RandomMap::m_mapGullies, 0, kPercent },
    RandomMapParameter { "Marsh", &RandomMap::m_mapMarsh, 0, kPercent },
    RandomMapParameter { "Rough", &RandomMap::m_mapRough, 0, kPercent },
    RandomMapParameter { "Embankments", &RandomMap::m_mapEmbankments, 0, kPercent },
    RandomMapParameter { "Cliffs", &RandomMap::m_mapCliffs, 0, kPercent },
    RandomMapParameter { "Escarpments", &RandomMap::m_mapEscarpments, 0, kPercent },
    RandomMapParameter { "Fields", &RandomMap::m_mapFields, 0, kPercent },
    RandomMapParameter { "Orchards", &RandomMap::m_mapOrchards, 0, kPercent },
    RandomMapParameter { "Towns", &RandomMap::m_mapTowns, 0, kPercent },
    RandomMapParameter { "Cities", &RandomMap::m_mapCities, 0, kPercent },
    RandomMapParameter { "Suburbs", &RandomMap::m_mapSuburbs, 0, kPercent },
    RandomMapParameter { "Industry", &RandomMap::m_mapIndustry, 0, kPercent },
    RandomMapParameter { "Roads", &RandomMap::m_mapRoads, 0, kPercent },
    RandomMapParameter { "UnpavedRoads", &RandomMap::m_mapUnpavedRoads, 0, kPercent },
    RandomMapParameter { "Paths", &RandomMap::m_mapPaths, 0, kPercent },
    RandomMapParameter { "Railways", &RandomMap::m_mapRailways, 0, kPercent },
    RandomMapParameter { "Hedges", &RandomMap::m_mapHedges, 0, kPercent },
    RandomMapParameter { "Dunes", &RandomMap::m_mapDunes, 0, kPercent },
    RandomMapParameter { "Bocage", &RandomMap::m_mapBocage, 0, kPercent },
    RandomMapParameter { "HighWalls", &RandomMap::m_mapHighWalls, 0, kPercent },
    RandomMapParameter { "StoneWalls", &RandomMap::m_mapStoneWalls, 0, kPercent },
    RandomMapParameter { "Reef", &RandomMap::m_mapReef, 0, kPercent },
    RandomMapParameter { "Spare1", &RandomMap::m_mapSpare1, 0, kPercent },
    RandomMapParameter { "Spare2", &RandomMap::m_mapSpare2, 0, kPercent },
    RandomMapParameter { "LakeFlag", &RandomMap::m_mapLakeFlag, 0, 1 },
    RandomMapParameter { "RiverCrossing", &RandomMap::m_mapRiverCrossing, 0, 1 },
    RandomMapParameter { "CoastFlag", &RandomMap::m_mapCoastFlag, 0, 1 },
    RandomMapParameter { "Theme", &RandomMap::m_mapTheme, -1, 4 },
    // Kept for callers that set it; the writer's body is version 3's.
    RandomMapParameter { "FileVersion", &RandomMap::m_mapFileVersion, 1, 6 },
};

} // namespace

std::span<const RandomMapParameter> RandomMapParameters() { return kParameters; }

const RandomMapParameter* FindRandomMapParameter(std::string_view name)
{
    for (const RandomMapParameter& parameter : kParameters) {
        if (parameter.name == name)
            return &parameter;
    }
    return nullptr;
}
