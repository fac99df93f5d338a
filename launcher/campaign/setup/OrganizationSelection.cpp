#include "launcher/campaign/setup/OrganizationSelection.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/CampaignRecord.h"
#include "model/Geometry.h"

namespace {

constexpr std::size_t kMaxRowName = 99;
constexpr std::size_t kMaxRowId = 23;

bool IsListed(const std::vector<FormationListRow>& rows, const std::string& id)
{
    return std::any_of(rows.begin(), rows.end(), [&id](const FormationListRow& row) { return row.id == id; });
}

void AddRow(std::vector<FormationListRow>& rows, std::string name, const std::string& id)
{
    FormationListRow row;
    row.name = std::move(name);
    if (row.name.size() > kMaxRowName)
        row.name.resize(kMaxRowName);
    row.id = id.substr(0, kMaxRowId);
    rows.push_back(std::move(row));
}

// The tests a formation of the top list passes, whatever its letter.
bool OffersFormation(const UnitRecord& unit, const FormationQuery& query)
{
    return IsDateInWindow(query.date, unit.m_availableFrom, unit.m_availableTo)
        && (query.endDate <= 0 || query.endDate < unit.m_availableTo + 30)
        && IsEqual(GetUnitIdNation(unit.m_id), query.nation) && GetUnitIdTypeDigit(unit.m_id) == query.organisationType
        && !IsWithheldUnitId(unit.m_id);
}

// The rows of one letter in the file's formation lines, in file order.
std::vector<FormationListRow> ListOfLetter(CampaignContext& context, const LevelNumberBase& base,
    const OobFileText& file, char letter, const FormationQuery& query)
{
    std::vector<FormationListRow> rows;
    OobLineOptions options;
    options.mode = OobLineMode::kListing;
    for (std::string_view raw : file.Lines()) {
        const std::string line = PrepareOobLine(raw);
        if (line.empty())
            continue;
        const OobLine parsed = ParseOobLine(context, base, line, options);
        const UnitRecord* unit = parsed.unit.get();
        if (!unit || unit->m_id.front() != letter || !OffersFormation(*unit, query) || IsListed(rows, unit->m_id))
            continue;
        AddRow(rows, CleanListedName(unit->m_name), unit->m_id);
    }
    return rows;
}

std::shared_ptr<const OobFileText> LevelFile(CampaignContext& context, int level, int nation)
{
    const std::optional<std::filesystem::path> path = FindOobFile(context, level, nation);
    return path ? context.fileCache.Oob(*path, context.cacheFiles) : nullptr;
}

// The level a chosen id stands at: a corps letter is level 5 whatever its
// digit says.
int LevelOfChosenId(std::string_view id)
{
    if (!id.empty() && id.front() == 'K')
        return 5;
    return GetUnitIdLevel(id);
}

} // namespace

std::string_view PlainOobFileName(int level)
{
    static constexpr std::string_view kNames[]
        = { "Company.OOB", "Battalion.OOB", "Regiment.OOB", "Brigade.OOB", "Division.OOB", "campaign.oob" };
    return level >= 0 && level <= 5 ? kNames[level] : "Army.OOB";
}

char OobLevelLetter(int level)
{
    // The model counts its levels from the platoon up.
    return level >= 0 && level <= 5 ? LevelLetter(level + 1) : 'A';
}

bool NameHasLevelWord(std::string_view name, int level)
{
    static constexpr std::string_view kWords[] = { "Com", "Bat", "Reg", "Bri", "Div", "cam" };
    const std::string_view word = level >= 0 && level <= 5 ? kWords[level] : "Arm";
    return name.find(word) != std::string_view::npos;
}

int CountFormationsAtLevel(CampaignContext& context, const LevelNumberBase& base, const FormationQuery& query)
{
    const std::shared_ptr<const OobFileText> file = LevelFile(context, query.commandLevel, query.nation);
    if (!file) {
        context.ShowMessage(PlainOobFileName(query.commandLevel), "Error loading file");
        return -1;
    }
    return static_cast<int>(ListOfLetter(context, base, *file, OobLevelLetter(query.commandLevel), query).size());
}

std::vector<FormationListRow> FillTopFormationList(
    CampaignContext& context, const LevelNumberBase& base, const FormationQuery& query)
{
    const std::shared_ptr<const OobFileText> file = LevelFile(context, 5, query.nation);
    if (!file)
        return {};
    for (const char letter : { 'K', 'D', 'G' }) {
        std::vector<FormationListRow> rows = ListOfLetter(context, base, *file, letter, query);
        if (!rows.empty())
            return rows;
    }
    return {};
}

std::vector<FormationListRow> FillSubFormationList(CampaignContext& context, const LevelNumberBase& base,
    const FormationQuery& query, std::string_view chosenId, int chosenLevel)
{
    std::vector<FormationListRow> rows;
    const char chosenLetter = OobLevelLetter(chosenLevel);
    for (const std::unique_ptr<UnitRecord>& unit :
        ListFormationSubunits(context, base, chosenId, query.date, std::string_view())) {
        const std::string& id = unit->m_id;
        if (id.empty() || id.front() == chosenLetter || id.front() == 'P'
            || !IsDateInWindow(query.date, unit->m_availableFrom, unit->m_availableTo)
            || !IsEqual(GetUnitIdNation(id), query.nation) || GetUnitIdLevel(id) < query.commandLevel
            || GetUnitIdTypeDigit(id) != query.organisationType || IsWithheldUnitId(id) || IsListed(rows, id))
            continue;
        std::string name = unit->m_name;
        if (!name.empty() && name.front() == '.')
            name.front() = ' ';
        AddRow(rows, CleanListedName(std::move(name)), id);
    }
    return rows;
}

OrganizationSelection::OrganizationSelection(
    CampaignContext& context, const LevelNumberBase& base, FormationQuery query)
    : m_context(context)
    , m_base(base)
    , m_query(query)
{
}

OrganizationSelection::Step OrganizationSelection::Start()
{
    if (CountFormationsAtLevel(m_context, m_base, m_query) <= 0)
        return m_step = Step::kFailed;
    return FillTop();
}

OrganizationSelection::Step OrganizationSelection::FillTop()
{
    m_rows = FillTopFormationList(m_context, m_base, m_query);
    m_topList = true;
    return m_step = m_rows.empty() ? Step::kFailed : Step::kListed;
}

OrganizationSelection::Step OrganizationSelection::Choose(int row)
{
    if (m_step != Step::kListed || m_rows.empty())
        return m_step;
    const FormationListRow chosen
        = m_rows[static_cast<std::size_t>(std::clamp<int>(row, 0, static_cast<int>(m_rows.size()) - 1))];
    m_formationName = chosen.name;
    m_unitId = chosen.id;
    if (m_topList)
        m_topFormationId = chosen.id;
    const int level = LevelOfChosenId(chosen.id);
    if (level == m_query.commandLevel || NameHasLevelWord(chosen.name, m_query.commandLevel))
        return m_step = Step::kDone;
    m_rows = FillSubFormationList(m_context, m_base, m_query, chosen.id, level);
    m_topList = false;
    return m_step = m_rows.empty() ? Step::kNoLowerLevel : Step::kListed;
}

OrganizationSelection::Step OrganizationSelection::AnswerNoLowerLevel(bool ok)
{
    if (m_step != Step::kNoLowerLevel)
        return m_step;
    if (!ok)
        return m_step = Step::kFailed;
    return FillTop();
}
