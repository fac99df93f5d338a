// The battle generator on the demo's campaign data: the American player's
// corps against a German corps the generator picks, in every kind of battle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "BattleGeneratorSupport.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kBattleDate = 430301;

// A working folder holding the demo's data files (not the pictures), so the
// log is written beside them and not into the build's data folder.
class DemoBattle {
public:
    explicit DemoBattle(std::int64_t seconds)
        : context(folder.context)
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(DemoDataFolder()))
            if (entry.is_regular_file() && entry.path().extension() != ".bmp")
                fs::copy_file(entry.path(), folder.folder.Path(entry.path().filename().string()));
        folder.random.SetTimeSource([seconds] { return seconds; });
        folder.random.SeedRandom();
        CampaignRecord& campaign = folder.context.g_campaign;
        campaign.m_nation = 10;
        campaign.m_enemyNation = 1;
        campaign.m_generatorValue = 1;
        campaign.m_force = LoadFormationFromOob(folder.context, LevelNumberBase {}, kBattleDate, 10, "K1052001");
        // The player commands the corps' first company, whose force the
        // status screen marks before the generator runs.
        if (const UnitRecord* company = FindOrgNodeByName(campaign.m_force.get(), "C10"))
            campaign.m_formationId = company->m_id;
        campaign.m_selectedForceCost = SelectForceUnder(campaign.m_force.get(), campaign.m_formationId);
    }

    // ChooseForces for the mission type and attacker; the generator is gone
    // (its log closed) when this returns.
    void Choose(std::int16_t missionType, std::int32_t attacker)
    {
        BattleGenerator generator(context, 10, 1, folder.context.g_campaign.m_force.get(), nullptr, kBattleDate,
            attacker, 2, missionType, "");
        generator.ChooseForces();
        if (generator.m_enemyForce)
            enemyRoles = Roles(generator.m_enemyForce);
    }

    static std::string Roles(const UnitRecord* node)
    {
        std::string roles;
        for (; node; node = node->m_nextSibling.get())
            roles += node->m_id + ":" + std::to_string(node->m_role) + " " + Roles(node->m_firstChild.get());
        return roles;
    }
    static int CountChosen(const std::string& roles)
    {
        int count = 0;
        for (std::size_t at = roles.find(":1 "); at != std::string::npos; at = roles.find(":1 ", at + 1))
            ++count;
        return count;
    }

    std::string Log() const { return ReadWholeFile(folder.folder.Path("campaign.log")); }

    CampaignTestFolder folder;
    BattleGeneratorContext context;
    std::string enemyRoles;
};

TEST(BattleGeneratorDataTest, EveryMissionTypeChoosesUnitsOnBothSides)
{
    ASSERT_TRUE(fs::is_directory(DemoDataFolder()));
    for (std::int16_t missionType = 1; missionType <= 11; ++missionType)
        for (std::int32_t attacker = 0; attacker <= 1; ++attacker) {
            SCOPED_TRACE(std::string(GetMissionTypeName(missionType)) + ", attacker " + std::to_string(attacker));
            DemoBattle battle(1'700'000'000 + missionType * 2 + attacker);
            ASSERT_NE(battle.folder.context.g_campaign.m_force, nullptr);
            ASSERT_FALSE(battle.folder.context.g_campaign.m_formationId.empty());
            const UnitRecord* force = battle.folder.context.g_campaign.m_force.get();
            const int players = DemoBattle::CountChosen(DemoBattle::Roles(force));
            EXPECT_GT(players, 0) << "the player's own force";
            battle.Choose(missionType, attacker);
            EXPECT_GT(DemoBattle::CountChosen(DemoBattle::Roles(force)), players) << "and more by the generator";
            EXPECT_GT(DemoBattle::CountChosen(battle.enemyRoles), 0) << "the German corps";
            EXPECT_TRUE(battle.folder.messages.empty());
        }
}

TEST(BattleGeneratorDataTest, OneSeedOneChoiceAndLog)
{
    auto run = [](std::int64_t seconds) {
        DemoBattle battle(seconds);
        battle.Choose(kMeetingEngagement, 0);
        return std::make_pair(
            DemoBattle::Roles(battle.folder.context.g_campaign.m_force.get()) + battle.enemyRoles, battle.Log());
    };
    const auto first = run(1'700'000'000);
    const auto again = run(1'700'000'000);
    EXPECT_EQ(again.first, first.first);
    EXPECT_EQ(again.second, first.second);
    EXPECT_NE(run(1'700'086'400).second, first.second);
}

TEST(BattleGeneratorDataTest, GoldenLog)
{
    // Seed and battle fixed here; tests/fixtures/generator/campaign-golden.log
    // changes only when the generator's choices or the demo data change on
    // purpose. VL_REWRITE_GOLDEN=1 writes it anew.
    DemoBattle battle(1'234'567'890);
    battle.Choose(kArmoredBreakthrough, 1);
    const fs::path golden = fs::path(VL_TEST_FIXTURES) / "generator" / "campaign-golden.log";
    if (const char* rewrite = std::getenv("VL_REWRITE_GOLDEN"); rewrite && std::string(rewrite) == "1") {
        fs::create_directories(golden.parent_path());
        std::ofstream(golden, std::ios::binary) << battle.Log();
    }
    EXPECT_EQ(battle.Log(), ReadWholeFile(golden))
        << "when the demo data changed on purpose, rewrite it with VL_REWRITE_GOLDEN=1 and say so in the commit";
}

} // namespace
