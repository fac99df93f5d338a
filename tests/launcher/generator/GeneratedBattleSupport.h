#pragma once
// Generated battles on the demo's campaign data, in a temporary copy of the
// built data folder, read back by the main program's game object.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "TempDir.h"
#include "TestFiles.h"
#include "ai/Game.h"
#include "launcher/generator/BattleGenerator.h"

struct GeneratedBattleSpec {
    std::int32_t nation = 10;
    std::int32_t enemyNation = 1;
    std::int32_t date = 430301;
    std::int32_t attacker = 0;
    std::int32_t commandLevel = 2;
    std::int16_t missionType = 3;
    std::int32_t aiLevel = 1;
    std::string letters = "GDNN";
    std::int32_t visibility = 20;
    int description = 1;
    std::string formationId;
    std::int32_t dayOffset = 0;
    std::int64_t seed = 1;
};

// A folder holding the built demo data (pictures left out).
class GeneratedBattleFolder {
public:
    GeneratedBattleFolder()
    {
        for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(DemoDataFolder()))
            if (entry.is_regular_file() && entry.path().extension() != ".bmp")
                std::filesystem::copy_file(entry.path(), folder.Path(entry.path().filename().string()));
    }

    // Generates the battle as the campaign's next battle would be, both
    // forces picked; the result of WriteScenario.
    bool Generate(
        const GeneratedBattleSpec& spec, const std::string& name = "Generated", const std::string& extension = ".scn")
    {
        LauncherRandom random;
        const std::int64_t seconds = spec.seed;
        random.SetTimeSource([seconds] { return seconds; });
        CampaignContext campaign(folder.Path(), random);
        campaign.g_campaign.m_nation = spec.nation;
        campaign.g_campaign.m_enemyNation = spec.enemyNation;
        campaign.g_campaign.m_generatorValue = spec.aiLevel;
        campaign.g_campaign.m_formationId = spec.formationId;
        campaign.g_campaign.m_dayOffset = spec.dayOffset;
        BattleGeneratorContext context(campaign);
        random.SeedRandom();
        context.map.ReadMapDescription(spec.description);
        BattleGenerator generator(context, spec.nation, spec.enemyNation, nullptr, nullptr, spec.date, spec.attacker,
            spec.commandLevel, spec.missionType, "");
        generator.ClearOptions();
        for (std::size_t i = 0; i < 4; ++i)
            context.conditionLetters[i] = spec.letters[i];
        context.visibilityRadius = spec.visibility;
        generator.ChooseForces();
        missionWritten = 0;
        const bool written = generator.WriteScenario(name, extension);
        missionWritten = generator.m_missionType;
        return written;
    }

    std::string Text(const std::string& name) const { return ReadFileText(folder.Path(name)); }

    TempDir folder;
    int missionWritten = 0;
};

// The battle file as the model writes it back.
inline std::string WrittenBack(const CGame& game)
{
    std::ostringstream out;
    EXPECT_TRUE(game.CGameData::WriteBattleFile(out));
    return out.str();
}

// Reads the battle into the game (its current folder must be the battle's);
// every unit found its node and type, or the read fails.
inline ::testing::AssertionResult ReadsBack(CGame& game, const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!game.CGameData::ReadBattleFile(in, false))
        return ::testing::AssertionFailure() << "read failed: " << game.m_battleReadError.str();
    int units = 0;
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            for (const PlacedUnit& unit : game.m_stacks.At(x, y)) {
                if (!unit.m_node || !unit.m_type)
                    return ::testing::AssertionFailure() << "unit without node at " << x << "," << y;
                ++units;
            }
    for (const OffMapUnit& offMap : game.m_offMapUnits)
        if (!offMap.unit.m_node)
            return ::testing::AssertionFailure() << "off-map unit without node";
    for (const ReinforcementGroup& group : game.m_reinforcements)
        for (const PlacedUnit& unit : group.m_units)
            if (!unit.m_node)
                return ::testing::AssertionFailure() << "group member without node";
    return ::testing::AssertionSuccess() << units << " units";
}
