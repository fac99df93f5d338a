#include "rules/GameIsolation.h"

#include <vector>

#include "model/HexMap.h"

CGameIsolation::CGameIsolation() { m_grids.Register(m_connected, 0); }

bool CGameIsolation::IsSupplySource(int x, int y) const
{
    if (x == 0 || y == 0 || x == m_connected.Width() - 1 || y == m_connected.Height() - 1)
        return true;
    return GetEffectiveTerrain(x, y) == kTerrainImpassible;
}

bool CGameIsolation::IsPassableForSupply(int x, int y) const
{
    const int side = m_map.GetSide();
    const int holder = SideInHex(x, y);
    if (holder == side)
        return true;
    if (IsNextToArmedEnemy(x, y, 1 - side))
        return false;
    return holder == -1;
}

void CGameIsolation::FloodFillFrom(int x, int y)
{
    struct Entry {
        HexPos hex;
        HexSide next;
    };
    std::vector<Entry> stack;
    m_connected.At(x, y) = 1;
    stack.push_back({ { x, y }, HexSide::North });
    while (!stack.empty()) {
        Entry& top = stack.back();
        if (!top.next.IsValid()) {
            stack.pop_back();
            continue;
        }
        const HexSide side = top.next;
        top.next.Next();
        HexPos next;
        if (!NeighbourHex(side, top.hex.column, top.hex.row, next, m_connected.Width(), m_connected.Height())
            || m_connected.At(next.column, next.row) != 0 || !IsPassableForSupply(next.column, next.row))
            continue;
        m_connected.At(next.column, next.row) = 1;
        stack.push_back({ next, HexSide::North }); // top is not used past this point
    }
}

void CGameIsolation::MarkConnectedHexes()
{
    // The grids follow the map's size; the stacks bound the scan in case
    // they ever do not.
    m_connected.Allocate(m_stacks.Width(), m_stacks.Height(), 0);
    m_listedCount = 0;
    for (int x = 0; x < m_connected.Width(); ++x)
        for (int y = 0; y < m_connected.Height(); ++y)
            if (IsSupplySource(x, y) && m_connected.At(x, y) == 0 && IsPassableForSupply(x, y))
                FloodFillFrom(x, y);
}

void CGameIsolation::ReportHex(String& text, HexList& hexes, int x, int y)
{
    m_changed = 0;
    const bool connected = m_connected.At(x, y) != 0;
    for (PlacedUnit& unit : m_stacks.At(x, y)) {
        const bool isolated = (unit.m_status & kUnitIsolated) != 0;
        if (connected) {
            if (isolated) {
                unit.m_status &= ~std::uint32_t { kUnitIsolated };
                m_changed = 1;
            }
            continue;
        }
        if (!isolated) {
            unit.m_status |= kUnitIsolated;
            m_changed = 1;
        }
        if (m_listedCount < kMaxListedUnits) {
            String location;
            HexLocationText(location, x, y);
            text.Append(unit.GetName()).Append(location).AppendText("\n");
        } else if (m_listedCount == kMaxListedUnits) {
            text.AppendText(kAndOthersLine);
        }
        ++m_listedCount;
    }
    if (m_changed)
        AppendHexListNodeOnce(hexes, x, y);
}

void CGameIsolation::FindIsolatedUnits(String& text, HexList& hexes)
{
    MarkConnectedHexes();
    const int side = m_map.GetSide();
    String report;
    for (int x = 0; x < m_connected.Width(); ++x)
        for (int y = 0; y < m_connected.Height(); ++y)
            if (SideInHex(x, y) == side)
                ReportHex(report, hexes, x, y);
    text = report.IsEmpty() ? report : ConcatStringText(String(kIsolatedHeading), report.c_str());
}
