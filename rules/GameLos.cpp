#include "rules/GameLos.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Burning wrecks light their hex from this count on.
constexpr int kLightingWrecks = 6;

} // namespace

bool CGameLos::IsHexLit(int x, int y) const
{
    if (m_night == 0 || !m_map.IsOnMap(x, y))
        return false;
    if (GetWreckValue(x, y) >= kLightingWrecks || HasStarshell(x, y))
        return true;
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos neighbour;
        if (m_map.GetNeighbour(side, x, y, neighbour) && HasStarshell(neighbour.column, neighbour.row))
            return true;
    }
    return false;
}

int CGameLos::GetHeightDifference(int x1, int y1, int x2, int y2) const
{
    if (!m_map.IsOnMap(x1, y1) || !m_map.IsOnMap(x2, y2))
        return 0;
    const std::int64_t levels
        = static_cast<std::int64_t>(m_map.GetElevationLevel(x2, y2)) - m_map.GetElevationLevel(x1, y1);
    const std::int64_t height = levels * m_map.GetElevationStep();
    return static_cast<int>(
        std::clamp<std::int64_t>(height, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
