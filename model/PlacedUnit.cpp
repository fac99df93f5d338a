#include "model/PlacedUnit.h"

#include <algorithm>
#include <limits>

#include "model/OrgTree.h"
#include "model/PlatoonType.h"

namespace {

// Files may carry any number in a facing (generated battles put a slot number
// in the second facing of group members); only a single side is kept.
HexSide NormalizedFacing(long long value, HexSide fallback)
{
    if (value <= 0 || value >= static_cast<long long>(HexSide::kNoneValue))
        return fallback;
    const HexSide side(static_cast<std::uint32_t>(value));
    return side.IsSingleSide() ? side : fallback;
}

template <class In> In& ReadUnit(PlacedUnit& target, In& in, const UnitLookup& lookup, bool withCounters)
{
    std::uint32_t typeId = 0;
    int nodeId = -1;
    if (!(in >> typeId >> nodeId))
        return in;
    const PlatoonType* type = lookup.findType(typeId);
    OrgNode* node = nodeId == -1 ? nullptr : lookup.findNode(nodeId);
    if (!type || (nodeId != -1 && !node)) {
        in.setstate(std::ios::failbit);
        return in;
    }
    const bool leader = type->IsLeader();
    // A leader is shown with the picture and values of its own node's code.
    if (node && leader) {
        if (const PlatoonType* own = lookup.findType(node->m_code))
            type = own;
    }

    long long facing = 0;
    long long secondFacing = 0;
    PlacedUnit unit;
    in >> facing >> secondFacing >> unit.m_strength >> unit.m_actionPoints >> unit.m_rating >> unit.m_value
        >> unit.m_status;
    if (withCounters)
        in >> unit.m_counters[0] >> unit.m_counters[1] >> unit.m_counters[2];
    if (!in)
        return in;

    unit.m_type = type;
    unit.m_node = node;
    unit.m_facing = NormalizedFacing(facing, HexSide::North);
    unit.m_secondFacing = NormalizedFacing(secondFacing, HexSide::None);
    // Carrying is rebuilt from the carried units; an assault never spans a save.
    unit.m_status &= ~kUnitNotWrittenBits;
    if (node) {
        if (unit.m_rating > node->m_rating || leader)
            unit.m_rating = node->m_rating;
    }
    target = unit;
    return in;
}

template <class Out> Out& WriteUnit(const PlacedUnit& unit, Out& out)
{
    out << (unit.m_type ? unit.m_type->m_id : 0u) << ' ' << (unit.m_node ? unit.m_node->m_id : -1) << ' '
        << unit.m_facing.Value() << ' ' << unit.m_secondFacing.Value() << ' ' << unit.m_strength << ' '
        << unit.m_actionPoints << ' ' << unit.m_rating << ' ' << unit.m_value << ' '
        << (unit.m_status & ~kUnitNotWrittenBits) << ' ' << unit.m_counters[0] << ' ' << unit.m_counters[1] << ' '
        << unit.m_counters[2];
    return out;
}

template <class In>
bool ReadGroup(ReinforcementGroup& group, In& in, const UnitLookup& lookup, bool withPlacement, bool withCounters)
{
    group.m_units.Free();
    group.m_placement = 0;
    group.m_scatterSteps = 0;
    int count = 0;
    if (!(in >> group.m_time >> group.m_chance >> count))
        return false;
    // Checked before any unit is read, so a hostile count costs nothing.
    if (count < 0 || count > kMaxGroupUnits)
        return false;
    if (withPlacement && !(in >> group.m_placement >> group.m_scatterSteps))
        return false;
    for (int i = 0; i < count; ++i) {
        PlacedUnit unit;
        if (!unit.Read(in, lookup, withCounters)) {
            group.m_units.Free();
            return false;
        }
        AppendReadUnit(group.m_units, unit);
    }
    return true;
}

template <class Out> bool WriteGroup(const ReinforcementGroup& group, Out& out)
{
    out << group.m_col << ' ' << group.m_row << ' ' << group.m_time << ' ' << group.m_chance << ' '
        << group.m_units.Count() << ' ' << group.m_placement << ' ' << group.m_scatterSteps << '\n';
    for (const PlacedUnit& unit : group.m_units) {
        out << "    ";
        unit.Write(out) << '\n';
    }
    return static_cast<bool>(out);
}

} // namespace

PlacedUnit::PlacedUnit(const PlatoonType* type, OrgNode* node)
    : m_type(type)
    , m_node(node)
    , m_strength(type ? type->m_fullStrength : 0)
    , m_rating(node ? node->m_rating : 6)
{
}

UnitLookup::UnitLookup(const PlatoonTypeList& types, OrgTree& tree)
    : findType([&types](std::uint32_t id) { return types.FindById(id); })
    , findNode([&tree](int id) { return tree.FindNode(id); })
{
}

std::istream& PlacedUnit::Read(std::istream& in, const PlatoonTypeList& types, OrgTree& tree, bool withCounters)
{
    return Read(in, UnitLookup(types, tree), withCounters);
}

std::istream& PlacedUnit::Read(std::istream& in, const UnitLookup& lookup, bool withCounters)
{
    return ReadUnit(*this, in, lookup, withCounters);
}

TextScanner& PlacedUnit::Read(TextScanner& in, const UnitLookup& lookup, bool withCounters)
{
    return ReadUnit(*this, in, lookup, withCounters);
}

std::ostream& PlacedUnit::Write(std::ostream& out) const { return WriteUnit(*this, out); }
TextBuilder& PlacedUnit::Write(TextBuilder& out) const { return WriteUnit(*this, out); }

void PlacedUnit::SpendActionPoints(int points)
{
    // Widened, and saturated, so that no amount can wrap around.
    const long long left = static_cast<long long>(m_actionPoints) - points;
    m_actionPoints = static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
}

void PlacedUnit::ReduceStrength(int points)
{
    const long long left = static_cast<long long>(m_strength) - points;
    m_strength = static_cast<int>(std::clamp<long long>(left, 1, std::numeric_limits<int>::max()));
}

String PlacedUnit::GetName() const
{
    if (!m_type)
        return String();
    if (m_node && m_type->IsLeader())
        return m_node->m_nodeName;
    return m_type->m_name;
}

String PlacedUnit::GetShortName() const
{
    if (!m_type)
        return String();
    if (m_node && m_type->IsLeader())
        return m_node->m_nodeName;
    return m_type->m_shortName;
}

OrgNode* PlacedUnit::GetCommandNode() const
{
    if (!m_node || !m_node->m_parent)
        return nullptr;
    const int category = m_node->GetCategory();
    if (m_node->m_parent->HasSubFormation() && category != kCategoryLeader && category != kCategoryArtillery)
        return m_node;
    return m_node->m_parent;
}

bool operator==(const PlacedUnit& a, const PlacedUnit& b)
{
    return a.m_type == b.m_type && a.m_strength == b.m_strength && a.m_actionPoints == b.m_actionPoints
        && a.m_rating == b.m_rating && a.m_value == b.m_value && a.m_status == b.m_status;
}

bool ReinforcementGroup::Read(
    std::istream& in, const PlatoonTypeList& types, OrgTree& tree, bool withPlacement, bool withCounters)
{
    return Read(in, UnitLookup(types, tree), withPlacement, withCounters);
}

bool ReinforcementGroup::Read(std::istream& in, const UnitLookup& lookup, bool withPlacement, bool withCounters)
{
    return ReadGroup(*this, in, lookup, withPlacement, withCounters);
}

bool ReinforcementGroup::Read(TextScanner& in, const UnitLookup& lookup, bool withPlacement, bool withCounters)
{
    return ReadGroup(*this, in, lookup, withPlacement, withCounters);
}

bool ReinforcementGroup::Write(std::ostream& out) const { return WriteGroup(*this, out); }
bool ReinforcementGroup::Write(TextBuilder& out) const { return WriteGroup(*this, out); }

int ReinforcementGroup::GetSide() const
{
    const UnitNode* first = m_units.Head();
    return first && first->value.m_type ? first->value.m_type->GetSide() : -1;
}

int ReinforcementGroup::GetNation() const
{
    const UnitNode* first = m_units.Head();
    return first && first->value.m_type ? first->value.m_type->GetNation() : -1;
}

void AppendReadUnit(UnitList& units, PlacedUnit unit)
{
    if ((unit.m_status & kUnitCarried) != 0) {
        UnitNode* above = units.Last();
        if (above && above->value.m_type && above->value.m_type->CanCarryPassengers())
            above->value.m_status |= kUnitCarrying;
        else
            unit.m_status &= ~static_cast<std::uint32_t>(kUnitCarried);
    }
    units.Append(unit);
}
