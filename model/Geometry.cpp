#include "model/Geometry.h"
#include "model/IntRange.h"

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr const char* kUnknown = "Unknown";
constexpr const char* kDefaultSideNames[2] = { "NATO", "Soviet Bloc" };

// Held in a function so that a static initialiser elsewhere that asks for a
// name never sees the strings before they are built.
std::string* SideNameStore()
{
    static std::string names[2] = { kDefaultSideNames[0], kDefaultSideNames[1] };
    return names;
}

struct NationEntry {
    const char* name;
    const char* adjective;
    int side;
};

// 18 and 22 carry the adjectives "West German" and "NATO", not ones made from
// their names; the texts shown to players depend on exactly these.
constexpr NationEntry kNations[] = {
    { "Russia", "Russian", 0 },
    { "Germany", "German", 1 },
    { "Soviet", "Soviets", 1 },
    { "Romania", "Romanian", 1 },
    { "Hungary", "Hungarian", 1 },
    { "Finland", "Finnish", 1 },
    { "Slovakia", "Slovakian", 1 },
    { "Poland", "Polish", 0 },
    { "France", "French", 0 },
    { "Great Britain", "British", 0 },
    { "United States", "American", 0 },
    { "Netherlands", "Netherland", 0 },
    { "Belgium", "Belgian", 0 },
    { "Yugoslavia", "Yugoslavian", 0 },
    { "Norway", "Norwegian", 0 },
    { "Greece", "Greek", 0 },
    { "Vichy France", "Vichy French", 1 },
    { "Allied Romania", "Allied Romanian", 0 },
    { "Allied Italy", "West German", 0 },
    { "Free France", "Free French", 0 },
    { "Nationalist China", "Nationalist Chinese", 0 },
    { "Japan", "Japanese", 1 },
    { "Israel", "NATO", 0 },
    { "Egypt", "Egyptian", 1 },
    { "Iraq", "Iraqi", 1 },
    { "Jordan", "Jordanian", 1 },
    { "Syria", "Syrian", 1 },
    { "Lebanon", "Lebanese", 1 },
    { "Arab Liberation Army", "Arab Liberation Armies", 1 },
};
constexpr int kNationCount = static_cast<int>(sizeof(kNations) / sizeof(kNations[0]));

const NationEntry* FindNation(int nation)
{
    if (nation < 0 || nation >= kNationCount)
        return nullptr;
    return &kNations[nation];
}

constexpr char kLevelLetters[] = { 'P', 'C', 'B', 'R', 'G', 'D', 'K', 'A' };

// 1.5 / sqrt(3): the horizontal distance between neighbouring columns when
// rows are one unit apart.
constexpr double kColumnSpacing = 0.8660254037844386;

bool IsOddColumn(int column) { return (column & 1) != 0; }

// Column distance, wide enough that no pair of ints overflows it.
std::int64_t ColumnDistance(int column, int otherColumn)
{
    const std::int64_t d = static_cast<std::int64_t>(otherColumn) - column;
    return d < 0 ? -d : d;
}

} // namespace

int OtherSide(int side)
{
    if (side == 0)
        return 1;
    if (side == 1)
        return 0;
    return -1;
}

void SetSideNames(const char* side0Name, const char* side1Name)
{
    std::string* names = SideNameStore();
    names[0] = side0Name != nullptr ? side0Name : kDefaultSideNames[0];
    names[1] = side1Name != nullptr ? side1Name : kDefaultSideNames[1];
}

const char* SideName(int side)
{
    if (side != 0 && side != 1)
        return kUnknown;
    return SideNameStore()[side].c_str();
}

const char* NationName(int nation)
{
    const NationEntry* entry = FindNation(nation);
    return entry != nullptr ? entry->name : kUnknown;
}

const char* NationAdjective(int nation)
{
    const NationEntry* entry = FindNation(nation);
    return entry != nullptr ? entry->adjective : kUnknown;
}

int DefaultSideOfNation(int nation)
{
    const NationEntry* entry = FindNation(nation);
    return entry != nullptr ? entry->side : 1;
}

double HexCentreX(int column) { return column * kColumnSpacing; }

double HexCentreY(int column, int row) { return IsOddColumn(column) ? static_cast<double>(row) : row + 0.5; }

bool LineThroughHexCentres(int column1, int row1, int column2, int row2, double& slope, double& intercept)
{
    if (column1 == column2) {
        slope = 0.0;
        intercept = 0.0;
        return false;
    }
    const double x1 = HexCentreX(column1);
    const double y1 = HexCentreY(column1, row1);
    const double x2 = HexCentreX(column2);
    const double y2 = HexCentreY(column2, row2);
    slope = (y2 - y1) / (x2 - x1);
    intercept = y1 - x1 * slope;
    return true;
}

int RowsToUpperSectorBoundary(int column, int otherColumn)
{
    const std::int64_t d = ColumnDistance(column, otherColumn);
    return ClampToInt(IsOddColumn(column) ? d + (d + 1) / 2 : d + d / 2);
}

int RowsToLowerSectorBoundary(int column, int otherColumn)
{
    const std::int64_t d = ColumnDistance(column, otherColumn);
    return ClampToInt(IsOddColumn(column) ? d + d / 2 : d + (d + 1) / 2);
}

char LevelLetter(int level)
{
    if (level < 0 || level >= static_cast<int>(sizeof(kLevelLetters)))
        return 'X';
    return kLevelLetters[level];
}

int LevelFromLetter(char letter)
{
    switch (letter) {
    case 'A':
        return 7;
    case 'B':
        return 2;
    case 'C':
        return 1;
    case 'D':
        return 5;
    case 'G':
        return 4;
    case 'K':
        return 6;
    case 'R':
        return 3;
    default:
        return 0;
    }
}
