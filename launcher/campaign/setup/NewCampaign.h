#pragma once
// Starting a new campaign without its screen: the list of campaigns offered
// (single ones from the description files, linked ones from the "*.lcg"
// files), the nation and command-level choice, the leader and organisation
// dialogs' logic, and the creation of the campaign and its first save. The
// dialogs themselves answer through NewCampaignDialogs: the screens put
// windows in front of it, tests script it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "launcher/campaign/setup/OrganizationSelection.h"

// The commander's first rank by command level: 1 Captain, 2 Major, 3
// Colonel, 4 and 5 Major General, any other Lieutenant.
int GetStartingRank(int commandLevel);

// The leader dialog's state: the name (at most 19 characters), portrait
// 0..23, organisation type (2 infantry, 0 tank) and A/I level (0 easy .. 3
// impossible).
class LeaderDialog {
public:
    static constexpr int kPortraits = 24;
    static constexpr std::size_t kMaxNameLength = 19;
    static constexpr std::string_view kNameInUseText = "This name is already in use, please choose another...";
    static constexpr std::string_view kNameUnusableText
        = "This name cannot name the campaign's files, please choose another...";

    // As the dialog opens: infantry, average, portrait 0, the random source
    // seeded and a leader name of the nation proposed.
    LeaderDialog(CampaignContext& context, int nation);

    // Tank is not offered for nations 2, 4, 5 and 7.
    bool IsTankOffered() const;
    void SetName(std::string_view name);
    // 2 infantry or 0 tank (tank only where offered); other values ignored.
    void SetOrganisationType(int type);
    // 0..3; other values ignored.
    void SetAiLevel(int level);
    // One portrait on (1) or back (-1), wrapping between 0 and 23.
    void StepPortrait(int direction);
    // OK: accepted when the name is not empty, can name the campaign's
    // files and no campaign has it; otherwise the reason is shown and the
    // dialog stays.
    bool PressOk();
    bool Accepted() const { return m_accepted; }

    std::string m_name;
    std::int32_t m_portrait = 0;
    int m_organisationType = 2;
    int m_aiLevel = 1;

private:
    CampaignContext& m_context;
    int m_nation;
    bool m_accepted = false;
};

// The player's side of the new-campaign dialogs.
class NewCampaignDialogs {
public:
    virtual ~NewCampaignDialogs() = default;
    // Runs the leader dialog until the player's OK is accepted; false when
    // it was closed otherwise.
    virtual bool RunLeaderDialog(LeaderDialog& dialog) = 0;
    // The organisation dialog's list is shown: the row selected when OK is
    // pressed; -1 when the dialog was closed without OK.
    virtual int ChooseFormationRow(const std::vector<FormationListRow>& rows, bool topList) = 0;
    // The "no lower level" box: OK (true) or Cancel.
    virtual bool AnswerNoLowerLevel() = 0;
    // The save dialog of a linked campaign: the ".ccl" file's path; nothing
    // on Cancel.
    virtual std::optional<std::string> ChooseLinkedCampaignFile() = 0;
};

// The new-campaign screen's state.
class NewCampaignChoices {
public:
    static constexpr int kShownChoices = 7;

    // As the screen opens: nations 22 and 24, the choices built, the first
    // selected, then the command level 1 whatever the first proposes.
    explicit NewCampaignChoices(CampaignContext& context);

    // The single campaigns of description files 0 and 1, then the linked
    // ones; their count.
    int BuildCampaignChoices();
    // Makes the choice current: its nations and proposed command level. An
    // index outside the list is ignored.
    void SelectCampaignChoice(int index);
    // Single campaigns only: the chosen nation becomes the description's
    // enemy (the opposing its own), or back.
    void SwapNation();
    // Single campaigns only: 1 -> 2 -> 3 -> 4 -> 5 -> 1; any other -> 1.
    void NextCommandLevel();
    void ChoiceUp();
    void ChoiceDown();
    bool IsLinked() const { return m_description.m_isLinked != 0; }

    std::vector<std::string> m_names;
    std::vector<CampaignSegment> m_segments;
    CampaignSegment m_description;
    int m_selected = 0;
    int m_firstShown = 0;
    std::int32_t m_chosenNation = 22;
    std::int32_t m_opposingNation = 24;
    int m_commandLevel = 1;

private:
    CampaignContext& m_context;
};

// Runs the organisation dialog's steps with the player's answers; true with
// the outputs filled when a formation was chosen.
bool SelectOrganization(OrganizationSelection& selection, NewCampaignDialogs& dialogs);

// Fills the record for a new single campaign from the current description
// and the dialogs (leader, then organisation); the top formation's id goes
// to topFormationId. False when a dialog gave nothing.
bool SetUpNewCampaign(CampaignContext& context, const NewCampaignChoices& choices, const LevelNumberBase& base,
    NewCampaignDialogs& dialogs, CampaignRecord& record, std::string& topFormationId);

// The create button of a single campaign: the five build rolls into the
// level rolls (for levels 1, 5, 2, 3, 4 in the order drawn), the set-up, the
// top formation loaded, the commander's unit, the force under the player's
// formation chosen, the formation's name from the tree and the first save;
// a linked description goes to CreateLinkedCampaign. False, with the
// message shown, when nothing was created.
bool CreateNewCampaign(CampaignContext& context, const NewCampaignChoices& choices, LevelNumberBase& levelRolls,
    NewCampaignDialogs& dialogs);

// A linked campaign's ".ccl" named by the save dialog, in the working
// folder, with the chain's first battle and its starting force; the
// campaign read into context.g_campaign and a stale "<name>.cpn" and
// "<name>.ccx" of that name deleted. False on Cancel or a file that cannot
// be written; a name that cannot name a campaign of the working folder
// shows the reason.
bool CreateLinkedCampaign(CampaignContext& context, const NewCampaignChoices& choices, NewCampaignDialogs& dialogs);
