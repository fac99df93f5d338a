#include "launcher/generator/Deployment.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "launcher/campaign/CampaignFiles.h"
#include "launcher/campaign/NationTables.h"
#include "launcher/generator/BattleGenerator.h"
#include "model/DataFile.h"
#include "model/GameWeapons.h"
#include "model/IntRange.h"

namespace {

// Feature layers a road of any kind runs on.
constexpr std::array<int, 4> kRoadLayers = { 0, 1, 11, 14 };

// Facing preferences by deployment direction: the front first, then its
// neighbours, the back last.
struct FacingRow {
    int direction;
    std::array<std::uint32_t, 6> order;
};
constexpr std::array<FacingRow, 6> kFacingRows = { {
    { 1, { 1, 2, 32, 4, 16, 8 } },
    { 2, { 2, 4, 1, 8, 32, 16 } },
    { 4, { 4, 8, 2, 16, 1, 32 } },
    { 8, { 8, 16, 4, 32, 2, 1 } },
    { 16, { 16, 32, 8, 1, 4, 2 } },
    { 32, { 32, 1, 16, 2, 8, 4 } },
} };

// Directions whose home edge is the bottom of the map (and the east or west
// side turned that way).
bool FacesNorthward(int direction) { return direction == 1 || direction == 2 || direction == 32; }
bool FacesSouthward(int direction) { return direction == 4 || direction == 8 || direction == 16; }

bool HoldsChosen(const UnitRecord* node)
{
    if (!node)
        return false;
    if (node->m_role == 1)
        return true;
    for (const UnitRecord* child = node->m_firstChild.get(); child; child = child->m_nextSibling.get())
        if (HoldsChosen(child))
            return true;
    return false;
}

bool IsTownLetter(char letter)
{
    return letter == 'u' || letter == 'c' || letter == 'v' || letter == 'b' || letter == 'i';
}

} // namespace

// ---- Type tests ----

bool IsPlatoonUnit(const UnitRecord& unit) { return !unit.m_id.empty() && unit.m_id.front() == 'P'; }

bool IsCarrierUnit(const UnitRecord& unit) { return (unit.m_oobValues[1] & 0x1E068) != 0; }

bool IsPassengerUnit(const UnitRecord& unit)
{
    if (IsCarrierUnit(unit))
        return false;
    return (unit.m_oobValues[0] & 0x3F1F) == 0
        || ((unit.m_oobValues[2] & 0x8) != 0 && (unit.m_oobValues[0] & 0x4) == 0);
}

bool IsTowableUnit(const UnitRecord& unit)
{
    return !IsCarrierUnit(unit) && !IsPassengerUnit(unit) && (unit.m_oobValues[0] & 0x2) != 0;
}

std::uint32_t TypeNumberOf(const UnitRecord& unit) { return PlatoonTypeNumber(unit.m_id).value_or(0); }

int ReinforcementChance(int missionType, bool attacks)
{
    struct Row {
        int attacker;
        int defender;
    };
    static constexpr std::array<Row, 12> kChances = { {
        { 0, 0 },
        { 100, 100 },
        { 30, 30 },
        { 30, 10 },
        { 0, 20 },
        { 50, 20 },
        { 30, 0 },
        { 20, 0 },
        { 25, 0 },
        { 30, 70 },
        { 60, 25 },
        { 40, 25 },
    } };
    if (missionType < 1 || missionType > 11)
        return 0;
    const Row& row = kChances[static_cast<std::size_t>(missionType)];
    return attacks ? row.attacker : row.defender;
}

int ObjectiveSide(const ObjectivePoint& point)
{
    return point.m_code == 5 ? GetNationSide(point.m_owner) : point.m_owner;
}

// ---- Weapon reach ----

bool WeaponReachList::Read(const std::filesystem::path& folder)
{
    m_reaches.clear();
    m_read = true;
    std::ifstream in = OpenDataFile((folder / kFileName).string());
    if (!in.is_open())
        return false;
    std::string first;
    std::string second;
    while (ReadScrambledContentLine(in, first)) {
        WeaponRecord record;
        if (!ReadScrambledLine(in, second) || !record.ParseLines(first, second))
            break;
        Add(static_cast<std::uint32_t>(record.m_weaponId), std::max(record.m_hardCount, record.m_softCount));
    }
    return true;
}

int WeaponReachList::FindReach(std::uint32_t platoonType) const
{
    const auto found = m_reaches.find(platoonType);
    return found == m_reaches.end() ? 0 : found->second;
}

// ---- The deployment ----

ForceDeployment::ForceDeployment(RandomMap& map, const WeaponReachList& reaches, UnitRecord* force0, UnitRecord* force1,
    int missionType, int attacker)
    : m_map(map)
    , m_reaches(reaches)
    , m_width(map.HasCells() ? map.Geometry().Width() : 0)
    , m_height(map.HasCells() ? map.Geometry().Height() : 0)
    , m_force1(force1)
    , m_force0(force0)
    , m_missionType(missionType)
    , m_attacker(attacker)
{
    const int width = m_width;
    const int height = m_height;
    m_zone1 = { 0, 3 * height / 5, width - 1, height - 1 };
    m_zone0 = { 0, 0, width - 1, 2 * height / 5 };
    if (missionType == kRiverCrossing) {
        m_zone1.y0 = attacker == 0 ? height / 4 : 3 * height / 4;
        m_zone0.y1 = attacker == 1 ? 3 * height / 4 : height / 4;
    }
}

std::int32_t ForceDeployment::Roll(int n)
{
    return m_map.Random().RollRandom(
        static_cast<std::int16_t>(std::clamp(n, static_cast<int>(std::numeric_limits<std::int16_t>::min()),
            static_cast<int>(std::numeric_limits<std::int16_t>::max()))));
}

bool ForceDeployment::IsWater(int x, int y) const
{
    return OnMap(x, y) && m_map.Cell(m_map.Geometry().CellIndex(x, y)).terrain == 'w';
}

bool ForceDeployment::HasRoadSide(int x, int y) const
{
    const MapCell& cell = m_map.Cell(m_map.Geometry().CellIndex(x, y));
    for (const int layer : kRoadLayers)
        if (cell.layers[static_cast<std::size_t>(layer)] != 0)
            return true;
    return false;
}

void ForceDeployment::AllocateGrids()
{
    const std::size_t count
        = static_cast<std::size_t>(std::max(m_width, 0)) * static_cast<std::size_t>(std::max(m_height, 0));
    m_facings.assign(count, 0);
    m_waitingPassengers.assign(count, 0);
    m_waitingTowables.assign(count, 0);
    m_stackCount.assign(count, 0);
    m_objectiveBlocked.assign(count, 0);
}

void ForceDeployment::ReleaseGrids()
{
    m_facings = {};
    m_waitingPassengers = {};
    m_waitingTowables = {};
    m_stackCount = {};
    m_objectiveBlocked = {};
}

DeploymentZone ForceDeployment::InnerZone(int side) const
{
    DeploymentZone zone = Zone(side);
    if (m_missionType == kRiverCrossing)
        return zone;
    const int dx = (zone.x1 - zone.x0) / 4;
    const int dy = (zone.y1 - zone.y0) / 4;
    return { zone.x0 + dx, zone.y0 + dy, zone.x1 - dx, zone.y1 - dy };
}

void ForceDeployment::BeginSide(int side, ObjectivePoint* objectives)
{
    m_side = side;
    m_groupCount = 0;
    m_objectiveCursor = objectives;
}

void ForceDeployment::Deploy(ObjectivePoint* objectives)
{
    if (m_width <= 0 || m_height <= 0)
        return;
    AllocateGrids();
    BeginSide(1, objectives);
    DeployTree(CoverNode(m_force1), m_zone1, kSide1Direction, -1);
    BeginSide(0, objectives);
    DeployTree(CoverNode(m_force0), m_zone0, kSide0Direction, -1);

    PlaceSideObjectives(1, InnerZone(1), kSide1Direction, objectives);
    PlaceSideObjectives(0, InnerZone(0), kSide0Direction, objectives);

    const int attackerDirection = SideDirection(m_attacker);
    for (ObjectivePoint* point = objectives; point; point = point->m_next.get()) {
        const HexPosition hex = SlideOffWater({ point->m_x, point->m_y }, attackerDirection);
        point->m_x = hex.x;
        point->m_y = hex.y;
    }
    for (ObjectivePoint* point = objectives; point; point = point->m_next.get()) {
        if (point->m_code != 4)
            continue;
        for (int tries = 0; tries < 10; ++tries) {
            const bool taken = OnMap(point->m_x, point->m_y)
                && (StackCount(point->m_x, point->m_y) > 0 || IsWater(point->m_x, point->m_y));
            if (!taken)
                break;
            point->m_x = Roll(m_width) - 1;
            point->m_y = Roll(m_height) - 1;
        }
    }
    ReleaseGrids();
}

UnitRecord* ForceDeployment::CoverNode(UnitRecord* node)
{
    while (node && node->m_role != 1) {
        UnitRecord* holder = nullptr;
        int holders = 0;
        for (UnitRecord* child = node->m_firstChild.get(); child; child = child->m_nextSibling.get()) {
            if (HoldsChosen(child)) {
                holder = child;
                if (++holders > 1)
                    return node;
            }
        }
        node = holder;
    }
    return node;
}

HexPosition ForceDeployment::RandomHexIn(const DeploymentZone& zone)
{
    int x = zone.x0 + Roll(zone.x1 - zone.x0) - 1;
    int y = zone.y0 + Roll(zone.y1 - zone.y0) - 1;
    // A zone narrowed to nothing still gives a hex of the map.
    x = std::clamp(std::min(x, zone.x1), 0, std::max(m_width - 1, 0));
    y = std::clamp(std::min(y, zone.y1), 0, std::max(m_height - 1, 0));
    x = std::clamp(std::max(x, zone.x0), 0, std::max(m_width - 1, 0));
    y = std::clamp(std::max(y, zone.y0), 0, std::max(m_height - 1, 0));
    return { x, y };
}

DeploymentZone ForceDeployment::SplitZone(const DeploymentZone& zone, int direction, int k)
{
    DeploymentZone part = zone;
    const int mx = (zone.x0 + zone.x1) / 2;
    const int my = (zone.y0 + zone.y1) / 2;
    const bool north = FacesNorthward(direction);
    const bool south = FacesSouthward(direction);
    if (k == 0) {
        if (north) {
            part.x1 = std::min(part.x1, mx);
            part.y1 = std::min(part.y1, my);
        } else if (south) {
            part.x0 = std::max(part.x0, mx);
            part.y0 = std::max(part.y0, my);
        }
    } else if (k == 1) {
        if (north) {
            part.x0 = std::max(part.x0, mx);
            part.y1 = std::min(part.y1, my);
        } else if (south) {
            part.x1 = std::min(part.x1, mx);
            part.y0 = std::max(part.y0, my);
        }
    } else if (k >= 2) {
        if (direction == 1 || direction == 2 || direction == 4)
            part.y0 = std::max(part.y0, my);
        else if (direction == 8 || direction == 16 || direction == 32)
            part.y1 = std::min(part.y1, my);
    }
    return part;
}

DeploymentZone ForceDeployment::NarrowZone(
    const DeploymentZone& zone, HexPosition p, char letter, int k, int direction) const
{
    if (letter == 'A' || letter == 'D' || letter == 'G' || letter == 'K' || letter == 'R')
        return SplitZone(zone, direction, k);
    const int reach = letter == 'B' ? 12 : 6;
    return { std::max(zone.x0, p.x - reach), std::max(zone.y0, p.y - reach), std::min(zone.x1, p.x + reach),
        std::min(zone.y1, p.y + reach) };
}

void ForceDeployment::DeployTree(UnitRecord* node, DeploymentZone zone, int direction, int k)
{
    // Siblings in a loop: a long run of them must not deepen the stack.
    for (; node; node = node->m_nextSibling.get()) {
        UnitRecord* const nextCover = CoverNode(node->m_nextSibling.get());
        if (node->m_role == 1) {
            const int chance = ReinforcementChance(m_missionType, m_side == m_attacker);
            if (Roll(100) > chance)
                PlaceForce(*node, zone, direction, k);
            else
                MakeReinforcement(*node, direction);
        } else if (k == -1) {
            DeployTree(node->m_firstChild.get(), zone, direction, 0);
        } else {
            const HexPosition p = RandomHexIn(zone);
            DeploymentZone part = zone;
            if (nextCover)
                part = NarrowZone(zone, p, node->m_id.empty() ? ' ' : node->m_id.front(), k, direction);
            DeployTree(node->m_firstChild.get(), part, direction, 0);
        }
        if (k != -1 && !IsPlatoonUnit(*node) && nextCover)
            ++k;
    }
}

void ForceDeployment::PlaceForce(UnitRecord& node, DeploymentZone zone, int direction, int k)
{
    const HexPosition p = RandomHexIn(zone);
    if (IsPlatoonUnit(node)) {
        PlacePlatoon(node, p, zone, direction);
        return;
    }
    node.m_x = p.x;
    node.m_y = p.y;
    node.m_deployDirection = direction;
    node.m_facing = 1;
    node.m_arrival = 0;
    m_offMapCount = 0;
    const DeploymentZone part = NarrowZone(zone, p, node.m_id.empty() ? ' ' : node.m_id.front(), k, direction);
    for (UnitRecord* child = node.m_firstChild.get(); child; child = child->m_nextSibling.get())
        PlaceForce(*child, part, direction, 0);
}

void ForceDeployment::PlacePlatoon(UnitRecord& node, HexPosition p, DeploymentZone zone, int direction)
{
    const bool indirect = (node.m_oobValues[2] & 0x8) != 0;
    const bool carrier = IsCarrierUnit(node);
    if (indirect) {
        const int reach = m_reaches.FindReach(TypeNumberOf(node));
        if (reach > m_height) {
            // Artillery reaching past the whole map fires from beyond its
            // home edge.
            node.m_x = Roll(m_width) - 1;
            node.m_y = FacesNorthward(direction) ? std::min(reach, m_height + 10) : std::max(m_height - reach, -10);
            node.m_deployDirection = direction;
            node.m_facing = direction;
            node.m_arrival = 0;
            if (IsPassengerUnit(node))
                ++m_offMapCount;
            return;
        }
    }
    if (!indirect && carrier && m_offMapCount >= 1) {
        // Its passenger fires from off the map: the carrier stays home.
        node.m_role = 9;
        node.m_x = -1;
        node.m_y = -1;
        --m_offMapCount;
        return;
    }

    HexPosition hex = p;
    bool found = false;
    if (carrier) {
        const int x0 = std::max(zone.x0, 0);
        const int x1 = std::min(zone.x1, m_width - 1);
        const int y0 = std::max(zone.y0, 0);
        const int y1 = std::min(zone.y1, m_height - 1);
        for (std::vector<std::int32_t>* waiting : { &m_waitingPassengers, &m_waitingTowables }) {
            for (int x = x0; x <= x1 && !found; ++x) {
                for (int y = y0; y <= y1 && !found; ++y) {
                    std::int32_t& count = (*waiting)[Index(x, y)];
                    if (count > 0) {
                        --count;
                        hex = { x, y };
                        found = true;
                    }
                }
            }
            if (found)
                break;
        }
    }
    if (!found) {
        if (StackCount(hex.x, hex.y) >= 4)
            hex = RandomHexIn(zone);
        hex = SlideOffWater(hex, direction);
    }

    node.m_x = hex.x;
    node.m_y = hex.y;
    node.m_arrival = 0;
    MoveCompanions(node, hex, direction);

    const std::size_t at = Index(hex.x, hex.y);
    if (IsPassengerUnit(node))
        ++m_waitingPassengers[at];
    else if (!carrier)
        ++m_waitingTowables[at];
    ++m_stackCount[at];

    std::uint32_t facing = 1;
    for (const FacingRow& row : kFacingRows) {
        if (row.direction != direction)
            continue;
        for (const std::uint32_t bit : row.order) {
            if ((m_facings[at] & bit) == 0) {
                facing = bit;
                break;
            }
        }
    }
    m_facings[at] |= facing;
    node.m_facing = static_cast<std::int32_t>(facing);
    node.m_deployDirection = direction;

    if (m_stackCount[at] == 1)
        TakeObjectiveAt(hex);
}

void ForceDeployment::MoveCompanions(UnitRecord& node, HexPosition hex, int direction)
{
    const UnitRecord* parent = node.m_parent;
    UnitRecord* grandparent = parent ? parent->m_parent : nullptr;
    if (!grandparent)
        return;
    UnitRecord* candidate = grandparent->m_firstChild.get();
    if (!candidate)
        return;
    const auto isChosenPlatoonOfClass = [](const UnitRecord& unit, char level) {
        return unit.m_role == 1 && IsPlatoonUnit(unit) && unit.m_id.size() > 3 && unit.m_id[3] == level;
    };
    if (isChosenPlatoonOfClass(*candidate, '4')) {
        candidate->m_x = hex.x;
        candidate->m_y = hex.y;
        candidate = candidate->m_nextSibling.get();
    }
    if (!candidate || !isChosenPlatoonOfClass(*candidate, '3'))
        return;
    const bool behind = FacesNorthward(direction) ? hex.y >= candidate->m_y
        : FacesSouthward(direction)               ? hex.y <= candidate->m_y
                                                  : true;
    if (behind) {
        candidate->m_x = hex.x;
        candidate->m_y = hex.y;
    }
}

void ForceDeployment::TakeObjectiveAt(HexPosition hex)
{
    ObjectivePoint* point = m_objectiveCursor;
    while (point && ObjectiveSide(*point) != m_side)
        point = point->m_next.get();
    if (!point) {
        m_objectiveCursor = nullptr;
        return;
    }
    point->m_x = hex.x;
    point->m_y = hex.y;
    m_objectiveCursor = point->m_next.get();
}

void ForceDeployment::MakeReinforcement(UnitRecord& node, int direction)
{
    node.m_x = 0;
    node.m_y = 0;
    node.m_arrival = 0;
    node.m_deployDirection = direction;
    node.m_facing = 1;
    bool lowest = true;
    for (const UnitRecord* child = node.m_firstChild.get(); child; child = child->m_nextSibling.get())
        if (child->m_firstChild)
            lowest = false;
    if (!lowest) {
        for (UnitRecord* child = node.m_firstChild.get(); child; child = child->m_nextSibling.get())
            MakeReinforcement(*child, direction);
        return;
    }
    node.m_role = 2;
    node.m_arrival = m_groupCount / 4 * 6;
    if (m_groupCount < std::numeric_limits<int>::max())
        ++m_groupCount;
    if (IsPlatoonUnit(node) && node.m_id.size() > 3 && node.m_id[3] == '3')
        node.m_arrival += 30;
    node.m_arrivalValue = ReinforcementChance(m_missionType, m_side == m_attacker);
    const HexPosition entry = ChooseEntryHex(direction);
    node.m_x = entry.x;
    node.m_y = entry.y;

    // A run of platoon groups enters together.
    const UnitRecord* previous = nullptr;
    bool allGroups = true;
    if (node.m_parent) {
        for (const UnitRecord* sibling = node.m_parent->m_firstChild.get(); sibling && sibling != &node;
             sibling = sibling->m_nextSibling.get()) {
            if (!IsPlatoonUnit(*sibling) || sibling->m_role != 2)
                allGroups = false;
            previous = sibling;
        }
    }
    if (previous && allGroups) {
        node.m_x = previous->m_x;
        node.m_y = previous->m_y;
    }
}

template <typename Accept>
bool ForceDeployment::PickUniformly(const DeploymentZone& zone, Accept accept, HexPosition& chosen)
{
    int k = 0;
    for (int x = std::max(zone.x0, 0); x < std::min(zone.x1, m_width); ++x) {
        for (int y = std::max(zone.y0, 0); y < std::min(zone.y1, m_height); ++y) {
            if (!accept(x, y))
                continue;
            ++k;
            // Compared in integers: 1 / k >= draw / 100.
            if (static_cast<std::int64_t>(k) * Roll(100) <= 100)
                chosen = { x, y };
        }
    }
    return k > 0;
}

HexPosition ForceDeployment::ChooseEntryHex(int direction)
{
    DeploymentZone strip;
    if (direction == 2 || direction == 4)
        strip = { 0, 0, 1, m_height };
    else if (direction == 8)
        strip = { 0, 0, m_width, 1 };
    else if (direction == 16 || direction == 32)
        strip = { m_width - 1, 0, m_width, m_height };
    else
        strip = { 0, m_height - 1, m_width, m_height };
    HexPosition chosen { strip.x0, strip.y0 };
    const bool found = PickUniformly(
        strip, [this](int x, int y) { return HasRoadSide(x, y) && !IsWater(x, y); }, chosen);
    if (found && !IsWater(chosen.x, chosen.y))
        return chosen;
    const bool column = strip.x1 - strip.x0 == 1 && !(strip.y1 - strip.y0 == 1);
    for (int tries = 0; tries < 10; ++tries) {
        if (column)
            chosen = { strip.x0, Roll(m_height) - 1 };
        else
            chosen = { Roll(m_width) - 1, strip.y0 };
        if (!IsWater(chosen.x, chosen.y))
            break;
    }
    return chosen;
}

HexPosition ForceDeployment::SlideOffWater(HexPosition hex, int direction) const
{
    if (!OnMap(hex.x, hex.y))
        return hex;
    int& x = hex.x;
    int& y = hex.y;
    const auto slide = [&](int& value, int step, int limit) {
        while (IsWater(x, y) && value != limit)
            value += step;
    };
    const int right = m_width - 1;
    const int bottom = m_height - 1;
    if (direction == 1) {
        slide(y, 1, bottom);
        slide(x, -1, 0);
        slide(x, 1, right);
    } else if (direction == 2 || direction == 4) {
        slide(x, -1, 0);
        slide(y, -1, 0);
        slide(y, 1, bottom);
    } else if (direction == 8) {
        slide(y, -1, 0);
        slide(x, -1, 0);
        slide(x, 1, right);
    } else if (direction == 16 || direction == 32) {
        slide(x, 1, right);
        slide(y, -1, 0);
        slide(y, 1, bottom);
    }
    return hex;
}

void ForceDeployment::PlaceSideObjectives(int side, DeploymentZone inner, int direction, ObjectivePoint* objectives)
{
    // Objectives may lie only on land reachable straight from the side's
    // edge, column by column until a column starts in water.
    std::fill(m_objectiveBlocked.begin(), m_objectiveBlocked.end(), 1);
    const bool fromBottom = direction == 1 || direction == 2 || direction == 4 || direction == 32;
    const bool fromTop = direction == 8 || direction == 16;
    if (fromBottom || fromTop) {
        for (int x = 0; x < m_width; ++x) {
            const int start = fromBottom ? m_height - 1 : 0;
            if (IsWater(x, start))
                break;
            for (int y = start; y >= 0 && y < m_height && !IsWater(x, y); y += fromBottom ? -1 : 1)
                m_objectiveBlocked[Index(x, y)] = 0;
        }
    }
    const auto open = [this](int x, int y) { return m_objectiveBlocked[Index(x, y)] == 0; };

    for (ObjectivePoint* point = objectives; point; point = point->m_next.get()) {
        if (point->m_code != 5 || GetNationSide(point->m_owner) != side)
            continue;
        HexPosition hex { point->m_x, point->m_y };
        if (point->m_value == -1) {
            hex = ChooseEntryHex(direction < 8 ? direction * 8 : direction >> 3);
        } else {
            if (m_missionType == kMeetingEngagement) {
                hex.x = Roll(m_width) - 1;
                hex.y = m_height / 2 + 2 - Roll(4);
            } else {
                int highest = std::numeric_limits<int>::min();
                for (int x = std::max(inner.x0, 0); x < std::min(inner.x1, m_width); ++x)
                    for (int y = std::max(inner.y0, 0); y < std::min(inner.y1, m_height); ++y)
                        if (open(x, y))
                            highest = std::max<int>(highest, m_map.Cell(m_map.Geometry().CellIndex(x, y)).elevation);
                const bool found = PickUniformly(
                                       inner, [&](int x, int y) { return open(x, y) && StackCount(x, y) > 0; }, hex)
                    || PickUniformly(
                        inner,
                        [&](int x, int y) {
                            return open(x, y) && IsTownLetter(m_map.Cell(m_map.Geometry().CellIndex(x, y)).terrain);
                        },
                        hex)
                    || PickUniformly(
                        inner,
                        [&](int x, int y) {
                            return open(x, y) && m_map.Cell(m_map.Geometry().CellIndex(x, y)).elevation == highest;
                        },
                        hex);
                if (!found)
                    hex = RandomHexIn(inner);
            }
            hex.x = std::clamp(std::clamp(hex.x, 5, std::max(m_width - 5, 5)), 0, m_width - 1);
            hex.y = std::clamp(std::clamp(hex.y, 5, std::max(m_height - 5, 5)), 0, m_height - 1);
        }
        point->m_x = hex.x;
        point->m_y = hex.y;
        for (int x = std::max(hex.x - 3, 0); x <= std::min(hex.x + 3, m_width - 1); ++x)
            for (int y = std::max(hex.y - 3, 0); y <= std::min(hex.y + 3, m_height - 1); ++y)
                m_objectiveBlocked[Index(x, y)] = 1;
    }
}
