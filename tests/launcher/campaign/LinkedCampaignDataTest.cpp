// The demo's linked campaign: its chain reads and every outcome leads to one
// of its ends, its battles load through the battle reader with every unit
// bound to its platoon type and organisation node, and a new run starts with
// the battalion of the first battle's organisation.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "model/GameHexMarks.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kChain = "Orvette.lcg";
constexpr int kTurnMinutes = 6;

// The tree's ids and numbers, two blanks a level.
void DescribeShape(const UnitRecord* node, int depth, std::string& out)
{
    for (; node; node = node->m_nextSibling.get()) {
        out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + node->m_id + " " + std::to_string(node->m_number)
            + "\n";
        DescribeShape(node->m_firstChild.get(), depth + 1, out);
    }
}

class LinkedCampaignDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(folder)) << "the build makes the demo data folder " << folder;
        ASSERT_EQ(chain.Read(context, kChain), "");
    }

    const fs::path folder = DemoDataFolder();
    LauncherRandom random;
    CampaignContext context { folder, random };
    LinkedCampaignTree chain;
};

TEST_F(LinkedCampaignDataTest, TheChainHasTwoBattlesAndTwoEnds)
{
    EXPECT_EQ(chain.m_title, "The Orvette Crossing");
    EXPECT_EQ(chain.m_nation, 10);
    EXPECT_EQ(chain.m_enemyNation, 1);
    EXPECT_EQ(chain.m_forceUnitNumber, 100);
    EXPECT_EQ(chain.m_flag, 1) << "proposes a battalion command";
    EXPECT_FALSE(chain.m_description.empty());
    EXPECT_EQ(chain.FirstBattleId(), 1);

    int battles = 0;
    int ends = 0;
    for (const LinkedBattleNode& node : chain.m_nodes) {
        SCOPED_TRACE(node.m_id);
        if (node.m_id <= 0) {
            ++ends;
            EXPECT_FALSE(node.m_battleFile.empty()) << "an end's text";
            continue;
        }
        ++battles;
        EXPECT_TRUE(fs::exists(folder / node.m_battleFile)) << node.m_battleFile;
        EXPECT_FALSE(node.m_text.empty());
        EXPECT_TRUE(node.m_mapX >= 0 && node.m_mapX < 640 && node.m_mapY >= 0 && node.m_mapY < 480);
        for (int outcome = -2; outcome <= 2; ++outcome)
            EXPECT_NE(chain.FindNode(node.NextBattleId(outcome)), nullptr) << "outcome " << outcome;
    }
    EXPECT_EQ(battles, 2);
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(chain.FindNode(1)->m_replacementPoints, 0);
    EXPECT_GT(chain.FindNode(2)->m_replacementPoints, 0) << "replacements before the second battle";

    // Every run ends, and both ends can be reached.
    std::set<std::int32_t> reached;
    std::vector<std::pair<std::int32_t, int>> open { { chain.FirstBattleId(), 0 } };
    while (!open.empty()) {
        const auto [id, steps] = open.back();
        open.pop_back();
        ASSERT_LT(steps, 10) << "a loop in the chain";
        if (id <= 0) {
            reached.insert(id);
            continue;
        }
        const LinkedBattleNode* node = chain.FindNode(id);
        ASSERT_NE(node, nullptr) << id;
        for (int outcome = -2; outcome <= 2; ++outcome)
            open.push_back({ node->NextBattleId(outcome), steps + 1 });
    }
    EXPECT_EQ(reached, (std::set<std::int32_t> { -2, -1 }));

    std::vector<std::string> titles;
    std::vector<CampaignSegment> segments;
    ReadLinkedCampaignSegments(context, titles, segments);
    ASSERT_EQ(titles, std::vector<std::string> { "The Orvette Crossing" });
    EXPECT_EQ(segments[0].m_file, kChain);
    EXPECT_EQ(segments[0].m_firstBattleId, 1);
    EXPECT_EQ(CountMatchingFiles(context, "*.lcg"), 1);
}

TEST_F(LinkedCampaignDataTest, TheStartingForceIsTheWholeBattalion)
{
    const std::unique_ptr<UnitRecord> force = ReadLinkedStartingForce(context, kChain, chain.FirstBattleId());
    ASSERT_NE(force, nullptr);
    std::string shape;
    DescribeShape(force.get(), 0, shape);
    EXPECT_EQ(shape,
        "B1020001 100\n"
        "  P10401 101\n"
        "  C1010001 110\n    P10400 111\n    P10200 112\n    P10200 113\n    P10200 114\n"
        "  C1010002 120\n    P10400 121\n    P10200 122\n    P10200 123\n    P10200 124\n"
        "  C1010003 130\n    P10400 131\n    P10200 132\n    P10200 133\n    P10200 134\n"
        "  C1010004 140\n    P10400 141\n    P10100 142\n    P10100 143\n    P10101 144\n    P10102 145\n"
        "    P10701 146\n    P10201 147\n    P10700 148\n    P10702 149\n    P10600 150\n"
        "  C1010005 160\n    P10400 161\n    P10000 162\n    P10000 163\n    P10001 164\n    P10002 165\n"
        "  P10300 190\n");
    EXPECT_EQ(force->m_name, "1st Battalion, US infantry");
    std::vector<const UnitRecord*> nodes { force.get() };
    while (!nodes.empty()) {
        const UnitRecord* node = nodes.back();
        nodes.pop_back();
        if (node->m_id.front() == 'P') {
            EXPECT_GT(node->m_fullStrength, 0) << node->m_id << " has its platoon line";
            EXPECT_EQ(node->m_strength, node->m_fullStrength) << node->m_id;
        }
        for (const UnitRecord* child = node->m_firstChild.get(); child; child = child->m_nextSibling.get())
            nodes.push_back(child);
    }
}

TEST_F(LinkedCampaignDataTest, EveryBattleLoadsWithItsUnitsBoundToTheirTypesAndNodes)
{
    const std::unique_ptr<UnitRecord> force = ReadLinkedStartingForce(context, kChain, chain.FirstBattleId());
    ASSERT_NE(force, nullptr);
    for (const LinkedBattleNode& node : chain.m_nodes) {
        if (node.m_id <= 0)
            continue;
        SCOPED_TRACE(node.m_battleFile);
        ScopedCurrentDir inData(folder);
        CGameHexMarks game;
        ASSERT_TRUE(game.m_startupError.IsEmpty()) << game.m_startupError.c_str();
        const std::string text = ReadFileText(folder / node.m_battleFile);
        std::istringstream in(text);
        ASSERT_TRUE(game.ReadBattleFile(in, false)) << game.m_battleReadError.c_str();
        EXPECT_EQ(game.m_version, 9);
        EXPECT_EQ(game.m_mapFileName.str(), "main.map");
        EXPECT_EQ(game.m_orgFileName.str(), "Orvette" + std::to_string(node.m_id) + ".org");
        EXPECT_EQ(game.m_map.GetTimeLimit() % kTurnMinutes, 0);

        std::vector<const PlacedUnit*> units;
        int onMap[2] = { 0, 0 };
        for (int x = 0; x < game.m_stacks.Width(); ++x) {
            for (int y = 0; y < game.m_stacks.Height(); ++y) {
                for (const PlacedUnit& unit : game.m_stacks.At(x, y)) {
                    units.push_back(&unit);
                    ++onMap[unit.m_type->GetSide()];
                }
            }
        }
        EXPECT_GT(onMap[0], 0);
        EXPECT_GT(onMap[1], 0);
        for (const OffMapUnit& offMap : game.m_offMapUnits)
            units.push_back(&offMap.unit);
        for (const ReinforcementGroup& group : game.m_reinforcements) {
            EXPECT_EQ(group.m_time % kTurnMinutes, 0);
            EXPECT_LT(group.m_time, game.m_map.GetTimeLimit());
            for (const PlacedUnit& unit : group.m_units)
                units.push_back(&unit);
        }
        std::set<std::int32_t> placed;
        for (const PlacedUnit* unit : units) {
            ASSERT_NE(unit->m_type, nullptr);
            ASSERT_NE(unit->m_node, nullptr) << unit->m_type->m_name.c_str();
            SCOPED_TRACE(unit->m_node->m_nodeName.str());
            EXPECT_TRUE(placed.insert(unit->m_node->m_id).second) << "placed twice";
            EXPECT_EQ(unit->m_node->m_code, unit->m_type->m_id);
            EXPECT_EQ(unit->m_rating, unit->m_node->m_rating);
            EXPECT_EQ(unit->m_strength, unit->m_type->m_fullStrength);
            // The campaign's losses are written into the battle by unit number.
            if (unit->m_type->GetSide() == 0) {
                EXPECT_NE(FindUnitByNumber(force.get(), unit->m_node->m_id), nullptr);
            }
        }
        int aircraft[2] = { 0, 0 };
        for (const PlatoonType* type : game.m_aircraftPool)
            ++aircraft[type->GetSide()];
        EXPECT_EQ(aircraft[0], game.m_airPower[0]);
        EXPECT_EQ(aircraft[1], game.m_airPower[1]);

        // After the trailer: a note, the date, and the briefing.
        const std::size_t end = text.find("\n-1\n0 -1\n1\n");
        ASSERT_NE(end, std::string::npos);
        std::istringstream after(text.substr(end + 11));
        std::string note;
        std::string date;
        std::string briefing;
        ASSERT_TRUE(std::getline(after, note) && std::getline(after, date) && std::getline(after, briefing));
        EXPECT_TRUE(date.ends_with(" 1944 ")) << date;
        EXPECT_FALSE(briefing.empty());
    }
}

} // namespace
