#include "mapview/RoadSheet.h"

#include <array>
#include <vector>

namespace RoadSheet {
namespace {

    constexpr std::array<std::uint8_t, kPositions> kOrder = { 3, 5, 9, 17, 33, 1, 6, 10, 18, 34, 12, 2, 20, 36, 24, 40,
        48, 4, 25, 13, 11, 41, 50, 8, 19, 22, 26, 38, 37, 16, 52, 44, 21, 42, 49, 32, 35, 7, 14, 28, 56, 54, 27, 45, 43,
        23, 46, 29, 58, 53, 15, 30, 60, 57, 51, 39, 61, 59, 55, 47, 31, 62, 63 };

    // Free sides per cell. No cell is free on all six sides: a hex with roads on
    // every side takes one of the sparse cells listed below.
    constexpr std::array<std::uint8_t, 18> kFreeA
        = { 25, 11, 49, 35, 14, 28, 41, 19, 9, 27, 15, 54, 57, 43, 49, 51, 23, 31 };
    constexpr std::array<std::uint8_t, 12> kFreeB = { 9, 11, 17, 35, 28, 42, 41, 19, 49, 27, 15, 55 };
    constexpr std::array<std::uint8_t, 6> kFreeC = { 25, 11, 49, 35, 7, 31 };
    // The sparse cells: few enough features that a road finds its way anywhere.
    constexpr int kSparseFirst[3] = { 12, 6, 0 };

    std::span<const std::uint8_t> FreeSides(AwareTable table)
    {
        switch (table) {
        case AwareTable::A:
            return kFreeA;
        case AwareTable::B:
            return kFreeB;
        case AwareTable::C:
            return kFreeC;
        }
        return {};
    }

    struct AwareRows {
        std::array<std::vector<std::int8_t>, kPositions> rows;
    };

    AwareRows BuildRows(AwareTable table)
    {
        AwareRows result;
        const auto free = FreeSides(table);
        const int count = static_cast<int>(free.size());
        for (int p = 0; p < kPositions; ++p) {
            auto& row = result.rows[static_cast<std::size_t>(p)];
            const unsigned sides = kOrder[static_cast<std::size_t>(p)];
            for (int k = 0; k < count; ++k)
                if ((free[static_cast<std::size_t>(k)] & sides) == sides)
                    row.push_back(static_cast<std::int8_t>(k));
            if (row.empty())
                for (int k = kSparseFirst[static_cast<int>(table)]; k < count; ++k)
                    row.push_back(static_cast<std::int8_t>(k));
        }
        return result;
    }

    const AwareRows& Rows(AwareTable table)
    {
        static const AwareRows a = BuildRows(AwareTable::A);
        static const AwareRows b = BuildRows(AwareTable::B);
        static const AwareRows c = BuildRows(AwareTable::C);
        return table == AwareTable::A ? a : table == AwareTable::B ? b : c;
    }

} // namespace

int FindPosition(HexSideSet sides)
{
    for (int p = 0; p < kPositions; ++p)
        if (kOrder[static_cast<std::size_t>(p)] == sides.Value())
            return p;
    return kPositions;
}

HexSideSet SetAtPosition(int position)
{
    if (position < 0 || position >= kPositions)
        return HexSideSet();
    return HexSideSet(kOrder[static_cast<std::size_t>(position)]);
}

HexSideSet FreeSidesOfCell(AwareTable table, int cell)
{
    const auto free = FreeSides(table);
    if (cell < 0 || cell >= static_cast<int>(free.size()))
        return HexSideSet();
    return HexSideSet(free[static_cast<std::size_t>(cell)]);
}

std::span<const std::int8_t> AwareCells(AwareTable table, int position)
{
    if (position < 0 || position >= kPositions)
        return {};
    return Rows(table).rows[static_cast<std::size_t>(position)];
}

} // namespace RoadSheet
