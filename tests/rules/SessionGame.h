#pragma once
// The session's test bed: the whole rules engine on the demo data's tables
// (tests/rules/MoveGame.h) with a small organisation, on a map made by hand,
// or read from a scenario text written here.
//
// The organisation (ids; side 0 United States, side 1 Germany):
//   100 US battalion: 110 Company A (111 captain, 112 and 113 rifles),
//                     120 Company B (122 rifle, 124 half-tracks)
//   200 German battalion: 210 5. Kompanie (212 and 213 grenadiers)

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>

#include "model/OrgTree.h"
#include "tests/rules/MoveGame.h"
#include "tests/TestFiles.h"

namespace session {

inline constexpr int kUsNation = 10;
inline constexpr int kGermanNation = 1;

inline constexpr const char* kOrganisation = "1\n300\n7 44\n"
                                             "B1020001 100 6 US battalion\n"
                                             "    C1010001 110 7 Company A\n"
                                             "        P10400 111 8 Captain A\n"
                                             "        P10200 112 7 1st Platoon A\n"
                                             "        P10200 113 7 2nd Platoon A\n"
                                             "        End\n"
                                             "    C1010002 120 7 Company B\n"
                                             "        P10200 122 7 1st Platoon B\n"
                                             "        P10700 124 7 Half-tracks B\n"
                                             "        End\n"
                                             "    End\n"
                                             "B120001 200 6 German battalion\n"
                                             "    C110001 210 7 5. Kompanie\n"
                                             "        P1200 212 7 1. Zug\n"
                                             "        P1200 213 7 2. Zug\n"
                                             "        End\n"
                                             "    End\n";

// A unit line of a battle file: type, node, facings N, strength, 100 action
// points, rating 7, value 0, status, counters 3.
inline std::string UnitLine(int type, int node, int strength, std::uint32_t status)
{
    return std::to_string(type) + ' ' + std::to_string(node) + " 1 1 " + std::to_string(strength) + " 100 7 0 "
        + std::to_string(status) + " 3 3 3";
}

// A scenario (version 7) on "s.map" and "s.org": clock, air strikes and
// options as set, the sections as added.
struct Scenario {
    int counter = 0;
    int side = 0;
    int phase = 0;
    int airPower[2] = { 0, 0 };
    int options = 0;
    int missionType = 0;
    std::string title = "Session test";
    std::string sections;

    Scenario& Unit(int x, int y, int type, int node, int strength = 4, std::uint32_t status = 0)
    {
        sections
            += "0 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + UnitLine(type, node, strength, status) + '\n';
        return *this;
    }
    // A group of one unit entering at the hex at the time, with its chance.
    Scenario& Group(int x, int y, int time, int chance, int type, int node)
    {
        sections += "7 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(time) + ' '
            + std::to_string(chance) + " 1 0 0\n    " + UnitLine(type, node, 4, 0) + '\n';
        return *this;
    }
    Scenario& Release(int time, int chance, int node)
    {
        sections += "12 " + std::to_string(time) + ' ' + std::to_string(chance) + ' ' + std::to_string(node) + '\n';
        return *this;
    }

    std::string Text() const
    {
        std::string text = "7\n" + title + '\n' + std::to_string(counter) + ' ' + std::to_string(side) + ' '
            + std::to_string(phase) + " 600\n0 0 0 0 18\n" + std::to_string(airPower[0]) + ' '
            + std::to_string(airPower[1]) + " 0 0 80 80\n0\n0 0 0 0 " + std::to_string(missionType) + "\n50 50 0 "
            + std::to_string(options) + "\ns.map\ns.org\n";
        for (int s = 0; s < 2; ++s)
            text += " 3 3 3 3 3 3 3 3 3\n";
        return text + sections + "-1\n0 -1\n1\n";
    }
};

} // namespace session

class SessionGameTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        m_dir.Write("s.org", session::kOrganisation);
        WriteMap(6, 5);
        MakeMap(6, 5);
        std::istringstream org(session::kOrganisation);
        ASSERT_TRUE(m_game.m_orgTree.Read(org));
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
    }

    // A plain version-3 map of open ground at level 0 as "s.map".
    void WriteMap(int width, int height) { m_dir.Write("s.map", OpenGroundMapText(width, height)); }

    const OrgNode* Node(int id) { return std::as_const(m_game.m_orgTree).FindNode(id); }

    // A unit of the node (none for 0) at the bottom of the hex's stack.
    PlacedUnit& AddOf(int x, int y, std::uint32_t type, int node, std::uint32_t status = 0)
    {
        PlacedUnit& unit = Add(x, y, type, status);
        unit.m_node = node == 0 ? nullptr : m_game.m_orgTree.FindNode(node);
        if (unit.m_node)
            unit.m_rating = unit.m_node->m_rating;
        return unit;
    }

    static std::vector<HexPos> Hexes(const HexList& list)
    {
        std::vector<HexPos> hexes;
        for (const HexPos& hex : list)
            hexes.push_back(hex);
        return hexes;
    }
};

inline void PrintTo(const HexPos& hex, std::ostream* out) { *out << '(' << hex.column << ", " << hex.row << ')'; }
