#include "model/HexMap.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <sstream>
#include <span>
#include <string>
#include <utility>

#include "model/DataFile.h"
#include "model/TextScan.h"
#include "model/Scramble.h"

namespace {

// clang-format off
const char* const kTerrainTable[kTerrainTypeCount + kFeatureLayerCount] = {
    // Terrain types 0..27.
    "Open", "Water", "Forest", "Marsh", "Building", "Village", "City", "Beach", "Orchard", "Rough", "Shallow Water",
    "Impassible", "Industrial", "Field", "Suburb", "Swamp", "Vineyard", "Cactus", "Hammada", "Scrub", "Soft Sand",
    "Wadi", "Rice Paddy", "Flooded Paddy", "Palm Trees", "Lt. Jungle", "Jungle", "Kunai",
    // Feature layers 0..20; the map editor names no layer 20, so it is shown neutrally.
    "Road", "Rail", "Stream", "River", "Hv Bridge", "Med Bridge", "Lt Bridge", "Hedge", "Dune", "Cliff",
    "Embankment", "Unpaved", "Gully", "Ford", "Path", "High Wall", "Stone Wall", "Bocage", "Escarpment", "Reef",
    "Other Feature",
};

// Map-file character of each terrain type.
constexpr char kTerrainChars[kTerrainTypeCount] = {
    ' ', 'w', 'f', 'm', 'b', 'v', 'c', 'a', 'o', 'r', 'h', 'x', 'i', 'e',
    'u', 's', 'n', 't', 'd', 'g', 'j', 'k', 'l', 'p', 'q', 'y', 'z', 'A',
};
// clang-format on

// The inverse, built once: every byte that is no terrain character is Impassible.
struct TerrainCharTable {
    int types[256];
    constexpr TerrainCharTable()
        : types()
    {
        for (int& type : types)
            type = kTerrainImpassible;
        for (int type = 0; type < kTerrainTypeCount; ++type)
            types[static_cast<unsigned char>(kTerrainChars[type])] = type;
    }
};
constexpr TerrainCharTable kTerrainFromChar;

// Elevation characters "0".."9", "a".."z" and their levels; -1 for any other.
struct LevelCharTable {
    int levels[256];
    constexpr LevelCharTable()
        : levels()
    {
        for (int& level : levels)
            level = -1;
        for (int level = 0; level <= 9; ++level)
            levels['0' + level] = level;
        for (int level = 10; level <= kMaxElevationLevel; ++level)
            levels['a' + level - 10] = level;
    }
};
constexpr LevelCharTable kLevelFromChar;

const char* const kThemePrefixes[kRegionCount] = { "NWE-", "MED-", "DES-", "TRO-", "TEM-" };

// How many feature layers each file version carries (index = version).
constexpr int kLayersOfVersion[7] = { 0, 10, 15, 19, 19, 20, 21 };

// A decimal int at the start of the line (after white space); the cursor is
// left after it.
bool ReadLeadingInt(TextCursor& cursor, int& value)
{
    std::int32_t number = 0;
    if (!cursor.ReadInt(number))
        return false;
    value = number;
    return true;
}

bool ParseInts(std::string_view line, int* values, int count)
{
    TextCursor cursor(line);
    for (int i = 0; i < count; ++i) {
        if (!ReadLeadingInt(cursor, values[i]))
            return false;
    }
    return true;
}

// One label line: x, y, three ints, one blank, the text to the end of the line.
bool ParseLabel(std::string_view line, MapLabel& label)
{
    TextCursor cursor(line);
    long long size = 0;
    long long alignment = 0;
    long long colour = 0;
    if (!cursor.ReadDouble(label.x) || !cursor.ReadDouble(label.y) || !cursor.ReadLongLong(size)
        || !cursor.ReadLongLong(alignment) || !cursor.ReadLongLong(colour))
        return false;
    // The display indexes its fonts, alignments and colours by these.
    label.size = static_cast<int>(std::clamp<long long>(size, 0, 3));
    label.alignment = static_cast<int>(std::clamp<long long>(alignment, 0, 2));
    label.colour = static_cast<int>(std::clamp<long long>(colour, 0, 2));
    // One separating character, then the text; a line that ends after the
    // numbers has an empty text (it never takes the next line).
    cursor.SkipOne();
    label.text = String(std::string(cursor.Rest()));
    return true;
}

} // namespace

const char* TerrainTableName(int entry)
{
    if (entry < 0 || entry >= kTerrainTypeCount + kFeatureLayerCount)
        return "Unknown";
    return kTerrainTable[entry];
}

int TerrainTypeFromChar(char c) { return kTerrainFromChar.types[static_cast<unsigned char>(c)]; }

char TerrainTypeChar(int type) { return type >= 0 && type < kTerrainTypeCount ? kTerrainChars[type] : 'x'; }

char ElevationLevelChar(int level)
{
    if (level >= 0 && level <= 9)
        return static_cast<char>('0' + level);
    if (level >= 10 && level <= kMaxElevationLevel)
        return static_cast<char>('a' + level - 10);
    return '0';
}

const char* TerrainThemePrefix(int index) { return index >= 0 && index < kRegionCount ? kThemePrefixes[index] : ""; }

void HexLocationText(String& out, int x, int y)
{
    std::ostringstream text;
    text << " at " << x << ", " << y;
    out = String::StringFromStream(text);
}

HexMap::HexMap(int width, int height)
{
    // Capped before rounding, so that no width can overflow; the cap is even.
    width = width < 2 ? 1 : std::min(kMaxMapSize, width);
    if (width > 1)
        width += width & 1;
    height = height < 2 ? 1 : std::min(kMaxMapSize, height);
    Allocate(width, height);
}

void HexMap::Allocate(int width, int height)
{
    m_width = width;
    m_height = height;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    m_columns.assign(count, HexRecord {});
    m_codes.assign(count, 0);
}

void HexMap::SetRegion(int region) { m_region = region >= kNoRegion && region < kRegionCount ? region : kNoRegion; }

int HexMap::GetEffectiveTerrain(int x, int y, const TerrainConditions& conditions) const
{
    const int terrain = GetTerrain(x, y);
    const bool frozen = conditions.water == TerrainConditions::kFrozen;
    switch (terrain) {
    case kTerrainMarsh:
        return frozen || conditions.surface == TerrainConditions::kSnow ? kTerrainOpen : terrain;
    case kTerrainField:
        return conditions.fieldState == TerrainConditions::kFieldsOpen ? kTerrainOpen : terrain;
    case kTerrainSwamp:
        return frozen ? kTerrainForest : terrain;
    default:
        return terrain;
    }
}

void HexMap::GetTerrainName(String& out, int x, int y) const { out = String(TerrainTypeName(GetTerrain(x, y))); }

void HexMap::GetElevationText(String& out, int x, int y) const
{
    out = String(std::to_string(GetElevation(x, y)) + "m");
}

bool HexMap::HasRoadThrough(int x, int y, HexSide side) const
{
    const HexRecord& hex = GetHex(x, y);
    const HexSideSet road(
        hex.layers[kLayerRoad].Value() | hex.layers[kLayerUnpaved].Value() | hex.layers[kLayerRail].Value());
    const HexSide opposite = side.Opposite();
    return side.IsSingleSide() && road.Contains(side) && road.Contains(opposite);
}

bool HexMap::IsRoadAcrossWater(int x, int y) const
{
    const int terrain = GetTerrain(x, y);
    if (terrain != kTerrainWater && terrain != kTerrainShallowWater)
        return false;
    return HasRoadThrough(x, y, HexSide::North) || HasRoadThrough(x, y, HexSide::NorthEast)
        || HasRoadThrough(x, y, HexSide::SouthEast);
}

bool HexMap::ReadMapFile(std::istream& in)
{
    std::string text;
    if (!ReadStreamText(in, text)) {
        *this = HexMap();
        return false;
    }
    return ReadMapText(text);
}

bool HexMap::ReadMapText(std::span<char> text)
{
    HexMap map;
    // This map is replaced whatever the outcome: its grids lend their memory
    // to the new one (a reload usually reads a map of the same size again).
    map.m_columns = std::move(m_columns);
    map.m_codes = std::move(m_codes);
    if (map.ReadFrom(text)) {
        *this = std::move(map);
        return true;
    }
    // Never a half-read map: the battle cannot start on it anyway, and every
    // per-hex grid of the game object is sized from this one.
    *this = HexMap();
    return false;
}

const char* HexMap::LoadMapFile(std::string_view fileName)
{
    if (fileName.empty())
        return nullptr;
    std::string text;
    switch (ReadDataFileText(fileName, text)) {
    case DataFileRead::kNotOpened:
        return kOpenErrorText;
    case DataFileRead::kReadError:
        *this = HexMap();
        return kReadErrorText;
    case DataFileRead::kRead:
        break;
    }
    return ReadMapText(text) ? nullptr : kReadErrorText;
}

bool HexMap::ReadFrom(std::span<char> text)
{
    LineReader lines(text);
    std::string_view line;

    // 1. Version, and the flags that choose the descrambler.
    if (!lines.Next(line))
        return false;
    TextCursor versionCursor(line);
    int version = 0;
    if (!ReadLeadingInt(versionCursor, version) || version < 1 || version > kCurrentVersion)
        return false;
    for (char c : versionCursor.Rest()) {
        if (c == 'X')
            m_flagX = 1;
        else if (c == 'Y')
            m_flagX = m_flagY = 1;
    }
    m_version = version;

    void (*descramble)(std::span<char>) = nullptr;
    if (version >= 4)
        descramble = m_flagY ? DescrambleInPlaceY : m_flagX ? DescrambleInPlaceX : DescrambleInPlace;
    // The next line, descrambled where it lies when the version stores it
    // scrambled.
    auto nextStored = [&](std::string_view& stored) {
        std::span<char> span;
        if (!lines.Next(span))
            return false;
        if (descramble)
            descramble(span);
        stored = std::string_view(span.data(), span.size());
        return true;
    };

    // 2. Size.
    int size[2] = {};
    if (!nextStored(line) || !ParseInts(line, size, 2))
        return false;
    const int width = size[0];
    const int height = size[1];
    if (width < 1 || width > kMaxMapSize || height < 1 || height > kMaxMapSize)
        return false;

    // 3. Header: base, step, compass hex, compass direction, and the region.
    int header[6] = {};
    const int headerCount = version >= 3 ? 6 : 5;
    if (!nextStored(line) || !ParseInts(line, header, headerCount))
        return false;
    m_baseElevation = header[0];
    m_elevationStep = header[1];
    m_compassHex = HexPos { header[2], header[3] };
    m_compassDirection = header[4];
    SetRegion(version >= 3 ? header[5] : kNoRegion);

    // The grids arrive row by row but are stored column by column. Their
    // rows are first found in the text (as views, without copies), and the
    // map is sized only when they are all there: a small file that declares
    // a large map fails before anything of that size is made.
    const auto rowCount = static_cast<std::size_t>(height);
    const auto rowLength = static_cast<std::size_t>(width);
    auto findRows = [&](std::vector<std::string_view>& rows, bool stored, bool shortRowsAllowed) {
        for (std::size_t y = 0; y < rowCount; ++y) {
            std::string_view row;
            if (!(stored ? nextStored(row) : lines.Next(row)))
                return false;
            if (row.size() < rowLength && !shortRowsAllowed)
                return false;
            rows.push_back(row);
        }
        return true;
    };

    // 4. Terrain, one line per row, one character per column.
    std::vector<std::string_view> terrainRows;
    if (!findRows(terrainRows, true, false))
        return false;
    // 5. Elevation levels "0".."9", "a".."z".
    std::vector<std::string_view> levelRows;
    if (!findRows(levelRows, true, false))
        return false;

    // 6. Feature layers: a flag line, then (flag not 0) one line per row. A
    // row cut short (trailing blanks stripped by an editor) leaves its last
    // hexes empty.
    std::array<std::vector<std::string_view>, kFeatureLayerCount> layerRows;
    for (int layer = 0; layer < kLayersOfVersion[version]; ++layer) {
        int flag = 0;
        if (!lines.NextNonBlank(line) || !ParseInts(line, &flag, 1))
            return false;
        if (flag != 0 && !findRows(layerRows[static_cast<std::size_t>(layer)], false, true))
            return false;
    }

    // Short layer rows are padded (to the empty set) in copies of their own,
    // so that every row read below holds the whole width.
    std::vector<std::string> paddedRows;
    std::size_t paddedCount = 0;
    for (const auto& rows : layerRows)
        for (std::string_view row : rows)
            paddedCount += row.size() < rowLength ? 1 : 0;
    paddedRows.reserve(paddedCount);
    for (auto& rows : layerRows) {
        for (std::string_view& row : rows) {
            if (row.size() < rowLength) {
                std::string& padded = paddedRows.emplace_back(row);
                padded.resize(rowLength, ' ');
                row = padded;
            }
        }
    }

    // Every layer character is " ".."_" (the set's code plus 32); checked
    // row by row first, so that the stores below need no test.
    for (const auto& rows : layerRows) {
        for (std::string_view row : rows) {
            unsigned outside = 0;
            for (char c : row.substr(0, rowLength))
                outside |= static_cast<unsigned char>(static_cast<unsigned char>(c) - ' ') > HexSideSet::kAllSides;
            if (outside)
                return false;
        }
    }

    m_width = width;
    m_height = height;
    // Every hex is written below, but only the layers the file carries:
    // storage lent by the map this one replaces is used as it is when it has
    // the size and the file carries every layer, else cleared in one sweep.
    const bool everyLayer
        = std::none_of(layerRows.begin(), layerRows.end(), [](const auto& rows) { return rows.empty(); });
    if (m_columns.size() != rowCount * rowLength || !everyLayer)
        m_columns.assign(rowCount * rowLength, HexRecord {});
    // The grids are written row by row as the file holds them; the hexes of
    // one row lie a column apart, few enough to stay in the cache while
    // every grid's row is stored.
    HexRecord* const grid = m_columns.data();
    bool bad = false;
    for (std::size_t y = 0; y < rowCount; ++y) {
        const char* terrain = terrainRows[y].data();
        const char* levels = levelRows[y].data();
        for (std::size_t x = 0; x < rowLength; ++x) {
            HexRecord& hex = grid[x * rowCount + y];
            hex.terrain = TerrainTypeFromChar(terrain[x]);
            const int level = kLevelFromChar.levels[static_cast<unsigned char>(levels[x])];
            bad |= level < 0;
            hex.level = level;
        }
        for (std::size_t layer = 0; layer < layerRows.size(); ++layer) {
            if (layerRows[layer].empty())
                continue;
            const char* row = layerRows[layer][y].data();
            for (std::size_t x = 0; x < rowLength; ++x)
                grid[x * rowCount + y].layers[layer]
                    = HexSideSet(static_cast<std::uint32_t>(static_cast<unsigned char>(row[x])) - ' ');
        }
    }
    if (bad)
        return false;
    m_codes.assign(rowCount * rowLength, 0);

    // 7. Code grid: a flag, then width * height non-blank characters, row by
    // row, whatever the line breaks between them.
    if (version >= 2) {
        int flag = 0;
        if (!lines.NextNonBlank(line))
            return false;
        TextCursor flagCursor(line);
        if (!ReadLeadingInt(flagCursor, flag))
            return false;
        if (flag != 0) {
            std::string_view rest = flagCursor.Rest();
            const std::size_t total = rowCount * rowLength;
            for (std::size_t n = 0; n < total;) {
                while (rest.empty()) {
                    if (!lines.Next(rest))
                        return false;
                }
                const char c = rest.front();
                rest.remove_prefix(1);
                if (IsBlankChar(c))
                    continue;
                int code = 0;
                if (c >= '0' && c <= '9')
                    code = c - '0';
                else if (c >= 'a' && c <= 'c')
                    code = c - 'a' + 10;
                const std::size_t x = n % rowLength;
                const std::size_t y = n / rowLength;
                m_codes[x * rowCount + y] = code;
                ++n;
            }
        }
    }

    // 8. Labels to the end of the file; the first line that does not parse
    // ends them quietly.
    for (;;) {
        if (!lines.NextNonBlank(line))
            return lines.AtCleanEnd();
        MapLabel label;
        if (!ParseLabel(line, label))
            return true;
        m_labels.Append(std::move(label));
    }
}
