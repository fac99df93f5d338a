#pragma once
// Force trees built by the tests and a battle generator on a temporary
// working folder with a scripted random source.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "MapRoundTrip.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/generator/BattleGenerator.h"

// A subunit appended below the parent: size and strength give its part of
// the parent's cost.
inline UnitRecord* AddUnit(
    UnitRecord& parent, std::string id, std::int32_t size = 0, std::int32_t strength = 0, std::string name = {})
{
    auto unit = MakeUnit(std::move(id));
    unit->m_size = size;
    unit->m_strength = strength;
    unit->m_name = std::move(name);
    return AttachChildUnit(std::move(unit), parent);
}

// A formation with `platoons` platoons of the id, each size x strength.
inline UnitRecord* AddFormation(UnitRecord& parent, std::string id, int platoons, std::string platoonId,
    std::int32_t size = 4, std::int32_t strength = 5)
{
    UnitRecord* formation = AddUnit(parent, std::move(id), 0, 5, "Formation");
    for (int i = 0; i < platoons; ++i)
        AddUnit(*formation, platoonId, size, strength, "Platoon");
    return formation;
}

// "campaign.pdt" whose point budgets (section 7) are the given lines.
inline std::string ParameterFileWithBudgets(std::string_view budgetLines)
{
    std::string text;
    for (int section = 0; section < 7; ++section)
        text += "0 0\n-1 end of section " + std::to_string(section) + "\n";
    return text + std::string(budgetLines) + "-1 end of budgets\n";
}

class GeneratorFolder {
public:
    GeneratorFolder()
        : context(test.context)
    {
        test.random.SeedWith(12345);
    }

    // A generator for nation 10 (side 0) against nation 1 (side 1).
    std::unique_ptr<BattleGenerator> Make(UnitRecord* force, UnitRecord* enemyForce, std::int32_t attacker = 0,
        std::int16_t missionType = kMeetingEngagement, std::int32_t commandLevel = 1)
    {
        return std::make_unique<BattleGenerator>(
            context, 10, 1, force, enemyForce, 430301, attacker, commandLevel, missionType, "");
    }

    std::string Log() const { return ReadWholeFile(test.folder.Path("campaign.log")); }

    // Scripts the draws, then a marker value: the draw after them shows
    // whether exactly these were taken.
    void Script(const std::vector<int>& values)
    {
        std::vector<int> all = values;
        all.push_back(kMarker);
        test.random.ScriptValues(all);
    }
    bool TookExactlyTheScript() { return test.random.NextValue() == kMarker; }

    static constexpr int kMarker = 4321;
    CampaignTestFolder test;
    BattleGeneratorContext context;
};

// The draw that makes RollRandom(100) give k.
inline int Draw100(int k) { return ValueForRoll(k, 100); }
