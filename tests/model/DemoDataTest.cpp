// The demo data set as the build stores it in <build>/data, read through the
// game's own readers, so that the data can never drift from the code.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <utility>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/DataFile.h"
#include "model/GameHexMarks.h"
#include "model/GameWeapons.h"
#include "model/Geometry.h"
#include "model/HexGrid.h"
#include "model/HexMap.h"
#include "model/OrgTree.h"
#include "model/ParameterData.h"
#include "model/PlatoonType.h"
#include "model/Scramble.h"
#include "tests/ReloadableLayer.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUnitedStates = 10;
constexpr int kGermany = 1;
// The turn length the launcher's battles are written for: time limits,
// arrivals and releases fall on whole turns.
constexpr int kTurnMinutes = 6;

bool IsIndirect(const PlatoonType& type) { return (type.m_targetFlags & 0x8) != 0; }

// A category-3 type without indirect fire: it supplies and does not fire.
bool IsHeadquarters(const PlatoonType& type) { return type.IsArtillery() && !IsIndirect(type); }

// Leaders, headquarters, unarmoured transport and boats carry no weapon
// record; every other type fires.
bool IsUnarmed(const PlatoonType& type)
{
    return type.IsLeader() || IsHeadquarters(type)
        || (type.CanCarryPassengers() && (type.m_targetFlags & kTargetHard) == 0);
}

// year * 12 + month: a date window is compared as one number.
int MonthOf(int year, int month) { return year * 12 + month; }

// Every side of a feature is set in both hexes that share it.
void ExpectFeaturesSymmetric(const HexMap& map)
{
    constexpr std::uint32_t kSides[] = { 1, 2, 4, 8, 16, 32 };
    for (int x = 0; x < map.GetWidth(); ++x) {
        for (int y = 0; y < map.GetHeight(); ++y) {
            for (std::uint32_t bits : kSides) {
                const HexSide side(bits);
                HexPos other;
                if (!map.GetNeighbour(side, x, y, other))
                    continue;
                for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
                    EXPECT_EQ(map.GetFeatureLayer(x, y, layer).Contains(side),
                        map.GetFeatureLayer(other.column, other.row, layer).Contains(side.Opposite()))
                        << FeatureLayerName(layer) << " at " << x << "," << y << " side " << bits;
                }
            }
        }
    }
}

// How many hexsides of a layer the map holds (each counted once per hex that records it).
int CountSides(const HexMap& map, int layer)
{
    int count = 0;
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            count += std::popcount(map.GetFeatureLayer(x, y, layer).Value());
    return count;
}

// Sides where a layer lies together with another one.
int CountSidesWith(const HexMap& map, int layer, int other)
{
    int count = 0;
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            count += std::popcount(map.GetFeatureLayer(x, y, layer).Value() & map.GetFeatureLayer(x, y, other).Value());
    return count;
}

std::map<int, int> TerrainCounts(const HexMap& map)
{
    std::map<int, int> counts;
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            ++counts[map.GetTerrain(x, y)];
    return counts;
}

class DemoDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(m_folder)) << "the build makes the demo data folder " << m_folder;
        int opened = 0;
        const String error
            = m_types.LoadAll(m_folder, PlatoonTypeList::kDefaultFileName, PlatoonTypeList::kFilePattern, &opened);
        ASSERT_TRUE(error.IsEmpty()) << error.c_str();
        ASSERT_EQ(opened, 3) << "platoon files of Germany, Great Britain and the United States (target demo_data)";
    }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }

    const fs::path m_folder = DemoDataFolder();
    PlatoonTypeList m_types;
};

TEST_F(DemoDataTest, PlatoonTypesAreWhole)
{
    std::set<std::uint32_t> ids;
    std::set<std::string> names;
    std::set<std::pair<int, int>> icons;
    const int summer1944 = MonthOf(44, 7);
    for (const PlatoonType* type : m_types) {
        SCOPED_TRACE(type->m_name.str());
        EXPECT_TRUE(ids.insert(type->m_id).second) << "id " << type->m_id << " twice";
        EXPECT_TRUE(names.insert(type->m_name.str() + "/" + std::to_string(type->GetNation())).second);
        // Every line was read up to its name: three distinct name parts prove
        // that every field before them parsed.
        EXPECT_FALSE(type->m_name.IsEmpty());
        EXPECT_NE(type->m_shortName, type->m_name);
        EXPECT_NE(type->m_thirdName, type->m_shortName);
        EXPECT_FALSE(type->m_pictureName.IsEmpty());
        EXPECT_GT(type->m_fullStrength, 0);
        EXPECT_GT(type->m_unitValue, 0);
        EXPECT_GE(type->DefenceFactor(), 1) << "every target has a defence";
        EXPECT_LE(MonthOf(type->m_firstYear, type->m_firstMonth), summer1944);
        EXPECT_GE(MonthOf(type->m_lastYear, type->m_lastMonth), summer1944);
        EXPECT_TRUE(type->GetNation() == kUnitedStates || type->GetNation() == kGermany || type->GetNation() == 9);
        // Only types that move have a movement profile, and every mover has one.
        EXPECT_EQ(type->m_movementAllowance > 0, CGameMovementCosts::GetRowIndex(type, 0) >= 0);
        // The map draws a symbol of the art's 14 and a picture icon of the
        // nation's own, one per type.
        EXPECT_GE(type->SymbolIndex(), 0);
        EXPECT_LT(type->SymbolIndex(), 14);
        EXPECT_TRUE(icons.insert({ type->GetNation(), type->IconIndex() }).second) << "icon used twice";
        EXPECT_GE(type->IconIndex(), 0);
        EXPECT_LT(type->IconIndex(), 36);
        if (type->m_targetFlags & kTargetHard) {
            EXPECT_GE(type->FrontDefence(), type->FlankDefence()) << "front armour at least the flank's";
            EXPECT_GE(type->FlankDefence(), type->RearDefence()) << "flank armour at least the rear's";
        }
    }
}

TEST_F(DemoDataTest, EachMainNationHasEveryKindOfPlatoon)
{
    CGameWeapons weapons;
    {
        ScopedCurrentDir inData(m_folder);
        weapons.LoadWeapons();
    }
    for (PlatoonType* type : m_types)
        type->m_weapon = weapons.FindWeapon(static_cast<std::int32_t>(type->m_id));

    using Test = bool (*)(const PlatoonType&);
    struct Kind {
        const char* name;
        int atLeast;
        Test test;
    };
    const Kind kinds[] = {
        { "leader types (battalion and company)", 2, [](const PlatoonType& t) { return t.IsLeader(); } },
        { "a battalion headquarters that moves", 1,
            [](const PlatoonType& t) { return IsHeadquarters(t) && t.m_movementAllowance > 0; } },
        { "rifle infantry", 1,
            [](const PlatoonType& t) {
                return t.GetCategory() == 2 && t.IsFootMovement() && (t.m_extraFlags & 0x3) == 0x1
                    && (t.m_carryFlags & 0x82) == 0x82;
            } },
        { "engineers", 1,
            [](const PlatoonType& t) { return t.IsFootMovement() && (t.m_extraFlags & kExtraMineSurcharge) != 0; } },
        { "machine guns", 1,
            [](const PlatoonType& t) {
                return t.IsFootMovement() && !IsIndirect(t) && CGameWeapons::GetMaxRangeVsSoft(&t) >= 6;
            } },
        { "mortars", 1,
            [](const PlatoonType& t) {
                return t.IsFootMovement() && IsIndirect(t) && CGameWeapons::GetSmokeRange(&t) >= 1;
            } },
        { "a towed anti-tank gun", 1,
            [](const PlatoonType& t) {
                return t.m_movementAllowance == 0 && (t.m_carryFlags & 0x4) != 0
                    && CGameWeapons::GetFireValueVsHard(&t, 1) >= 10;
            } },
        { "tanks and tank destroyers or assault guns", 2,
            [](const PlatoonType& t) {
                return (t.m_targetFlags & kTargetHard) && (t.m_moveFlags & 0x8)
                    && CGameWeapons::GetMaxRangeVsHard(&t) >= 8;
            } },
        { "a half-track or truck carrier", 1,
            [](const PlatoonType& t) { return t.IsVehicle() && (t.m_carryFlags & kCarryPassengers) != 0; } },
        { "a jeep or scout car", 1,
            [](const PlatoonType& t) { return (t.m_moveFlags & 0x1) != 0 && t.m_movementAllowance >= 50; } },
        { "off-map artillery", 1,
            [](const PlatoonType& t) {
                return t.IsArtillery() && t.m_movementAllowance == 0 && IsIndirect(t)
                    && CGameWeapons::GetMaxRangeVsSoft(&t) >= 40;
            } },
        { "a boat", 1,
            [](const PlatoonType& t) {
                return (t.m_carryFlags & kCarryBoats) != 0 && (t.m_moveFlags & kMoveQuickLoad) != 0;
            } },
        { "an aircraft for air strikes", 1,
            [](const PlatoonType& t) {
                return t.IsCategoryFive() && CGameWeapons::GetFirstValueVsHard(&t) > 0
                    && CGameWeapons::GetFirstValueVsSoft(&t) > 0;
            } },
    };
    for (const int nation : { kUnitedStates, kGermany }) {
        for (const Kind& kind : kinds) {
            int count = 0;
            for (const PlatoonType* type : m_types)
                if (type->GetNation() == nation && kind.test(*type))
                    ++count;
            EXPECT_GE(count, kind.atLeast) << kind.name << " of nation " << nation;
        }
    }
    for (const PlatoonType* type : m_types)
        EXPECT_EQ(type->GetSide(), type->GetNation() == kGermany ? 1 : 0) << type->m_name.c_str();
}

TEST_F(DemoDataTest, EveryTypeThatFiresFindsItsWeaponRecord)
{
    CGameWeapons weapons;
    {
        ScopedCurrentDir inData(m_folder);
        weapons.LoadWeapons();
    }
    ASSERT_GT(weapons.m_weapons.Count(), 0u);
    std::set<std::int32_t> typeIds;
    for (PlatoonType* type : m_types) {
        SCOPED_TRACE(type->m_name.str());
        typeIds.insert(static_cast<std::int32_t>(type->m_id));
        type->m_weapon = weapons.FindWeapon(static_cast<std::int32_t>(type->m_id));
        if (IsUnarmed(*type)) {
            EXPECT_EQ(type->m_weapon, nullptr);
            continue;
        }
        ASSERT_NE(type->m_weapon, nullptr);
        EXPECT_GT(CGameWeapons::GetNominalFirepower(type), 0);
        EXPECT_GT(CGameWeapons::GetMaxRangeVsSoft(type), 0);
        if (IsIndirect(*type)) {
            // No high explosive into the next hex; smoke there, and (flag
            // 0x10) out to the whole range.
            EXPECT_GE(CGameWeapons::GetMinRangeVsSoft(type), 2);
            EXPECT_GE(CGameWeapons::GetSmokeRange(type), 1);
            EXPECT_NE(type->m_targetFlags & 0x10, 0u);
        } else {
            EXPECT_EQ(CGameWeapons::GetSmokeRange(type), 0);
            EXPECT_EQ(CGameWeapons::GetMinRangeVsSoft(type), 1);
        }
    }
    std::set<std::int32_t> weaponIds;
    for (const WeaponRecord& record : weapons.m_weapons) {
        EXPECT_TRUE(weaponIds.insert(record.m_weaponId).second) << "record " << record.m_weaponId << " twice";
        EXPECT_TRUE(typeIds.count(record.m_weaponId)) << "record " << record.m_weaponId << " has no platoon type";
        // Fire never grows with range.
        for (int range = 2; range <= WeaponRecord::kMaxRange; ++range) {
            if (record.GetSoftValue(range) > 0 && record.GetSoftValue(range - 1) > 0) {
                EXPECT_LE(record.GetSoftValue(range), record.GetSoftValue(range - 1)) << record.m_weaponId;
            }
            if (record.GetHardValue(range) > 0 && record.GetHardValue(range - 1) > 0) {
                EXPECT_LE(record.GetHardValue(range), record.GetHardValue(range - 1)) << record.m_weaponId;
            }
        }
    }
}

// Each data line of a stored movement file, descrambled: its numbers before the note.
std::vector<int> NumbersPerRow(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<int> counts;
    std::string line;
    while (ReadScrambledLine(in, line)) {
        std::istringstream numbers(line);
        int count = 0;
        for (int value = 0; numbers >> value;)
            ++count;
        if (line.find_first_not_of(" \t") != std::string::npos)
            counts.push_back(count);
    }
    return counts;
}

TEST_F(DemoDataTest, MovementFilesHoldEveryRowAndTheMapThemeChoosesItsOwn)
{
    for (const char* name : { "movement.pdx", "NWE-movement.pdx" }) {
        const std::vector<int> rows = NumbersPerRow(m_folder / name);
        EXPECT_EQ(rows, std::vector<int>(48, MovementCostRecord::kEntryCount)) << name;
    }

    ScopedCurrentDir inData(m_folder);
    ReloadableLayer<CGameWeapons> layer;
    EXPECT_EQ(layer.LocateMovementFile().str(), "movement.pdx");
    const auto plain = layer.m_movementCosts;
    auto sameRows = [&plain](const CGameMovementCosts& other) {
        for (std::size_t array = 0; array < plain.size(); ++array)
            for (std::size_t row = 0; row < plain[array].size(); ++row)
                if (plain[array][row].m_entries != other.m_movementCosts[array][row].m_entries)
                    return false;
        return true;
    };
    for (const auto& array : plain)
        for (const MovementCostRecord& row : array)
            EXPECT_TRUE(std::any_of(row.m_entries.begin(), row.m_entries.end(), [](int v) { return v != 0; }));

    // Every type that moves can cross open ground and go along a road in all
    // four ground states; a boat goes on water.
    for (PlatoonType* type : m_types) {
        if (type->m_movementAllowance == 0)
            continue;
        layer.BindMovementRows(*type);
        for (int array = 0; array < CGameMovementCosts::kMovementArrayCount; ++array) {
            SCOPED_TRACE(type->m_name.str() + ", ground state " + std::to_string(array));
            ASSERT_NE(CGameMovementCosts::GetRow(type, array), nullptr);
            if (type->m_carryFlags & kCarryBoats) {
                EXPECT_GT(CGameMovementCosts::GetTerrainCost(type, array, kTerrainWater, kTurnMinutes, 250), 0);
                continue;
            }
            const int open = CGameMovementCosts::GetTerrainCost(type, array, kTerrainOpen, kTurnMinutes, 250);
            const int road = CGameMovementCosts::GetHexsideFeatureCost(type, array, kLayerRoad, kTurnMinutes, 250);
            EXPECT_GT(open, 0);
            EXPECT_GT(road, 0);
            EXPECT_LE(road, open) << "a road is never slower than open ground";
            EXPECT_GT(CGameMovementCosts::GetHexsideFeatureCost(type, array, kLayerHeavyBridge, kTurnMinutes, 250), 0);
        }
    }

    // The demo map belongs to the north-west Europe theme, whose own copy
    // (heavier hedgerows) replaces the plain file.
    ASSERT_EQ(layer.m_map.LoadMapFile("main.map"), nullptr);
    layer.Reload();
    EXPECT_EQ(layer.LocateMovementFile().str(), "NWE-movement.pdx");
    EXPECT_FALSE(sameRows(layer));
}

TEST_F(DemoDataTest, ParameterFileSetsEveryRuleConstant)
{
    ParameterData data;
    ASSERT_EQ(data.ReadParameterFile(PathOf("main.pdx")), nullptr);
    EXPECT_EQ(data.m_version, 2);
    EXPECT_FALSE(data.m_name.IsBlank());
    EXPECT_EQ(data.m_minutesPerTurn, kTurnMinutes);
    EXPECT_EQ(data.m_metresPerHex, 250);

    // Stacking: every platoon moves alone, also along a road.
    int strongest = 0;
    for (const PlatoonType* type : m_types)
        if (type->m_movementAllowance > 0)
            strongest = std::max(strongest, type->m_fullStrength);
    EXPECT_GE(data.m_maxStackUnits, 3);
    EXPECT_GE(data.m_maxStackStrength, 3 * strongest);
    EXPECT_GE(data.m_roadStackLimit, strongest);
    EXPECT_GT(data.m_defenseZeroValue, 0);
    EXPECT_GT(data.m_maxStackStrength, data.m_defenseZeroValue) << "room for wrecks";

    // The fire table: ascending ratios (the reader insists), chances that add
    // up to at most 100 and never fall as the ratio grows.
    ASSERT_GE(data.m_fireColumnCount, 8);
    int previousSum = -1;
    for (int column = 0; column < data.m_fireColumnCount; ++column) {
        int sum = 0;
        for (int value : data.m_fireOutcomes[static_cast<std::size_t>(column)]) {
            EXPECT_GE(value, 0);
            sum += value;
        }
        EXPECT_LE(sum, 100) << "column " << column;
        EXPECT_GE(sum, previousSum) << "column " << column;
        previousSum = sum;
    }

    // Modifiers are all set (0 would silently read as 100 percent).
    for (int terrain = 0; terrain < ParameterData::kTerrainTypes; ++terrain)
        EXPECT_GT(data.m_terrainPercent[terrain], 0) << TerrainTypeName(terrain);
    for (int layer = 0; layer < ParameterData::kHexsideLayers; ++layer)
        EXPECT_GT(data.m_hexsidePercent[layer], 0) << FeatureLayerName(layer);
    EXPECT_GT(data.m_value61, 0);
    EXPECT_LE(data.m_value61, 100);
    EXPECT_GT(data.m_terrainValue[kTerrainForest], data.m_terrainValue[kTerrainOpen]);
    EXPECT_GT(data.m_value92, 0);
    EXPECT_GT(data.m_value93, 0);
    EXPECT_GT(data.m_value95, 0);
    EXPECT_GT(data.m_digInApCost, 0);
    EXPECT_LE(data.m_digInApCost, 100);
    EXPECT_GE(data.m_vehicleMaxClimb, 10) << "a vehicle climbs at least one level";
    EXPECT_LE(data.m_value132, data.m_value135);

    // The nation table closes the file: values there prove that every
    // number before it sat in its place.
    EXPECT_EQ(data.GetNationPercent(kGermany, '0'), 110);
    EXPECT_EQ(data.GetNationPercent(kUnitedStates, '0'), 100);
    EXPECT_EQ(data.GetNationPercent(kUnitedStates, '1'), 75);
}

TEST_F(DemoDataTest, OrganisationGivesEachSideABattalion)
{
    OrgTree tree;
    const String error = tree.ReadFile(PathOf("main.org"));
    ASSERT_TRUE(error.IsEmpty()) << error.c_str();
    // The header after the version: the next unit number, then the battle's
    // month and year (July 1944).
    EXPECT_GT(tree.m_nextUnitNumber, 299);
    EXPECT_EQ(tree.m_battleMonth, 7);
    EXPECT_EQ(tree.m_battleYear, 44);

    OrgNodeList all;
    tree.CollectAllNodes(all);
    std::set<std::int32_t> ids;
    for (const OrgNode* node : all) {
        SCOPED_TRACE(node->m_nodeName.str());
        EXPECT_TRUE(ids.insert(node->m_id).second) << "node id " << node->m_id << " twice";
        EXPECT_FALSE(node->m_nodeName.IsBlank());
        EXPECT_GE(node->m_rating, 1);
        EXPECT_LE(node->m_rating, 9);
        if (node->m_level != 0)
            continue;
        const PlatoonType* type = m_types.FindById(node->m_code);
        ASSERT_NE(type, nullptr) << "leaf code " << node->m_code << " names no platoon type";
        EXPECT_EQ(node->GetNation(), type->GetNation());
        EXPECT_EQ(node->IsLeader(), type->IsLeader());
        EXPECT_EQ(node->IsArtillery(), type->IsArtillery());
    }

    std::set<int> sides;
    ASSERT_EQ(tree.m_topNodes.Count(), 2u);
    for (const OrgNode* top : tree.m_topNodes) {
        SCOPED_TRACE(top->m_nodeName.str());
        const FormationNode* battalion = top->AsFormation();
        ASSERT_NE(battalion, nullptr);
        EXPECT_EQ(battalion->m_level, 2);
        sides.insert(battalion->GetSide());
        int companies = 0;
        int leaders = 0;
        int artillery = 0;
        for (const OrgNode* child : battalion->m_children) {
            EXPECT_EQ(child->GetSide(), battalion->GetSide());
            leaders += child->m_level == 0 && child->IsLeader();
            artillery += child->m_level == 0 && child->IsArtillery();
            const FormationNode* company = child->AsFormation();
            if (!company)
                continue;
            ++companies;
            EXPECT_EQ(company->m_level, 1);
            ASSERT_GE(company->m_children.Count(), 4u);
            // The company commander first, then at least three platoons.
            EXPECT_TRUE(company->m_children.Front()->IsLeader()) << company->m_nodeName.c_str();
            int platoons = 0;
            for (const OrgNode* leaf : company->m_children) {
                EXPECT_EQ(leaf->m_level, 0);
                EXPECT_EQ(leaf->GetSide(), battalion->GetSide());
                platoons += !leaf->IsLeader();
            }
            EXPECT_GE(platoons, 3);
        }
        EXPECT_GE(companies, 4) << "three companies and a support company";
        EXPECT_EQ(leaders, 1) << "the battalion commander";
        EXPECT_GE(artillery, 2) << "the headquarters and the battery in support";
    }
    EXPECT_EQ(sides, (std::set<int> { 0, 1 }));
}

TEST_F(DemoDataTest, DemoMapHasItsTownsRiverRoadsAndHills)
{
    // Stored as the map reader takes it: the size line is scrambled.
    {
        std::ifstream in(m_folder / "main.map", std::ios::binary);
        std::string versionLine;
        std::string sizeLine;
        ASSERT_TRUE(ReadDataLine(in, versionLine) && ReadDataLine(in, sizeLine));
        EXPECT_EQ(versionLine, "6");
        EXPECT_NE(sizeLine, "40 30");
        DescrambleLine(sizeLine);
        EXPECT_EQ(sizeLine, "40 30");
    }

    HexMap map;
    ASSERT_EQ(map.LoadMapFile(PathOf("main.map")), nullptr);
    EXPECT_EQ(map.GetVersion(), 6);
    EXPECT_EQ(map.GetWidth(), 40);
    EXPECT_EQ(map.GetHeight(), 30);
    EXPECT_EQ(map.GetRegion(), 0);
    EXPECT_STREQ(map.GetThemePrefix(), "NWE-");
    EXPECT_EQ(map.GetElevationStep(), 10);
    ExpectFeaturesSymmetric(map);

    std::map<int, int> terrain = TerrainCounts(map);
    for (const int type : { kTerrainVillage, kTerrainBuilding, kTerrainSuburb, kTerrainIndustrial, kTerrainOrchard,
             kTerrainMarsh, kTerrainWater })
        EXPECT_GE(terrain[type], 1) << TerrainTypeName(type);
    EXPECT_GE(terrain[kTerrainForest], 20);
    EXPECT_GE(terrain[kTerrainField], 40);

    for (const int layer : { kLayerRoad, kLayerUnpaved, kLayerRail, kLayerRiver, kLayerStream, kLayerHedge,
             kLayerBocage, kLayerStoneWall, kLayerHighWall, kLayerEmbankment, kLayerPath })
        EXPECT_GE(CountSides(map, layer), 4) << FeatureLayerName(layer);
    // The river runs the whole length of the map; the main road crosses it on
    // a heavy bridge, a lane on a light one; bridges stand only over water.
    EXPECT_GE(CountSides(map, kLayerRiver), 2 * map.GetHeight());
    EXPECT_EQ(CountSidesWith(map, kLayerHeavyBridge, kLayerRiver), 2);
    EXPECT_EQ(CountSidesWith(map, kLayerHeavyBridge, kLayerRoad), 2);
    EXPECT_EQ(CountSidesWith(map, kLayerLightBridge, kLayerRiver), 2);
    for (const int bridge : { kLayerHeavyBridge, kLayerMediumBridge, kLayerLightBridge }) {
        EXPECT_EQ(CountSidesWith(map, bridge, kLayerRiver) + CountSidesWith(map, bridge, kLayerStream),
            CountSides(map, bridge))
            << FeatureLayerName(bridge);
    }

    std::set<int> levels;
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            levels.insert(map.GetElevationLevel(x, y));
    EXPECT_GE(levels.size(), 5u);
    EXPECT_EQ(*levels.begin(), 0);

    int towns = 0;
    int rivers = 0;
    for (const MapLabel& label : map.GetLabels()) {
        EXPECT_TRUE(map.IsOnMap(static_cast<int>(label.x), static_cast<int>(label.y))) << label.text.c_str();
        towns += label.colour == 0;
        rivers += label.colour == 1 && label.text.view().ends_with(" River");
    }
    EXPECT_GE(towns, 2);
    EXPECT_GE(rivers, 1);
}

TEST_F(DemoDataTest, SamplerMapUsesEveryTerrainAndFeature)
{
    HexMap map;
    ASSERT_EQ(map.LoadMapFile(PathOf("sampler.map")), nullptr);
    EXPECT_EQ(map.GetVersion(), 3);
    EXPECT_EQ(map.GetWidth(), 20);
    EXPECT_EQ(map.GetHeight(), 14);
    ExpectFeaturesSymmetric(map);

    const std::map<int, int> terrain = TerrainCounts(map);
    for (int type = 0; type < kTerrainTypeCount; ++type)
        EXPECT_TRUE(terrain.count(type)) << TerrainTypeName(type);
    // A version-3 map carries the layers up to Escarpment.
    for (int layer = 0; layer <= kLayerEscarpment; ++layer)
        EXPECT_GT(CountSides(map, layer), 0) << FeatureLayerName(layer);

    std::set<int> levels;
    std::set<int> codes;
    for (int x = 0; x < map.GetWidth(); ++x) {
        for (int y = 0; y < map.GetHeight(); ++y) {
            levels.insert(map.GetElevationLevel(x, y));
            codes.insert(map.GetCode(x, y));
        }
    }
    EXPECT_TRUE(levels.count(12)) << "levels written as letters";
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(kMaxMapCode + 1));
    EXPECT_EQ(map.GetLabels().Count(), 2u);
}

TEST_F(DemoDataTest, GameObjectLoadsTheWholeSetInTheDataFolder)
{
    ScopedCurrentDir inData(m_folder);
    CGameHexMarks game;
    ASSERT_TRUE(game.m_startupError.IsEmpty()) << game.m_startupError.c_str();
    game.m_mapFileName = String("main.map");
    game.m_orgFileName = String("main.org");
    const String error = game.ReloadKeepingBattle();
    ASSERT_TRUE(error.IsEmpty()) << error.c_str();

    EXPECT_EQ(game.m_platoonTypes.Count(), m_types.Count());
    EXPECT_EQ(game.LocateMovementFile().str(), "NWE-movement.pdx");
    EXPECT_EQ(game.m_stacks.Width(), 40);
    EXPECT_EQ(game.m_stacks.Height(), 30);
    for (const PlatoonType* type : game.m_platoonTypes) {
        EXPECT_EQ(type->m_weapon != nullptr, !IsUnarmed(*type)) << type->m_name.c_str();
        EXPECT_EQ(type->m_movementRows[0] != nullptr, type->m_movementAllowance > 0) << type->m_name.c_str();
    }
    OrgNodeList lowest;
    game.m_orgTree.CollectLowestFormations(lowest);
    EXPECT_EQ(lowest.Count(), 10u) << "five companies a side";
}

// ---- The two scenarios ----

constexpr HexSide kSingleSides[] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
    HexSide::SouthWest, HexSide::NorthWest };

// The first line where two texts differ, for a short failure message.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    const std::vector<std::string> linesA = SplitLines(a);
    const std::vector<std::string> linesB = SplitLines(b);
    for (std::size_t i = 0; i < std::max(linesA.size(), linesB.size()); ++i) {
        const std::string lineA = i < linesA.size() ? linesA[i] : "(none)";
        const std::string lineB = i < linesB.size() ? linesB[i] : "(none)";
        if (lineA != lineB)
            return "line " + std::to_string(i + 1) + ": \"" + lineA + "\" against \"" + lineB + "\"";
    }
    return a == b ? "none" : "line ends";
}

// A game object built in the data folder (it reads its data files from the
// current folder, also when a battle names its map and organisation).
class ScenarioGame {
public:
    explicit ScenarioGame(const fs::path& folder)
        : m_inData(folder)
    {
    }

    bool Read(const std::string& stored)
    {
        std::istringstream in(stored);
        return m_game.ReadBattleFile(in, false);
    }
    std::string Write() const
    {
        std::ostringstream out;
        EXPECT_TRUE(m_game.WriteBattleFile(out));
        return out.str();
    }
    CGameHexMarks& operator*() { return m_game; }
    CGameHexMarks* operator->() { return &m_game; }

private:
    ScopedCurrentDir m_inData;
    CGameHexMarks m_game;
};

// Every unit of the battle: on the map, off the map and in the groups.
struct UnitAt {
    const PlacedUnit* unit;
    const char* where;
    int column;
    int row;
};

std::vector<UnitAt> AllUnits(const CGameHexMarks& game)
{
    std::vector<UnitAt> units;
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            for (const PlacedUnit& unit : game.m_stacks.At(x, y))
                units.push_back({ &unit, "map", x, y });
    for (const OffMapUnit& offMap : game.m_offMapUnits)
        units.push_back({ &offMap.unit, "off-map", offMap.column, offMap.row });
    for (const ReinforcementGroup& group : game.m_reinforcements)
        for (const PlacedUnit& unit : group.m_units)
            units.push_back({ &unit, "group", group.m_col, group.m_row });
    return units;
}

bool IsOnMapEdge(const HexMap& map, int x, int y)
{
    return map.IsOnMap(x, y) && (x == 0 || y == 0 || x == map.GetWidth() - 1 || y == map.GetHeight() - 1);
}

// A road (or lane) of the hex runs off the map.
bool RoadLeavesMap(const HexMap& map, int x, int y)
{
    for (const int layer : { kLayerRoad, kLayerUnpaved }) {
        for (const HexSide side : kSingleSides) {
            HexPos beyond;
            if (map.GetFeatureLayer(x, y, layer).Contains(side) && !map.GetNeighbour(side, x, y, beyond))
                return true;
        }
    }
    return false;
}

struct ScenarioCase {
    const char* file;
    int version;
    const char* orgFile;
    int carriedOnMap;
    int carriedInGroups;
};

const ScenarioCase kScenarios[] = {
    { "demo.scn", 10, "main.org", 4, 0 },
    { "delaying.scn", 1, "delaying.org", 0, 1 },
};

TEST_F(DemoDataTest, ScenariosLoadWithEveryUnitBoundToItsTypeAndNode)
{
    for (const ScenarioCase& c : kScenarios) {
        SCOPED_TRACE(c.file);
        ScenarioGame game(m_folder);
        ASSERT_TRUE(game->m_startupError.IsEmpty()) << game->m_startupError.c_str();
        ASSERT_TRUE(game.Read(ReadFileText(m_folder / c.file))) << game->m_battleReadError.c_str();
        EXPECT_EQ(game->m_version, c.version);
        EXPECT_EQ(game->m_mapFileName.str(), "main.map");
        EXPECT_EQ(game->m_orgFileName.str(), c.orgFile);
        EXPECT_FALSE(game->m_title.IsBlank());
        const HexMap& map = game->m_map;

        // Each unit is one platoon of the organisation, of the node's own type.
        std::set<std::int32_t> nodes;
        int onMap[2] = { 0, 0 };
        int carried = 0;
        for (const UnitAt& at : AllUnits(*game)) {
            const PlacedUnit& unit = *at.unit;
            SCOPED_TRACE(std::string(at.where) + " " + std::to_string(at.column) + "," + std::to_string(at.row));
            ASSERT_NE(unit.m_type, nullptr);
            ASSERT_NE(unit.m_node, nullptr) << unit.m_type->m_name.c_str();
            SCOPED_TRACE(unit.m_node->m_nodeName.str());
            EXPECT_TRUE(nodes.insert(unit.m_node->m_id).second) << "node " << unit.m_node->m_id << " placed twice";
            EXPECT_EQ(unit.m_node->m_level, 0);
            EXPECT_EQ(unit.m_node->m_code, unit.m_type->m_id);
            EXPECT_EQ(unit.m_node->GetSide(), unit.m_type->GetSide());
            EXPECT_EQ(unit.m_rating, unit.m_node->m_rating) << "every unit fights at its node's rating";
            EXPECT_EQ(unit.m_strength, unit.m_type->m_fullStrength) << "every unit starts at full strength";
            EXPECT_EQ(unit.m_actionPoints, 100);
            if (std::string_view(at.where) == "map")
                ++onMap[unit.m_type->GetSide()];
            carried += std::string_view(at.where) == "map" && (unit.m_status & kUnitCarried) != 0;
        }
        EXPECT_GT(onMap[0], 0);
        EXPECT_GT(onMap[1], 0);
        // The reader drops a carried mark that does not follow a carrier.
        EXPECT_EQ(carried, c.carriedOnMap);
        EXPECT_EQ(game->m_sideNations[0][0], kUnitedStates);
        EXPECT_EQ(game->m_sideNations[1][0], kGermany);

        // Groups of both sides enter at a map-edge hex, all of one side.
        std::set<int> groupSides;
        int carriedInGroups = 0;
        for (const ReinforcementGroup& group : game->m_reinforcements) {
            ASSERT_FALSE(group.m_units.IsEmpty());
            EXPECT_TRUE(IsOnMapEdge(map, group.m_col, group.m_row) || (group.m_placement & 1) != 0)
                << "a group that does not drop comes in at the edge";
            EXPECT_GE(group.m_time, 0);
            EXPECT_LT(group.m_time, game->m_map.GetTimeLimit()) << "it can still arrive";
            EXPECT_EQ(group.m_time % kTurnMinutes, 0) << "arrives at the start of a turn";
            EXPECT_GT(group.m_chance, 0);
            groupSides.insert(group.GetSide());
            for (const PlacedUnit& unit : group.m_units) {
                EXPECT_EQ(unit.m_type->GetSide(), group.GetSide());
                carriedInGroups += (unit.m_status & kUnitCarried) != 0;
            }
        }
        EXPECT_EQ(groupSides, (std::set<int> { 0, 1 }));
        EXPECT_EQ(carriedInGroups, c.carriedInGroups);
        EXPECT_EQ(game->m_map.GetTimeLimit() % kTurnMinutes, 0) << "the battle ends with a whole turn";
        for (const ReleaseRecord& release : game->m_releases)
            EXPECT_EQ(release.time % kTurnMinutes, 0) << "released at the start of a turn";

        // Each side's artillery fires from off the map.
        std::set<int> artillerySides;
        for (const OffMapUnit& offMap : game->m_offMapUnits) {
            EXPECT_TRUE(offMap.unit.m_type->IsArtillery()) << offMap.unit.m_type->m_name.c_str();
            EXPECT_FALSE(map.IsOnMap(offMap.column, offMap.row));
            artillerySides.insert(offMap.unit.m_type->GetSide());
        }
        EXPECT_EQ(artillerySides, (std::set<int> { 0, 1 }));

        // One aircraft in the pool for each air strike of a side.
        int aircraft[2] = { 0, 0 };
        for (const PlatoonType* type : game->m_aircraftPool) {
            ASSERT_NE(type, nullptr);
            EXPECT_TRUE(type->IsCategoryFive()) << type->m_name.c_str();
            ++aircraft[type->GetSide()];
        }
        EXPECT_GT(aircraft[0], 0);
        EXPECT_GT(aircraft[1], 0);
        EXPECT_EQ(aircraft[0], game->m_airPower[0]);
        EXPECT_EQ(aircraft[1], game->m_airPower[1]);

        // Objectives: value for the taking, and one exit hex at the edge.
        int exits = 0;
        int valued = 0;
        for (int x = 0; x < map.GetWidth(); ++x) {
            for (int y = 0; y < map.GetHeight(); ++y) {
                const ObjectiveCell& objective = game->m_objectives.At(x, y);
                if (objective.value < 0) {
                    ++exits;
                    EXPECT_TRUE(IsOnMapEdge(map, x, y)) << x << "," << y;
                    EXPECT_TRUE(objective.nation == kUnitedStates || objective.nation == kGermany);
                }
                valued += objective.value > 0;
            }
        }
        EXPECT_EQ(exits, 1);
        EXPECT_GE(valued, 2);
    }
}

TEST_F(DemoDataTest, DemoBattleIsASmallRiverCrossing)
{
    ParameterData parameters;
    ASSERT_EQ(parameters.ReadParameterFile(PathOf("main.pdx")), nullptr);
    ScenarioGame game(m_folder);
    ASSERT_TRUE(game.Read(ReadFileText(m_folder / "demo.scn"))) << game->m_battleReadError.c_str();
    const HexMap& map = game->m_map;

    // Twenty turns of a summer day, the United States moving first.
    EXPECT_EQ(game->m_map.GetCounter(), 0);
    EXPECT_EQ(game->m_map.GetTimeLimit(), 120);
    EXPECT_EQ(game->m_map.GetTimeLimit() / parameters.m_minutesPerTurn, 20);
    EXPECT_EQ(game->m_firstSide, 0);
    EXPECT_EQ(game->m_map.GetSide(), game->m_firstSide);
    EXPECT_EQ(game->m_terrain, TerrainConditions {}) << "dry, open water, green foliage, standing crops";
    EXPECT_GE(game->m_visibility, 15) << "far enough for air strikes";
    EXPECT_EQ(game->m_options, 88);
    EXPECT_EQ(game->m_missionType, 0);

    // The first side starts below a draw and can win on the ground alone.
    const int* t = game->m_thresholds;
    EXPECT_TRUE(t[0] < t[1] && t[1] < t[2] && t[2] < t[3]);
    int held = 0;
    int available = 0;
    for (int x = 0; x < map.GetWidth(); ++x) {
        for (int y = 0; y < map.GetHeight(); ++y) {
            const ObjectiveCell& objective = game->m_objectives.At(x, y);
            if (objective.value <= 0)
                continue;
            available += objective.value;
            if (DefaultSideOfNation(objective.nation) == game->m_firstSide)
                held += objective.value;
        }
    }
    EXPECT_LE(held, t[1]);
    EXPECT_GE(available, t[2]);

    // The river splits the map: each side starts on its own bank.
    std::vector<UnitAt> units = AllUnits(*game);
    auto firstOnMap = std::find_if(units.begin(), units.end(),
        [](const UnitAt& at) { return std::string_view(at.where) == "map" && at.unit->m_type->GetSide() == 0; });
    ASSERT_NE(firstOnMap, units.end());
    HexGrid<int> bank;
    bank.Allocate(map.GetWidth(), map.GetHeight(), 1);
    std::vector<HexPos> open { HexPos { firstOnMap->column, firstOnMap->row } };
    bank.At(firstOnMap->column, firstOnMap->row) = 0;
    while (!open.empty()) {
        const HexPos from = open.back();
        open.pop_back();
        for (const HexSide side : kSingleSides) {
            HexPos to;
            if (map.GetNeighbour(side, from.column, from.row, to) && bank.At(to.column, to.row) == 1
                && !map.GetFeatureLayer(from.column, from.row, kLayerRiver).Contains(side)) {
                bank.At(to.column, to.row) = 0;
                open.push_back(to);
            }
        }
    }
    for (const UnitAt& at : units) {
        if (std::string_view(at.where) == "map") {
            EXPECT_EQ(bank.At(at.column, at.row), at.unit->m_type->GetSide())
                << at.unit->m_node->m_nodeName.c_str() << " at " << at.column << "," << at.row;
        }
    }

    // Each side's headquarters stands on the map among its companies, so
    // that the turn report's supply pass resupplies them: its command node
    // is the battalion (a command range of 8 hexes), and most platoons of
    // the battalion's companies stand within that range.
    for (const int side : { 0, 1 }) {
        SCOPED_TRACE(side);
        std::vector<const UnitAt*> headquarters;
        for (const UnitAt& at : units)
            if (std::string_view(at.where) == "map" && at.unit->m_type->GetSide() == side
                && at.unit->m_type->IsArtillery())
                headquarters.push_back(&at);
        ASSERT_EQ(headquarters.size(), 1u);
        const UnitAt& hq = *headquarters.front();
        EXPECT_TRUE(IsHeadquarters(*hq.unit->m_type));
        const OrgNode* battalion = hq.unit->GetCommandNode();
        ASSERT_NE(battalion, nullptr);
        EXPECT_EQ(battalion->m_level, 2);
        int platoons = 0;
        int inRange = 0;
        for (const UnitAt& at : units) {
            const OrgNode* command = at.unit->GetCommandNode();
            if (std::string_view(at.where) != "map" || at.unit->m_type->IsLeader() || !command || command == battalion
                || !battalion->IsAncestorOf(command))
                continue;
            ++platoons;
            inRange += HexDistance(hq.column, hq.row, at.column, at.row) <= 8;
        }
        EXPECT_GE(platoons, 12);
        EXPECT_GE(inRange * 3, platoons * 2) << inRange << " of " << platoons;
    }

    // Reinforcements: armour along a road from the edge and an air drop
    // behind the river.
    int byRoad = 0;
    int airDrops = 0;
    for (const ReinforcementGroup& group : game->m_reinforcements) {
        if ((group.m_placement & 1) != 0) {
            ++airDrops;
            EXPECT_GT(group.m_scatterSteps, 0);
            EXPECT_EQ(bank.At(group.m_col, group.m_row), 1 - group.GetSide()) << "dropped across the river";
        } else if (RoadLeavesMap(map, group.m_col, group.m_row)) {
            ++byRoad;
            EXPECT_EQ(bank.At(group.m_col, group.m_row), group.GetSide()) << "on its own bank";
        }
    }
    EXPECT_GE(byRoad, 1);
    EXPECT_EQ(airDrops, 1);

    // The exit hex lies where the main road leaves the map, for the attacker.
    for (int x = 0; x < map.GetWidth(); ++x) {
        for (int y = 0; y < map.GetHeight(); ++y) {
            if (game->m_objectives.At(x, y).value < 0) {
                EXPECT_TRUE(RoadLeavesMap(map, x, y));
                EXPECT_EQ(DefaultSideOfNation(game->m_objectives.At(x, y).nation), game->m_firstSide);
            }
        }
    }

    // A reserve company is held until its release: exactly the units below
    // the released formation are fixed.
    ASSERT_EQ(game->m_releases.Count(), 1u);
    const ReleaseRecord& release = game->m_releases.Head()->value;
    ASSERT_NE(release.node, nullptr);
    ASSERT_NE(release.node->AsFormation(), nullptr);
    EXPECT_GT(release.time, 0);
    int fixed = 0;
    for (const UnitAt& at : units) {
        bool below = false;
        for (const OrgNode* node = at.unit->m_node; node; node = node->m_parent)
            below = below || node == release.node;
        EXPECT_EQ((at.unit->m_status & kUnitFixed) != 0, below && std::string_view(at.where) == "map")
            << at.unit->m_node->m_nodeName.c_str();
        fixed += below;
    }
    EXPECT_GE(fixed, 3);
}

TEST_F(DemoDataTest, GeneratedShapeScenarioKeepsTheGeneratorsLayout)
{
    ScenarioGame game(m_folder);
    ASSERT_TRUE(game.Read(ReadFileText(m_folder / "delaying.scn"))) << game->m_battleReadError.c_str();
    const HexMap& map = game->m_map;
    EXPECT_EQ(game->m_missionType, 2) << "Delaying Action";
    EXPECT_EQ(game->m_title.str(), "Delaying Action");
    EXPECT_EQ(game->m_map.GetSide(), game->m_firstSide) << "the attacker moves first";
    for (const int threshold : game->m_thresholds)
        EXPECT_EQ(threshold, 0);

    // Side 0 deploys along the top, side 1 along the bottom.
    const int height = map.GetHeight();
    for (const UnitAt& at : AllUnits(*game)) {
        if (std::string_view(at.where) != "map")
            continue;
        if (at.unit->m_type->GetSide() == 0) {
            EXPECT_LE(at.row, 2 * height / 5) << at.unit->m_node->m_nodeName.c_str();
        } else {
            EXPECT_GE(at.row, 3 * height / 5) << at.unit->m_node->m_nodeName.c_str();
        }
    }
    // The attacker's exit lies on the defender's home edge; the victory
    // objectives are the defender's.
    const int attackerSide = game->m_firstSide;
    for (int x = 0; x < map.GetWidth(); ++x) {
        for (int y = 0; y < height; ++y) {
            const ObjectiveCell& objective = game->m_objectives.At(x, y);
            if (objective.value < 0) {
                EXPECT_EQ(DefaultSideOfNation(objective.nation), attackerSide);
                EXPECT_EQ(y, attackerSide == 1 ? 0 : height - 1);
            } else if (objective.value > 0) {
                EXPECT_EQ(DefaultSideOfNation(objective.nation), 1 - attackerSide);
            }
        }
    }
}

TEST_F(DemoDataTest, ScenariosWriteBackIdenticallyAfterOneNormalisingWrite)
{
    for (const ScenarioCase& c : kScenarios) {
        SCOPED_TRACE(c.file);
        const std::string stored = ReadFileText(m_folder / c.file);
        ScenarioGame game(m_folder);
        ASSERT_TRUE(game.Read(stored)) << game->m_battleReadError.c_str();
        const std::string first = game.Write();
        ASSERT_TRUE(game.Read(first)) << game->m_battleReadError.c_str();
        const std::string second = game.Write();
        EXPECT_TRUE(second == first) << FirstDifference(second, first);
        if (c.version == 10) {
            EXPECT_TRUE(first == stored) << "the demo is stored as the writer writes it; "
                                         << FirstDifference(first, stored);
        } else {
            EXPECT_EQ(SplitLines(first).at(0), "10");
        }
    }
}

} // namespace
