#pragma once
// The battle generator: the circumstances of one battle (the two nations, the
// date, the attacker, the command level, the mission type) turned into the
// two forces that fight it. Each side's needs come per role (a unit's type
// digit, 0..9) from the forces tables, scaled by the command level's point
// budget; passes over the force trees then choose formations at random until
// the needs are spent. Chosen units carry m_role 1 in their trees. Every
// choice is logged to "campaign.log" in the working folder.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/CampaignRecord.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "launcher/generator/RandomMap.h"
#include "launcher/generator/WeaponReach.h"
#include "launcher/shell/MissionTypes.h"

// The generator's plain-text log. Each write reaches the file at once, so an
// interrupted run leaves what it logged. Without an open file nothing is
// written.
class GenerationLog {
public:
    // Creates (or empties) the file; false, with no log, when it cannot be.
    bool Open(const std::filesystem::path& path);
    void Close() { m_file.reset(); }
    bool IsOpen() const { return m_file != nullptr; }
    void Write(std::string_view text);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> m_file;
};

// What the generator keeps between battles, outside any one generator: the
// launcher owns one for its whole run, each test builds its own. The campaign
// state (its record, the unit counter, the working folder, the random source
// and the sink of message boxes) is the caller's. The deployment's lasting
// values belong here too.
struct BattleGeneratorContext {
    explicit BattleGeneratorContext(CampaignContext& campaignContext)
        : campaign(&campaignContext)
        , map(*campaignContext.random)
    {
        map.SetDataFolder(campaignContext.folder);
    }
    BattleGeneratorContext(const BattleGeneratorContext&) = delete;
    BattleGeneratorContext& operator=(const BattleGeneratorContext&) = delete;

    CampaignContext* campaign; // observer
    // The type digit of the formations offered: 0 or 2.
    std::int32_t preferredFormationType = 0;
    // The choice-group rolls of levels 1..5 the order-of-battle loader uses.
    LevelNumberBase levelRolls;
    GenerationLog log;
    // The four terrain-conditions letters and the visibility radius of the
    // battle, set by the weather rolls.
    std::array<char, 4> conditionLetters {};
    std::int32_t visibilityRadius = 0;
    // The launcher's random map generator: its parameters (a map
    // description line loaded before the battle) make the battle's map.
    RandomMap map;
    // The slot the next reinforcement group member is written with, 0..5.
    std::int32_t memberSlot = 1;
    // The weapon reach list, read from the working folder on first use.
    const WeaponReachList& WeaponReaches()
    {
        if (!weaponReaches.IsRead())
            weaponReaches.Read(campaign->folder);
        return weaponReaches;
    }
    WeaponReachList weaponReaches;
};

// One generated battle's objective (the deployment places them).
struct ObjectivePoint {
    ObjectivePoint() = default;
    ~ObjectivePoint();
    ObjectivePoint(const ObjectivePoint&) = delete;
    ObjectivePoint& operator=(const ObjectivePoint&) = delete;

    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_code = 0;
    std::int32_t m_value = 0;
    std::int32_t m_owner = 0;
    std::unique_ptr<ObjectivePoint> m_next;
};

// The points a side still needs, one a role.
using RoleNeeds = std::array<std::int32_t, 10>;

// A node the passes may choose: none of its subunits has subunits (a node
// without subunits qualifies), and it is a formation or a platoon under a
// regiment whose type digit is 0 or 4.
bool IsEligibleForce(const UnitRecord& node);
// A platoon whose id has '3' at its level position: taken only beside a
// chosen sibling, never by a pass itself.
bool IsClassThreePlatoon(const UnitRecord& node);
// The sum of size x strength over the node's direct subunits (0 for a
// platoon), held to the int range.
std::int32_t ForceCost(const UnitRecord& node);
// The role whose need a node serves: its type digit, a platoon's that of its
// nearest formation; -1 when that is no digit.
int ForceRole(const UnitRecord& node);
// Marks the node chosen (m_role 1); when its parent's type digit is not 1,
// the parent's first two subunits go with it where they are class-3
// platoons.
void ChooseForce(UnitRecord& node);

// The first node, in preorder, whose id contains the text; null for an empty
// text or no match.
UnitRecord* FindOrgNodeByName(UnitRecord* root, std::string_view idText);
// Marks the force under the node of that id chosen: every eligible node with
// its cost, every other platoon but a class-3 one with size x strength, never
// below a node whose m_role is 1 or 2. The summed cost; 0 when no node
// matches.
std::int32_t SelectForceUnder(UnitRecord* root, std::string_view idText);
// The name of the node of that id into text; the number of bytes copied, 0
// when no node matches.
std::size_t GetOrgNodeText(std::string& text, UnitRecord* root, std::string_view idText);

class BattleGenerator {
public:
    static constexpr std::string_view kLogFileName = "campaign.log";
    static constexpr std::string_view kNoUnitsText = "No Units on File";
    // The lists tried again while no formation of the preferred type exists.
    static constexpr int kPickRetries = 10;

    // Keeps the battle's circumstances and starts the log in the working
    // folder. The first force is the campaign's; null forces are picked from
    // the nations' corps. Neither given tree is owned.
    BattleGenerator(BattleGeneratorContext& context, std::int32_t nation, std::int32_t enemyNation, UnitRecord* force,
        UnitRecord* enemyForce, std::int32_t date, std::int32_t attacker, std::int32_t commandLevel,
        std::int16_t missionType, std::string_view regionPrefix);
    // Closes the log.
    ~BattleGenerator();
    BattleGenerator(const BattleGenerator&) = delete;
    BattleGenerator& operator=(const BattleGenerator&) = delete;

    // Clears the terrain-conditions letters and the visibility radius.
    void ClearOptions();
    // Rolls the preferred formation type and the level rolls, picks the
    // missing forces, reads both sides' needs and chooses each side's units.
    void ChooseForces();
    // A corps of the nation of the preferred type valid at the date, loaded
    // whole; null, reported, when the nation has none (the side then gets no
    // force).
    std::unique_ptr<UnitRecord> PickFormation(std::int32_t nation);
    // Chooses the units of one side from its needs, scaled by the command
    // level's budget; nothing without a root.
    void SelectForSide(RoleNeeds& needs, std::int32_t commandLevel, UnitRecord* root, int side);

    // The passes over a tree, each in preorder (a node, its first subunit's
    // subtree, then its next sibling's).
    // Draw below p and cost within the role's need.
    void GeneralPass(UnitRecord* node, RoleNeeds& needs, int p);
    // Nodes of one role, whatever their cost; stops once that need is 0.
    void RolePass(UnitRecord* node, RoleNeeds& needs, int p, int role);
    // Formations drawn below twice their role's need and within the
    // remainder; a choice that spends the remainder ends the sibling run.
    void BorrowPass(UnitRecord* node, RoleNeeds& needs, std::int32_t& remainder);

    std::int32_t m_nation = 0;
    std::int32_t m_enemyNation = 0;
    UnitRecord* m_force = nullptr; // observer
    UnitRecord* m_enemyForce = nullptr; // observer
    std::int32_t m_date = 0;
    std::int32_t m_attacker = 0;
    std::int32_t m_commandLevel = 0;
    std::array<std::int32_t, 2> m_advantage {};
    std::array<std::int32_t, 2> m_sideValue {};
    std::int32_t m_nextUnitNumber = 0;
    std::string m_regionPrefix;
    std::unique_ptr<UnitRecord> m_boats;
    std::array<std::int32_t, 2> m_airStrikes {};
    std::array<std::int32_t, 2> m_ammunition {};
    std::int16_t m_missionType = 0;
    std::unique_ptr<ObjectivePoint> m_objectives;

    // Writing the battle --------------------------------------------------

    static constexpr std::string_view kMapExtension = ".MAP";
    static constexpr std::string_view kOrganisationExtension = ".ORG";

    // Writes the battle's three files in the working folder: the map (base
    // name + ".MAP"), the battle (base name + extension, e.g. ".CPN") and
    // the organisation (base name + ".ORG"), deploying the chosen forces on
    // the generated map. False when any of them was not written whole (no
    // partial file is left; a failed map stops before the battle).
    bool WriteScenario(std::string_view baseName, std::string_view extension);
    // The organisation file of both forces and the boats; false when it was
    // not written whole.
    bool WriteOrganisation(const std::filesystem::path& path);
    std::string OrganisationText() const;

    // The steps, open to the tests.
    // Map size of the command level into the map generator, then the
    // victory objectives and the exit objective.
    void SizeMap();
    // The battle file's header lines (its length L kept for the groups).
    void WriteHeader(std::string& text);
    void ComputeSideValues();
    // Boats for the attacker's river crossing, one a platoon after a chosen
    // formation; null without boats.
    std::unique_ptr<UnitRecord> MakeBoats(std::int32_t nation, UnitRecord* attackerForce);
    // No boats but for a river crossing, where the attacker gets them; the
    // boat lines count from the running unit number.
    void PrepareBoats();
    void WriteObjectives(std::string& text) const;
    void WriteUnits(std::string& text, const UnitRecord* root);
    void WriteSupport(std::string& text, std::int32_t nation);
    void AddValueObjectives(std::int32_t count, std::int32_t offset);
    void PlaceVictoryObjectives(std::int32_t count, std::int32_t total);
    void AddExitObjective();
    // The defender's and the attacker's nations.
    std::int32_t DefenderNation() const;
    std::int32_t AttackerNation() const;
    // The scenario length in minutes, the last arrival time of a group.
    std::int32_t ScenarioLength() const { return m_scenarioLength; }

private:
    std::int32_t Roll(int n);
    void Log(std::string_view text) { m_context.log.Write(text); }
    void LogNeeds(const RoleNeeds& needs);
    void LogConsidered(const UnitRecord& node, std::string_view what, std::int32_t cost);
    void LogSelected(
        const UnitRecord& node, std::string_view what, std::int32_t cost, int role, const RoleNeeds& needs);
    void TakeOffOwnForce(UnitRecord* node, RoleNeeds& needs);

    void AddObjective(std::int32_t code, std::int32_t value, std::int32_t owner);
    void WriteUnitLine(std::string& text, const UnitRecord& unit);
    void WriteGroup(std::string& text, const UnitRecord& group);

    BattleGeneratorContext& m_context;
    std::int32_t m_scenarioLength = 0;
    std::int32_t m_boatLinesLeft = 0;
    std::vector<ObjectiveValueClass> m_valueClasses;
    // The forces picked for null roots.
    std::unique_ptr<UnitRecord> m_pickedForce;
    std::unique_ptr<UnitRecord> m_pickedEnemyForce;
};
