#pragma once
// Choosing the player's formation for a new single campaign: a list of top
// formations (corps, else divisions, else brigades) of the nation and
// organisation type valid at the start date, then the subordinates of each
// chosen row, down to the command level or to a formation whose name
// carries the level's word ("Bat", "Reg" ...).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/OrderOfBattle.h"

// The plain order-of-battle file name of a level as its load error names it
// ("Company.OOB" .. "Division.OOB", "campaign.oob", "Army.OOB").
std::string_view PlainOobFileName(int level);
// Level 0 "C" company .. 5 "K" corps, any other "A" army.
char OobLevelLetter(int level);
// The name holds the level's word: 0 "Com", 1 "Bat", 2 "Reg", 3 "Bri",
// 4 "Div", 5 "cam", 6 "Arm" (case as written).
bool NameHasLevelWord(std::string_view name, int level);

struct FormationQuery {
    int nation = 0;
    int commandLevel = 1; // 1..5
    std::int32_t date = 0; // the campaign's start
    std::int32_t endDate = 0; // the campaign's end (0: none)
    int organisationType = 2; // the type digit: 2 infantry, 0 tank
};

// The formations of the command level's letter in the nation's file of that
// level that the top list would offer; -1, with the file's plain name shown
// under "Error loading file", when the file cannot be found.
int CountFormationsAtLevel(CampaignContext& context, const LevelNumberBase& base, const FormationQuery& query);

// The top list: the nation's corps file's formations of letter 'K', else
// 'D', else 'G', valid at the date, ending after the campaign's end less 30
// (or any when the end is 0), of the nation and organisation type, never
// withheld, each id once; names cleaned. Empty when none of the three gives
// a row.
std::vector<FormationListRow> FillTopFormationList(
    CampaignContext& context, const LevelNumberBase& base, const FormationQuery& query);

// The chosen formation's subordinates of another letter than the chosen
// level's, valid at the date (their first variant that is), of the nation,
// not below the command level, no platoon, of the organisation type, never
// withheld, each id once; names cleaned, a leading '.' a blank too.
std::vector<FormationListRow> FillSubFormationList(CampaignContext& context, const LevelNumberBase& base,
    const FormationQuery& query, std::string_view chosenId, int chosenLevel);

// The dialog's steps without its window.
class OrganizationSelection {
public:
    enum class Step {
        kListed, // a list is shown: choose a row
        kNoLowerLevel, // the "no lower level" box is up: answer it
        kDone, // chosen: the outputs hold the formation
        kFailed, // nothing could be chosen, or the player gave up
    };

    static constexpr std::string_view kNoLowerLevelText
        = "There are no lower level organizations for this selection, you must reselect your organizations.";

    OrganizationSelection(CampaignContext& context, const LevelNumberBase& base, FormationQuery query);

    // Checks the command level's file and fills the top list.
    Step Start();
    // OK on a row (held to the list): done at the command level or its word,
    // else the chosen formation's subordinates are listed, or the box asks.
    Step Choose(int row);
    // The box's OK lists the top formations again; Cancel gives up.
    Step AnswerNoLowerLevel(bool ok);

    Step CurrentStep() const { return m_step; }
    const std::vector<FormationListRow>& Rows() const { return m_rows; }
    bool ShowsTopList() const { return m_topList; }

    std::string m_formationName;
    std::string m_unitId;
    std::string m_topFormationId;

private:
    Step FillTop();

    CampaignContext& m_context;
    const LevelNumberBase& m_base;
    FormationQuery m_query;
    std::vector<FormationListRow> m_rows;
    bool m_topList = true;
    Step m_step = Step::kFailed;
};
