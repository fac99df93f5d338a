#pragma once
// The computer opponent's test bed: a game object started in a folder that
// holds the demo's built tables (platoon, weapon, movement and parameter
// files) and its "main.ai", with a small plain map of open ground and a small
// organisation written here. Each test writes its units and objectives as
// scenario text, read through the battle-data layer's reader as a scenario
// is read.
//
// The organisation (ids; side 0 United States, side 1 Germany):
//   100 US battalion (B, level 2)
//     101 battalion commander
//     110 Company A (C): 111 captain, 112 and 113 rifle platoons
//     120 Company B (C): 121 captain, 122 rifle platoon, 123 Sherman, 124 half-track
//   200 German battalion (B)
//     210 5. Kompanie (C): 211 captain, 212 and 213 grenadier platoons, 214 HMG

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "ai/Game.h"
#include "tests/TestFiles.h"

// Demo platoon types used by the tests.
namespace demo {
inline constexpr int kUsBattalionLeader = 10401;
inline constexpr int kUsCaptain = 10400;
inline constexpr int kUsRifle = 10200;
inline constexpr int kUsSherman = 10000;
inline constexpr int kUsHalfTrack = 10700;
inline constexpr int kUsJeep = 10702; // unarmed
inline constexpr int kUsBoat = 10600;
inline constexpr int kDeCaptain = 1400;
inline constexpr int kDeGrenadier = 1200;
inline constexpr int kDeHmg = 1100;
inline constexpr int kDeKuebel = 1702; // unarmed
inline constexpr int kUsNation = 10;
inline constexpr int kDeNation = 1;
} // namespace demo

// The clock and battle values of a test scenario; sections hold its tagged
// lines.
struct AiScenario {
    int counter = 0;
    int side = 0;
    int phase = 0;
    int airPower[2] = { 0, 0 };
    int options = 0;
    std::string sections;

    // Tag 0: a unit at the bottom of the hex's stack.
    AiScenario& Unit(int x, int y, int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections
            += "0 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + UnitText(type, node, strength, status) + '\n';
        return *this;
    }
    // Tag 5: an objective cell.
    AiScenario& Objective(int x, int y, int value, int nation)
    {
        sections += "5 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(value) + ' '
            + std::to_string(nation) + '\n';
        return *this;
    }
    // Tag 6: a unit off the map at the given hex.
    AiScenario& OffMap(int x, int y, int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections
            += "6 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + UnitText(type, node, strength, status) + '\n';
        return *this;
    }
    // Tag 7: a group of one unit entering at the hex.
    AiScenario& Group(int x, int y, int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections += "7 " + std::to_string(x) + ' ' + std::to_string(y) + " 6 100 1 0 0\n    "
            + UnitText(type, node, strength, status) + '\n';
        return *this;
    }
    // Tags 15 and 16: an eliminated and an exited unit.
    AiScenario& Eliminated(int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections += "15 " + UnitText(type, node, strength, status) + '\n';
        return *this;
    }
    AiScenario& Exited(int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections += "16 " + UnitText(type, node, strength, status) + '\n';
        return *this;
    }

    static std::string UnitText(int type, int node, int strength, std::uint32_t status)
    {
        return std::to_string(type) + ' ' + std::to_string(node) + " 1 1 " + std::to_string(strength) + " 100 6 0 "
            + std::to_string(status) + " 3 3 3";
    }

    // The whole scenario text (version 7: plain file names), ending with the
    // trailer.
    std::string Text() const
    {
        std::string text = "7\nA/I test\n" + std::to_string(counter) + ' ' + std::to_string(side) + ' '
            + std::to_string(phase) + " 600\n0 0 0 0 18\n" + std::to_string(airPower[0]) + ' '
            + std::to_string(airPower[1]) + " 0 0 80 80\n0\n0 0 0 0 0\n50 50 0 " + std::to_string(options)
            + "\nai.map\nai.org\n";
        for (int side = 0; side < 2; ++side)
            text += " 3 3 3 3 3 3 3 3 3\n";
        return text + sections + "-1\n0 -1\n1\n";
    }
};

class AiGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name :
            { "platoon01.obx", "platoon09.obx", "platoon10.obx", "weapon.pdx", "movement.pdx", "main.pdx", "main.ai" })
            std::filesystem::copy_file(DemoDataFolder() / name, m_dir.Path(name));
        WriteMap(8, 6);
        m_dir.Write("ai.org", kOrganisation);
    }

    // A plain version-3 map of open ground at level 0, no features.
    void WriteMap(int width, int height) { m_dir.Write("ai.map", OpenGroundMapText(width, height)); }

    CGame& Game()
    {
        if (!m_game)
            m_game = std::make_unique<CGame>();
        return *m_game;
    }

    // Reads the scenario as the scenario path does: the battle-data part alone.
    void Load(const AiScenario& scenario)
    {
        std::istringstream in(scenario.Text());
        ASSERT_TRUE(Game().CGameData::ReadBattleFile(in, true)) << Game().m_battleReadError.c_str();
    }

    const OrgNode* Node(int id) { return std::as_const(Game().m_orgTree).FindNode(id); }

    // The game's whole saved text.
    std::string Saved()
    {
        std::ostringstream out;
        EXPECT_TRUE(Game().WriteBattleFile(out));
        return out.str();
    }

    static constexpr const char* kOrganisation = "1\n300\n7 44\n"
                                                 "B1020001 100 6 US battalion\n"
                                                 "    P10401 101 7 Battalion commander\n"
                                                 "    C1010001 110 7 Company A\n"
                                                 "        P10400 111 8 Captain A\n"
                                                 "        P10200 112 7 1st Platoon A\n"
                                                 "        P10200 113 7 2nd Platoon A\n"
                                                 "        End\n"
                                                 "    C1010002 120 7 Company B\n"
                                                 "        P10400 121 7 Captain B\n"
                                                 "        P10200 122 7 1st Platoon B\n"
                                                 "        P10000 123 7 Tank Platoon B\n"
                                                 "        P10700 124 7 Half-tracks B\n"
                                                 "        End\n"
                                                 "    End\n"
                                                 "B120001 200 6 German battalion\n"
                                                 "    C110001 210 7 5. Kompanie\n"
                                                 "        P1400 211 8 Hauptmann\n"
                                                 "        P1200 212 7 1. Zug\n"
                                                 "        P1200 213 7 2. Zug\n"
                                                 "        P1100 214 7 MG-Zug\n"
                                                 "        End\n"
                                                 "    End\n";

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<CGame> m_game;
};
