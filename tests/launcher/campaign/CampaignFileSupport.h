#pragma once
// Shared by the campaign file tests: a campaign with a force of several
// depths, its ".ccd" text line by line, and the record and folder described
// as text for comparisons.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignRecord.h"

inline std::unique_ptr<UnitRecord> MakeFileUnit(const char* id, std::int32_t number, const char* name,
    const char* leader, std::int16_t role, std::int32_t strength, std::int32_t full, std::int32_t size,
    std::int32_t morale, std::int32_t from, std::int32_t to, std::int32_t experience)
{
    auto unit = MakeUnit(id, number);
    unit->m_name = name;
    unit->m_leader = leader;
    unit->m_role = role;
    unit->m_strength = strength;
    unit->m_fullStrength = full;
    unit->m_size = size;
    unit->m_morale = morale;
    unit->m_availableFrom = from;
    unit->m_availableTo = to;
    unit->m_experience = experience;
    return unit;
}

inline void AddHistory(
    CampaignRecord& record, const char* name, std::int32_t date, std::int32_t type, std::int32_t result)
{
    auto entry = std::make_unique<BattleHistoryEntry>();
    entry->m_battleName = name;
    entry->m_date = date;
    entry->m_battleType = type;
    entry->m_result = result;
    entry->m_next = std::move(record.m_history);
    record.m_history = std::move(entry);
}

// A battalion whose platoon has two successors, a company three deep and a
// platoon after it that climbs back two levels.
inline std::unique_ptr<UnitRecord> MakeSampleForce()
{
    auto root = MakeFileUnit("B1012001", 1, "2nd Battalion", "Lt. Col. Hale", 0, 5, 5, 40, 6, 420100, 450500, 0);
    AttachChildUnit(MakeFileUnit("P10401", 25, "Kasserine Run", "Kasserine Run", 1, 1, 1, 1, 7, 0, 0, 3), *root);
    UnitRecord* able
        = AttachChildUnit(MakeFileUnit("C1002001", 2, "Able Company", "", 2, 5, 5, 24, 6, 420100, 450500, 0), *root);
    UnitRecord* first = AttachChildUnit(
        MakeFileUnit("P10200", 3, "1st Platoon", "Sgt. Bell", 0, 4, 5, 10, 6, 420200, 430400, 12), *able);
    first->m_nextSuccessor
        = MakeFileUnit("P10201", 0, "1st Platoon (Engineers)", "Sgt. Bell", 0, 5, 5, 12, 6, 430500, 450500, 0);
    first->m_nextSuccessor->m_nextSuccessor
        = MakeFileUnit("P10202", 0, "1st Platoon (Armored)", "Sgt. Bell", 0, 5, 5, 14, 6, 440100, 450500, 0);
    AttachChildUnit(MakeFileUnit("P10200", 4, "2nd Platoon", "Sgt. Cole", 0, 5, 5, 10, 6, 420200, 430400, 0), *able);
    UnitRecord* weapons = AttachChildUnit(
        MakeFileUnit("C1002002", 5, "Weapons Company", "Capt. Moss", 0, 5, 5, 12, 6, 420100, 450500, 0), *root);
    UnitRecord* section = AttachChildUnit(
        MakeFileUnit("C1002003", 7, "Mortar Section", "Lt. Park", 0, 5, 5, 6, 6, 420100, 450500, 0), *weapons);
    AttachChildUnit(
        MakeFileUnit("P10300", 8, "81 mm Mortars", "Sgt. Diaz", 0, 3, 4, 6, 5, 420100, 450500, 40), *section);
    AttachChildUnit(MakeFileUnit("P10100", 6, "MG Platoon", "Sgt. Ford", 0, 4, 4, 6, 6, 420100, 450500, 0), *root);
    return root;
}

inline void FillSampleCampaign(CampaignRecord& record)
{
    record.m_name = "Kasserine Run";
    record.m_formationId = "B1012001";
    record.m_regionPrefix = "North Africa";
    record.m_formationName = "2nd Battalion, 16th Infantry";
    record.m_nation = 10;
    record.m_portrait = 3;
    record.m_rank = 2;
    record.m_commandLevel = 1;
    record.m_generatorValue = 2;
    record.m_score = 1234;
    record.m_enemyNation = 1;
    record.m_startDate = 430201;
    record.m_endDate = 430531;
    record.m_currentDate = 430214;
    record.m_dayOffset = 2;
    record.m_charSection = 4;
    record.m_region = 0;
    record.m_value1 = -7;
    record.m_value2 = 300;
    record.m_pendingBattle = "Sidi_Bou_Zid";
    record.m_decorationCounts = { 1, 0, 2, 0, 0, 3 };
    record.m_commanderUnit = 25;
    AddHistory(record, "Faid Pass", 430201, 3, 1);
    AddHistory(record, "Sbeitla", 430210, 2, 2);
    record.m_force = MakeSampleForce();
}

// The sample campaign's file with the running unit number 5000, one line an
// entry: blanks before the line ends, three blanks a depth, the successors
// in their "Upgrades" block.
inline const std::vector<std::string> kSampleCampaignLines = {
    "Kasserine Run", // 1
    "B1012001 North Africa",
    "2nd Battalion, 16th Infantry",
    "10 3 2 1 2 1234 1",
    "430201 430531 430214 2 4", // 5
    "0 -7 300",
    "Sidi_Bou_Zid ",
    "1 0 2 0 0 3 ",
    "Faid Pass",
    "430201 3 1", // 10
    "Sbeitla",
    "430210 2 2",
    "-1",
    "5000 25 1",
    "ORGANIZATION INFORMATION", // 15
    "   1 0 5 5 40 6 420100 450500 1 0 B1012001 ",
    "2nd Battalion ",
    "Lt. Col. Hale ",
    "0 ",
    "      2 1 1 1 1 7 0 0 25 3 P10401 ", // 20
    "Kasserine Run ",
    "Kasserine Run ",
    "0 ",
    "      2 2 5 5 24 6 420100 450500 2 0 C1002001 ",
    "Able Company ", // 25
    " ",
    "0 ",
    "         3 0 4 5 10 6 420200 430400 3 12 P10200 ",
    "1st Platoon ",
    "Sgt. Bell ", // 30
    "2 ",
    "XXXXXXX Upgrades XXXXXXXXXXXX ",
    "3 0 5 5 12 6 430500 450500 0 0 P10201 ",
    "1st Platoon (Engineers) ",
    "Sgt. Bell ", // 35
    "3 0 5 5 14 6 440100 450500 0 0 P10202 ",
    "1st Platoon (Armored) ",
    "Sgt. Bell ",
    "XXXXXXXXXXXXXXXXXXX ",
    "         3 0 5 5 10 6 420200 430400 4 0 P10200 ", // 40
    "2nd Platoon ",
    "Sgt. Cole ",
    "0 ",
    "      2 0 5 5 12 6 420100 450500 5 0 C1002002 ",
    "Weapons Company ", // 45
    "Capt. Moss ",
    "0 ",
    "         3 0 5 5 6 6 420100 450500 7 0 C1002003 ",
    "Mortar Section ",
    "Lt. Park ", // 50
    "0 ",
    "            4 0 3 4 6 5 420100 450500 8 40 P10300 ",
    "81 mm Mortars ",
    "Sgt. Diaz ",
    "0 ", // 55
    "      2 0 4 4 6 6 420100 450500 6 0 P10100 ",
    "MG Platoon ",
    "Sgt. Ford ",
    "0 ",
};

// Every stored field of the record, its history (newest first) and its force.
inline std::string DescribeRecord(const CampaignRecord& r)
{
    std::ostringstream out;
    out << "linked " << int(r.m_linked) << " battle " << r.m_linkedBattleId << " '" << r.m_name << "' '"
        << r.m_formationId << "' '" << r.m_regionPrefix << "' '" << r.m_formationName << "' nation " << r.m_nation
        << " portrait " << r.m_portrait << " rank " << r.m_rank << " level " << r.m_commandLevel << " ai "
        << r.m_generatorValue << " score " << r.m_score << " enemy " << r.m_enemyNation << " dates " << r.m_startDate
        << '-' << r.m_endDate << " now " << r.m_currentDate << '+' << r.m_dayOffset << " section " << r.m_charSection
        << " region " << r.m_region << ' ' << r.m_value1 << ' ' << r.m_value2 << " pending '" << r.m_pendingBattle
        << "' commander " << r.m_commanderUnit << " decorations";
    for (const std::int32_t count : r.m_decorationCounts)
        out << ' ' << count;
    out << '\n';
    for (const BattleHistoryEntry* entry = r.m_history.get(); entry; entry = entry->m_next.get())
        out << "history '" << entry->m_battleName << "' " << entry->m_date << ' ' << entry->m_battleType << ' '
            << entry->m_result << '\n';
    out << DescribeTree(r.m_force.get());
    return out.str();
}

// The role and experience too, which DescribeTree leaves out.
inline std::string DescribeRolesAndExperience(const UnitRecord* node)
{
    std::string out;
    for (; node; node = node->m_nextSibling.get()) {
        out += node->m_id + ":" + std::to_string(node->m_role) + "/" + std::to_string(node->m_experience) + " ";
        out += DescribeRolesAndExperience(node->m_firstChild.get());
    }
    return out;
}

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
