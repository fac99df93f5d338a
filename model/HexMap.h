#pragma once
// The terrain of one battle: a grid of hex records (terrain type, elevation
// level, hexside-feature layers), a grid of small per-hex codes, the map's
// labels and a few header values, read from a map file ("main.map" format,
// versions 1 to 6). The battle clock derives from it, so every layer of the
// game object reaches the map directly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <string_view>
#include <vector>

#include "model/HexSide.h"
#include "model/IntRange.h"
#include "model/Lists.h"
#include "model/String.h"
#include "model/TerrainConditions.h"

// Terrain types, 0 to 27 (the index into the terrain-name table).
inline constexpr int kTerrainOpen = 0;
inline constexpr int kTerrainWater = 1;
inline constexpr int kTerrainForest = 2;
inline constexpr int kTerrainMarsh = 3;
inline constexpr int kTerrainBuilding = 4;
inline constexpr int kTerrainVillage = 5;
inline constexpr int kTerrainCity = 6;
inline constexpr int kTerrainBeach = 7;
inline constexpr int kTerrainOrchard = 8;
inline constexpr int kTerrainRough = 9;
inline constexpr int kTerrainShallowWater = 10;
inline constexpr int kTerrainImpassible = 11;
inline constexpr int kTerrainIndustrial = 12;
inline constexpr int kTerrainField = 13;
inline constexpr int kTerrainSuburb = 14;
inline constexpr int kTerrainSwamp = 15;
inline constexpr int kTerrainVineyard = 16;
inline constexpr int kTerrainCactus = 17;
inline constexpr int kTerrainHammada = 18;
inline constexpr int kTerrainScrub = 19;
inline constexpr int kTerrainSoftSand = 20;
inline constexpr int kTerrainWadi = 21;
inline constexpr int kTerrainRicePaddy = 22;
inline constexpr int kTerrainFloodedPaddy = 23;
inline constexpr int kTerrainPalmTrees = 24;
inline constexpr int kTerrainLightJungle = 25;
inline constexpr int kTerrainJungle = 26;
inline constexpr int kTerrainKunai = 27;
inline constexpr int kTerrainTypeCount = 28;

// Hexside-feature layers, 0 to 20.
inline constexpr int kLayerRoad = 0;
inline constexpr int kLayerRail = 1;
inline constexpr int kLayerStream = 2;
inline constexpr int kLayerRiver = 3;
inline constexpr int kLayerHeavyBridge = 4;
inline constexpr int kLayerMediumBridge = 5;
inline constexpr int kLayerLightBridge = 6;
inline constexpr int kLayerHedge = 7;
inline constexpr int kLayerDune = 8;
inline constexpr int kLayerCliff = 9;
inline constexpr int kLayerEmbankment = 10;
inline constexpr int kLayerUnpaved = 11;
inline constexpr int kLayerGully = 12;
inline constexpr int kLayerFord = 13;
inline constexpr int kLayerPath = 14;
inline constexpr int kLayerHighWall = 15;
inline constexpr int kLayerStoneWall = 16;
inline constexpr int kLayerBocage = 17;
inline constexpr int kLayerEscarpment = 18;
inline constexpr int kLayerReef = 19;
inline constexpr int kLayerExtra = 20; // carried from version 6; it has no name of its own
inline constexpr int kFeatureLayerCount = 21;

inline constexpr int kMaxElevationLevel = 35;
inline constexpr int kMaxMapCode = 12;

// Map themes (regions): -1 none, then the five theme prefixes.
inline constexpr int kNoRegion = -1;
inline constexpr int kRegionCount = 5;

// One hex of the map.
struct HexRecord {
    int terrain = kTerrainOpen; // 0..27
    int level = 0; // elevation level 0..35
    // Per feature layer, the sides of the hex that the feature crosses or lies on.
    std::array<HexSideSet, kFeatureLayerCount> layers {};

    friend bool operator==(const HexRecord&, const HexRecord&) = default;
};

// A text of the map display. The rules do not read labels.
struct MapLabel {
    double x = -1.0; // fractional column
    double y = -1.0; // fractional row
    int size = 0; // 0..3
    int alignment = 0; // 0 left, 1 centre, 2 right
    int colour = 0; // 0 black, 1 blue, 2 dark green
    String text;
};

// Labels in file order; Append adds a copy at the end.
using MapLabelList = RecordList<MapLabel>;
using MapLabelNode = MapLabelList::Node;

// The terrain-name table: entries 0..27 name the terrain types, 28 + n names
// feature layer n. Anything outside the table gives "Unknown".
const char* TerrainTableName(int entry);
inline const char* TerrainTypeName(int type)
{
    return type >= 0 && type < kTerrainTypeCount ? TerrainTableName(type) : "Unknown";
}
inline const char* FeatureLayerName(int layer)
{
    return layer >= 0 && layer < kFeatureLayerCount ? TerrainTableName(kTerrainTypeCount + layer) : "Unknown";
}

// The terrain type of a map-file character (any unlisted character is
// Impassible) and the character a map file stores for a type ("x" for
// Impassible and any type outside the table).
int TerrainTypeFromChar(char c);
char TerrainTypeChar(int type);

// The elevation character of a level 0..35 ("0".."9", "a".."z"); "0" outside.
char ElevationLevelChar(int level);

// "NWE-", "MED-", "DES-", "TRO-", "TEM-" for themes 0..4; "" for any other value.
const char* TerrainThemePrefix(int index);

// " at " + x + ", " + y: every report line that names a hex ends this way.
void HexLocationText(String& out, int x, int y);

// The adjacent hex across a side on a map of the given size; odd columns stand
// half a hex higher. False, with the output untouched, when that hex lies off
// the map or the side is not one of the six single sides. Here, as the path
// search asks it for every hex it reaches.
inline bool NeighbourHex(HexSide side, int x, int y, HexPos& out, int width, int height)
{
    // Odd columns stand half a hex higher: their NE/NW neighbours are one row
    // up and their SE/SW neighbours on the same row; even columns the reverse.
    const bool odd = (x & 1) != 0;
    // In 64 bits, so that hexes at the int limits cannot wrap round.
    long long column = x;
    long long row = y;
    switch (side.Value()) {
    case 1: // N
        row -= 1;
        break;
    case 8: // S
        row += 1;
        break;
    case 2: // NE
        column += 1;
        row -= odd ? 1 : 0;
        break;
    case 4: // SE
        column += 1;
        row += odd ? 0 : 1;
        break;
    case 16: // SW
        column -= 1;
        row += odd ? 0 : 1;
        break;
    case 32: // NW
        column -= 1;
        row -= odd ? 1 : 0;
        break;
    default:
        return false;
    }
    if (column < 0 || column >= width || row < 0 || row >= height)
        return false;
    out = HexPos { static_cast<int>(column), static_cast<int>(row) };
    return true;
}

class HexMap {
public:
    // Largest width or height a map file may declare.
    static constexpr int kMaxMapSize = 1000;
    static constexpr int kCurrentVersion = 6;
    static constexpr int kDefaultElevationStep = 25;

    // The error texts of LoadMapFile. They name "main.map" whatever the file.
    static constexpr const char* kOpenErrorText = "Error opening map file: main.map";
    static constexpr const char* kReadErrorText = "Error reading from map file: main.map";

    // An empty map: a width below 2 becomes 1, any other goes up to the next
    // even number (at most kMaxMapSize); a height below 2 becomes 1. Version 6,
    // no flags, base elevation 0, step 25, no region, no labels, every hex
    // Open at level 0 with empty layers, every code 0.
    explicit HexMap(int width = 1, int height = 1);

    // Replaces the whole map from the stream (map-file format). On failure the
    // map is an empty 1 by 1 map (never a half-read one) and false is returned.
    bool ReadMapFile(std::istream& in);
    // The same from the file's text in memory; scrambled lines are
    // descrambled where they lie, so the text is changed.
    bool ReadMapText(std::span<char> text);

    // Opens the named map file (by DataFile's lookup) and reads it. Returns
    // null on success, kOpenErrorText when the file cannot be opened, and
    // kReadErrorText when ReadMapFile fails. An empty name reads nothing, keeps
    // the map as it is, and is no error.
    const char* LoadMapFile(std::string_view fileName);

    // Header values.
    int GetVersion() const { return m_version; }
    bool GetFlagX() const { return m_flagX != 0; }
    bool GetFlagY() const { return m_flagY != 0; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBaseElevation() const { return m_baseElevation; }
    int GetElevationStep() const { return m_elevationStep; }
    void SetElevationScale(int base, int step)
    {
        m_baseElevation = base;
        m_elevationStep = step;
    }
    // The compass hex and direction the map file carries; kept as read.
    HexPos GetCompassHex() const { return m_compassHex; }
    int GetCompassDirection() const { return m_compassDirection; }
    void SetCompass(HexPos hex, int direction)
    {
        m_compassHex = hex;
        m_compassDirection = direction;
    }
    // -1 (none) or 0..4.
    int GetRegion() const { return m_region; }
    // Values outside -1..4 are taken as -1.
    void SetRegion(int region);
    // TerrainThemePrefix of the map's region.
    const char* GetThemePrefix() const { return TerrainThemePrefix(m_region); }

    // 0 <= x < width and 0 <= y < height.
    bool IsOnMap(int x, int y) const { return x >= 0 && x < m_width && y >= 0 && y < m_height; }

    // Plain reads with no bounds check: callers test IsOnMap first.
    const HexRecord& GetHex(int x, int y) const { return m_columns[Index(x, y)]; }
    HexRecord& GetHex(int x, int y) { return m_columns[Index(x, y)]; }
    int GetTerrain(int x, int y) const { return GetHex(x, y).terrain; }
    int GetElevationLevel(int x, int y) const { return GetHex(x, y).level; }
    HexSideSet GetFeatureLayer(int x, int y, int layer) const
    {
        return GetHex(x, y).layers[static_cast<std::size_t>(layer)];
    }
    void GetFeatureLayer(HexSideSet& out, int x, int y, int layer) const { out = GetFeatureLayer(x, y, layer); }
    // The map code 0..12 (0 = none).
    int GetCode(int x, int y) const { return m_codes[Index(x, y)]; }
    void SetCode(int x, int y, int code) { m_codes[Index(x, y)] = code; }

    // Level times step plus base, in metres (saturated to the int range).
    // Here, as every step cost asks it twice.
    int GetElevation(int x, int y) const
    {
        return ClampToInt(std::int64_t { GetElevationLevel(x, y) } * m_elevationStep + m_baseElevation);
    }

    // The terrain type under the battle's conditions: Marsh is Open when the
    // water is frozen or under snow; Field is Open when the field state is 2;
    // Swamp is Forest when the water is frozen; every other type unchanged.
    int GetEffectiveTerrain(int x, int y, const TerrainConditions& conditions) const;

    // The name of the hex's stored terrain type.
    void GetTerrainName(String& out, int x, int y) const;
    // The elevation as a decimal number followed by "m".
    void GetElevationText(String& out, int x, int y) const;

    // NeighbourHex with the map's size.
    bool GetNeighbour(HexSide side, int x, int y, HexPos& out) const
    {
        return NeighbourHex(side, x, y, out, m_width, m_height);
    }

    // Road, Unpaved or Rail contains the side and one of them (the same or
    // another) contains the opposite side.
    bool HasRoadThrough(int x, int y, HexSide side) const;
    // A Water or Shallow Water hex that a road, unpaved road or rail crosses in
    // a straight line along one of the three axes.
    bool IsRoadAcrossWater(int x, int y) const;

    const MapLabelList& GetLabels() const { return m_labels; }
    MapLabelList& GetLabels() { return m_labels; }

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(m_height) + static_cast<std::size_t>(y);
    }
    // Sizes the grids exactly (no rounding) with every hex and code empty.
    void Allocate(int width, int height);
    // The reader proper; works on a fresh map that replaces this one only
    // when the whole file was read.
    bool ReadFrom(std::span<char> text);

    int m_version = kCurrentVersion;
    std::uint8_t m_flagX = 0;
    std::uint8_t m_flagY = 0;
    int m_width = 1;
    int m_height = 1;
    // Column by column: hex (x, y) at x * height + y.
    std::vector<HexRecord> m_columns;
    int m_baseElevation = 0;
    int m_elevationStep = kDefaultElevationStep;
    MapLabelList m_labels;
    HexPos m_compassHex { -1, -1 };
    int m_compassDirection = 0;
    // Same layout as the hexes; values 0..12.
    std::vector<int> m_codes;
    int m_region = kNoRegion;
};
