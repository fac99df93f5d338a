// Campaigns played end to end without a window, in a copy of the demo data at
// a fixed time: a single campaign created with scripted answers, then battle
// after battle set up, loaded as the main program opens a new campaign battle,
// given a result through the game object's own operations and saved by its
// writer, and the result applied as the launcher applies it on return; an
// undo; then the linked chain from its creation to its end. Two runs write
// the same files byte for byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SetupTestSupport.h"
#include "ai/Game.h"
#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/campaign/CommanderFate.h"
#include "launcher/campaign/NationTables.h"
#include "launcher/campaign/setup/CampaignLaunch.h"
#include "launcher/campaign/setup/NextBattleSetup.h"
#include "model/Clock.h"
#include "model/DataFile.h"
#include "model/Random.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kStartTime = 1700000000;
constexpr const char* kName = "Hal Brenner";
constexpr const char* kBattle = "Hal Brenner.cpn";

// What a unit of the force carries from battle to battle.
struct UnitState {
    std::int32_t strength = 0;
    std::int32_t morale = 0;
    std::int32_t experience = 0;
    bool operator==(const UnitState&) const = default;
};

std::map<std::int32_t, UnitState> ForceState(const UnitRecord* root)
{
    std::map<std::int32_t, UnitState> state;
    std::vector<const UnitRecord*> pending { root };
    while (!pending.empty()) {
        const UnitRecord* node = pending.back();
        pending.pop_back();
        for (; node; node = node->m_nextSibling.get()) {
            state[node->m_number] = { node->m_strength, node->m_morale, node->m_experience };
            pending.push_back(node->m_firstChild.get());
        }
    }
    return state;
}

int HistoryCount(const CampaignRecord& campaign)
{
    int count = 0;
    for (const BattleHistoryEntry* entry = campaign.m_history.get(); entry; entry = entry->m_next.get())
        ++count;
    return count;
}

// Every unit of the battle, on the map and in the groups.
template <class Visit> void ForEachUnit(CGame& game, Visit visit)
{
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            for (UnitNode* node = game.m_stacks.At(x, y).Head(); node; node = node->next)
                visit(node->value, x, y, node);
    for (auto* group = game.m_reinforcements.Head(); group; group = group->next)
        for (UnitNode* node = group->value.m_units.Head(); node; node = node->next)
            visit(node->value, -1, -1, node);
}

// The battle file as the main program opens a new campaign battle: the
// player's side by hand, the other by the computer.
std::unique_ptr<CGame> LoadBattle(const fs::path& folder, const std::string& battle, int playerSide)
{
    ScopedCurrentDir inFolder(folder);
    SetRandomSeed(12345);
    auto game = std::make_unique<CGame>();
    std::ifstream in(folder / battle, std::ios::binary);
    int modes[2] = { kAiPlanningComputer, kAiPlanningComputer };
    modes[playerSide] = kAiManual;
    const std::uint8_t fog[2] = { 0, 0 };
    String text;
    std::vector<int> groups, released;
    HexList hexes;
    EXPECT_TRUE(game->ReadScenario(in, modes, fog, text, groups, released, hexes)) << game->m_battleReadError.c_str();
    return game;
}

// What the test did to the player's units in the battle.
struct Fabricated {
    std::map<std::int32_t, std::int32_t> strengths; // unit number -> strength after the battle
    bool commanderHit = false;
    int borrowedHit = 0; // borrowed units that lost a point
};

// Two units of the player's formation on the map lose a point each, a third
// is eliminated (the commander's unit when it is to be hit), through the
// game object's operations. Units the generator borrowed from elsewhere in
// the force are left alone: the campaign was saved before they were chosen,
// so their results do not come back (see BorrowedUnitsKeepTheirState).
Fabricated FabricateResult(
    CGame& game, const UnitRecord* formation, const UnitRecord* force, std::int32_t commanderUnit, bool hitCommander)
{
    Fabricated result;
    // The formation's units: its subunits' subtrees.
    const UnitRecord* own = formation == force ? force : formation->m_firstChild.get();
    struct OnMap {
        int x, y;
        UnitNode* node;
    };
    std::vector<OnMap> mine;
    OnMap commander { -1, -1, nullptr };
    ForEachUnit(game, [&](PlacedUnit& unit, int x, int y, UnitNode* node) {
        if (x < 0 || !unit.m_node || !FindUnitByNumber(force, unit.m_node->m_id))
            return;
        if (!FindUnitByNumber(own, unit.m_node->m_id)) {
            if (result.borrowedHit == 0 && unit.m_strength >= 2) {
                game.ApplyStrengthLoss(unit, 1);
                ++result.borrowedHit;
            }
            return;
        }
        if (unit.m_node->m_id == commanderUnit)
            commander = { x, y, node };
        else
            mine.push_back({ x, y, node });
    });
    if ((mine.size() < 3 || (hitCommander && !commander.node)) && !game.m_reinforcements.IsEmpty()) {
        // The player's units wait off the map: their groups enter, as they
        // would in the battle's first turns.
        HexList hexes;
        bool placed = false;
        for (auto* group = game.m_reinforcements.Head(); group;) {
            auto* next = group->next;
            bool ours = false;
            for (const UnitNode* member = group->value.m_units.Head(); member; member = member->next)
                ours |= member->value.m_node && FindUnitByNumber(own, member->value.m_node->m_id);
            if (ours && game.PlaceReinforcementGroup(group->value, 1, hexes)) {
                game.m_reinforcements.Remove(group);
                placed = true;
            }
            group = next;
        }
        if (placed)
            return FabricateResult(game, formation, force, commanderUnit, hitCommander);
    }
    int damaged = 0;
    for (const OnMap& unit : mine) {
        if (damaged == 2)
            break;
        PlacedUnit& placed = unit.node->value;
        if (placed.m_strength < 2)
            continue;
        game.ApplyStrengthLoss(placed, 1);
        result.strengths[placed.m_node->m_id] = placed.m_strength;
        ++damaged;
    }
    EXPECT_EQ(damaged, 2);
    if (hitCommander) {
        EXPECT_TRUE(commander.node) << "the commander's unit stands on the map";
        if (commander.node && game.EliminateUnit(commander.x, commander.y, commander.node))
            result.commanderHit = true;
    } else {
        for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
            // A carrier takes its riders along: eliminate a unit carrying none.
            if (result.strengths.count(it->node->value.m_node->m_id) || HasStatus(it->node->value, 64))
                continue;
            const std::int32_t number = it->node->value.m_node->m_id;
            if (game.EliminateUnit(it->x, it->y, it->node))
                result.strengths[number] = 0;
            break;
        }
    }
    // Every unit of the formation on the map comes back with the strength it
    // has there (one destroyed before and entering with its group again has
    // strength 1 in the battle).
    ForEachUnit(game, [&](PlacedUnit& unit, int x, int, UnitNode*) {
        if (x >= 0 && unit.m_node && unit.m_node->m_id != commanderUnit && FindUnitByNumber(own, unit.m_node->m_id))
            result.strengths[unit.m_node->m_id] = unit.m_strength;
    });
    return result;
}

// The files a run compares with another, by step.
using Snapshot = std::vector<std::pair<std::string, std::string>>;

class CampaignRun {
public:
    CampaignRun()
    {
        CopyDemoTextData(folder.Path());
        random.SetTimeSource([this] { return now; });
        SetTimeSource([] { return kStartTime; });
        context.showMessage = [this](std::string_view text, std::string_view caption) {
            messages.push_back({ std::string(text), std::string(caption) });
        };
    }
    ~CampaignRun() { SetTimeSource(nullptr); }

    void Keep(const std::string& step, std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            const std::optional<fs::path> path = LocateDataFile((folder.Path() / name).string());
            snapshot.emplace_back(step + " " + name, path ? ReadFileText(*path) : std::string("(none)"));
        }
    }

    // Plays one battle of the single campaign: set-up, load, result, apply.
    void PlaySingleBattle(int k, std::int32_t a, std::int32_t b, bool hitCommander, bool spend)
    {
        SCOPED_TRACE("battle " + std::to_string(k));
        now = kStartTime + 1000 * k;
        CampaignRecord& campaign = context.g_campaign;
        const std::int32_t dateBefore = campaign.m_currentDate;
        int spent = 0;
        const NextBattlePreparation prepared
            = PrepareNextCampaignBattle(generator, [&spent, spend](ReplacementSession& session) {
                  for (int row = 0; spend && row < static_cast<int>(session.Rows().size()); ++row) {
                      session.Select(row);
                      while (session.AddReplacement())
                          ++spent;
                  }
              });
        ASSERT_TRUE(prepared.prepared) << (messages.empty() ? "" : messages.back().text);
        EXPECT_FALSE(prepared.briefing.empty());
        EXPECT_GT(campaign.m_currentDate, dateBefore);
        spentPoints += spent;
        for (const char* name : { kBattle, "Hal Brenner.MAP", "Hal Brenner.ORG", "campaign.log" })
            EXPECT_TRUE(FileExists(folder.Path(), name)) << name;
        EXPECT_TRUE(campaign.HasPendingBattle(folder.Path()));
        Keep("set-up " + std::to_string(k), { "Hal Brenner.ccd", kBattle, "Hal Brenner.MAP", "Hal Brenner.ORG" });
        const ProgramArguments command = ContinueCampaignBattle(context);
        EXPECT_EQ(command.arguments.back(), kBattle);
        EXPECT_EQ(std::count(command.arguments.begin(), command.arguments.end(), "-o"), 0) << "not yet saved";

        const int side = GetNationSide(campaign.m_nation);
        std::unique_ptr<CGame> game = LoadBattle(folder.Path(), kBattle, side);
        CheckBattle(*game, campaign);
        const Fabricated fabricated
            = FabricateResult(*game, FindUnitById(campaign.m_force.get(), campaign.m_formationId),
                campaign.m_force.get(), campaign.m_commanderUnit, hitCommander);
        borrowedHit += fabricated.borrowedHit;
        ASSERT_EQ(std::string(game->SaveBattleToFile(folder.Path(kBattle)).c_str()), "");
        EXPECT_EQ(ContinueCampaignBattle(context).arguments[4], "-o") << "saved by the main program";

        const std::map<std::int32_t, UnitState> before = ForceState(campaign.m_force.get());
        const int rankBefore = campaign.m_rank;
        const int historyBefore = HistoryCount(campaign);
        const std::string pending = campaign.m_pendingBattle;
        score += a;
        const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(context, kBattle, a, b);
        ASSERT_FALSE(outcome.Failed()) << outcome.failure;
        EXPECT_EQ(outcome.commanderHit, fabricated.commanderHit);
        EXPECT_EQ(campaign.m_score, score);
        EXPECT_GE(campaign.m_rank, rankBefore);
        EXPECT_LE(campaign.m_rank, rankBefore + 1);
        EXPECT_EQ(outcome.promoted, campaign.m_rank == rankBefore + 1);
        EXPECT_EQ(HistoryCount(campaign), historyBefore + 1);
        ASSERT_TRUE(campaign.m_history);
        EXPECT_EQ(campaign.m_history->m_battleName, pending);
        EXPECT_FALSE(FileExists(folder.Path(), kBattle));
        EXPECT_FALSE(FileExists(folder.Path(), "Hal Brenner.map"));
        CheckUnitResults(before, ForceState(campaign.m_force.get()), fabricated, a);
        Keep("result " + std::to_string(k), { "Hal Brenner.ccd" });
        lastOutcome = outcome;
    }

    // Every unit of the generated battle stands on its node with its type,
    // both nations fight, and the commander's unit is there by its number.
    void CheckBattle(CGame& game, const CampaignRecord& campaign)
    {
        int units = 0;
        int unbound = 0;
        std::set<int> sides;
        bool commander = false;
        ForEachUnit(game, [&](PlacedUnit& unit, int, int, UnitNode*) {
            ++units;
            if (!unit.m_type || !unit.m_node) {
                ++unbound;
                return;
            }
            sides.insert(unit.m_node->GetSide());
            commander |= unit.m_node->m_id == campaign.m_commanderUnit;
        });
        EXPECT_GT(units, 4);
        EXPECT_EQ(unbound, 0);
        EXPECT_EQ(sides, (std::set<int> { 0, 1 }));
        EXPECT_TRUE(commander);
    }

    // Losses land on the units that took them; experience goes to the units
    // that fought (each gains max(1, A x 5 / 100), maybe a morale step);
    // nothing else changes.
    void CheckUnitResults(const std::map<std::int32_t, UnitState>& before,
        const std::map<std::int32_t, UnitState>& after, const Fabricated& fabricated, std::int32_t a)
    {
        const std::int32_t gain = std::max(1, a * 5 / 100);
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [number, old] : before) {
            const UnitState& now = after.at(number);
            const auto hit = fabricated.strengths.find(number);
            if (hit != fabricated.strengths.end())
                EXPECT_EQ(now.strength, hit->second) << "unit " << number;
            else
                EXPECT_EQ(now.strength, old.strength) << "unit " << number;
            if (now.experience == old.experience && now.morale == old.morale)
                continue;
            ++gained;
            const bool plain = now.morale == old.morale && now.experience == old.experience + gain;
            const bool stepped = now.morale == old.morale + 1 && now.experience < old.experience + gain;
            EXPECT_TRUE(plain || stepped) << "unit " << number << " experience " << old.experience << " -> "
                                          << now.experience << " morale " << old.morale << " -> " << now.morale;
        }
        for (const auto& [number, strength] : fabricated.strengths) {
            const UnitState& now = after.at(number);
            const UnitState& old = before.at(number);
            EXPECT_TRUE(now.experience != old.experience || now.morale != old.morale)
                << "unit " << number << " fought and gained nothing";
        }
    }

    TempDir folder;
    std::int64_t now = kStartTime;
    LauncherRandom random;
    CampaignContext context { folder.Path(), random };
    BattleGeneratorContext generator { context };
    std::vector<ShownMessage> messages;
    Snapshot snapshot;
    std::int32_t score = 0;
    int spentPoints = 0;
    int gained = 0;
    int borrowedHit = 0;
    CampaignBattleOutcome lastOutcome;
    std::map<std::int32_t, std::int32_t> linkedLosses;
};

// The single campaign of the demo: a tank battalion of I Armored Corps.
void PlaySingleCampaign(CampaignRun& run)
{
    NewCampaignChoices choices(run.context);
    ASSERT_FALSE(choices.IsLinked());
    ScriptedDialogs dialogs;
    dialogs.leaderName = kName;
    dialogs.organisationType = 0;
    dialogs.aiLevel = 1;
    dialogs.portraitSteps = 3;
    dialogs.rowIds = { "K1050001", "D1040001", "R1020001", "B1010001" };
    const bool created = CreateNewCampaign(run.context, choices, run.generator.levelRolls, dialogs);
    std::string shown;
    for (const auto& list : dialogs.shownLists) {
        for (const auto& id : RowIds(list))
            shown += id + " ";
        shown += "| ";
    }
    ASSERT_TRUE(created) << (run.messages.empty() ? "" : run.messages.back().text) << " lists: " << shown;
    CampaignRecord& campaign = run.context.g_campaign;
    EXPECT_EQ(campaign.m_formationId, "B1010001");
    EXPECT_EQ(campaign.m_rank, 2);
    EXPECT_TRUE(FileExists(run.folder.Path(), "Hal Brenner.ccd"));
    run.Keep("created", { "Hal Brenner.ccd" });

    run.PlaySingleBattle(1, 100, 100, false, true);
    // Weeks pass: the next battle falls after the tanks' May upgrade.
    campaign.m_currentDate = 430502;
    ASSERT_EQ(SaveCampaign(run.context, campaign), "");
    ASSERT_NE(FindUnitById(campaign.m_force.get(), "C1000001"), nullptr);
    run.messages.clear();
    run.PlaySingleBattle(2, 150, 100, false, true);
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.front().text, "Upgrades have arrived.");
    EXPECT_EQ(FindUnitById(campaign.m_force.get(), "C1000001"), nullptr);
    EXPECT_NE(FindUnitById(campaign.m_force.get(), "C1000002"), nullptr);
    run.PlaySingleBattle(3, 800, 100, false, true);
    // 1050 points pass the Major's 900: one step up, and a decoration.
    EXPECT_TRUE(run.lastOutcome.promoted);
    EXPECT_TRUE(run.lastOutcome.decorated);
    EXPECT_EQ(campaign.m_rank, 3);

    // Set up, then undone: the battle's files go, the campaign reads back.
    run.now = kStartTime + 4000;
    ASSERT_TRUE(PrepareNextCampaignBattle(run.generator, nullptr).prepared);
    ASSERT_TRUE(campaign.HasPendingBattle(run.folder.Path()));
    EXPECT_EQ(UndoCampaignBattle(run.context), "");
    EXPECT_FALSE(campaign.HasPendingBattle(run.folder.Path()));
    for (const char* name : { "Hal Brenner.MAP", "Hal Brenner.ORG" })
        EXPECT_FALSE(FileExists(run.folder.Path(), name)) << name;
    EXPECT_EQ(HistoryCount(campaign), 3);
    run.Keep("undone", { "Hal Brenner.ccd" });

    run.PlaySingleBattle(5, 80, 100, true, true);
    ASSERT_TRUE(run.lastOutcome.commanderHit);
    const std::int32_t dateBeforeFate = campaign.m_currentDate;
    const CommanderFate fate = ChooseCommanderFate(run.context);
    EXPECT_EQ(fate.saveError, "");
    EXPECT_FALSE(fate.text.empty());
    if (fate.outcome == FateOutcome::kWounded)
        EXPECT_GT(campaign.m_currentDate, dateBeforeFate) << "a wound costs months";
    else
        EXPECT_TRUE(campaign.IsOver());
    run.Keep("fate", { "Hal Brenner.ccd" });
    EXPECT_GT(run.gained, 0);
    EXPECT_GT(run.spentPoints, 0) << "replacement points were spent";
}

// The demo's linked chain, "The Orvette Crossing", from its creation to its
// end node.
void PlayLinkedCampaign(CampaignRun& run)
{
    constexpr const char* kRun = "Orvette run.cpn";
    NewCampaignChoices choices(run.context);
    while (!choices.IsLinked() && choices.m_selected + 1 < static_cast<int>(choices.m_names.size()))
        choices.ChoiceDown();
    ASSERT_TRUE(choices.IsLinked());
    ScriptedDialogs dialogs;
    dialogs.linkedFile = "Orvette run.ccl";
    ASSERT_TRUE(CreateNewCampaign(run.context, choices, run.generator.levelRolls, dialogs));
    CampaignRecord& campaign = run.context.g_campaign;
    ASSERT_EQ(campaign.m_linkedBattleId, 1);

    const std::int32_t outcomes[] = { 1, 2 };
    for (int battle = 1; battle <= 2; ++battle) {
        SCOPED_TRACE("linked battle " + std::to_string(battle));
        run.now = kStartTime + 10000 * battle;
        int offered = 0;
        const NextBattlePreparation prepared
            = PrepareNextCampaignBattle(run.generator, [&offered](ReplacementSession& session) {
                  offered = session.Points();
                  if (session.Rows().size() > 1) {
                      session.Select(1);
                      session.AddReplacement();
                  }
              });
        ASSERT_TRUE(prepared.prepared);
        EXPECT_FALSE(prepared.briefing.empty());
        EXPECT_EQ(offered, battle == 2 ? 40 : 0);
        const ProgramArguments command = StartCampaignBattle(run.context);
        EXPECT_EQ(command.arguments, (std::vector<std::string> { "-k", "0", "-1", "0", kRun }));
        run.Keep("linked set-up " + std::to_string(battle), { "Orvette run.ccl", kRun });
        // Units that lost strength in the first battle go into the second
        // with it.
        for (const auto& [number, strength] : run.linkedLosses) {
            const std::string text = ReadFileText(run.folder.Path(kRun));
            if (strength == 0)
                continue;
            EXPECT_NE(text.find(" " + std::to_string(number) + " "), std::string::npos) << number;
        }

        std::unique_ptr<CGame> game = LoadBattle(run.folder.Path(), kRun, 0);
        const std::map<std::int32_t, UnitState> before = ForceState(campaign.m_force.get());
        const Fabricated fabricated = FabricateResult(*game, campaign.m_force.get(), campaign.m_force.get(), -1, false);
        ASSERT_EQ(std::string(game->SaveBattleToFile(run.folder.Path(kRun)).c_str()), "");
        const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(run.context, kRun, outcomes[battle - 1], 0);
        ASSERT_FALSE(outcome.Failed()) << outcome.failure;
        EXPECT_FALSE(FileExists(run.folder.Path(), kRun));
        const std::map<std::int32_t, UnitState> after = ForceState(campaign.m_force.get());
        for (const auto& [number, strength] : fabricated.strengths) {
            EXPECT_EQ(after.at(number).strength, strength) << number;
            run.linkedLosses[number] = strength;
        }
        if (battle == 1) {
            EXPECT_EQ(campaign.m_linkedBattleId, 2);
            EXPECT_FALSE(outcome.completed);
        } else {
            EXPECT_EQ(campaign.m_linkedBattleId, -2);
            EXPECT_TRUE(outcome.completed);
            EXPECT_TRUE(campaign.IsOver());
            EXPECT_EQ(outcome.endText.substr(0, 20), "Saint-Ovrin is taken");
        }
        EXPECT_EQ(HistoryCount(campaign), battle);
        run.Keep("linked result " + std::to_string(battle), { "Orvette run.ccl" });
        (void)before;
    }
}

} // namespace

TEST(CampaignEndToEndTest, ASingleCampaignPlaysFiveSetUpsAndALinkedChainRunsToItsEnd)
{
    Snapshot first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        CampaignRun campaign;
        PlaySingleCampaign(campaign);
        PlayLinkedCampaign(campaign);
        if (run == 0) {
            first = campaign.snapshot;
            continue;
        }
        ASSERT_EQ(campaign.snapshot.size(), first.size());
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(campaign.snapshot[i].first, first[i].first);
            EXPECT_TRUE(campaign.snapshot[i].second == first[i].second) << first[i].first << " differs";
        }
    }
}
