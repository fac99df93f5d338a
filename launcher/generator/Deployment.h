#pragma once
// The deployment of a generated battle: every chosen unit gets a hex, a
// deployment direction and a facing on the generated map, or becomes a
// reinforcement group entering later from its side's edge; then the
// battle's objectives are put where they belong. Side 1 deploys along the
// bottom of the map facing north (direction 1), side 0 along the top facing
// south (direction 8). Every draw comes from the map's random source, in a
// fixed order.

#include <cstdint>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignRecord.h"
#include "launcher/generator/RandomMap.h"
#include "launcher/generator/WeaponReach.h"

struct ObjectivePoint;

// The type flags of a platoon's line (m_oobValues: move, carry, target).
// A carrier takes others aboard; a passenger rides (never a carrier); a
// towable is towed (neither of the others).
bool IsCarrierUnit(const UnitRecord& unit);
bool IsPassengerUnit(const UnitRecord& unit);
bool IsTowableUnit(const UnitRecord& unit);
// Its id starts with 'P'.
bool IsPlatoonUnit(const UnitRecord& unit);
// The platoon type number of a unit's id; 0 when it has none.
std::uint32_t TypeNumberOf(const UnitRecord& unit);

// The percentage chance that a chosen force of a side enters as
// reinforcements, by mission type and whether the side attacks.
int ReinforcementChance(int missionType, bool attacks);
// The side an objective belongs to: a victory objective's by the nation of
// its holder, a value-class objective's as it is stored.
int ObjectiveSide(const ObjectivePoint& point);

// A set-up zone: columns x0..x1 and rows y0..y1 as the rules give them.
struct DeploymentZone {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    friend bool operator==(const DeploymentZone&, const DeploymentZone&) = default;
};

struct HexPosition {
    int x = 0;
    int y = 0;

    friend bool operator==(const HexPosition&, const HexPosition&) = default;
};

class ForceDeployment {
public:
    // The map's grid must stay allocated while the deployment lives. Neither
    // force tree (either may be null) nor the reach list is owned.
    ForceDeployment(RandomMap& map, const WeaponReachList& reaches, UnitRecord* force0, UnitRecord* force1,
        int missionType, int attacker);
    ForceDeployment(const ForceDeployment&) = delete;
    ForceDeployment& operator=(const ForceDeployment&) = delete;

    // Deploys side 1, then side 0, and places the objectives of the list.
    void Deploy(ObjectivePoint* objectives);

    // The steps, open to the tests. The grids exist only during Deploy or
    // after AllocateGrids.
    void AllocateGrids();
    void ReleaseGrids();
    // The side currently deployed (its units' owner test of the cursor).
    void BeginSide(int side, ObjectivePoint* objectives);
    void DeployTree(UnitRecord* node, DeploymentZone zone, int direction, int k);
    void PlaceForce(UnitRecord& node, DeploymentZone zone, int direction, int k);
    void PlacePlatoon(UnitRecord& node, HexPosition p, DeploymentZone zone, int direction);
    void MakeReinforcement(UnitRecord& node, int direction);
    HexPosition ChooseEntryHex(int direction);
    void PlaceSideObjectives(int side, DeploymentZone inner, int direction, ObjectivePoint* objectives);
    HexPosition SlideOffWater(HexPosition hex, int direction) const;
    // A random hex of the zone, clipped to the zone and the map.
    HexPosition RandomHexIn(const DeploymentZone& zone);
    DeploymentZone NarrowZone(const DeploymentZone& zone, HexPosition p, char letter, int k, int direction) const;
    static DeploymentZone SplitZone(const DeploymentZone& zone, int direction, int k);
    // The node itself when null or chosen; else the cover node of its only
    // subunit holding chosen units, the node when several do, null when none.
    static UnitRecord* CoverNode(UnitRecord* node);

    DeploymentZone Zone(int side) const { return side == 0 ? m_zone0 : m_zone1; }
    DeploymentZone InnerZone(int side) const;
    int OffMapCount() const { return m_offMapCount; }
    int GroupCount() const { return m_groupCount; }
    int StackCount(int x, int y) const { return m_stackCount[Index(x, y)]; }
    int WaitingPassengers(int x, int y) const { return m_waitingPassengers[Index(x, y)]; }
    int WaitingTowables(int x, int y) const { return m_waitingTowables[Index(x, y)]; }
    std::uint32_t UsedFacings(int x, int y) const { return m_facings[Index(x, y)]; }
    bool IsObjectiveBlocked(int x, int y) const { return m_objectiveBlocked[Index(x, y)] != 0; }
    bool IsWater(int x, int y) const;

    static constexpr int kSide1Direction = 1;
    static constexpr int kSide0Direction = 8;
    static int SideDirection(int side) { return side == 0 ? kSide0Direction : kSide1Direction; }

private:
    std::int32_t Roll(int n);
    bool OnMap(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(x + m_width * y); }
    bool HasRoadSide(int x, int y) const;
    // A uniform pick among the candidates in order: the k-th replaces the
    // choice when its draw is at most 100 / k.
    template <typename Accept> bool PickUniformly(const DeploymentZone& zone, Accept accept, HexPosition& chosen);
    void MoveCompanions(UnitRecord& node, HexPosition hex, int direction);
    void TakeObjectiveAt(HexPosition hex);

    RandomMap& m_map;
    const WeaponReachList& m_reaches;
    int m_width = 0;
    int m_height = 0;

    UnitRecord* m_force1 = nullptr; // observer
    UnitRecord* m_force0 = nullptr; // observer
    DeploymentZone m_zone1;
    DeploymentZone m_zone0;
    int m_missionType = 0;
    int m_offMapCount = 0;
    int m_attacker = 0;
    int m_groupCount = 0;
    int m_side = 0;
    std::vector<std::uint32_t> m_facings;
    std::vector<std::int32_t> m_waitingPassengers;
    std::vector<std::int32_t> m_waitingTowables;
    std::vector<std::int32_t> m_stackCount;
    std::vector<std::int32_t> m_objectiveBlocked;
    ObjectivePoint* m_objectiveCursor = nullptr; // observer
};
