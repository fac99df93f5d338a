#include "launcher/generator/MapGrid.h"

namespace {

bool IsOdd(int i) { return (i & 1) != 0; }

} // namespace

int MapGeometry::NeighbourColumn(int i, int d) const
{
    int column = i % m_width;
    if (d == 2 || d == 3)
        ++column;
    else if (d == 5 || d == 6)
        --column;
    return column >= 0 && column < m_width ? column : -1;
}

int MapGeometry::NeighbourRow(int i, int d) const
{
    int row = i / m_width;
    switch (d) {
    case 1:
        --row;
        break;
    case 2:
    case 6:
        if (IsOdd(i))
            --row;
        break;
    case 3:
    case 5:
        if (!IsOdd(i))
            ++row;
        break;
    case 4:
        ++row;
        break;
    default:
        break;
    }
    return row >= 0 && row < m_height ? row : -1;
}

int MapGeometry::NeighbourIndex(int i, int d) const
{
    // In 64 bits: an index near the limits never wraps into the map.
    const long long index = i;
    const bool odd = IsOdd(i);
    long long result = index;
    switch (d) {
    case 1:
        result = index - m_width;
        break;
    case 2:
        result = odd ? index + 1 - m_width : index + 1;
        break;
    case 3:
        result = odd ? index + 1 : index + 1 + m_width;
        break;
    case 4:
        result = index + m_width;
        break;
    case 5:
        result = odd ? index - 1 : index - 1 + m_width;
        break;
    case 6:
        result = odd ? index - 1 - m_width : index - 1;
        break;
    default:
        break;
    }
    return result >= 0 && result < m_cellCount ? static_cast<int>(result) : -1;
}

int OppositeDirection(int d)
{
    if (d < 1 || d > 6)
        return 0;
    return d <= 3 ? d + 3 : d - 3;
}
