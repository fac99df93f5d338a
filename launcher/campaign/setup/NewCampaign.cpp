#include "launcher/campaign/setup/NewCampaign.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>

#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignNames.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "launcher/generator/BattleGenerator.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

constexpr std::string_view kNoOrganizationsText = "No organizations are available for the selected date with the "
                                                  "level of command selected. Please change your selections.";
constexpr std::string_view kNotBuiltText
    = "The organization selected was not able to build. Please change your selections.";

// The select screen's copy: every field but the force and the history.
void CopyCampaignFields(const CampaignRecord& from, CampaignRecord& to)
{
    to.m_linked = from.m_linked;
    to.m_linkedBattleId = from.m_linkedBattleId;
    to.m_nation = from.m_nation;
    to.m_enemyNation = from.m_enemyNation;
    to.m_region = from.m_region;
    to.m_charSection = from.m_charSection;
    to.m_name = from.m_name;
    to.m_regionPrefix = from.m_regionPrefix;
    to.m_formationId = from.m_formationId;
    to.m_commanderUnit = from.m_commanderUnit;
    to.m_formationName = from.m_formationName;
    to.m_portrait = from.m_portrait;
    to.m_rank = from.m_rank;
    to.m_score = from.m_score;
    to.m_commandLevel = from.m_commandLevel;
    to.m_startDate = from.m_startDate;
    to.m_endDate = from.m_endDate;
    to.m_currentDate = from.m_currentDate;
    to.m_pendingBattle = from.m_pendingBattle;
    to.m_dayOffset = from.m_dayOffset;
    to.m_decorationCounts = from.m_decorationCounts;
    to.m_value1 = from.m_value1;
    to.m_value2 = from.m_value2;
    to.m_arm = from.m_arm;
    to.m_generatorValue = from.m_generatorValue;
    to.m_selectedForceCost = from.m_selectedForceCost;
}

} // namespace

int GetStartingRank(int commandLevel)
{
    switch (commandLevel) {
    case 1:
        return 2;
    case 2:
        return 3;
    case 3:
        return 5;
    case 4:
    case 5:
        return 7;
    default:
        return 1;
    }
}

LeaderDialog::LeaderDialog(CampaignContext& context, int nation)
    : m_context(context)
    , m_nation(nation)
{
    context.random->SeedRandom();
    PickLeaderName(context, nation, m_name);
    if (m_name.size() > kMaxNameLength)
        m_name.resize(kMaxNameLength);
}

bool LeaderDialog::IsTankOffered() const { return m_nation != 2 && m_nation != 4 && m_nation != 5 && m_nation != 7; }

void LeaderDialog::SetName(std::string_view name) { m_name = std::string(name.substr(0, kMaxNameLength)); }

void LeaderDialog::SetOrganisationType(int type)
{
    if (type == 2 || (type == 0 && IsTankOffered()))
        m_organisationType = type;
}

void LeaderDialog::SetAiLevel(int level)
{
    if (level >= 0 && level <= 3)
        m_aiLevel = level;
}

void LeaderDialog::StepPortrait(int direction)
{
    if (direction > 0)
        m_portrait = m_portrait >= kPortraits - 1 ? 0 : m_portrait + 1;
    else if (direction < 0)
        m_portrait = m_portrait <= 0 ? kPortraits - 1 : m_portrait - 1;
}

bool LeaderDialog::PressOk()
{
    if (m_name.empty() || IsCampaignNameInUse(m_context, m_name)) {
        m_context.ShowMessage(kNameInUseText, "");
        return false;
    }
    // The name is the stem of the campaign's files and the main program's
    // last argument.
    if (!IsUsableCampaignName(m_name) || TrimRight(TrimLeft(m_name)) != m_name) {
        m_context.ShowMessage(kNameUnusableText, "");
        return false;
    }
    m_accepted = true;
    return true;
}

NewCampaignChoices::NewCampaignChoices(CampaignContext& context)
    : m_context(context)
{
    if (BuildCampaignChoices() > 0)
        SelectCampaignChoice(0);
    m_commandLevel = 1;
}

int NewCampaignChoices::BuildCampaignChoices()
{
    m_names.clear();
    m_segments.clear();
    ReadCampaignDescriptions(m_context, m_names, m_segments, 0);
    ReadCampaignDescriptions(m_context, m_names, m_segments, 1);
    ReadLinkedCampaignSegments(m_context, m_names, m_segments);
    m_selected = 0;
    m_firstShown = 0;
    return static_cast<int>(m_segments.size());
}

void NewCampaignChoices::SelectCampaignChoice(int index)
{
    if (index < 0 || index >= static_cast<int>(m_segments.size()))
        return;
    m_selected = index;
    m_description = m_segments[static_cast<std::size_t>(index)];
    m_chosenNation = m_description.m_nation;
    m_opposingNation = m_description.m_enemyNation;
    m_commandLevel = m_description.m_flag;
}

void NewCampaignChoices::SwapNation()
{
    if (IsLinked())
        return;
    if (m_chosenNation != m_description.m_enemyNation) {
        m_chosenNation = m_description.m_enemyNation;
        m_opposingNation = m_description.m_nation;
    } else {
        m_chosenNation = m_description.m_nation;
        m_opposingNation = m_description.m_enemyNation;
    }
}

void NewCampaignChoices::NextCommandLevel()
{
    if (IsLinked())
        return;
    m_commandLevel = m_commandLevel >= 1 && m_commandLevel <= 4 ? m_commandLevel + 1 : 1;
}

void NewCampaignChoices::ChoiceUp()
{
    if (m_selected <= 0)
        return;
    SelectCampaignChoice(m_selected - 1);
    if (m_selected < m_firstShown)
        --m_firstShown;
}

void NewCampaignChoices::ChoiceDown()
{
    if (m_selected >= static_cast<int>(m_segments.size()) - 1)
        return;
    SelectCampaignChoice(m_selected + 1);
    if (m_selected >= m_firstShown + kShownChoices)
        ++m_firstShown;
}

bool SelectOrganization(OrganizationSelection& selection, NewCampaignDialogs& dialogs)
{
    OrganizationSelection::Step step = selection.Start();
    while (step == OrganizationSelection::Step::kListed || step == OrganizationSelection::Step::kNoLowerLevel) {
        if (step == OrganizationSelection::Step::kNoLowerLevel) {
            step = selection.AnswerNoLowerLevel(dialogs.AnswerNoLowerLevel());
            continue;
        }
        const int row = dialogs.ChooseFormationRow(selection.Rows(), selection.ShowsTopList());
        if (row < 0)
            return false;
        step = selection.Choose(row);
    }
    return step == OrganizationSelection::Step::kDone;
}

bool SetUpNewCampaign(CampaignContext& context, const NewCampaignChoices& choices, const LevelNumberBase& base,
    NewCampaignDialogs& dialogs, CampaignRecord& record, std::string& topFormationId)
{
    const CampaignSegment& description = choices.m_description;
    record.m_linked = 0;
    record.m_regionPrefix = description.m_file;
    record.m_formationName = "I Batallion";
    record.m_startDate = description.m_startDate;
    record.m_currentDate = description.m_startDate;
    record.m_endDate = description.m_endDate;
    record.m_nation = choices.m_chosenNation;
    record.m_enemyNation = choices.m_opposingNation;
    record.m_region = description.GetRegionForDate(0);
    record.m_charSection = choices.m_selected;
    record.m_rank = GetStartingRank(choices.m_commandLevel);
    record.m_score = 0;
    record.m_dayOffset = 0;
    record.m_commandLevel = choices.m_commandLevel;
    record.m_value1 = 0;
    record.m_value2 = 0;
    record.m_history.reset();
    record.m_decorationCounts = {};
    record.m_pendingBattle.clear();

    LeaderDialog leader(context, record.m_nation);
    if (!dialogs.RunLeaderDialog(leader) || !leader.Accepted())
        return false;
    record.m_portrait = leader.m_portrait;
    record.m_name = leader.m_name;
    record.m_arm = static_cast<std::uint8_t>(leader.m_organisationType);
    record.m_generatorValue = leader.m_aiLevel;

    FormationQuery query;
    query.nation = record.m_nation;
    query.commandLevel = record.m_commandLevel;
    query.date = record.m_currentDate;
    query.endDate = record.m_endDate;
    query.organisationType = leader.m_organisationType;
    OrganizationSelection selection(context, base, query);
    if (!SelectOrganization(selection, dialogs))
        return false;
    record.m_formationName = selection.m_formationName;
    record.m_formationId = selection.m_unitId;
    topFormationId = selection.m_topFormationId;
    CopyCampaignFields(record, context.g_selectedCampaign);
    return true;
}

bool CreateNewCampaign(CampaignContext& context, const NewCampaignChoices& choices, LevelNumberBase& levelRolls,
    NewCampaignDialogs& dialogs)
{
    if (choices.IsLinked())
        return CreateLinkedCampaign(context, choices, dialogs);
    CampaignRecord& campaign = context.g_campaign;
    campaign.m_force = std::make_unique<UnitRecord>();
    // Drawn in this order, they serve levels 1, 5, 2, 3 and 4.
    for (const std::size_t level : { 1u, 5u, 2u, 3u, 4u })
        levelRolls.rolls[level - 1] = context.random->RollRandom(100);

    std::string topFormationId;
    if (!SetUpNewCampaign(context, choices, levelRolls, dialogs, campaign, topFormationId)
        || campaign.m_formationId.empty()) {
        context.ShowMessage(kNoOrganizationsText, "");
        return false;
    }
    campaign.m_force
        = LoadFormationFromOob(context, levelRolls, campaign.m_currentDate, campaign.m_nation, topFormationId);
    // The formation chosen from the lists must be in the tree built.
    if (!campaign.m_force || !AddCommanderUnit(context)) {
        context.ShowMessage(kNotBuiltText, "");
        return false;
    }
    campaign.m_selectedForceCost = SelectForceUnder(campaign.m_force.get(), campaign.m_formationId);
    GetOrgNodeText(campaign.m_formationName, campaign.m_force.get(), campaign.m_formationId);
    if (std::string error = SaveCampaign(context, campaign); !error.empty()) {
        context.ShowMessage(error, kWriteErrorCaption);
        return false;
    }
    return true;
}

bool CreateLinkedCampaign(CampaignContext& context, const NewCampaignChoices& choices, NewCampaignDialogs& dialogs)
{
    const std::optional<std::string> chosen = dialogs.ChooseLinkedCampaignFile();
    if (!chosen)
        return false;
    // The save dialog may name any folder: the campaign's files live in the
    // working folder, named by a usable stem.
    const std::filesystem::path path(*chosen);
    const std::string fileName = path.filename().string();
    std::error_code error;
    const bool inFolder = !path.has_parent_path()
        || std::filesystem::equivalent(
            path.is_absolute() ? path.parent_path() : context.folder / path.parent_path(), context.folder, error);
    const std::string stem = EndsWithNoCase(fileName, ".ccl") ? fileName.substr(0, fileName.size() - 4) : std::string();
    if (!inFolder || !IsUsableCampaignName(stem) || TrimRight(TrimLeft(stem)) != stem) {
        context.ShowMessage("A linked campaign is saved in the campaign folder as <name>.ccl, the name of letters, "
                            "digits, blanks, ' - _ and . beginning with a letter or digit",
            kCampaignErrorCaption);
        return false;
    }
    if (FileExists(context.folder, stem + ".ccd")) {
        context.ShowMessage(
            "A single campaign of that name exists: its battle and backup files would be lost", kCampaignErrorCaption);
        return false;
    }

    const CampaignSegment& description = choices.m_description;
    LinkedCampaignHeader header;
    header.m_definitionFile = description.m_file;
    header.m_nation = choices.m_chosenNation;
    header.m_currentDate = description.m_startDate;
    header.m_currentBattleId = description.m_firstBattleId;
    header.m_region = description.GetRegionForDate(0);
    header.m_force = ReadLinkedStartingForce(context, header.m_definitionFile, header.m_currentBattleId);
    std::string refusal;
    const std::string text = WriteLinkedCampaign(header, refusal);
    if (!refusal.empty())
        return false;
    const std::optional<std::filesystem::path> existing = LocateDataFile(context.PathOf(fileName).string());
    const std::filesystem::path target = existing ? *existing : context.PathOf(fileName);
    const std::string written = WriteFileAtomically(target, [&text](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    });
    if (!written.empty())
        return false;
    // A battle or backup left by an earlier campaign of the name is not this
    // one's.
    RemoveFilesNamedNoCase(context.folder, stem + ".cpn");
    RemoveFilesNamedNoCase(context.folder, stem + ".ccx");
    if (std::string read = ReadLinkedCampaignFile(context, context.g_campaign, target.filename().string());
        !read.empty()) {
        context.ShowMessage(read, kCampaignErrorCaption);
        return false;
    }
    return true;
}
