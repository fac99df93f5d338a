#include "rules/GameAirMineAttack.h"

#include <algorithm>
#include <sstream>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/Random.h"

namespace {

void AppendResultLine(String& text, const String& result)
{
    text.AppendText("    ");
    text.Append(result);
    text.AppendText("\n");
}

} // namespace

// Air strikes.

void CGameAirMineAttack::ResetBattleState()
{
    CGameIndirectFire::ResetBattleState();
    m_airStrikeCursor = { 0, 0 };
}

void CGameAirMineAttack::AssignAirStrike(int x, int y)
{
    if (!m_airStrikeValue.Contains(x, y) || !m_hexFlags.Contains(x, y))
        return;
    SnapshotHex(x, y);
    const int side = m_map.GetSide();
    m_airStrikeValue.At(x, y) = m_parameters.m_value95;
    m_airStrikeSide.At(x, y) = side;
    m_hexFlags.At(x, y) &= ~kHexRulesMark;
    if (side == 0 || side == 1)
        --m_airPower[side];
}

bool CGameAirMineAttack::NextArrivingAirStrike(HexPos& hex)
{
    const int width = m_map.GetWidth();
    const int height = m_map.GetHeight();
    if (!m_map.IsOnMap(m_airStrikeCursor.column, m_airStrikeCursor.row)
        || !m_airStrikeValue.Contains(m_airStrikeCursor.column, m_airStrikeCursor.row)) {
        m_airStrikeCursor = { 0, 0 };
        return false;
    }
    const int side = m_map.GetSide();
    int x = m_airStrikeCursor.column;
    for (int y = m_airStrikeCursor.row; y < height; ++y) {
        for (; x < width; ++x) {
            m_airStrikeCursor = { x, y };
            hex = m_airStrikeCursor;
            if (m_airStrikeValue.At(x, y) != 0 && m_airStrikeSide.At(x, y) == side && UniformRandom() < kArrivalChance)
                return true;
        }
        x = 0;
    }
    m_airStrikeCursor = { 0, 0 };
    return false;
}

bool CGameAirMineAttack::ChooseAirStrikeHex(HexPos& hex)
{
    const int hx = hex.column;
    const int hy = hex.row;
    if (!m_map.IsOnMap(hx, hy) || !m_airStrikeValue.Contains(hx, hy) || !m_hexFlags.Contains(hx, hy))
        return false;
    RandomGeneratorPtr generator = RandomGeneratorPtr::InitTimeSeeded();
    int k = 1;
    const int enemy = OtherSide(m_airStrikeSide.At(hx, hy));
    bool found = false;
    HexPos chosen = hex;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(hx, hy, kStrikeRadius, minX, maxX, minY, maxY);
    for (int x = minX; x <= maxX; ++x)
        for (int y = minY; y <= maxY; ++y) {
            if (!HexHasUnits(x, y))
                continue;
            if ((x != hx || y != hy) && m_airStrikeValue.At(x, y) != 0)
                continue;
            if (GetEffectiveTerrain(x, y) == kTerrainJungle || GetEnemyContact(x, y) != 1)
                continue;
            // A hex the enemy does not hold draws from the shared sequence,
            // and only once it passed every other test.
            if (SideInHex(x, y) != enemy && !(UniformRandom() < kStrayChance))
                continue;
            if (generator->Next() < 1.0 / k) {
                chosen = { x, y };
                found = true;
            }
            ++k;
        }
    if (!found)
        return false;
    if (chosen == hex)
        return true;
    m_airStrikeValue.At(chosen.column, chosen.row) = m_airStrikeValue.At(hx, hy);
    m_airStrikeSide.At(chosen.column, chosen.row) = m_airStrikeSide.At(hx, hy);
    m_airStrikeValue.At(hx, hy) = 0;
    m_airStrikeSide.At(hx, hy) = -1;
    int& from = m_hexFlags.At(hx, hy);
    if ((from & kHexRulesMark) != 0)
        m_hexFlags.At(chosen.column, chosen.row) |= kHexRulesMark;
    from &= ~kHexRulesMark;
    hex = chosen;
    return true;
}

void CGameAirMineAttack::ResolveAirStrike(String& text, int x, int y, const PlatoonType* aircraft, int ordinal)
{
    text = String();
    // Undo takes back moves only, never a result.
    ClearUndo();
    if (!HexHasUnits(x, y))
        text = kEmptyAirHexText;
    else if (UnitNode* target = FindTargetUnit(x, y, ordinal))
        AirAttackOnUnit(text, target, x, y, aircraft);
    else
        AirAttackOnHex(text, x, y, aircraft);
    if (m_airStrikeValue.Contains(x, y) && m_hexFlags.Contains(x, y)) {
        // The side goes with the value, as a battle read back holds it.
        m_airStrikeValue.At(x, y) = 0;
        m_airStrikeSide.At(x, y) = -1;
        m_hexFlags.At(x, y) &= ~kHexRulesMark;
    }
}

void CGameAirMineAttack::AirAttackOnUnit(String& text, UnitNode* unit, int x, int y, const PlatoonType* aircraft)
{
    if (!OpenUnitAttack(text, unit, x, y, "Air attack on "))
        return;
    PlacedUnit& target = unit->value;

    const PlatoonType* type = target.m_type;
    bool hard = type && (type->m_targetFlags & kTargetHard) != 0;
    int defence = type ? type->DefenceFactor() : 0;
    double modifier = 1.0;
    ApplyTerrainModifiers(target, x, y, hard, defence, modifier);
    int attack = hard ? m_parameters.m_value92 : m_parameters.m_value93;
    if (aircraft)
        attack = hard ? GetFirstValueVsHard(aircraft) : GetFirstValueVsSoft(aircraft);
    std::ostringstream line;
    WriteFireValuesLine(line, attack, defence, modifier);
    text.AppendText(line.str().c_str());

    // A strike already hit by air defence, and smoke, each halve the attack.
    if ((m_hexFlags.At(x, y) & kHexRulesMark) != 0 && attack > 1)
        attack /= 2;
    if (HasSmoke(x, y) && attack > 1)
        attack /= 2;
    const int shots = std::clamp(m_airStrikeValue.At(x, y), 0, kMaxShots);
    String result;
    ApplyFireResult(result, attack, shots, m_parameters.m_value93, defence, x, y, unit, modifier, true, false);
    AppendResultLine(text, result);
}

void CGameAirMineAttack::AirAttackOnHex(String& text, int x, int y, const PlatoonType* aircraft)
{
    text = String();
    if (!m_stacks.Contains(x, y))
        return;
    ClearUndo();
    std::vector<UnitNode*> units;
    for (UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        units.push_back(node);
    for (UnitNode* node : units) {
        if (!IsStackTargetAtTurn(x, y, node))
            continue;
        String one;
        AirAttackOnUnit(one, node, x, y, aircraft);
        text.Append(one);
    }
}

// Minefields.

void CGameAirMineAttack::CheckMinefieldAttack(String& text, const int* positions, int count, int x, int y)
{
    text = String();
    if (!m_hexFlags.Contains(x, y))
        return;
    const int flags = m_hexFlags.At(x, y);
    int level = -1;
    if ((flags & kHexMinefieldOther) != 0)
        level = 0;
    else if ((flags & kHexMinefield1) != 0)
        level = 1;
    else if ((flags & kHexMinefield2) != 0)
        level = 2;
    else if ((flags & kHexMinefield3) != 0)
        level = 3;
    if (level < 0)
        return;
    MinefieldAttack(text, positions, count, x, y, level);
}

void CGameAirMineAttack::MinefieldAttack(String& text, const int* positions, int count, int x, int y, int level)
{
    text = kMinefieldHeading;
    if (!m_stacks.Contains(x, y))
        return;
    ClearUndo();
    // The side whose units entered; the mark stays theirs whatever the mines do.
    const int occupant = SideInHex(x, y);
    const int strength = level == 0 ? 1 : level;
    for (UnitNode* node : ListedUnits(positions, count, x, y)) {
        // The unit after a loaded unit is its passenger, which the carrier's
        // result already covers; any other unit listed next is attacked.
        if (!IsStackTargetAtTurn(x, y, node) || (level == 0 && !IsMineVulnerable(node->value)))
            continue;
        String one;
        MineAttackOnUnit(one, node, x, y, strength);
        text.Append(one);
    }
    if (IsHiddenInformationOn() && (occupant == 0 || occupant == 1)) {
        const int other = OtherSide(occupant);
        if (!IsSideInfoHidden(other) || GetContactLevel(x, y, other) != 0)
            SetFireMark(occupant, x, y);
    }
}

void CGameAirMineAttack::MineAttackOnUnit(String& text, UnitNode* unit, int x, int y, int strength)
{
    if (!OpenUnitAttack(text, unit, x, y, ""))
        return;
    PlacedUnit& target = unit->value;
    if (target.m_type && (target.m_type->m_extraFlags & kExtraMineImmune) != 0) {
        AppendResultLine(text, "No effect");
        return;
    }
    String result;
    ApplyFireResult(result, strength, target.m_strength, strength, 1, x, y, unit, 1.0, false, false);
    AppendResultLine(text, result);
}

bool CGameAirMineAttack::IsMineAttackTriggered(const int* positions, int count, int x, int y) const
{
    if (!m_hexFlags.Contains(x, y))
        return false;
    const std::vector<const UnitNode*> units = ListedUnits(positions, count, x, y);
    const int flags = m_hexFlags.At(x, y);
    if ((flags & (kHexMinefield1 | kHexMinefield2 | kHexMinefield3)) != 0) {
        const bool passes = std::any_of(units.begin(), units.end(), [](const UnitNode* node) {
            return node->value.m_type && (node->value.m_type->m_moveFlags & kMoveMineClearing) != 0;
        });
        if (!passes)
            return true;
    }
    if ((flags & kHexMinefieldOther) == 0 || GetEffectiveTerrain(x, y) != kTerrainShallowWater)
        return false;
    return std::any_of(units.begin(), units.end(), [](const UnitNode* node) { return IsMineVulnerable(node->value); });
}

bool CGameAirMineAttack::IsMineVulnerable(const PlacedUnit& unit)
{
    return unit.m_type && unit.m_type->IsVehicle() && (unit.m_type->m_moveFlags & kMoveMineProof) == 0;
}

std::vector<const UnitNode*> CGameAirMineAttack::ListedUnits(const int* positions, int count, int x, int y) const
{
    std::vector<const UnitNode*> units;
    for (int i = 0; positions && i < count; ++i) {
        const UnitNode* node = GetStackNode(x, y, positions[i]);
        if (!node)
            break;
        if (std::find(units.begin(), units.end(), node) == units.end())
            units.push_back(node);
    }
    return units;
}

std::vector<UnitNode*> CGameAirMineAttack::ListedUnits(const int* positions, int count, int x, int y)
{
    std::vector<UnitNode*> units;
    for (const UnitNode* node : static_cast<const CGameAirMineAttack*>(this)->ListedUnits(positions, count, x, y))
        units.push_back(const_cast<UnitNode*>(node));
    return units;
}

bool CGameAirMineAttack::OpenUnitAttack(String& text, UnitNode* unit, int x, int y, const char* opening)
{
    text = String();
    if (!unit || GetStackPosition(x, y, unit) == 0)
        return false;
    // Undo takes back moves only, never a result.
    ClearUndo();
    String name;
    GetUnitNameForViewer(name, unit->value);
    text = opening;
    text.Append(name);
    text.AppendText("\n");
    return true;
}
