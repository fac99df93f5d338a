#pragma once
// Sides, nations and the hex-centre geometry that every layer shares.
//
// Hexes are addressed by column and row; odd columns stand half a hex higher
// than even ones. A column is odd when (column & 1) is 1, which also holds for
// negative odd columns. The centre of a hex lies at
// x = column * 1.5 / sqrt(3), y = row + 0.5 on an even column and y = row on an
// odd one (rows grow downward, one row per unit).

#include <cstdint>

#include "model/IntRange.h"

// Sides are 0 and 1.
constexpr bool IsSide(int side) { return side == 0 || side == 1; }
// 1 for 0, 0 for 1, -1 for any other value.
int OtherSide(int side);

// Replaces the display names of the two sides. The texts are copied, so the
// caller's buffers need not outlive the call; a null name restores that side's
// default ("NATO" for side 0, "Soviet Bloc" for side 1).
void SetSideNames(const char* side0Name, const char* side1Name);
// The name of side 0 or 1, "Unknown" for any other value. The pointer stays
// valid until the next SetSideNames.
const char* SideName(int side);

// Nations are 0 to 28; "Unknown" outside that range.
const char* NationName(int nation);
const char* NationAdjective(int nation);
// The side a nation fights on unless the battle says otherwise; 1 outside the
// table.
int DefaultSideOfNation(int nation);

// Distance in hexes, exact for any columns and rows, negative ones included.
// Here, as the path search asks it for every neighbour it meets.
inline int HexDistance(int column1, int row1, int column2, int row2)
{
    // Moving d columns from column1 reaches a band of rows without any extra
    // step; the odd column, standing higher, reaches one more row upward.
    // p is 0 or 1 and d is never negative, so the halvings below never see a
    // negative numerator.
    const std::int64_t p = (column1 & 1) != 0 ? 1 : 0;
    const std::int64_t columns = std::int64_t { column2 } - column1;
    const std::int64_t d = columns < 0 ? -columns : columns;
    const std::int64_t upper = std::int64_t { row1 } - (d + p) / 2;
    const std::int64_t lower = std::int64_t { row1 } + (d + 1 - p) / 2;
    std::int64_t distance = d;
    if (row2 < upper)
        distance += upper - row2;
    else if (row2 > lower)
        distance += row2 - lower;
    return ClampToInt(distance);
}

double HexCentreX(int column);
double HexCentreY(int column, int row);

// The line y = slope * x + intercept through the two hex centres. Two hexes of
// one column have no such line: the result is false and slope and intercept
// are set to 0.
bool LineThroughHexCentres(int column1, int row1, int column2, int row2, double& slope, double& intercept);

// Row offsets, at the column distance between the two columns, of the sector
// boundaries 60 degrees above and below the horizontal as seen from a hex of
// the first column (the N/NE and SE/S boundaries, mirrored on the left).
int RowsToUpperSectorBoundary(int column, int otherColumn);
int RowsToLowerSectorBoundary(int column, int otherColumn);

// Organisation levels 0 to 7: P C B R G D K A; 'X' for any other level.
char LevelLetter(int level);
// The inverse for A, B, C, D, G, K and R; every other character gives 0.
int LevelFromLetter(char letter);
