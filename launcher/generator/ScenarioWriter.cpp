// The battle generator's files: the battle (scenario) file that the main
// program reads, with the deployment made on the freshly generated map, and
// the organisation file of both forces.

#include <algorithm>
#include <array>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/NationTables.h"
#include "launcher/generator/BattleGenerator.h"
#include "launcher/generator/Deployment.h"
#include "model/DataFile.h"
#include "model/IntRange.h"

namespace {

// Boat platoon types by nation, for river crossings (0: none).
constexpr std::array<std::int32_t, 23> kBoatTypes = { 51, 1073, 2037, 3027, 4027, 5016, 6011, 7021, 8029, 9096, 10037,
    11011, 12015, 13010, 14004, 15012, 16021, 17027, 18017, 19041, 20000, 21023, 22000 };

using AirSupportRow = std::array<std::int32_t, 10>;
// Air support types by nation; 0 marks an empty slot.
constexpr std::array<AirSupportRow, 23> kAirSupportTypes = { {
    { 501, 502, 503, 504, 505, 506 },
    { 1501, 1502, 1503, 1504, 1505, 1506, 1507, 1508 },
    { 2501, 2502, 2504, 2505 },
    { 3501, 3502, 3503, 3504, 3505 },
    { 4501, 4503, 4505, 4506 },
    { 5501, 5502, 5503, 5504 },
    { 6501, 6502, 6503 },
    { 7501, 7502 },
    { 8501, 8502, 8503, 8504 },
    { 9501, 9502, 9503, 9504, 9505, 9506, 9507, 9508 },
    { 10501, 10502, 10503, 10504, 10505 },
    { 11501 },
    { 12501 },
    { 13501 },
    { 14501 },
    { 15501 },
    { 16501, 16503 },
    { 17501, 17502 },
    { 18501, 18503, 18504, 18505, 18506 },
    { 19501, 19502, 19503, 19504 },
    { 20501 },
    { 21501, 21502, 21503, 21504, 21505, 21506, 21507 },
    { 22501 },
} };

AirSupportRow AirSupportTypesOf(std::int32_t nation)
{
    if (nation < 0 || nation >= static_cast<std::int32_t>(kAirSupportTypes.size()))
        return {};
    return kAirSupportTypes[static_cast<std::size_t>(nation)];
}

bool HasAirSupport(std::int32_t nation)
{
    const AirSupportRow row = AirSupportTypesOf(nation);
    return std::any_of(row.begin(), row.end(), [](std::int32_t type) { return type != 0; });
}

// Numbers joined by blanks, then the line's end.
template <typename... Numbers> void AppendNumbers(std::string& text, Numbers... numbers)
{
    bool first = true;
    ((text += first ? "" : " ", text += std::to_string(numbers), first = false), ...);
}

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(std::max(depth, 0)) * 4, ' '); }

std::string WithoutLineEnd(std::string name)
{
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
        name.pop_back();
    return name;
}

// The facing a boat takes beside its unit: two steps clockwise.
std::int32_t TurnTwoSteps(std::int32_t facing)
{
    switch (facing) {
    case 1:
        return 4;
    case 2:
        return 8;
    case 4:
        return 16;
    case 8:
        return 32;
    case 32:
        return 2;
    default:
        return 1;
    }
}

// Count(node, on): the platoons met while on, which turns on after a chosen
// node for its next siblings.
std::int32_t CountPlatoonsAfterChosen(const UnitRecord* node, bool on)
{
    std::int64_t count = 0;
    for (; node; node = node->m_nextSibling.get()) {
        if (on && IsPlatoonUnit(*node))
            ++count;
        count += CountPlatoonsAfterChosen(node->m_firstChild.get(), on);
        if (node->m_role == 1)
            on = true;
    }
    return ClampToInt(count);
}

void AppendOrganisation(std::string& text, const UnitRecord* node, int depth)
{
    for (; node; node = node->m_nextSibling.get()) {
        text += Indent(depth);
        text += node->m_id + ' ' + std::to_string(node->m_number) + ' ' + std::to_string(node->m_morale) + ' '
            + WithoutLineEnd(node->m_name) + '\n';
        if (node->m_firstChild)
            AppendOrganisation(text, node->m_firstChild.get(), depth + 1);
        else if (!IsPlatoonUnit(*node))
            text += Indent(depth + 1) + "End\n";
        if (!node->m_nextSibling && depth > 0)
            text += Indent(depth) + "End\n";
    }
}

bool WriteText(const std::filesystem::path& path, const std::string& text)
{
    return WriteFileAtomically(path, [&text](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    }).empty();
}

// The members of a group in the order they are written, each with its
// carried flag: carriers each with the next passenger (or else towable)
// they take, then the passengers and towables left after the last taken,
// then every other subunit.
struct GroupMember {
    const UnitRecord* unit;
    bool carried;
};
std::vector<GroupMember> GroupMembers(const UnitRecord& group)
{
    std::vector<GroupMember> members;
    if (IsPlatoonUnit(group)) {
        members.push_back({ &group, false });
        return members;
    }
    std::vector<const UnitRecord*> carriers;
    std::vector<const UnitRecord*> passengers;
    std::vector<const UnitRecord*> towables;
    std::vector<const UnitRecord*> others;
    for (const UnitRecord* child = group.m_firstChild.get(); child; child = child->m_nextSibling.get()) {
        if (IsCarrierUnit(*child))
            carriers.push_back(child);
        else if (IsPassengerUnit(*child))
            passengers.push_back(child);
        else if (IsTowableUnit(*child))
            towables.push_back(child);
        else
            others.push_back(child);
    }
    std::size_t nextPassenger = 0;
    std::size_t nextTowable = 0;
    for (const UnitRecord* carrier : carriers) {
        if (nextPassenger < passengers.size()) {
            members.push_back({ carrier, false });
            members.push_back({ passengers[nextPassenger++], true });
        } else if (nextTowable < towables.size()) {
            members.push_back({ carrier, false });
            members.push_back({ towables[nextTowable++], true });
        }
    }
    for (; nextPassenger < passengers.size(); ++nextPassenger)
        members.push_back({ passengers[nextPassenger], false });
    for (; nextTowable < towables.size(); ++nextTowable)
        members.push_back({ towables[nextTowable], false });
    for (const UnitRecord* other : others)
        members.push_back({ other, false });
    return members;
}

} // namespace

// ---- Objectives ----

std::int32_t BattleGenerator::AttackerNation() const
{
    return GetNationSide(m_nation) == m_attacker ? m_nation : m_enemyNation;
}

std::int32_t BattleGenerator::DefenderNation() const
{
    return GetNationSide(m_nation) == m_attacker ? m_enemyNation : m_nation;
}

void BattleGenerator::AddObjective(std::int32_t code, std::int32_t value, std::int32_t owner)
{
    auto point = std::make_unique<ObjectivePoint>();
    point->m_x = Roll(m_context.map.m_mapWidth) - 1;
    point->m_y = Roll(m_context.map.m_mapHeight) - 1;
    point->m_code = code;
    point->m_value = value;
    point->m_owner = owner;
    point->m_next = std::move(m_objectives);
    m_objectives = std::move(point);
}

void BattleGenerator::AddValueObjectives(std::int32_t count, std::int32_t offset)
{
    // The defending side holds them, as a side number.
    const std::int32_t owner = m_attacker == 0 ? 1 : 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t draw = ClampToInt(static_cast<std::int64_t>(Roll(100)) + offset);
        const std::int32_t code = ObjectiveValueClassFor(m_valueClasses, draw);
        if (code != 0)
            AddObjective(code, 0, owner);
    }
}

void BattleGenerator::PlaceVictoryObjectives(std::int32_t count, std::int32_t total)
{
    if (count <= 0)
        return;
    const std::int64_t per = static_cast<std::int64_t>(total) / (2 * static_cast<std::int64_t>(count));
    std::int64_t rest = static_cast<std::int64_t>(total) - per * count;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int64_t share = i == count - 1 ? rest : Roll(ClampToInt(rest));
        rest -= share;
        std::int64_t value = share + per;
        if (value % 5 != 0)
            value += 5 - ((value % 5) + 5) % 5;
        AddObjective(5, ClampToInt(value), DefenderNation());
    }
}

void BattleGenerator::AddExitObjective()
{
    if (m_missionType == kDelayingAction || m_missionType == kPocketBreakout || m_missionType == kArmoredBreakthrough
        || m_missionType == kHighwayClearing)
        AddObjective(5, -1, AttackerNation());
}

// ---- Map size ----

void BattleGenerator::SizeMap()
{
    const CampaignMapSize size = ReadMapSize(m_context.campaign->folder, m_commandLevel);
    // Sizes from the file are held to what a battle map can be.
    int width = std::clamp(size.width, 10, 400);
    width += width % 2;
    int height = std::clamp(size.height, 10, 400);
    if (m_missionType == kRiverCrossing)
        height += height / 2;
    if (m_missionType == kMeetingEngagement || m_missionType == kHighwayClearing)
        height += height / 5;
    if (m_context.map.m_mapTheme == 2) {
        width *= 2;
        height *= 2;
    }
    width += Roll(20) * width / 100;
    if (width % 2 != 0)
        ++width;
    height += Roll(20) * height / 100;
    // The map reader takes at most 1000 each way.
    m_context.map.m_mapWidth = static_cast<std::int16_t>(std::min(width, RandomMap::kMaxMapSize));
    m_context.map.m_mapHeight = static_cast<std::int16_t>(std::min(height, RandomMap::kMaxMapSize));

    const std::int32_t total
        = ClampToInt(static_cast<std::int64_t>(size.total) + 3 * static_cast<std::int64_t>(size.bonus));
    PlaceVictoryObjectives(size.count, total);
    AddExitObjective();
}

// ---- Header ----

void BattleGenerator::ComputeSideValues()
{
    const std::filesystem::path& folder = m_context.campaign->folder;
    const std::optional<std::array<std::int32_t, 16>> row = ReadMissionRow(folder, m_missionType);
    if (!row)
        return;
    const std::int32_t a = std::min<std::int64_t>(static_cast<std::int64_t>((*row)[8]) + Roll(10), 100);
    const std::int32_t d = std::min<std::int64_t>(static_cast<std::int64_t>((*row)[9]) + Roll(10), 100);

    std::int64_t k = 1;
    for (int level = 0; level < std::clamp(m_commandLevel, 0, 10); ++level)
        k *= 3;
    // Held so that hostile counts cannot make an endless list.
    constexpr std::int64_t kMostDraws = 100000;
    m_valueClasses = ReadObjectiveValueClasses(folder);
    AddValueObjectives(static_cast<std::int32_t>(std::clamp<std::int64_t>(k * (*row)[12], 0, kMostDraws)), (*row)[14]);
    AddValueObjectives(static_cast<std::int32_t>(std::clamp<std::int64_t>(k * (*row)[13], 0, kMostDraws)), (*row)[15]);

    const std::array<std::int32_t, 29> yearValues = ReadYearlyNationValues(folder, m_date / 10000);
    std::array<std::int32_t, 2> nations {};
    for (int side = 0; side < 2; ++side)
        nations[static_cast<std::size_t>(side)] = GetNationSide(m_nation) == side ? m_nation : m_enemyNation;
    std::array<std::int64_t, 2> y {};
    for (std::size_t side = 0; side < 2; ++side)
        y[side] = nations[side] >= 0 && nations[side] < 29 ? yearValues[static_cast<std::size_t>(nations[side])] : 0;

    for (std::size_t side = 0; side < 2; ++side) {
        const bool attacks = static_cast<std::int32_t>(side) == m_attacker;
        m_airStrikes[side] = attacks ? (*row)[6] : (*row)[7];
        m_advantage[side] = attacks ? a : d;
        m_sideValue[side] = attacks ? (*row)[10] : (*row)[11];
    }
    if (m_context.visibilityRadius < 15) {
        m_airStrikes = {};
    } else {
        for (std::size_t side = 0; side < 2; ++side)
            m_airStrikes[side] = ClampToInt(std::max<std::int64_t>(
                static_cast<std::int64_t>(m_airStrikes[side]) + Roll(7) - 5 + y[side] + m_commandLevel, 0));
    }
    for (std::size_t side = 0; side < 2; ++side)
        m_sideValue[side] = ClampToInt(static_cast<std::int64_t>(m_sideValue[side]) + 2 * y[side] + 69 + Roll(12));
    for (std::size_t side = 0; side < 2; ++side)
        m_ammunition[side] = ClampToInt((static_cast<std::int64_t>(m_commandLevel) - 1) * 3 + Roll(10));
    // A side whose nation has no aircraft has no strikes to call.
    for (std::size_t side = 0; side < 2; ++side)
        if (!HasAirSupport(nations[side]))
            m_airStrikes[side] = 0;
}

void BattleGenerator::WriteHeader(std::string& text)
{
    text += "1\n";
    text += std::string(GetMissionTypeName(m_missionType)) + '\n';

    std::array<char, 4> letters = m_context.conditionLetters;
    const std::int32_t turns = ReadTurnCount(m_context.campaign->folder, m_commandLevel, letters[1]);
    const std::int16_t t = static_cast<std::int16_t>(turns);
    m_scenarioLength = static_cast<std::int16_t>((t + (Roll(40) - 20) * t / 100 + 4) * 6);
    text += "0 ";
    AppendNumbers(text, m_attacker);
    text += " 0 ";
    AppendNumbers(text, m_scenarioLength);
    text += '\n';

    char& foliage = letters[0];
    char& surface = letters[1];
    char& water = letters[2];
    char& field = letters[3];
    if (m_context.map.m_mapTheme == 1)
        water = 'N';
    if (m_context.map.m_mapTheme == 2) {
        if (surface == 'D' || surface == 'S')
            surface = 'L';
        water = 'N';
        foliage = 'L';
        field = 'T';
    }
    text += foliage == 'B' ? "2 " : foliage == 'F' ? "1 " : foliage == 'S' ? "3 " : "0 ";
    text += surface == 'L' ? "1 " : surface == 'M' ? "2 " : surface == 'S' ? "3 " : "0 ";
    text += water == 'F' ? "1 " : "0 ";
    text += field == 'N' ? "2 " : field == 'P' ? "1 " : "0 ";
    ComputeSideValues();
    AppendNumbers(text, m_context.visibilityRadius);
    text += " \n";

    AppendNumbers(
        text, m_airStrikes[0], m_airStrikes[1], m_ammunition[0], m_ammunition[1], m_sideValue[0], m_sideValue[1]);
    text += '\n';
    AppendNumbers(text, m_attacker);
    text += '\n';
    text += "0 0 0 0 ";
    AppendNumbers(text, m_missionType);
    text += '\n';
    AppendNumbers(text, m_advantage[0], m_advantage[1]);
    text += " 0 0\n";
}

// ---- Units ----

std::unique_ptr<UnitRecord> BattleGenerator::MakeBoats(std::int32_t nation, UnitRecord* attackerForce)
{
    const std::int32_t type = nation >= 0 && nation < static_cast<std::int32_t>(kBoatTypes.size())
        ? kBoatTypes[static_cast<std::size_t>(nation)]
        : 0;
    if (type == 0)
        return nullptr;
    const std::int32_t count = CountPlatoonsAfterChosen(attackerForce, false);
    std::unique_ptr<UnitRecord> boats;
    char id[16];
    std::snprintf(id, sizeof id, "P%05d", static_cast<int>(type));
    for (std::int32_t i = 0; i < count; ++i) {
        auto boat = std::make_unique<UnitRecord>();
        boat->m_id = id;
        boat->m_name = "Boats";
        boat->m_leader = "Boats";
        boat->m_number = m_context.campaign->TakeUnitNumber();
        boat->m_strength = 6;
        boat->m_fullStrength = 6;
        boat->m_experience = 0;
        boat->m_morale = 6;
        boat->m_size = 4;
        boat->m_nextSibling = std::move(boats);
        boats = std::move(boat);
    }
    return boats;
}

void BattleGenerator::PrepareBoats()
{
    m_boats = nullptr;
    m_nextUnitNumber = m_context.campaign->g_unitCounter;
    m_boatLinesLeft = 0;
    if (m_missionType != kRiverCrossing)
        return;
    m_boats = MakeBoats(AttackerNation(), GetNationSide(m_nation) == m_attacker ? m_force : m_enemyForce);
    for (const UnitRecord* boat = m_boats.get(); boat; boat = boat->m_nextSibling.get())
        ++m_boatLinesLeft;
}

void BattleGenerator::WriteObjectives(std::string& text) const
{
    for (const ObjectivePoint* point = m_objectives.get(); point; point = point->m_next.get()) {
        if (point->m_code == 5) {
            text += "5 ";
            AppendNumbers(text, point->m_x, point->m_y, point->m_value, point->m_owner);
        } else {
            text += "2 ";
            AppendNumbers(text, point->m_x, point->m_y, point->m_code);
        }
        text += " \n";
    }
}

void BattleGenerator::WriteUnitLine(std::string& text, const UnitRecord& unit)
{
    const int width = m_context.map.m_mapWidth;
    const int height = m_context.map.m_mapHeight;
    const bool onMap = unit.m_x >= 0 && unit.m_x < width && unit.m_y >= 0 && unit.m_y < height;
    AppendNumbers(text, onMap ? 0 : 6, unit.m_x, unit.m_y, TypeNumberOf(unit), unit.m_number, unit.m_deployDirection,
        unit.m_facing, unit.m_strength);
    text += " 100 ";
    AppendNumbers(text, unit.m_morale);
    text += " 0 0\n";

    const int nation = GetUnitIdNation(unit.m_id);
    if (!onMap || !m_boats || m_boatLinesLeft <= 0 || GetNationSide(nation) != m_attacker || unit.m_id.size() < 4
        || unit.m_id[3] == '0')
        return;
    const std::int32_t boatType = nation >= 0 && nation < static_cast<int>(kBoatTypes.size())
        ? kBoatTypes[static_cast<std::size_t>(nation)]
        : 0;
    text += "0 ";
    AppendNumbers(
        text, unit.m_x, unit.m_y, boatType, m_nextUnitNumber, unit.m_deployDirection, TurnTwoSteps(unit.m_facing), 6);
    text += " 100 6 0 0\n";
    ++m_nextUnitNumber;
    --m_boatLinesLeft;
}

void BattleGenerator::WriteGroup(std::string& text, const UnitRecord& group)
{
    const std::vector<GroupMember> members = GroupMembers(group);
    if (members.empty())
        return;
    std::int32_t arrival = group.m_arrival;
    if (arrival > m_scenarioLength)
        arrival = Roll(m_scenarioLength) / 6 * 6;
    text += "7 ";
    AppendNumbers(text, group.m_x, group.m_y, arrival, group.m_arrivalValue, static_cast<int>(members.size()));
    text += '\n';
    std::int32_t& slot = m_context.memberSlot;
    for (const GroupMember& member : members) {
        const UnitRecord& unit = *member.unit;
        text += "    ";
        AppendNumbers(text, TypeNumberOf(unit), unit.m_number, group.m_deployDirection, slot,
            unit.m_strength != 0 ? unit.m_strength : 1);
        text += " 100 ";
        AppendNumbers(text, unit.m_morale);
        text += member.carried ? " 0 16\n" : " 0 0\n";
        if (!member.carried)
            slot = (slot + 1) % 6;
    }
}

void BattleGenerator::WriteUnits(std::string& text, const UnitRecord* node)
{
    for (; node; node = node->m_nextSibling.get()) {
        if (node->m_role == 1) {
            if (IsPlatoonUnit(*node)) {
                // A platoon of a chosen formation was written with it.
                const UnitRecord* parent = node->m_parent;
                const bool writtenByParent = parent && parent->m_role == 1 && !IsPlatoonUnit(*parent);
                if (node->m_strength != 0 && !writtenByParent)
                    WriteUnitLine(text, *node);
            } else {
                for (const UnitRecord* child = node->m_firstChild.get(); child; child = child->m_nextSibling.get())
                    // A subunit made a group of its own is written as one.
                    if (IsPlatoonUnit(*child) && child->m_strength > 0 && child->m_role != 9 && child->m_role != 2)
                        WriteUnitLine(text, *child);
            }
        } else if (node->m_role == 2) {
            WriteGroup(text, *node);
            continue;
        }
        WriteUnits(text, node->m_firstChild.get());
    }
}

void BattleGenerator::WriteSupport(std::string& text, std::int32_t nation)
{
    const AirSupportRow row = AirSupportTypesOf(nation);
    const std::int32_t strikes = m_airStrikes[static_cast<std::size_t>(GetNationSide(nation) == 0 ? 0 : 1)];
    for (std::int32_t strike = 0; strike < strikes; ++strike) {
        std::size_t pick = 0;
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (row[k] == 0)
                continue;
            // draw / 100 <= 1 / (k + 1), in integers.
            if (static_cast<std::int64_t>(k + 1) * Roll(100) <= 100)
                pick = k;
        }
        if (row[pick] == 0)
            continue;
        text += "19 ";
        AppendNumbers(text, row[pick]);
        text += '\n';
    }
}

// ---- The files ----

std::string BattleGenerator::OrganisationText() const
{
    std::string text = "1\n";
    AppendNumbers(text, m_context.campaign->g_unitCounter);
    text += '\n';
    AppendNumbers(text, (m_date / 100) % 100, m_date / 10000);
    text += '\n';
    AppendOrganisation(text, m_force, 0);
    AppendOrganisation(text, m_enemyForce, 0);
    AppendOrganisation(text, m_boats.get(), 0);
    return text;
}

bool BattleGenerator::WriteOrganisation(const std::filesystem::path& path)
{
    return WriteText(path, OrganisationText());
}

bool BattleGenerator::WriteScenario(std::string_view baseName, std::string_view extension)
{
    const std::string base(baseName);
    const std::string mapName = base + std::string(kMapExtension);
    const std::string organisationName = base + std::string(kOrganisationExtension);
    const CampaignContext& campaign = *m_context.campaign;
    RandomMap& map = m_context.map;

    SizeMap();
    if (m_missionType == kRiverCrossing) {
        // A force that cannot cross defends a bridgehead instead.
        if (GetUnitIdTypeDigit(campaign.g_campaign.m_formationId) <= 0) {
            m_missionType = kBridgehead;
        } else {
            map.m_mapRiverCrossing = 1;
            map.m_mapMajorRiverWidth = static_cast<std::int8_t>(Roll(7) + 3);
        }
    }
    if (!map.GenerateRandomMap(campaign.PathOf(mapName)).empty()) {
        map.FreeMapCells();
        return false;
    }

    std::string text;
    WriteHeader(text);
    text += mapName + '\n';
    text += organisationName + '\n';

    UnitRecord* const force0 = GetNationSide(m_nation) == 0 ? m_force : m_enemyForce;
    UnitRecord* const force1 = GetNationSide(m_nation) == 0 ? m_enemyForce : m_force;
    ForceDeployment deployment(map, m_context.WeaponReaches(), force0, force1, m_missionType, m_attacker);
    deployment.Deploy(m_objectives.get());

    PrepareBoats();
    WriteObjectives(text);
    WriteUnits(text, m_force);
    WriteUnits(text, m_enemyForce);
    WriteSupport(text, m_nation);
    WriteSupport(text, m_enemyNation);
    map.FreeMapCells();
    text += "-1\n0 -1\n1 \n\n";
    text += FormatShortDate(ClampToInt(static_cast<std::int64_t>(m_date) + campaign.g_campaign.m_dayOffset)) + " \n";

    // The organisation first: a battle file never names a missing one.
    if (!WriteOrganisation(campaign.PathOf(organisationName)))
        return false;
    return WriteText(campaign.PathOf(base + std::string(extension)), text);
}
