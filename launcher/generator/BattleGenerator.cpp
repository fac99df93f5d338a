#include "launcher/generator/BattleGenerator.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/NationTables.h"
#include "model/IntRange.h"

bool GenerationLog::Open(const std::filesystem::path& path)
{
    m_file.reset(std::fopen(path.c_str(), "w"));
    return IsOpen();
}

void GenerationLog::Write(std::string_view text)
{
    if (!m_file)
        return;
    std::fwrite(text.data(), 1, text.size(), m_file.get());
    std::fflush(m_file.get());
}

ObjectivePoint::~ObjectivePoint()
{
    // Unlinked one by one: a long list must not recurse.
    while (m_next)
        m_next = std::move(m_next->m_next);
}

namespace {

bool IsPlatoon(const UnitRecord& node) { return !node.m_id.empty() && node.m_id.front() == 'P'; }

// The walks recurse into subunits only; sibling runs are loops.
template <typename Visit> void ForEachInPreorder(UnitRecord* node, const Visit& visit)
{
    for (; node; node = node->m_nextSibling.get()) {
        visit(*node);
        ForEachInPreorder(node->m_firstChild.get(), visit);
    }
}

// A log line from its pieces, texts and numbers.
void AppendPiece(std::string& line, std::string_view text) { line += text; }
void AppendPiece(std::string& line, std::int64_t number) { line += std::to_string(number); }
template <typename... Pieces> std::string LogText(const Pieces&... pieces)
{
    std::string line;
    (AppendPiece(line, pieces), ...);
    return line;
}

std::int32_t SubtractCost(std::int32_t value, std::int32_t cost)
{
    return ClampToInt(static_cast<std::int64_t>(value) - cost);
}

} // namespace

bool IsEligibleForce(const UnitRecord& node)
{
    for (const UnitRecord* child = node.m_firstChild.get(); child; child = child->m_nextSibling.get())
        if (child->m_firstChild)
            return false;
    if (!IsPlatoon(node))
        return true;
    const UnitRecord* parent = node.m_parent;
    if (!parent || parent->m_id.empty() || parent->m_id.front() != 'R')
        return false;
    const int digit = GetUnitTypeDigit(&node);
    return digit == 0 || digit == 4;
}

bool IsClassThreePlatoon(const UnitRecord& node)
{
    return IsPlatoon(node) && node.m_id.size() > 3 && node.m_id[3] == '3';
}

std::int32_t ForceCost(const UnitRecord& node)
{
    std::int64_t cost = 0;
    for (const UnitRecord* child = node.m_firstChild.get(); child; child = child->m_nextSibling.get()) {
        cost += static_cast<std::int64_t>(child->m_size) * child->m_strength;
        cost = std::clamp<std::int64_t>(
            cost, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    }
    return ClampToInt(cost);
}

int ForceRole(const UnitRecord& node)
{
    const int digit = GetUnitTypeDigit(&node);
    return digit >= 0 && digit <= 9 ? digit : -1;
}

void ChooseForce(UnitRecord& node)
{
    node.m_role = 1;
    UnitRecord* parent = node.m_parent;
    if (!parent || !parent->m_firstChild || GetUnitTypeDigit(parent) == 1)
        return;
    UnitRecord* first = parent->m_firstChild.get();
    for (UnitRecord* companion : { first, first->m_nextSibling.get() })
        if (companion && IsClassThreePlatoon(*companion))
            companion->m_role = 1;
}

UnitRecord* FindOrgNodeByName(UnitRecord* root, std::string_view idText)
{
    if (idText.empty())
        return nullptr;
    for (UnitRecord* node = root; node; node = node->m_nextSibling.get()) {
        if (node->m_id.find(idText) != std::string::npos)
            return node;
        if (UnitRecord* found = FindOrgNodeByName(node->m_firstChild.get(), idText))
            return found;
    }
    return nullptr;
}

namespace {

std::int64_t MarkForceUnder(UnitRecord* node)
{
    std::int64_t total = 0;
    for (; node; node = node->m_nextSibling.get()) {
        if (IsEligibleForce(*node)) {
            ChooseForce(*node);
            total += ForceCost(*node);
        } else if (IsPlatoon(*node) && !IsClassThreePlatoon(*node)) {
            ChooseForce(*node);
            total += static_cast<std::int64_t>(node->m_size) * node->m_strength;
        }
        // A chosen node's subunits fight with it: counting them again would
        // double its cost.
        if (node->m_role != 1 && node->m_role != 2)
            total += MarkForceUnder(node->m_firstChild.get());
        total = std::clamp<std::int64_t>(
            total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    }
    return total;
}

} // namespace

std::int32_t SelectForceUnder(UnitRecord* root, std::string_view idText)
{
    UnitRecord* formation = FindOrgNodeByName(root, idText);
    if (!formation)
        return 0;
    return ClampToInt(MarkForceUnder(formation->m_firstChild.get()));
}

std::size_t GetOrgNodeText(std::string& text, UnitRecord* root, std::string_view idText)
{
    const UnitRecord* node = FindOrgNodeByName(root, idText);
    if (!node)
        return 0;
    text = node->m_name;
    return text.size();
}

BattleGenerator::BattleGenerator(BattleGeneratorContext& context, std::int32_t nation, std::int32_t enemyNation,
    UnitRecord* force, UnitRecord* enemyForce, std::int32_t date, std::int32_t attacker, std::int32_t commandLevel,
    std::int16_t missionType, std::string_view regionPrefix)
    : m_nation(nation)
    , m_enemyNation(enemyNation)
    , m_force(force)
    , m_enemyForce(enemyForce)
    , m_date(date)
    , m_attacker(attacker)
    , m_commandLevel(commandLevel)
    , m_regionPrefix(regionPrefix)
    , m_missionType(missionType)
    , m_context(context)
{
    m_context.log.Open(m_context.campaign->PathOf(kLogFileName));
    Log("campaign generation log\n");
    Log(LogText("nation = ", nation, ", enemy = ", enemyNation, ", date = ", date, ", attacker = ", attacker,
        ", level = ", commandLevel, ", mission type = ", missionType, "\n"));
}

BattleGenerator::~BattleGenerator() { m_context.log.Close(); }

void BattleGenerator::ClearOptions()
{
    m_context.conditionLetters.fill(0);
    m_context.visibilityRadius = 0;
}

std::int32_t BattleGenerator::Roll(int n)
{
    return m_context.campaign->random->RollRandom(
        static_cast<std::int16_t>(std::clamp(n, 0, static_cast<int>(std::numeric_limits<std::int16_t>::max()))));
}

void BattleGenerator::ChooseForces()
{
    const std::int32_t r = Roll(10);
    for (std::int32_t& roll : m_context.levelRolls.rolls)
        roll = Roll(100);
    m_context.preferredFormationType = r > 5 ? 2 : 0;
    if (m_missionType == kArmoredBreakthrough)
        m_context.preferredFormationType = 0;

    if (!m_force) {
        m_pickedForce = PickFormation(m_nation);
        m_force = m_pickedForce.get();
    }
    if (!m_enemyForce) {
        m_pickedEnemyForce = PickFormation(m_enemyNation);
        m_enemyForce = m_pickedEnemyForce.get();
    }

    std::array<RoleNeeds, 2> needs {};
    const CampaignContext& campaign = *m_context.campaign;
    ReadForcesTable(campaign, m_regionPrefix, m_missionType, 'A', m_date, m_attacker, needs);
    ReadForcesTable(campaign, m_regionPrefix, m_missionType, 'D', m_date, m_attacker == 0 ? 1 : 0, needs);

    // A fifth of one need moves to the other, away from the preferred type.
    const int side = GetNationSide(m_nation);
    RoleNeeds& own = needs[static_cast<std::size_t>(side)];
    const int from = m_context.preferredFormationType != 2 ? 0 : 2;
    const int to = from == 0 ? 2 : 0;
    const std::int32_t moved = static_cast<std::int32_t>(static_cast<std::int64_t>(own[from]) * 20 / 100);
    own[from] -= moved;
    own[to] = ClampToInt(static_cast<std::int64_t>(own[to]) + moved);

    SelectForSide(own, m_commandLevel, m_force, side);
    const int enemySide = GetNationSide(m_enemyNation);
    SelectForSide(needs[static_cast<std::size_t>(enemySide)], m_commandLevel, m_enemyForce, enemySide);
}

std::unique_ptr<UnitRecord> BattleGenerator::PickFormation(std::int32_t nation)
{
    CampaignContext& campaign = *m_context.campaign;
    auto list = [&] {
        return ListCampaignFormations(
            campaign, m_context.levelRolls, nation, m_commandLevel, m_date, m_context.preferredFormationType);
    };
    std::vector<FormationListRow> rows = list();
    if (rows.empty()) {
        m_context.preferredFormationType = 2;
        rows = list();
        for (int retry = 0; retry < kPickRetries && rows.empty(); ++retry)
            rows = list();
    }
    if (rows.empty()) {
        campaign.ShowMessage(kNoUnitsText, "");
        return nullptr;
    }
    const int count = static_cast<int>(std::min<std::size_t>(rows.size(), std::numeric_limits<std::int16_t>::max()));
    const std::int32_t pick = Roll(count);
    return LoadFormationFromOob(
        campaign, m_context.levelRolls, m_date, nation, rows[static_cast<std::size_t>(pick - 1)].id);
}

void BattleGenerator::SelectForSide(RoleNeeds& needs, std::int32_t commandLevel, UnitRecord* root, int side)
{
    if (!root)
        return;
    const CampaignContext& campaign = *m_context.campaign;
    std::int64_t budget = ReadPointBudget(campaign.folder, commandLevel);
    const bool campaignSide = side == GetNationSide(m_nation);
    if (!campaignSide) {
        switch (campaign.g_campaign.m_generatorValue) {
        case 1:
            budget = budget * 3 / 2;
            break;
        case 2:
            budget *= 2;
            break;
        case 3:
            budget *= 3;
            break;
        default:
            break;
        }
        budget = ClampToInt(budget);
    }
    for (std::int32_t& need : needs)
        need = ClampToInt(static_cast<std::int64_t>(need) * budget / 100);
    if (campaignSide)
        if (UnitRecord* formation = FindOrgNodeByName(root, campaign.g_campaign.m_formationId))
            TakeOffOwnForce(formation->m_firstChild.get(), needs);

    Log("Selecting units, needs =");
    LogNeeds(needs);
    if (side == m_attacker && m_missionType == kArmoredBreakthrough)
        RolePass(root, needs, 90, 0);
    if (needs[1] >= 1 && needs[1] <= 29 && Roll(100) < 75)
        needs[1] += Roll(10) + 20;
    RolePass(root, needs, 85, 1);
    for (const int p : { 25, 50, 90 }) {
        Log(LogText("Doing ", p, "% pass, needs = "));
        LogNeeds(needs);
        GeneralPass(root, needs, p);
    }
    std::int64_t sum = 0;
    for (const std::int32_t need : needs)
        sum += need;
    std::int32_t remainder = ClampToInt(sum);
    Log(LogText("Selecting units with borrow, remainder = ", remainder, "\n"));
    BorrowPass(root, needs, remainder);
}

void BattleGenerator::TakeOffOwnForce(UnitRecord* node, RoleNeeds& needs)
{
    ForEachInPreorder(node, [&](UnitRecord& unit) {
        const int role = ForceRole(unit);
        if (role >= 0 && IsEligibleForce(unit))
            needs[static_cast<std::size_t>(role)]
                = SubtractCost(needs[static_cast<std::size_t>(role)], ForceCost(unit));
    });
}

void BattleGenerator::GeneralPass(UnitRecord* node, RoleNeeds& needs, int p)
{
    for (; node; node = node->m_nextSibling.get()) {
        const int role = ForceRole(*node);
        if (role >= 0 && IsEligibleForce(*node) && needs[static_cast<std::size_t>(role)] != 0) {
            std::int32_t& need = needs[static_cast<std::size_t>(role)];
            const std::int32_t draw = Roll(100);
            const std::int32_t cost = ForceCost(*node);
            if (!node->m_firstChild)
                Log("*");
            LogConsidered(*node, "considering force", cost);
            if (draw < p && cost <= need && node->m_role != 1 && !IsClassThreePlatoon(*node)) {
                need = SubtractCost(need, cost);
                ChooseForce(*node);
                LogSelected(*node, "force selected", cost, role, needs);
            }
        }
        GeneralPass(node->m_firstChild.get(), needs, p);
    }
}

void BattleGenerator::RolePass(UnitRecord* node, RoleNeeds& needs, int p, int role)
{
    if (role < 0 || role > 9)
        return;
    for (; node; node = node->m_nextSibling.get()) {
        if (needs[static_cast<std::size_t>(role)] == 0)
            return;
        const int nodeRole = ForceRole(*node);
        if (nodeRole >= 0 && IsEligibleForce(*node) && needs[static_cast<std::size_t>(nodeRole)] != 0) {
            const std::int32_t draw = Roll(100);
            const std::int32_t cost = ForceCost(*node);
            LogConsidered(*node, "considering force (for borrow)", cost);
            if (draw < p && nodeRole == role && node->m_role != 1 && !IsClassThreePlatoon(*node)) {
                std::int32_t& need = needs[static_cast<std::size_t>(role)];
                need = std::max(SubtractCost(need, cost), 0);
                ChooseForce(*node);
                LogSelected(*node, "force selected", cost, role, needs);
            }
        }
        RolePass(node->m_firstChild.get(), needs, p, role);
    }
}

void BattleGenerator::BorrowPass(UnitRecord* node, RoleNeeds& needs, std::int32_t& remainder)
{
    for (; node; node = node->m_nextSibling.get()) {
        const int role = ForceRole(*node);
        if (role >= 0 && !IsPlatoon(*node) && IsEligibleForce(*node) && needs[static_cast<std::size_t>(role)] != 0) {
            std::int32_t& need = needs[static_cast<std::size_t>(role)];
            const std::int32_t draw = Roll(100);
            const std::int32_t cost = ForceCost(*node);
            if (!node->m_firstChild)
                Log("*");
            LogConsidered(*node, "considering force (for borrow)", cost);
            if (draw < 2 * static_cast<std::int64_t>(need) && cost <= remainder && !IsClassThreePlatoon(*node)) {
                remainder = SubtractCost(remainder, cost);
                need = SubtractCost(need, cost);
                ChooseForce(*node);
                LogSelected(*node, "force selected (with borrow)", cost, role, needs);
                if (remainder < 1)
                    return;
            }
        }
        BorrowPass(node->m_firstChild.get(), needs, remainder);
    }
}

void BattleGenerator::LogNeeds(const RoleNeeds& needs)
{
    std::string line;
    for (const std::int32_t need : needs)
        line += LogText(" ", need);
    Log(line += '\n');
}

void BattleGenerator::LogConsidered(const UnitRecord& node, std::string_view what, std::int32_t cost)
{
    Log(LogText(what, " = ", node.m_id, " ", node.m_name, " [", cost, "]\n"));
}

void BattleGenerator::LogSelected(
    const UnitRecord& node, std::string_view what, std::int32_t cost, int role, const RoleNeeds& needs)
{
    Log(LogText(what, " = ", node.m_id, " ", node.m_name, ", cost = ", cost, ", role = ", role, "\n"));
    LogNeeds(needs);
}
