#include "model/HexMap.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <sstream>
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

const char* const kThemePrefixes[kRegionCount] = { "NWE-", "MED-", "DES-", "TRO-", "TEM-" };

// How many feature layers each file version carries (index = version).
constexpr int kLayersOfVersion[7] = { 0, 10, 15, 19, 19, 20, 21 };

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// The file's lines, as the format reads them. Every read fails on an
// over-long line (the stream is failed then), on the end of the file, or on a
// read error.
class MapLines {
public:
    MapLines(std::istream& in, void (*descramble)(std::string&))
        : m_in(in)
        , m_descramble(descramble)
    {
    }

    bool Next(std::string& line) { return ReadDataLine(m_in, line); }

    // The next line, descrambled when the version stores it scrambled.
    bool NextStored(std::string& line)
    {
        if (!Next(line))
            return false;
        if (m_descramble)
            m_descramble(line);
        return true;
    }

    // The next line that is not blank: numbers read from a stream skip line
    // ends before them, so a flag may follow blank lines.
    bool NextNonBlank(std::string& line)
    {
        while (Next(line)) {
            if (!IsBlankLine(line))
                return true;
        }
        return false;
    }

    // The end of the input was reached cleanly (no over-long line, no error).
    bool AtCleanEnd() const { return m_in.eof() && !m_in.bad(); }

private:
    std::istream& m_in;
    void (*m_descramble)(std::string&);
};

// A decimal int at the start of the line (after white space); the rest is
// returned through `rest` when asked for.
bool ParseLeadingInt(const std::string& line, int& value, std::size_t* rest = nullptr)
{
    std::istringstream in(line);
    long long number = 0;
    if (!(in >> number) || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    if (rest) {
        const auto position = in.tellg();
        *rest = position < 0 ? line.size() : static_cast<std::size_t>(position);
    }
    return true;
}

bool ParseInts(const std::string& line, int* values, int count)
{
    std::istringstream in(line);
    for (int i = 0; i < count; ++i) {
        long long number = 0;
        if (!(in >> number) || number < INT_MIN || number > INT_MAX)
            return false;
        values[i] = static_cast<int>(number);
    }
    return true;
}

// One label line: x, y, three ints, one blank, the text to the end of the line.
bool ParseLabel(const std::string& line, MapLabel& label)
{
    std::istringstream in(line);
    long long size = 0;
    long long alignment = 0;
    long long colour = 0;
    if (!(in >> label.x >> label.y >> size >> alignment >> colour))
        return false;
    // The display indexes its fonts, alignments and colours by these.
    label.size = static_cast<int>(std::clamp<long long>(size, 0, 3));
    label.alignment = static_cast<int>(std::clamp<long long>(alignment, 0, 2));
    label.colour = static_cast<int>(std::clamp<long long>(colour, 0, 2));
    const auto position = in.tellg();
    std::size_t start = position < 0 ? line.size() : static_cast<std::size_t>(position);
    // One separating character, then the text; a line that ends after the
    // numbers has an empty text (it never takes the next line).
    if (start < line.size())
        ++start;
    label.text = String(line.substr(start));
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

bool NeighbourHex(HexSide side, int x, int y, HexPos& out, int width, int height)
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

int HexMap::GetElevation(int x, int y) const
{
    return ClampToInt(static_cast<long long>(GetElevationLevel(x, y)) * m_elevationStep + m_baseElevation);
}

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
    HexMap map;
    if (map.ReadFrom(in)) {
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
    std::ifstream in = OpenDataFile(fileName);
    if (!in.is_open())
        return kOpenErrorText;
    return ReadMapFile(in) ? nullptr : kReadErrorText;
}

bool HexMap::ReadFrom(std::istream& in)
{
    std::string line;

    // 1. Version, and the flags that choose the descrambler.
    MapLines plain(in, nullptr);
    if (!plain.Next(line))
        return false;
    int version = 0;
    std::size_t rest = 0;
    if (!ParseLeadingInt(line, version, &rest) || version < 1 || version > kCurrentVersion)
        return false;
    for (std::size_t i = rest; i < line.size(); ++i) {
        if (line[i] == 'X')
            m_flagX = 1;
        else if (line[i] == 'Y')
            m_flagX = m_flagY = 1;
    }
    m_version = version;

    void (*descramble)(std::string&) = nullptr;
    if (version >= 4)
        descramble = m_flagY ? DescrambleLineY : m_flagX ? DescrambleLineX : DescrambleLine;
    MapLines lines(in, descramble);

    // 2. Size.
    int size[2] = {};
    if (!lines.NextStored(line) || !ParseInts(line, size, 2))
        return false;
    const int width = size[0];
    const int height = size[1];
    if (width < 1 || width > kMaxMapSize || height < 1 || height > kMaxMapSize)
        return false;
    Allocate(width, height);

    // 3. Header: base, step, compass hex, compass direction, and the region.
    int header[6] = {};
    const int headerCount = version >= 3 ? 6 : 5;
    if (!lines.NextStored(line) || !ParseInts(line, header, headerCount))
        return false;
    m_baseElevation = header[0];
    m_elevationStep = header[1];
    m_compassHex = HexPos { header[2], header[3] };
    m_compassDirection = header[4];
    SetRegion(version >= 3 ? header[5] : kNoRegion);

    const std::size_t columnStride = static_cast<std::size_t>(height);

    // A grid arrives row by row but is stored column by column: the rows are
    // collected first and then stored one column at a time, so that the
    // stores run through memory in order.
    std::vector<std::string> rows(static_cast<std::size_t>(height));
    auto readRows = [&](MapLines& source, bool stored, bool padShortRows) {
        for (std::string& row : rows) {
            if (!(stored ? source.NextStored(row) : source.Next(row)))
                return false;
            if (row.size() < static_cast<std::size_t>(width)) {
                if (!padShortRows)
                    return false;
                row.resize(static_cast<std::size_t>(width), ' ');
            }
        }
        return true;
    };
    // Calls store(record, character) for every hex; false when it refuses one.
    auto storeGrid = [&](auto store) {
        for (int x = 0; x < width; ++x) {
            HexRecord* column = &m_columns[static_cast<std::size_t>(x) * columnStride];
            for (int y = 0; y < height; ++y) {
                if (!store(column[y], rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]))
                    return false;
            }
        }
        return true;
    };

    // 4. Terrain, one line per row, one character per column.
    if (!readRows(lines, true, false))
        return false;
    storeGrid([](HexRecord& hex, char c) {
        hex.terrain = TerrainTypeFromChar(c);
        return true;
    });

    // 5. Elevation levels "0".."9", "a".."z".
    if (!readRows(lines, true, false))
        return false;
    const bool levelsRead = storeGrid([](HexRecord& hex, char c) {
        if (c >= '0' && c <= '9')
            hex.level = c - '0';
        else if (c >= 'a' && c <= 'z')
            hex.level = c - 'a' + 10;
        else
            return false;
        return true;
    });
    if (!levelsRead)
        return false;

    // 6. Feature layers: a flag line, then (flag not 0) one line per row. A
    // row cut short (trailing blanks stripped by an editor) leaves its last
    // hexes empty.
    for (int layer = 0; layer < kLayersOfVersion[version]; ++layer) {
        int flag = 0;
        if (!plain.NextNonBlank(line) || !ParseLeadingInt(line, flag))
            return false;
        if (flag == 0)
            continue;
        if (!readRows(plain, false, true))
            return false;
        const std::size_t index = static_cast<std::size_t>(layer);
        const bool layerRead = storeGrid([index](HexRecord& hex, char c) {
            const unsigned char code = static_cast<unsigned char>(c);
            if (code < ' ' || code > '_')
                return false;
            hex.layers[index] = HexSideSet(code - ' ');
            return true;
        });
        if (!layerRead)
            return false;
    }

    // 7. Code grid: a flag, then width * height non-blank characters, row by
    // row, whatever the line breaks between them.
    if (version >= 2) {
        int flag = 0;
        std::size_t position = 0;
        if (!plain.NextNonBlank(line) || !ParseLeadingInt(line, flag, &position))
            return false;
        if (flag != 0) {
            const long long total = static_cast<long long>(width) * height;
            for (long long n = 0; n < total;) {
                while (position >= line.size()) {
                    if (!plain.Next(line))
                        return false;
                    position = 0;
                }
                const char c = line[position++];
                if (std::isspace(static_cast<unsigned char>(c)))
                    continue;
                const int x = static_cast<int>(n % width);
                const int y = static_cast<int>(n / width);
                int code = 0;
                if (c >= '0' && c <= '9')
                    code = c - '0';
                else if (c >= 'a' && c <= 'c')
                    code = c - 'a' + 10;
                m_codes[static_cast<std::size_t>(x) * columnStride + static_cast<std::size_t>(y)] = code;
                ++n;
            }
        }
    }

    // 8. Labels to the end of the file; the first line that does not parse
    // ends them quietly.
    for (;;) {
        if (!plain.NextNonBlank(line))
            return plain.AtCleanEnd();
        MapLabel label;
        if (!ParseLabel(line, label))
            return true;
        m_labels.Append(std::move(label));
    }
}
