#pragma once
// "campaign.pdt": the campaign's numeric tables in sections numbered from 0,
// each ended by a line beginning with "-1". Every lookup reads the file
// afresh from the folder, walks to its section and answers from that section
// alone: a key past the section's end finds nothing there, never a line of
// the next section. Sections 5, 9 and 11 are not read.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kCampaignParameterFile = "campaign.pdt";

// The lines of one section of a parameter text. With blankEnds a blank line
// ends a section as well (the stream readers of sections 4 and 8).
std::vector<std::string_view> CampaignParameterSection(std::string_view text, int section, bool blankEnds = false);

// 0: the 16 values of the mission row at index missionType (from the file's
// first line); nothing past the section or on a short row.
std::optional<std::array<std::int32_t, 16>> ReadMissionRow(const std::filesystem::path& folder, int missionType);
// 1: the value of the first of at most 7 classes whose threshold is at least
// the draw; 0 when none is (no objective).
std::int32_t ReadObjectiveValueClass(const std::filesystem::path& folder, std::int32_t draw);
// The same classes read once, for many draws: the pairs up to the first that
// does not read or ends the list.
struct ObjectiveValueClass {
    std::int32_t value = 0;
    std::int32_t threshold = 0;
};
std::vector<ObjectiveValueClass> ReadObjectiveValueClasses(const std::filesystem::path& folder);
std::int32_t ObjectiveValueClassFor(const std::vector<ObjectiveValueClass>& classes, std::int32_t draw);
// 2: the values of nations 0..28 in the year (date key / 10000); 0 for 18..28
// and for a year not listed.
std::array<std::int32_t, 29> ReadYearlyNationValues(const std::filesystem::path& folder, std::int32_t yearKey);
// 3: the rank of the last threshold the score reaches; 0 when the score is
// above every threshold or below the first.
std::int32_t ReadRankForScore(const std::filesystem::path& folder, std::int32_t score);
// 4: the seven command-level score thresholds (the preset's where none is
// given, all of them without the file), and
// the level a score has earned: the first k in 0..5 whose next threshold is
// above the score, else 6.
std::array<std::int32_t, 7> ReadCommandLevelThresholds(
    const std::filesystem::path& folder, const std::array<std::int32_t, 7>& preset = {});
int CommandLevelForScore(const std::array<std::int32_t, 7>& thresholds, std::int32_t score);
// 6: the decoration a battle ratio earns (the count of entries whose ratio
// it reaches) with its name for the nation; 0 and no name below 1.0.
struct Decoration {
    int number = 0;
    std::string name;
};
inline constexpr int kDecorationNameLines = 29;
Decoration ReadDecoration(const std::filesystem::path& folder, double ratio, int nation);
// 7: the point budget of the command level (line index = level); 0 when
// there is none.
std::int32_t ReadPointBudget(const std::filesystem::path& folder, int commandLevel);
// 8: the experience points each morale level 0..8 needs: the defaults for
// 2..8 (12, 25, 50, 100, 200, 400, 800) replaced by the section's pairs up to
// the highest level; levels 0 and 1 take level 2's unless given.
std::array<std::int32_t, 9> ReadMoraleThresholds(const std::filesystem::path& folder, int highestLevel = 8);
// 10: the map of the command level (line index = level - 1); the defaults
// 20 x 14, total 100, bonus 50, 2 objectives when there is none.
struct CampaignMapSize {
    std::int32_t width = 20;
    std::int32_t height = 14;
    std::int32_t total = 100;
    std::int32_t bonus = 50;
    std::int32_t count = 2;
};
CampaignMapSize ReadMapSize(const std::filesystem::path& folder, int commandLevel);
// 12: base turns of the command level plus the column of the surface letter
// ('L', 'M', 'S'; any other adds nothing); 0 when the level is not listed.
std::int32_t ReadTurnCount(const std::filesystem::path& folder, int commandLevel, char surfaceLetter);
