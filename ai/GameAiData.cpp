#include "ai/GameAiData.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "model/DataFile.h"
#include "model/Geometry.h"

CGameAiData::CGameAiData()
{
    m_grids.Register(m_enemyDistance, 0);
    ResetSweep();
}

const char* CGameAiData::Reload()
{
    const char* error = CGameAiOrders::Reload();
    if (!error) {
        m_aiFileTime.Watch(kAiFileName);
        m_aiParameters.Load();
    }
    return error;
}

bool CGameAiData::HexHasUnits(int column, int row) const
{
    if (!CGameAiOrders::HexHasUnits(column, row))
        return false;
    const UnitList& stack = m_stacks.At(column, row);
    const PlatoonType* type = stack.Head()->value.m_type;
    const int side = type ? type->GetSide() : 0;
    if (!IsSideHidden(side))
        return true;
    if (m_contact[OtherSide(side)].At(column, row).kind != 1)
        return false;
    for (const PlacedUnit& unit : stack)
        if ((unit.m_status & (kUnitCarried | kUnitHidden)) == 0)
            return true;
    return false;
}

bool CGameAiData::IsOpponentHidden() const { return IsSideHidden(OtherSide(m_map.GetSide())); }

bool CGameAiData::CheckFilesChanged()
{
    const bool changed = CGameAiOrders::CheckFilesChanged();
    return m_aiFileTime.CheckChanged() || changed;
}

void CGameAiData::ResetBattleState()
{
    CGameAiOrders::ResetBattleState();
    ResetSweep();
    m_objectiveLists[0].Free();
    m_objectiveLists[1].Free();
}

bool CGameAiData::LoadBattleAndReport(
    std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    const bool read = CGameAiOrders::LoadBattleAndReport(in, text, groups, released, hexes);
    ResetSweep();
    BuildObjectiveList(0);
    BuildObjectiveList(1);
    return read;
}

void CGameAiData::BuildTurnStartReport(
    String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups, std::vector<int>& released)
{
    CGameAiOrders::BuildTurnStartReport(text, hexes, offMapChanges, groups, released);
    ResetSweep();
    if (IsSideHidden(m_map.GetSide()))
        text = String();
}

// ---- Enemy distances ----

void CGameAiData::RebuildEnemyDistanceGrid()
{
    m_enemyDistance.Fill(0);
    const int horizon = m_aiParameters[kAiHorizon];
    const int enemy = OtherSide(m_map.GetSide());
    std::vector<HexPos> queue;
    for (int x = 0; x < m_enemyDistance.Width(); ++x) {
        for (int y = 0; y < m_enemyDistance.Height(); ++y) {
            if (SideInHex(x, y) != enemy || !HexHasUnits(x, y))
                continue;
            bool armed = false;
            for (const PlacedUnit& unit : m_stacks.At(x, y))
                armed = armed || GetNominalFirepower(unit.m_type) != 0;
            if (!armed)
                continue;
            m_enemyDistance.At(x, y) = static_cast<std::int8_t>(horizon);
            queue.push_back(HexPos { x, y });
        }
    }
    // Breadth first: each ring one less, down to 1 at the horizon's edge.
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const HexPos hex = queue[next];
        const int value = m_enemyDistance.At(hex.column, hex.row) - 1;
        for (std::uint32_t bits = 1; bits < HexSide::kNoneValue; bits <<= 1) {
            HexPos neighbour;
            if (!m_map.GetNeighbour(HexSide(bits), hex.column, hex.row, neighbour)
                || !m_enemyDistance.Contains(neighbour.column, neighbour.row))
                continue;
            std::int8_t& cell = m_enemyDistance.At(neighbour.column, neighbour.row);
            if (cell != 0)
                continue;
            cell = static_cast<std::int8_t>(value);
            if (value != 1)
                queue.push_back(neighbour);
        }
    }
}

int CGameAiData::GetEnemyDistance(int x, int y) const
{
    const int horizon = m_aiParameters[kAiHorizon];
    return m_enemyDistance.Contains(x, y) ? horizon - m_enemyDistance.At(x, y) : horizon;
}

// ---- Objectives ----

void CGameAiData::BuildObjectiveList(int side)
{
    if (side != 0 && side != 1)
        return;
    HexList& list = GetObjectiveList(side);
    list.Free();
    for (int x = 0; x < m_objectives.Width(); ++x) {
        for (int y = 0; y < m_objectives.Height(); ++y) {
            const ObjectiveCell& cell = m_objectives.At(x, y);
            if (cell.value != 0 && cell.nation != -1 && DefaultSideOfNation(cell.nation) == side)
                AppendHexListNode(list, x, y);
        }
    }
}

// ---- The sweep cursor ----

void CGameAiData::ResetSweep()
{
    m_sweep = HexPos { 0, 0 };
    m_sweepDirection = 0;
}

void CGameAiData::AdvanceSweep()
{
    if (!IsSweeping())
        return;
    if (++m_sweep.row < m_map.GetHeight())
        return;
    m_sweep.row = 0;
    if (++m_sweep.column < m_map.GetWidth())
        return;
    m_sweep = HexPos { -1, -1 };
}

void CGameAiData::AdvanceSweepTurning()
{
    if (!IsSweeping())
        return;
    const int lastColumn = m_map.GetWidth() - 1;
    const int lastRow = m_map.GetHeight() - 1;
    HexPos& at = m_sweep;
    switch (m_sweepDirection) {
    case 0:
        if (++at.row <= lastRow)
            return;
        at.row = 0;
        if (++at.column <= lastColumn)
            return;
        m_sweepDirection = 1;
        at = HexPos { lastColumn, lastRow };
        return;
    case 1:
        if (--at.row >= 0)
            return;
        at.row = lastRow;
        if (--at.column >= 0)
            return;
        m_sweepDirection = 2;
        at = HexPos { 0, lastRow };
        return;
    case 2:
        if (++at.column <= lastColumn)
            return;
        at.column = 0;
        if (--at.row >= 0)
            return;
        m_sweepDirection = 3;
        at = HexPos { lastColumn, 0 };
        return;
    default:
        if (--at.column >= 0)
            return;
        at.column = lastColumn;
        if (++at.row <= lastRow)
            return;
        m_sweepDirection = 0;
        at = HexPos { -1, -1 };
        return;
    }
}

bool CGameAiData::IsStepAgainstSweep(int column1, int row1, int column2, int row2) const
{
    if (!IsSweeping())
        return true;
    const long long dc = std::llabs(static_cast<long long>(column2) - column1);
    const long long dr = std::llabs(static_cast<long long>(row2) - row1);
    switch (m_sweepDirection) {
    case 0:
        return column2 < column1 && dc >= dr;
    case 1:
        return column2 >= column1 && dc >= dr;
    case 2:
        return row2 > row1 && dr > dc;
    default:
        return row2 <= row1 && dr > dc;
    }
}

bool CGameAiData::IsDirectionAgainstSweep(HexSide direction) const
{
    if (!IsSweeping())
        return true;
    switch (m_sweepDirection) {
    case 0:
        return direction == HexSide::North;
    case 1:
        return direction == HexSide::South;
    case 2:
        return direction == HexSide::NorthWest || direction == HexSide::SouthWest;
    default:
        return direction == HexSide::NorthEast || direction == HexSide::SouthEast;
    }
}

std::uint32_t CGameAiData::MixAt(int x, int y, int salt) const
{
    return static_cast<std::uint32_t>(m_map.GetCounter()) ^ static_cast<std::uint32_t>(x)
        ^ static_cast<std::uint32_t>(y) ^ static_cast<std::uint32_t>(salt);
}

// ---- The objective block ----

bool CGameAiData::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGameAiOrders::ReadBattleFile(in, keepVersion10))
        return false;
    constexpr const char* kError = "Error reading A/I objectives";
    const long long most = static_cast<long long>(m_map.GetWidth()) * m_map.GetHeight();
    for (HexList& list : m_objectiveLists) {
        list.Free();
        for (long long count = 0;; ++count) {
            HexPos hex;
            if (!(in >> hex.column >> hex.row))
                return FailBattleRead(kError);
            if (hex.column == -1 || hex.row == -1)
                break;
            if (!m_map.IsOnMap(hex.column, hex.row) || count >= most)
                return FailBattleRead(kError);
            list.Append(hex);
        }
    }
    ResetSweep();
    return true;
}

bool CGameAiData::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiOrders::WriteBattleFile(out))
        return false;
    std::string text;
    for (const HexList& list : m_objectiveLists) {
        for (const HexPos& hex : list)
            text += std::to_string(hex.column) + ' ' + std::to_string(hex.row) + ' ';
        text += "-1 -1\n";
    }
    out << text;
    return static_cast<bool>(out);
}
