#pragma once
// The road sheets and the terrain pictures drawn around roads share one
// table: the order in which side sets of a road-like feature lie in a road
// sheet, and, for forests, villages and orchards, which picture cells leave
// room for roads on a set of sides. The painters pick cells from here and the
// art tool draws the cells from here, so a picture never covers a road that
// the painter put under it.

#include <cstdint>
#include <span>

#include "model/HexSide.h"

namespace RoadSheet {

// Side sets (N 1, NE 2, SE 4, S 8, SW 16, NW 32) in the order of their cells;
// the empty set has no cell.
inline constexpr int kPositions = 63;
// The position of the set; kPositions when it has none (the empty set, or a
// value beyond the six sides).
int FindPosition(HexSideSet sides);
// The side set at a position 0..62; the empty set outside.
HexSideSet SetAtPosition(int position);

// Road-aware picture tables: A (forest and light jungle, jungle) with 18
// cells, B (villages) with 12, C (orchards, palm trees) with 6.
enum class AwareTable { A, B, C };
inline constexpr int kAwareCellCount[3] = { 18, 12, 6 };

// The sides on which cell k of the table leaves room for a road.
HexSideSet FreeSidesOfCell(AwareTable table, int cell);
// The cells whose pictures leave room for roads on every side of the set at
// a position, ascending. Every position has at least one: where no cell
// leaves room for all of the sides (a crossing of every side), the table's
// sparse cells serve. An empty span for a position outside 0..62.
std::span<const std::int8_t> AwareCells(AwareTable table, int position);

} // namespace RoadSheet
