#include "ai/GameAiIndirect.h"

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

bool IsNoHex(HexPos hex) { return hex.column == -1 && hex.row == -1; }

} // namespace

String CGameAiIndirect::ChooseIndirectFire(
    HexPos& firerHex, HexPos& targetHex, int& firerPosition, int& recordIndex, int& smokeOrStarshell)
{
    firerPosition = 0;
    recordIndex = 0;
    smokeOrStarshell = 0;
    for (;;) {
        bool chosen = false;
        switch (m_missionKind) {
        case kOffMapHighExplosive:
            chosen = SearchOffMap(false);
            if (!chosen) {
                // Kind 2 walks the whole list again.
                m_offMapRecord = m_offMapUnits.IsEmpty() ? 0 : 1;
                m_missionKind = kOnMapHighExplosive;
            }
            break;
        case kOnMapHighExplosive:
            chosen = SearchOnMap(false);
            if (!chosen) {
                ResetSweep();
                m_missionKind = kOffMapSmoke;
            }
            break;
        case kOffMapSmoke:
            chosen = SearchOffMap(true);
            if (!chosen) {
                m_offMapRecord = 0;
                m_missionKind = kOnMapSmoke;
            }
            break;
        default:
            chosen = SearchOnMap(true);
            if (!chosen) {
                ResetSweep();
                m_missionKind = kOffMapHighExplosive;
                return String();
            }
        }
        if (chosen)
            break;
    }
    const bool offMap = m_missionKind == kOffMapHighExplosive || m_missionKind == kOffMapSmoke;
    if (offMap)
        recordIndex = OffMapRecordAt(m_offMapRecord) ? m_offMapRecord : 0;
    else
        firerPosition = m_firerPosition;
    smokeOrStarshell = m_missionKind == kOffMapSmoke || m_missionKind == kOnMapSmoke ? 1 : 0;
    // An off-map smoke or starshell mission gives the target hex for both.
    firerHex = m_missionKind == kOffMapSmoke ? m_targetHex : m_firerHex;
    targetHex = m_targetHex;
    return m_reportText;
}

OffMapUnit* CGameAiIndirect::OffMapRecordAt(int index)
{
    if (index < 1)
        return nullptr;
    auto* node = m_offMapUnits.Head();
    for (int i = 1; node && i < index; ++i)
        node = node->next;
    return node ? &node->value : nullptr;
}

bool CGameAiIndirect::SearchOffMap(bool smoke)
{
    const int side = m_map.GetSide();
    // Each record passed over moves the firer position on; the position the
    // walk starts from is the one the last firer left.
    for (OffMapUnit* record = OffMapRecordAt(m_offMapRecord); record;
         record = OffMapRecordAt(++m_offMapRecord), ++m_firerPosition) {
        const PlacedUnit& unit = record->unit;
        if (!unit.m_type || unit.m_type->GetSide() != side)
            continue;
        const HexPos hex { record->column, record->row };
        m_firerHex = hex;
        if (smoke ? ChooseSmokeTarget(unit, hex) : !HoldsFire(unit) && ChooseFireTarget(unit, hex, hex, true))
            return true;
    }
    m_offMapRecord = 0;
    return false;
}

bool CGameAiIndirect::SearchOnMap(bool smoke)
{
    const int side = m_map.GetSide();
    const bool starshell = smoke && m_night != 0;
    for (; IsSweeping(); AdvanceSweep()) {
        const int x = m_sweep.column;
        const int y = m_sweep.row;
        if (!m_stacks.Contains(x, y) || SideInHex(x, y) != side)
            continue;
        m_firerHex = m_sweep;
        m_firerHexside = HexSide::None;
        m_firerPosition = 1;
        for (const PlacedUnit& unit : m_stacks.At(x, y)) {
            m_firerHexside = unit.m_secondFacing;
            bool found = false;
            if (starshell)
                found = UniformRandom() < 0.25 && ChooseSmokeTarget(unit, m_sweep);
            else if (unit.m_type && (unit.m_type->m_targetFlags & kTargetIndirect) != 0)
                found = smoke ? ChooseSmokeTarget(unit, m_sweep)
                              : !HoldsFire(unit) && ChooseFireTarget(unit, m_sweep, m_sweep, false);
            if (found)
                return true;
            ++m_firerPosition;
        }
    }
    return false;
}

bool CGameAiIndirect::HoldsFire(const PlacedUnit& unit)
{
    if (m_night != 0)
        return false;
    const int side = unit.m_type ? unit.m_type->GetSide() : -1;
    // A type of neither side has no ammunition level to draw against.
    if (!IsSide(side))
        return true;
    const int draw = static_cast<int>(UniformRandom() * 100.0);
    if (draw >= m_ammo[side])
        return true;
    if (m_reserveCount > 0 && (unit.m_type->m_targetFlags & kTargetSmokeAnyRange) != 0 && UniformRandom() < 0.1) {
        --m_reserveCount;
        return true;
    }
    return false;
}

bool CGameAiIndirect::ChooseFireTarget(const PlacedUnit& unit, HexPos firer, HexPos centre, bool offMap)
{
    if (!ChooseFireTargetPass(unit, firer, centre, offMap, true)
        && !ChooseFireTargetPass(unit, firer, centre, offMap, false))
        return false;
    LeadMovingTarget();
    SetMissionText(unit, firer, kFiringIndirectText);
    return true;
}

bool CGameAiIndirect::ChooseFireTargetPass(
    const PlacedUnit& unit, HexPos firer, HexPos centre, bool offMap, bool softOnly)
{
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_firerPosition));
    const int enemy = OtherSide(m_map.GetSide());
    int best = -1;
    int ties = 1;
    VisitWeaponRangeWindow(unit, centre.column, centre.row, [&](int x, int y) {
        if (SideInHex(x, y) != enemy || CountPendingFireOnHex(x, y) >= 3 || GetEnemyContact(x, y) != 1
            || !HexHasUnits(x, y) || (softOnly && !IsSoftTargetHex(x, y)))
            return;
        if (offMap) {
            if (!CheckFireSides(unit, firer.column, firer.row, x, y, 0))
                return;
        } else {
            const int position = m_firerPosition;
            if (!CheckFiringUnits(&position, 1, firer.column, firer.row, x, y, 0)) {
                m_blockingHex = { -1, -1 };
                return;
            }
        }
        const int distance = HexDistance(firer.column, firer.row, x, y);
        bool take = false;
        if (best == -1 || distance + 1 < best) {
            take = true;
            ties = 2;
        } else if (distance >= best - 1 && distance <= best + 1) {
            take = random->Next() < 1.0 / ties;
            ++ties;
        }
        if (take) {
            m_targetHex = { x, y };
            best = distance;
        }
    });
    return best != -1;
}

void CGameAiIndirect::LeadMovingTarget()
{
    const int x = m_targetHex.column;
    const int y = m_targetHex.row;
    if (!m_stacks.Contains(x, y))
        return;
    HexSide direction = HexSide::None;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!HasStatus(unit, kUnitMoved))
            return;
        if (!direction.IsValid() && unit.m_facing.IsSingleSide())
            direction = unit.m_facing;
    }
    const int side = m_map.GetSide();
    if (direction.IsValid()) {
        HexPos next;
        while (UniformRandom() < 0.5 && m_map.GetNeighbour(direction, m_targetHex.column, m_targetHex.row, next)) {
            if (SideInHex(next.column, next.row) == side)
                break;
            m_targetHex = next;
        }
    }
    // A shot at a moving target may land a hex off.
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    HexPos jitter { -1, -1 };
    int count = 0;
    for (HexSide around = HexSide::North; around.IsValid(); around.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(around, m_targetHex.column, m_targetHex.row, next)
            || SideInHex(next.column, next.row) == side)
            continue;
        ++count;
        if (random->Next() < 1.0 / count)
            jitter = next;
    }
    if (!IsNoHex(jitter))
        m_targetHex = jitter;
}

bool CGameAiIndirect::ChooseSmokeTarget(const PlacedUnit& unit, HexPos firer)
{
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_firerPosition));
    const int enemy = OtherSide(m_map.GetSide());
    const bool night = m_night != 0;
    int best = -1;
    int ties = 1;
    VisitWeaponRangeWindow(unit, firer.column, firer.row, [&](int x, int y) {
        if (!HexHasUnits(x, y) || SideInHex(x, y) != enemy)
            return;
        if (night) {
            if (IsHexLit(x, y) || GetEnemyContact(x, y) == 1 || UniformRandom() >= 0.25)
                return;
            // The check's refusal is no player's business: its text stays.
            const String refusal = m_fireRefusal;
            const bool passes = CheckStarshellMission(unit, firer.column, firer.row, x, y).IsEmpty();
            m_fireRefusal = refusal;
            if (passes) {
                m_targetHex = { x, y };
                best = 1;
            }
            return;
        }
        if (GetEnemyContact(x, y) != 1 || HasFlaggedPendingFireOnHex(x, y))
            return;
        const int value = GetSmokeValue(x, y);
        if (!CheckSmokeFire(unit, firer.column, firer.row, x, y, 0) || value == -1)
            return;
        bool take = false;
        if (value > best) {
            take = true;
            ties = 2;
        } else if (value == best) {
            take = random->Next() < 1.0 / ties;
            ++ties;
        }
        if (take) {
            m_targetHex = { x, y };
            best = value;
        }
    });
    if (best == -1)
        return false;
    if (night)
        ScatterImpactHex(m_targetHex);
    SetMissionText(unit, firer, night ? kFiringStarshellText : kFiringSmokeText);
    return true;
}

int CGameAiIndirect::GetSmokeValue(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return -1;
    int value = 0;
    bool armed = false;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (GetNominalFirepower(unit.m_type) != 0)
            armed = true;
        if (!unit.m_type || (unit.m_type->m_targetFlags & kTargetHard) == 0)
            continue;
        int defence = unit.m_type->m_value13;
        if (HasStatus(unit, kUnitDisrupted) && defence >= 2)
            defence /= 2;
        value += defence;
    }
    return armed ? value : -1;
}

void CGameAiIndirect::SetMissionText(const PlacedUnit& unit, HexPos firer, const char* action)
{
    String text = FiringUnitHeader(unit, firer.column, firer.row);
    text.AppendText(action);
    if (IsOptionSet(kOptionPlottedIndirectFire)) {
        text.AppendText(kUnknownHexText);
    } else {
        String location;
        HexLocationText(location, m_targetHex.column, m_targetHex.row);
        text.Append(location);
    }
    text.AppendText("\n");
    m_reportText = text;
}

String CGameAiIndirect::ExecuteIndirectFire(String& text, HexPos& shownFirerHex, HexPos& targetHex, String& result)
{
    shownFirerHex = IsHexVisibleToMover(m_firerHex.column, m_firerHex.row) ? m_firerHex : m_targetHex;
    targetHex = m_targetHex;
    // The firer of the last search: an off-map record, or a unit of the stack.
    const PlacedUnit* unit = nullptr;
    if (m_missionKind == kOffMapHighExplosive || m_missionKind == kOffMapSmoke) {
        if (const OffMapUnit* record = OffMapRecordAt(m_offMapRecord))
            unit = &record->unit;
    } else if (const UnitNode* node = GetStackNode(m_firerHex.column, m_firerHex.row, m_firerPosition)) {
        unit = &node->value;
    }
    if (!unit) {
        // The firer is gone: nothing is fired.
        text = String();
        result = String();
        return String();
    }
    // The mission may change the stack: fire from a copy.
    const PlacedUnit firer = *unit;
    m_reportText = FiringUnitHeader(firer, m_firerHex.column, m_firerHex.row);
    ScatterImpactHex(targetHex);
    String fired;
    FireStarshellMission(fired, firer, m_firerHex.column, m_firerHex.row, targetHex.column, targetHex.row);
    if (fired.IsEmpty())
        fired = String(kStarshellFiredText);
    result = m_reportText;
    result.Append(fired);
    m_reportText = result;
    text = result;
    return result;
}

void CGameAiIndirect::ResetIndirectSearch()
{
    m_offMapRecord = m_offMapUnits.IsEmpty() ? 0 : 1;
    m_missionKind = kOffMapHighExplosive;
    const int side = m_map.GetSide();
    if (!IsSide(side))
        m_reserveCount = 0;
    else
        m_reserveCount = m_night != 0 ? m_starshells[side] : m_smoke[side];
}

bool CGameAiIndirect::LoadBattleAndReport(
    std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    const bool read = CGameAiFire::LoadBattleAndReport(in, text, groups, released, hexes);
    ResetIndirectSearch();
    return read;
}

void CGameAiIndirect::BuildTurnStartReport(
    String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups, std::vector<int>& released)
{
    CGameAiFire::BuildTurnStartReport(text, hexes, offMapChanges, groups, released);
    ResetIndirectSearch();
}

bool CGameAiIndirect::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    const bool read = CGameAiFire::ReadBattleFile(in, keepVersion10);
    ResetIndirectSearch();
    return read;
}

void CGameAiIndirect::ResetBattleState()
{
    CGameAiFire::ResetBattleState();
    ResetIndirectSearch();
}
