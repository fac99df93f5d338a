#pragma once
// The computer move step's test bed: the shared computer-opponent fixture
// with maps of chosen terrain, a fresh game per scenario, and short ways to
// walk a group and find a unit.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/ai/AiGame.h"

class AiMoveTest : public AiGameTest {
protected:
    // A map of the given terrain rows (one character per column: ' ' open,
    // 'w' water, 'f' forest, 'h' shallow water), all at level 0.
    void WriteTerrain(const std::vector<std::string>& rows)
    {
        const int width = static_cast<int>(rows.front().size());
        const int height = static_cast<int>(rows.size());
        std::string text = "3\n" + std::to_string(width) + ' ' + std::to_string(height) + "\n0 25 0 0 0 -1\n";
        for (const std::string& row : rows)
            text += row + '\n';
        for (int y = 0; y < height; ++y)
            text += std::string(static_cast<std::size_t>(width), '0') + '\n';
        for (int layer = 0; layer < 19; ++layer)
            text += "0\n";
        text += "0\n";
        m_dir.Write("ai.map", text);
    }

    // Loads the scenario into a fresh game and readies the computer's view
    // of it.
    CGame& Start(const AiScenario& scenario)
    {
        m_game.reset();
        Load(scenario);
        CGame& game = Game();
        game.RebuildEnemyDistanceGrid();
        game.BuildObjectiveList(0);
        game.BuildObjectiveList(1);
        game.ResetSweep();
        return game;
    }

    std::vector<HexPos> Hexes(const HexList& list)
    {
        std::vector<HexPos> hexes;
        for (const HexPos& hex : list)
            hexes.push_back(hex);
        return hexes;
    }
    std::vector<int> Types(int x, int y)
    {
        std::vector<int> ids;
        for (const PlacedUnit& unit : Game().m_stacks.At(x, y))
            ids.push_back(static_cast<int>(unit.m_type->m_id));
        return ids;
    }
    // Moves the listed units of (x, y) toward the destination; the hexes
    // the walk appended.
    bool Walk(int x, int y, std::vector<int> units, HexPos destination, int threshold, bool forced,
        std::vector<HexPos>* walked = nullptr)
    {
        CGame& game = Game();
        game.m_movedUnits = std::move(units);
        HexList hexes;
        const bool moved = game.MoveGroupToward(x, y, destination, threshold, forced, hexes);
        if (walked)
            *walked = Hexes(hexes);
        return moved;
    }
    static std::vector<int> Scores(const CGame& game)
    {
        std::vector<int> scores;
        for (int score : game.m_objectiveScores)
            scores.push_back(score);
        return scores;
    }
    // The hex holding a unit of the type; (-1, -1) when none does.
    HexPos Where(int type)
    {
        CGame& game = Game();
        for (int x = 0; x < game.m_map.GetWidth(); ++x)
            for (int y = 0; y < game.m_map.GetHeight(); ++y)
                for (const PlacedUnit& unit : game.m_stacks.At(x, y))
                    if (static_cast<int>(unit.m_type->m_id) == type)
                        return { x, y };
        return { -1, -1 };
    }
};

inline void PrintTo(const HexPos& hex, std::ostream* out) { *out << '(' << hex.column << ", " << hex.row << ')'; }
