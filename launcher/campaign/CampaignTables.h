#pragma once
// The tables a single campaign draws each next battle from, per region:
// who attacks, the kind of battle, replacement points, the briefing, the
// forces each side needs, the battle's date and place. A region's table is
// either its own file, named by the campaign's region prefix, a hyphen and
// the table's name ("Tunisia-attacker.dat"), or a section of the plain file
// ("attacker.dat"), whose sections, one a region code in order, end at a
// blank line or one beginning "-1". Either way the region's lines end there.
//
// Missing files and lines that do not read give the defaults below; nothing
// is reported.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"

// The lines of a region's table: the prefixed file whole, else the plain
// file's section of the region, each up to its end line. Nothing when the
// file is missing. The table's name is the plain one ("replacements0.dat").
std::optional<std::vector<std::string>> ReadRegionTable(
    const CampaignContext& context, std::string_view prefix, std::string_view table, int region);

// Who attacks: side 1 unless the first line dated on or after the date (after
// the title line) gives its percentage p, when a roll 1..100 above p keeps
// side 1 and any other makes side 0. 1 found, 0 not, -1 no file.
int ReadAttacker(CampaignContext& context, std::string_view prefix, int& attacker, int region, std::int32_t date);

// The mission type 1..11: the first line dated on or after the date gives
// eleven percentages; a roll 1..100 walks them (r <= p[i] gives i + 1, else
// r -= p[i]); past them all, type 1. 1 found, 0 not, -1 no file.
int ReadEncounterType(
    CampaignContext& context, std::string_view prefix, int& missionType, int region, std::int32_t date);

// The points of the lines after the first dated on or after the previous
// battle, each while the line before it is dated on or before the current
// date. 0 without a file or such a line.
std::int32_t ReadReplacementPoints(const CampaignContext& context, std::string_view prefix, int side, int region,
    std::int32_t previousDate, std::int32_t currentDate);

// A briefing of the nation's "excuse%d.dat" for the mission type (1..11) and
// the campaign's role; false, with the text empty, when it cannot be read.
bool ReadBriefing(CampaignContext& context, std::string& text, int nation, int missionType, bool campaignAttacks);

// The ten points a side needs per role in a battle of the mission type (1..11):
// the first block of "forces%d.dat" (the side's file) with the side letter
// ('A' attacker, 'D' defender) dated on or after the date gives row
// missionType; without one, every need stays 10.
void ReadForcesTable(const CampaignContext& context, std::string_view prefix, int missionType, char sideLetter,
    std::int32_t date, int side, std::array<std::array<std::int32_t, 10>, 2>& needs);

// One day on, every month counting 28 days in this step.
std::int32_t NextBattleDay(std::int32_t date);

// The next battle's date: a day on, then each date line dated on or after it
// is tried by its daily percentage, day after day while its date lasts; a
// day that rolls within the percentage is the battle's. A line of a non-zero
// percentage stops trying once 30 days were added after the first; a 0 %
// line moves the date past its own. Every date line read gives the place-name
// file number. At most ten years are added in one call.
void AdvanceBattleDate(
    CampaignContext& context, std::string_view prefix, std::int32_t& date, std::int32_t& placeNameFile, int region);

struct BattleLocation {
    std::string place;
    std::int32_t mapLine = 0; // line of the map description file
    std::int32_t markerX = 0;
    std::int32_t markerY = 0;
};
// A place of the first date line dated on or after the date: the k-th place
// line after it, k rolled 1..10; nothing when fewer follow before the next
// date line. 1 found, -1 not (the location empty).
int ReadBattleLocation(
    CampaignContext& context, std::string_view prefix, int region, std::int32_t date, BattleLocation& location);

// One campaign offered on the new-campaign screen: a single campaign of a
// description file, or a linked one of a ".lcg" file.
class CampaignSegment {
public:
    static constexpr int kMaxEntries = 100;

    // Ignored once the entries are full.
    void AddRegionEntry(std::int32_t region, std::int32_t lastDate);
    // The first entry whose last date is on or after the date; else the first
    // entry; -1 without entries (the name then empty).
    std::int32_t GetRegionForDate(std::int32_t date) const;
    std::string GetRegionNameForDate(std::int32_t date) const;

    std::string m_file;
    std::uint8_t m_isLinked = 0;
    std::uint8_t m_flag = 1;
    std::int32_t m_firstBattleId = 0;
    std::vector<std::int32_t> m_regions;
    std::vector<std::int32_t> m_entryDates;
    std::vector<std::string> m_entryNames;
    std::int32_t m_startDate = 481020;
    std::int32_t m_endDate = 481020;
    std::int32_t m_enemyNation = 22;
    std::int32_t m_nation = 23;
    std::string m_description;

private:
    int EntryForDate(std::int32_t date) const;
};

// "chardesc.txt" is file 0, "chardesc%d.txt" every other.
std::string CampaignDescriptionFileName(int fileNumber);
// The descriptions of the file (its "-1" lines before "-2" or the end); 0
// without the file.
int CountCampaignDescriptions(const CampaignContext& context, int fileNumber);
// Appends the file's descriptions as segments with their titles.
void ReadCampaignDescriptions(const CampaignContext& context, std::vector<std::string>& titles,
    std::vector<CampaignSegment>& segments, int fileNumber);
// Files 0 and 1 joined: the list a campaign's description section indexes.
void ReadAllCampaignDescriptions(
    const CampaignContext& context, std::vector<std::string>& titles, std::vector<CampaignSegment>& segments);

// The campaign's region at the date by its description section (stored in
// the campaign); a section outside the list keeps the campaign's region.
std::int32_t FindRegionForDate(CampaignContext& context, std::int32_t date);

// Every "*.lcg" of the folder as a linked segment, with its title; a file
// that does not read is left out.
void ReadLinkedCampaignSegments(
    const CampaignContext& context, std::vector<std::string>& titles, std::vector<CampaignSegment>& segments);

// Entries of the folder whose names match the wildcard pattern.
int CountMatchingFiles(const CampaignContext& context, std::string_view pattern);

// A uniform pick among the lines of the nation's "leader%d.oob" into the
// name; "Anonymous" without the file; an empty file leaves the name as it
// was.
void PickLeaderName(CampaignContext& context, int nation, std::string& name);

// The campaign map picture's file name: "<title>-map.bmp" of the campaign's
// description, or "<chain>LCG.bmp" for a linked campaign; nothing when the
// description section lies outside the list.
std::optional<std::string> CampaignMapImageName(const CampaignContext& context);

// The marker drawn on the campaign map.
inline void SetMapMarker(CampaignContext& context, std::int32_t x, std::int32_t y)
{
    context.g_mapMarkerX = x;
    context.g_mapMarkerY = y;
}
