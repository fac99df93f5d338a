#include "ai/GameAiAssault.h"

#include <cstdint>

#include "model/HexMap.h"
#include "model/HexSide.h"
#include "model/PlatoonType.h"

namespace {

// Trenches and improved positions.
constexpr int kDugIn = CGameData::kHexTrench | CGameData::kHexImprovedPosition;

} // namespace

// ---- The choice ----

String CGameAiAssault::ChooseAssault(HexPos& defendingHex)
{
    while (IsSweeping() && m_map.IsOnMap(m_sweep.column, m_sweep.row)) {
        if (TryAssaultFromCursor()) {
            ResetSweep();
            defendingHex = m_defendingHex;
            return m_assaultReport;
        }
        AdvanceSweep();
    }
    ResetSweep();
    return String();
}

bool CGameAiAssault::TryAssaultFromCursor()
{
    const int x = m_sweep.column, y = m_sweep.row;
    if (!m_stacks.Contains(x, y) || SideInHex(x, y) != m_map.GetSide())
        return false;
    int position = 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        ++position;
        if (!HasStatus(unit, kUnitCarried) && OpenAssault(unit, position) && JoinAndWeigh())
            return true;
    }
    return false;
}

bool CGameAiAssault::OpenAssault(const PlacedUnit& unit, int position)
{
    if (!unit.m_type || unit.m_type->AssaultFactor() == 0)
        return false;
    const HexPos from = m_sweep;
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos defending;
        if (!m_map.GetNeighbour(side, from.column, from.row, defending))
            continue;
        m_defendingHex = defending;
        int listed = position;
        if (CanAssaultHex(defending.column, defending.row)
            && (HasStatus(unit, kUnitBanzai) || FavoursAssault(from, defending))
            && AddToAssault(from.column, from.row, &listed, 1)) {
            m_assaultReport = String("Assault attack\n");
            AppendUnitLine(unit);
            return true;
        }
        ClearAssault();
    }
    return false;
}

bool CGameAiAssault::FavoursAssault(HexPos a, HexPos d) const
{
    const auto flags = [this](HexPos hex) {
        return m_hexFlags.Contains(hex.column, hex.row) ? m_hexFlags.At(hex.column, hex.row) : 0;
    };
    const int attacker = flags(a), defender = flags(d);
    // Nobody leaves a fortification to storm open ground.
    if ((attacker & kHexFortified) != 0 && (defender & kHexFortified) == 0)
        return false;
    if (m_parameters.GetTerrainPercent(GetEffectiveTerrain(d.column, d.row))
        > m_parameters.GetTerrainPercent(GetEffectiveTerrain(a.column, a.row)))
        return false;
    return (attacker & kDugIn) == 0 || (defender & kDugIn) == 0;
}

bool CGameAiAssault::JoinAndWeigh()
{
    const int side = m_map.GetSide();
    const HexPos d = m_defendingHex;
    for (HexSide direction = HexSide::North; direction.IsValid(); direction.Next()) {
        HexPos from;
        if (!m_map.GetNeighbour(direction, d.column, d.row, from) || !m_stacks.Contains(from.column, from.row)
            || SideInHex(from.column, from.row) != side)
            continue;
        int position = 0;
        for (const PlacedUnit& unit : m_stacks.At(from.column, from.row)) {
            int listed = ++position;
            if (!unit.m_type || HasStatus(unit, kUnitCarried)
                || (!unit.m_type->IsLeader() && unit.m_type->AssaultFactor() == 0))
                continue;
            if (AddToAssault(from.column, from.row, &listed, 1))
                AppendUnitLine(unit);
        }
    }
    // A Banzai charge goes in whatever the odds: any committed unit under
    // it, the one that opened the assault too, forces it.
    bool forced = false;
    for (HexSide direction = HexSide::North; direction.IsValid(); direction.Next()) {
        HexPos from;
        if (!m_map.GetNeighbour(direction, d.column, d.row, from) || !m_stacks.Contains(from.column, from.row))
            continue;
        for (const PlacedUnit& unit : m_stacks.At(from.column, from.row))
            forced = forced || (HasStatus(unit, kUnitInAssault) && HasStatus(unit, kUnitBanzai));
    }
    RecomputeAssaultTotals();
    // In 64 bits: the totals of large stacks overflow an int product.
    const bool accepted = forced
        || std::int64_t { m_attackTotal } * m_attackerDefenceTotal
            >= std::int64_t { m_defenceTotal } * m_counterAssaultTotal;
    if (!accepted) {
        ClearAssault();
        return false;
    }
    String location;
    HexLocationText(location, d.column, d.row);
    m_assaultReport.AppendText("against defenders");
    m_assaultReport.Append(location);
    return true;
}

void CGameAiAssault::AppendUnitLine(const PlacedUnit& unit)
{
    if (IsSideInfoHidden(m_map.GetSide()))
        return;
    String label;
    GetUnitLabel(label, unit);
    m_assaultReport.AppendText("    ");
    m_assaultReport.Append(label);
    m_assaultReport.AppendText("\n");
}

// ---- Carrying it out ----

String CGameAiAssault::ExecuteAssault(HexPos& defendingHex)
{
    defendingHex = m_defendingHex;
    String report;
    ResolveAssault(report);
    return report;
}

String CGameAiAssault::AddUnitsToAssault(int x, int y, const int* positions, int count, int defendingX, int defendingY)
{
    const bool sameHex = HasAssault() && m_assaultHex == HexPos { defendingX, defendingY };
    if (!sameHex && !CanAssaultHex(defendingX, defendingY))
        return String(kCannotAssaultText);
    String refusal;
    AddSelectionToAssault(refusal, x, y, positions, count);
    String text;
    if (!refusal.IsEmpty()) {
        text = refusal;
        text.AppendText("\n");
    }
    String odds;
    GetOddsText(odds);
    text.Append(odds);
    if (m_attackTotal == 0)
        ClearAssault();
    return text;
}

void CGameAiAssault::ResetBattleState()
{
    CGameAiData::ResetBattleState();
    m_assaultReport = String();
    m_defendingHex = HexPos { -1, -1 };
}
