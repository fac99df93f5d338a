// The fire checks on a flat open 16 x 16 map with types and weapons made
// here: each refusal in the order the checks make them, the range texts,
// the silent probe and the queries fire resolution builds on.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "rules/GameFireValidation.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

// Answers the shared slot 2 as the test sets it (the computer opponent's
// layers do under fog of war).
class CFireTestGame : public CGameFireValidation {
public:
    // Unset: the stacks answer.
    std::function<bool(int, int)> m_unitsAnswer;

    bool HexHasUnits(int column, int row) const override
    {
        return m_unitsAnswer ? m_unitsAnswer(column, row) : CGameFireValidation::HexHasUnits(column, row);
    }
};

namespace {

// Nation 0 fights on side 0, nation 1 on side 1, nation 21 (cave fighters)
// on side 1. The category digit is the hundreds digit.
constexpr std::uint32_t kRifles0 = 200; // soft, on foot: hard 1-2, soft 1-5, fire cost 50
constexpr std::uint32_t kAmphibians0 = 202; // rifles that may fire from water
constexpr std::uint32_t kUnarmed0 = 203;
constexpr std::uint32_t kTank0 = 1; // hard vehicle: hard 1-10, soft 1-4, fire cost 150
constexpr std::uint32_t kRiderTank0 = 2; // a tank that may fire with riders
constexpr std::uint32_t kGun0 = 100; // category 1: hard and soft 1-6
constexpr std::uint32_t kFlak0 = 101; // anti-aircraft, category 1: 1-4
constexpr std::uint32_t kArtillery0 = 300; // indirect: 2-9, fire cost 60
constexpr std::uint32_t kAaArtillery0 = 301; // indirect and anti-aircraft: 2-9
constexpr std::uint32_t kSmokeArtillery0 = 302; // indirect: 2-6, smoke to 8
constexpr std::uint32_t kLeader0 = 400;
constexpr std::uint32_t kHalfTrack0 = 702; // armed carrier: 1-3
constexpr std::uint32_t kMortar0 = 204; // smoke rounds: soft 1-3, smoke to 5
constexpr std::uint32_t kSmokeGun0 = 205; // smoke without range limit: soft 1-3
constexpr std::uint32_t kRifles1 = 1200;
constexpr std::uint32_t kTank1 = 1001;
constexpr std::uint32_t kLeader1 = 1400;
constexpr std::uint32_t kCaveRifles = 21200; // soft 1-3

constexpr int kThreePhase = kOptionThreePhase;
constexpr int kPlotted = kOptionPlottedIndirectFire;
constexpr int kByMap = kOptionIndirectFireByMap;

constexpr const char* kUnset = "(unset)";

std::string RangeText(int by)
{
    return "Range of weapon exceeded by " + std::to_string(by) + (by == 1 ? " hex" : " hexes");
}

class FireValidationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static_cast<HexMap&>(m_game.m_map) = HexMap(16, 16);
        m_game.m_map.SetElevationScale(0, 10);
        for (int& value : m_game.m_parameters.m_terrainValue)
            value = 0;
        m_game.m_parameters.m_terrainValue[kTerrainForest] = 5;
        m_game.m_parameters.m_defenseZeroValue = 4;
        m_game.m_parameters.m_value91 = 20;
        m_game.m_visibility = 30;

        AddType(kRifles0, 5, kMoveFoot, 0, 0, 0, 50, { 1, 2, 1, 5 });
        AddType(kAmphibians0, 5, kMoveFoot, 0, kTargetFiresFromWater, 0, 50, { 1, 2, 1, 5 });
        AddType(kUnarmed0, 5, kMoveFoot, 0, 0, 0, 50, {});
        AddType(kTank0, 10, 0, 0, kTargetHard, 0, 150, { 1, 10, 1, 4 });
        AddType(kRiderTank0, 10, kMoveFiresWhileLoaded, 0, kTargetHard, 0, 50, { 1, 10, 1, 4 });
        AddType(kGun0, 0, 0, 0, 0, 0, 50, { 1, 6, 1, 6 });
        AddType(kFlak0, 0, 0, 0, 0x2, 0, 50, { 1, 4, 1, 4 });
        AddType(kArtillery0, 0, 0, 0, kTargetIndirect, 0, 60, { 2, 9, 2, 9 });
        AddType(kAaArtillery0, 0, 0, 0, kTargetIndirect | 0x4, 0, 60, { 2, 9, 2, 9 });
        AddType(kSmokeArtillery0, 0, 0, 0, kTargetIndirect, 0, 60, { 2, 6, 2, 6, 8 });
        AddType(kLeader0, 5, kMoveFoot, 0, 0, 0, 50, {});
        AddType(kHalfTrack0, 10, 0, 0x8, 0, 0, 50, { 1, 3, 1, 3 });
        AddType(kMortar0, 5, kMoveFoot, 0, 0, kExtraSmokeRounds, 50, { 0, 0, 1, 3, 5 });
        AddType(kSmokeGun0, 0, 0, 0, kTargetSmokeAnyRange, 0, 50, { 0, 0, 1, 3 });
        AddType(kRifles1, 5, kMoveFoot, 0, 0, 0, 50, { 1, 2, 1, 5 });
        AddType(kTank1, 10, 0, 0, kTargetHard, 0, 150, { 1, 10, 1, 4 });
        AddType(kLeader1, 5, kMoveFoot, 0, 0, 0, 50, {});
        AddType(kCaveRifles, 5, kMoveFoot, 0, 0, 0, 50, { 1, 3, 1, 3 });
        m_game.BindPlatoonTypes();
        m_game.AllocateGrids(16, 16);
        Reset();
    }

    // A fresh battle: nothing on the map, Open ground, side 0 to move in the
    // Initial phase of plain turns, by day.
    void Reset()
    {
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y) {
                m_game.m_stacks.At(x, y) = UnitList();
                m_game.m_hexFlags.At(x, y) = 0;
                m_game.m_airStrikeValue.At(x, y) = 0;
                m_game.m_airStrikeSide.At(x, y) = -1;
                m_game.SetContact(x, y, 0, 0, -1);
                m_game.SetContact(x, y, 1, 0, -1);
                m_game.SetSmoke(-1, x, y, true);
                m_game.SetStarshell(-1, x, y);
                m_game.m_map.GetHex(x, y).terrain = kTerrainOpen;
            }
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        m_game.m_options = 0;
        m_game.m_night = 0;
        m_game.m_visibility = 30;
        m_game.m_smoke[0] = m_game.m_smoke[1] = 2;
        m_game.m_starshells[0] = m_game.m_starshells[1] = 2;
        m_game.m_airPower[0] = m_game.m_airPower[1] = 1;
        m_game.m_unitsAnswer = nullptr;
        m_game.m_fireRefusal = kUnset;
    }

    // Weapon values: hard from-to, soft from-to, and the last range of smoke
    // (soft -1) after the soft ranges; 0 for none.
    struct Ranges {
        int hardFrom = 0;
        int hardTo = 0;
        int softFrom = 0;
        int softTo = 0;
        int smokeTo = 0;
    };
    void AddType(std::uint32_t id, int movement, std::uint32_t moveFlags, std::uint32_t carryFlags,
        std::uint32_t targetFlags, std::uint32_t extraFlags, int fireCost, Ranges ranges)
    {
        PlatoonType type = MakeType(id, movement, moveFlags, carryFlags, targetFlags, extraFlags);
        type.m_fireApCost = fireCost;
        m_game.m_platoonTypes.Append(type);
        if (ranges.hardTo == 0 && ranges.softTo == 0)
            return;
        WeaponRecord weapon;
        weapon.m_weaponId = static_cast<std::int32_t>(id);
        // Ranges 1..100 only: index 0 holds range 1.
        const auto fill = [](std::array<std::int32_t, WeaponRecord::kMaxRange>& values, int from, int to, int value) {
            for (int r = std::max(from, 1); r <= std::min(to, WeaponRecord::kMaxRange); ++r)
                values[static_cast<std::size_t>(r - 1)] = value;
        };
        fill(weapon.m_hardValue, ranges.hardFrom, ranges.hardTo, 4);
        fill(weapon.m_softValue, ranges.softFrom, ranges.softTo, 4);
        fill(weapon.m_softValue, ranges.softTo + 1, ranges.smokeTo, -1);
        m_game.m_weapons.Append(weapon);
    }

    PlacedUnit& Add(int x, int y, std::uint32_t id, std::uint32_t status = 0)
    {
        PlacedUnit unit(m_game.m_platoonTypes.FindById(id), nullptr);
        EXPECT_NE(unit.m_type, nullptr) << id;
        unit.m_status = status;
        return m_game.m_stacks.At(x, y).Append(unit)->value;
    }
    PlacedUnit Record(std::uint32_t id, std::uint32_t status = 0)
    {
        PlacedUnit unit(m_game.m_platoonTypes.FindById(id), nullptr);
        unit.m_status = status;
        return unit;
    }
    void SetTerrain(int x, int y, int terrain) { m_game.m_map.GetHex(x, y).terrain = terrain; }

    // A check's answer as the frame sees it: empty when it passed, else the
    // text it left (kUnset when it left none).
    std::string Verdict(bool passed) const { return passed ? std::string() : m_game.m_fireRefusal.str(); }
    std::string Order(std::vector<int> positions, int fx, int fy, int tx, int ty)
    {
        m_game.m_fireRefusal = kUnset;
        return m_game.CheckFireOrder(positions.data(), static_cast<int>(positions.size()), fx, fy, tx, ty).str();
    }
    std::string Target(const PlacedUnit& unit, int fx, int fy, int tx, int ty, bool antiAircraft = false)
    {
        m_game.m_fireRefusal = kUnset;
        return Verdict(m_game.CheckFireTarget(unit, fx, fy, tx, ty, 1, antiAircraft));
    }
    std::string CanFire(const PlacedUnit& unit)
    {
        m_game.m_fireRefusal = kUnset;
        m_game.m_reportRefusal = 1;
        return Verdict(m_game.CheckUnitCanFire(unit));
    }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    CFireTestGame m_game;
    int m_firerX = 4;
};

TEST_F(FireValidationTest, RangeTextsNameTheHexesByWhichTheRangeIsMissed)
{
    const struct {
        int range;
        int distance;
        const char* text;
    } cases[] = {
        { 10, 12, "Range of weapon exceeded by 2 hexes" },
        { 10, 11, "Range of weapon exceeded by 1 hex" },
        { 2, 1, "Minimum range of weapon exceeded by 1 hex" },
        { 5, 2, "Minimum range of weapon exceeded by 3 hexes" },
        { 0, 1000, "Range of weapon exceeded by 1000 hexes" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFireTestGame::GetRangeExceededText(c.range, c.distance).str(), c.text)
            << c.range << " " << c.distance;
}

// The unit's own state, one failing condition per row, in the order tested.
TEST_F(FireValidationTest, UnitCanFireRefusesEachStateInTurn)
{
    const struct {
        const char* name;
        int options;
        int phase;
        std::uint32_t id;
        std::uint32_t status;
        int actionPoints;
        const char* text;
    } cases[] = {
        { "moved, three-phase", kThreePhase, 0, kRifles0, kUnitMoved, 100,
            "Units that have moved cannot fire in same phase" },
        { "fired, three-phase", kThreePhase, 0, kRifles0, kUnitFired, 100,
            "Cannot fire using unit that has already fired" },
        { "assaulting", 0, 0, kRifles0, kUnitInAssault, 100, "Unit that is assaulting cannot fire" },
        { "no weapon", 0, 0, kUnarmed0, 0, 100, "Unit is not capable of firing" },
        { "too few points", 0, 0, kRifles0, 0, 40, "Unit does not have enough Action Points to fire" },
        { "full points, cost above them, Final phase", 0, 2, kTank0, 0, 100,
            "Unit does not have enough Action Points to fire" },
        { "unavailable", 0, 0, kRifles0, kUnitUnavailable, 100, "Firing unit is unavailable" },
        { "artillery low on ammunition", 0, 0, kArtillery0, kUnitLowAmmo, 100, "Firing unit is unavailable" },
        { "non-carrier carrying", 0, 0, kTank0, kUnitCarrying, 100, "Non-carrier cannot fire while loaded" },
        { "carried", 0, 0, kRifles0, kUnitCarried, 100, "Cannot fire while being carried" },
        // And what passes.
        { "moved and fired, plain turns", 0, 0, kRifles0, kUnitMoved | kUnitFired, 100, "" },
        { "full points, cost above them, Initial phase", 0, 0, kTank0, 0, 100, "" },
        { "points exactly enough", 0, 2, kRifles0, 0, 50, "" },
        { "no points counted under three-phase turns", kThreePhase, 2, kRifles0, 0, 0, "" },
        { "rifles low on ammunition", 0, 0, kRifles0, kUnitLowAmmo, 100, "" },
        { "carrier carrying", 0, 0, kHalfTrack0, kUnitCarrying, 100, "" },
        { "tank that fires with riders", 0, 0, kRiderTank0, kUnitCarrying, 100, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.m_options = c.options;
        m_game.m_map.SetPhase(c.phase);
        PlacedUnit unit = Record(c.id, c.status);
        unit.m_actionPoints = c.actionPoints;
        EXPECT_EQ(CanFire(unit), c.text);
    }
}

TEST_F(FireValidationTest, UnitCanFireTestsInOrderWhenSeveralStatesFail)
{
    m_game.m_map.SetPhase(2);
    PlacedUnit unit = Record(kRifles0, kUnitInAssault | kUnitUnavailable | kUnitCarrying | kUnitCarried);
    unit.m_actionPoints = 0;
    EXPECT_EQ(CanFire(unit), "Unit that is assaulting cannot fire");
    unit.m_status &= ~kUnitInAssault;
    EXPECT_EQ(CanFire(unit), "Unit does not have enough Action Points to fire");
    unit.m_actionPoints = 100;
    EXPECT_EQ(CanFire(unit), "Firing unit is unavailable");
    unit.m_status &= ~kUnitUnavailable;
    EXPECT_EQ(CanFire(unit), "Non-carrier cannot fire while loaded");
    unit.m_status &= ~kUnitCarrying;
    EXPECT_EQ(CanFire(unit), "Cannot fire while being carried");
    unit.m_status &= ~kUnitCarried;
    EXPECT_EQ(CanFire(unit), "");
}

TEST_F(FireValidationTest, FirerTerrainRefusesWaterShallowWaterJungleAndCaves)
{
    const struct {
        const char* name;
        std::uint32_t id;
        std::uint32_t status;
        int terrain;
        int hexFlags;
        bool indirect;
        const char* text;
    } cases[] = {
        { "own state first", kRifles0, kUnitInAssault, kTerrainWater, 0, false, "Unit that is assaulting cannot fire" },
        { "water", kRifles0, 0, kTerrainWater, 0, false, "Unit cannot fire from Water" },
        { "shallow water, category 1", kGun0, 0, kTerrainShallowWater, 0, false,
            "Unit cannot fire from shallow water" },
        { "jungle, indirect", kArtillery0, 0, kTerrainJungle, 0, true,
            "No Indirect Fire allowed from Dense Jungle hex" },
        { "cave, indirect", kCaveRifles, 0, kTerrainOpen, CGameData::kHexCave, true, "Unit cannot fire from Cave hex" },
        { "water, type that fires from it", kAmphibians0, 0, kTerrainWater, 0, false, "" },
        { "shallow water, rifles", kRifles0, 0, kTerrainShallowWater, 0, false, "" },
        { "jungle, direct", kArtillery0, 0, kTerrainJungle, 0, false, "" },
        { "cave, direct", kCaveRifles, 0, kTerrainOpen, CGameData::kHexCave, false, "" },
        { "cave, indirect, not a cave fighter", kRifles0, 0, kTerrainOpen, CGameData::kHexCave, true, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        SetTerrain(3, 3, c.terrain);
        m_game.m_hexFlags.At(3, 3) = c.hexFlags;
        m_game.m_reportRefusal = 1;
        EXPECT_EQ(Verdict(m_game.CheckFirerTerrain(Record(c.id, c.status), 3, 3, c.indirect)), c.text);
    }
    // Off the map nothing of a hex is read.
    EXPECT_EQ(Verdict(m_game.CheckFirerTerrain(Record(kArtillery0), -4, 3, true)), "");
}

// One direct fire order by the hex (4, 4) at (4, 7), three hexes away; each
// row spoils one thing.
TEST_F(FireValidationTest, FireOrderRefusesEachFaultInTurn)
{
    struct Row {
        const char* name;
        std::function<void()> setup;
        std::uint32_t firer;
        const char* text;
    };
    const std::vector<Row> cases = {
        { "firer hex held by the other side", [&] { m_game.m_map.SetSide(1); }, kRifles0,
            "Cannot fire using units from other side" },
        { "target hex of the own side",
            [&] { m_game.m_stacks.At(4, 7).Head()->value.m_type = m_game.m_platoonTypes.FindById(kRifles0); }, kRifles0,
            "Cannot fire on units from own side" },
        { "artillery in jungle", [&] { SetTerrain(4, 4, kTerrainJungle); }, kArtillery0,
            "No Indirect Fire allowed from Dense Jungle hex" },
        { "firer in water", [&] { SetTerrain(4, 4, kTerrainWater); }, kRifles0, "Unit cannot fire from Water" },
        { "target shows no units", [&] { m_game.m_unitsAnswer = [](int, int) { return false; }; }, kRifles0,
            "Cannot fire on empty or unknown hex" },
        { "cave fighters in an unrevealed cave",
            [&] {
                m_game.m_stacks.At(4, 7) = UnitList();
                Add(4, 7, kCaveRifles);
                m_game.m_hexFlags.At(4, 7) = CGameData::kHexCave;
            },
            kRifles0, "Cannot fire on empty or unknown hex" },
        { "forest between", [&] { SetTerrain(4, 5, kTerrainForest); }, kRifles0,
            "Line-Of-Sight is blocked by terrain at 4, 5" },
        { "beyond the soft range",
            [&] {
                m_game.m_stacks.At(4, 7) = UnitList();
                Add(4, 10, kRifles1);
            },
            kRifles0, nullptr },
        // And what passes.
        { "rifles at rifles", nullptr, kRifles0, "" },
        { "cave revealed",
            [&] {
                m_game.m_stacks.At(4, 7) = UnitList();
                Add(4, 7, kCaveRifles);
                m_game.m_hexFlags.At(4, 7) = CGameData::kHexCave | CGameData::kHexCaveRevealed;
            },
            kRifles0, "" },
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        Add(4, 4, c.firer);
        Add(4, 7, kRifles1);
        if (c.setup)
            c.setup();
        if (c.text) {
            EXPECT_EQ(Order({ 1 }, 4, 4, 4, 7), c.text);
        } else {
            EXPECT_EQ(Order({ 1 }, 4, 4, 4, 10), RangeText(1));
        }
    }
}

TEST_F(FireValidationTest, SelectionsWithoutFiringUnits)
{
    Add(4, 4, kLeader0);
    Add(4, 4, kHalfTrack0, kUnitCarrying);
    Add(4, 4, kRifles0, kUnitCarried);
    Add(4, 7, kRifles1);
    EXPECT_EQ(Order({}, 4, 4, 4, 7), "No units have been selected to fire");
    // Refused selections read as empty ones: past the stack, named twice.
    EXPECT_EQ(Order({ 4 }, 4, 4, 4, 7), "No units have been selected to fire");
    EXPECT_EQ(Order({ 2, 2 }, 4, 4, 4, 7), "No units have been selected to fire");
    EXPECT_EQ(Order({ 3, 0 }, 4, 4, 4, 7), "No units have been selected to fire");
    // The leader and the carried rifles are passed over.
    EXPECT_EQ(Order({ 1, 3 }, 4, 4, 4, 7), "No valid firing units specified");
    EXPECT_EQ(Order({ 1, 2, 3 }, 4, 4, 4, 7), "");
    EXPECT_EQ(Order({ 0 }, 4, 4, 4, 7), "No valid firing units specified");
}

TEST_F(FireValidationTest, FirstListedUnitThatFailsGivesTheText)
{
    Add(4, 4, kRifles0);
    Add(4, 4, kTank0);
    PlacedUnit& assaulting = Add(4, 4, kRifles0, kUnitInAssault);
    Add(4, 4, kRifles0, kUnitUnavailable);
    Add(4, 7, kRifles1);
    EXPECT_EQ(Order({ 1, 2, 3 }, 4, 4, 4, 7), "Unit that is assaulting cannot fire");
    EXPECT_EQ(Order({ 2, 1, 0, 3 }, 4, 4, 4, 7), "Firing unit is unavailable");
    assaulting.m_status = 0;
    EXPECT_EQ(Order({ 1, 2, 3 }, 4, 4, 4, 7), "");
}

TEST_F(FireValidationTest, OwnHexMayBeFiredOnAtAnAirStrikeOrByPlottedArtillery)
{
    Add(4, 4, kRifles0);
    Add(4, 4, kArtillery0);
    Add(4, 7, kRifles0);
    const PlacedUnit rifles = Record(kRifles0);
    const PlacedUnit artillery = Record(kArtillery0);
    const auto support = [&](const PlacedUnit& unit) {
        m_game.m_fireRefusal = kUnset;
        return m_game.CheckSupportFireOrder(unit, 4, 4, 4, 7).str();
    };
    EXPECT_EQ(support(rifles), "Cannot fire on units from own side");
    EXPECT_EQ(support(artillery), "Cannot fire on units from own side");
    // Plotted fire: the artillery may, the rifles still not.
    m_game.m_options = kPlotted | kByMap;
    EXPECT_EQ(support(artillery), "");
    EXPECT_EQ(support(rifles), "Cannot fire on units from own side");
    // An enemy air strike over the own hex, with three-phase turns.
    m_game.m_options = 0;
    m_game.m_airStrikeValue.At(4, 7) = 3;
    m_game.m_airStrikeSide.At(4, 7) = 1;
    EXPECT_EQ(support(rifles), "Cannot fire on units from own side");
    m_game.m_options = kThreePhase;
    EXPECT_EQ(support(rifles), "");
}

// Artillery at (4, 2) on a target eight hexes away that it cannot see
// (visibility 5): indirect fire.
TEST_F(FireValidationTest, IndirectFireNeedsSpottingAndItsPhase)
{
    struct Row {
        const char* name;
        int options;
        int phase;
        bool contact;
        const char* text;
    };
    const Row cases[] = {
        { "not spotted", 0, 0, false, "Cannot spot target hex with friendly unit" },
        { "spotted by contact", 0, 0, true, "" },
        { "by the map", kByMap, 0, false, "" },
        { "three-phase, not spotted", kThreePhase, 0, false, "Cannot spot target hex with friendly unit" },
        { "three-phase, Final phase", kThreePhase, 2, true, "Indirect fire can only be performed in Intial Phase" },
        { "three-phase, Defensive Fire phase", kThreePhase, 1, true,
            "Indirect fire can only be performed in Intial Phase" },
        { "three-phase, Initial phase", kThreePhase, 0, true, "" },
        { "delayed, Initial phase", kThreePhase | kPlotted, 0, true,
            "Delayed indirect fire can only be performed in Final Phase" },
        { "delayed, Final phase", kThreePhase | kPlotted, 2, true, "" },
        { "plain turns, any phase", 0, 2, true, "" },
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        m_game.m_visibility = 5;
        m_game.m_options = c.options;
        m_game.m_map.SetPhase(c.phase);
        Add(4, 2, kArtillery0);
        Add(4, 10, kRifles1);
        if (c.contact)
            m_game.SetContact(4, 10, 0, 1, 8);
        EXPECT_TRUE(m_game.MustFireIndirectly(Record(kArtillery0), 4, 2, 4, 10));
        EXPECT_EQ(Order({ 1 }, 4, 2, 4, 10), c.text);
    }
}

TEST_F(FireValidationTest, RangeOfDirectFire)
{
    Add(2, 1, kTank0);
    Add(2, 13, kTank1);
    const PlacedUnit tank = Record(kTank0);
    EXPECT_EQ(Target(tank, 2, 1, 2, 13), RangeText(2));
    EXPECT_EQ(Target(tank, 2, 2, 2, 13), RangeText(1));
    EXPECT_EQ(Target(tank, 2, 3, 2, 13), "");
    // Artillery firing directly: its minimum range, and never at distance 0.
    m_game.m_stacks.At(2, 12) = UnitList();
    Add(2, 12, kRifles1);
    const PlacedUnit artillery = Record(kArtillery0);
    EXPECT_FALSE(m_game.MustFireIndirectly(artillery, 2, 13, 2, 12));
    EXPECT_EQ(Target(artillery, 2, 13, 2, 12), "Minimum range of weapon exceeded by 1 hex");
    EXPECT_EQ(Target(artillery, 2, 11, 2, 12), "Minimum range of weapon exceeded by 1 hex");
    EXPECT_EQ(Target(artillery, 2, 10, 2, 12), "");
    EXPECT_EQ(Target(artillery, 2, 12, 2, 12), "");
}

// A tank (hard 10, soft 4) at a hex seven away.
TEST_F(FireValidationTest, HexWithBothKindsOfTargetMayBeFiredOnWhenEitherIsInRange)
{
    const PlacedUnit tank = Record(kTank0);
    Add(3, 1, kTank0);
    Add(3, 8, kRifles1);
    EXPECT_EQ(Target(tank, 3, 1, 3, 8), RangeText(3));
    Add(3, 8, kTank1);
    EXPECT_EQ(Target(tank, 3, 1, 3, 8), "");
    EXPECT_TRUE(m_game.IsTargetInRange(tank, 3, 1, m_game.GetStackNode(3, 8, 2)->value, 3, 8));
    EXPECT_FALSE(m_game.IsTargetInRange(tank, 3, 1, m_game.GetStackNode(3, 8, 1)->value, 3, 8));
    // A leader is no target: the rifles alone decide.
    m_game.m_stacks.At(3, 8) = UnitList();
    Add(3, 8, kLeader1);
    Add(3, 8, kRifles1);
    EXPECT_EQ(Target(tank, 3, 1, 3, 8), RangeText(3));
    // Rifles (hard 2, soft 5) at infantry in a pillbox four away: hard range.
    const PlacedUnit rifles = Record(kRifles0);
    m_game.m_hexFlags.At(3, 8) = CGameData::kHexPillbox;
    EXPECT_FALSE(m_game.IsSoftTargetHex(3, 8));
    EXPECT_EQ(Target(rifles, 3, 4, 3, 8), RangeText(2));
    m_game.m_hexFlags.At(3, 8) = 0;
    EXPECT_EQ(Target(rifles, 3, 4, 3, 8), "");
}

TEST_F(FireValidationTest, SoftTargetHexes)
{
    const struct {
        const char* name;
        std::vector<std::uint32_t> ids;
        std::uint32_t status; // of the first unit
        int hexFlags;
        bool soft;
    } cases[] = {
        { "empty", {}, 0, 0, true },
        { "leaders only", { kLeader1, kLeader1 }, 0, 0, true },
        { "tank", { kTank1 }, 0, 0, false },
        { "tank and leader", { kTank1, kLeader1 }, 0, 0, false },
        { "tank and rifles", { kTank1, kRifles1 }, 0, 0, true },
        { "rifles in a pillbox", { kRifles1 }, 0, CGameData::kHexPillbox, false },
        { "lorry-like soft vehicle in a pillbox", { kHalfTrack0 }, 0, CGameData::kHexPillbox, true },
        { "tank with riders", { kTank1 }, kUnitCarrying, 0, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        for (std::uint32_t id : c.ids)
            Add(5, 5, id);
        if (!c.ids.empty())
            m_game.m_stacks.At(5, 5).Head()->value.m_status = c.status;
        m_game.m_hexFlags.At(5, 5) = c.hexFlags;
        EXPECT_EQ(m_game.IsSoftTargetHex(5, 5), c.soft);
    }
    // The riders of a tank are carried: a tank with riders is soft, by its
    // carrying bit, and nothing else of the hex is a target.
    Reset();
    Add(5, 5, kTank1, kUnitCarrying);
    Add(5, 5, kRifles1, kUnitCarried);
    EXPECT_TRUE(m_game.IsSoftTargetHex(5, 5));
    EXPECT_TRUE(m_game.HexHasTargetableVehicle(5, 5));
    EXPECT_TRUE(m_game.IsTargetInRange(Record(kRifles0), 5, 1, m_game.GetStackNode(5, 5, 1)->value, 5, 5));
    EXPECT_FALSE(m_game.IsTargetInRange(Record(kRifles0), 5, 11, m_game.GetStackNode(5, 5, 1)->value, 5, 5));
    m_game.m_stacks.At(5, 5).Head()->value.m_status = 0;
    EXPECT_FALSE(m_game.IsSoftTargetHex(5, 5));
    EXPECT_FALSE(m_game.IsTargetInRange(Record(kRifles0), 5, 1, m_game.GetStackNode(5, 5, 1)->value, 5, 5));
    // Rifles are no vehicle.
    Reset();
    Add(5, 5, kRifles1);
    EXPECT_FALSE(m_game.HexHasTargetableVehicle(5, 5));
}

TEST_F(FireValidationTest, CaveFightersOutOfReachUntilTheCaveIsRevealed)
{
    Add(5, 5, kCaveRifles);
    const PlacedUnit& target = m_game.GetStackNode(5, 5, 1)->value;
    m_game.m_hexFlags.At(5, 5) = CGameData::kHexCave;
    EXPECT_FALSE(m_game.IsTargetInRange(Record(kRifles0), 5, 3, target, 5, 5));
    m_game.m_hexFlags.At(5, 5) = CGameData::kHexCave | CGameData::kHexCaveRevealed;
    EXPECT_TRUE(m_game.IsTargetInRange(Record(kRifles0), 5, 3, target, 5, 5));
}

TEST_F(FireValidationTest, SilentProbeLeavesTheOldText)
{
    Add(4, 4, kRifles0, kUnitInAssault);
    Add(4, 7, kRifles1);
    m_game.m_fireRefusal = "old";
    const int positions[] = { 1 };
    EXPECT_FALSE(m_game.CheckFiringUnits(positions, 1, 4, 4, 4, 7, 0));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "old");
    EXPECT_EQ(m_game.m_reportRefusal, 0);
    EXPECT_FALSE(m_game.CheckFiringUnits(positions, 0, 4, 4, 4, 7, 0));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "old");
    // A blocked line of sight, silently: neither text changes.
    m_game.m_stacks.At(4, 4).Head()->value.m_status = 0;
    SetTerrain(4, 5, kTerrainForest);
    m_game.m_reason = "reason";
    EXPECT_FALSE(m_game.CheckFiringUnits(positions, 1, 4, 4, 4, 7, 0));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "old");
    EXPECT_EQ(m_game.m_reason.str(), "reason");
    // Reported, the same verdicts leave their texts.
    EXPECT_FALSE(m_game.CheckFiringUnits(positions, 1, 4, 4, 4, 7, 1));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "Line-Of-Sight is blocked by terrain at 4, 5");
    EXPECT_EQ(m_game.m_blockingHex, (HexPos { 4, 5 }));
    // A check that passes keeps the last text.
    SetTerrain(4, 5, kTerrainOpen);
    EXPECT_TRUE(m_game.CheckFiringUnits(positions, 1, 4, 4, 4, 7, 1));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "Line-Of-Sight is blocked by terrain at 4, 5");
    EXPECT_EQ(m_game.CheckFireOrder(positions, 1, 4, 4, 4, 7).str(), "");
}

TEST_F(FireValidationTest, AntiAircraftFireNeedsAnAirTargetAndACapableUnit)
{
    m_game.m_options = kThreePhase;
    const auto strike = [&](int x, int y, int side) {
        m_game.m_airStrikeValue.At(x, y) = 3;
        m_game.m_airStrikeSide.At(x, y) = side;
    };
    struct Row {
        const char* name;
        std::uint32_t firer;
        std::function<void()> setup;
        int tx;
        int ty;
        std::string text;
    };
    const std::vector<Row> cases = {
        { "cave fighters in a cave", kCaveRifles, [&] { m_game.m_hexFlags.At(4, 4) = CGameData::kHexCave; }, 4, 6,
            "Unit cannot fire from Cave hex" },
        { "jungle", kFlak0, [&] { SetTerrain(4, 4, kTerrainJungle); }, 4, 6,
            "AA fire not allowed from Dense Jungle hex" },
        { "no strike", kFlak0, nullptr, 4, 7, "No valid air target exists in hex" },
        { "own side's strike", kFlak0, [&] { strike(4, 7, 0); }, 4, 7, "No valid air target exists in hex" },
        { "not anti-aircraft", kRifles0, nullptr, 4, 6, "Unit is not capable of antiaircraft fire" },
        { "anti-aircraft artillery at a strike over an empty hex", kAaArtillery0, nullptr, 4, 6,
            "No Indirect Fire allowed from Dense Jungle hex" },
        { "out of range", kFlak0, [&] { strike(4, 9, 1); }, 4, 9, RangeText(1) },
        { "in range", kFlak0, nullptr, 4, 6, "" },
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        m_game.m_options = kThreePhase;
        strike(4, 6, 1);
        if (c.setup)
            c.setup();
        EXPECT_EQ(Target(Record(c.firer), 4, 4, c.tx, c.ty, true), c.text);
    }
}

TEST_F(FireValidationTest, AirTargetsAreTheOtherSidesStrikes)
{
    m_game.m_airStrikeValue.At(6, 6) = 2;
    m_game.m_airStrikeSide.At(6, 6) = 1;
    // Plain turns: only the side not to move fires at a strike.
    EXPECT_FALSE(m_game.IsAirTargetFor(6, 6, 0));
    EXPECT_FALSE(m_game.IsAirTargetFor(6, 6, 1));
    m_game.m_map.SetSide(1);
    EXPECT_TRUE(m_game.IsAirTargetFor(6, 6, 0));
    m_game.m_options = kThreePhase;
    m_game.m_map.SetSide(0);
    EXPECT_TRUE(m_game.IsAirTargetFor(6, 6, 0));
    m_game.m_airStrikeValue.At(6, 6) = 0;
    EXPECT_FALSE(m_game.IsAirTargetFor(6, 6, 0));
}

TEST_F(FireValidationTest, ArtilleryMustFireIndirectlyUnlessItSeesAnEnemy)
{
    Add(4, 2, kArtillery0);
    Add(4, 6, kRifles1);
    const PlacedUnit artillery = Record(kArtillery0);
    EXPECT_FALSE(m_game.MustFireIndirectly(artillery, 4, 2, 4, 6));
    EXPECT_FALSE(m_game.MustFireIndirectly(Record(kRifles0), -3, 2, 4, 6));
    EXPECT_TRUE(m_game.MustFireIndirectly(artillery, -3, 2, 4, 6));
    EXPECT_TRUE(m_game.MustFireIndirectly(artillery, 4, 2, 4, 8));
    m_game.m_unitsAnswer = [](int x, int y) { return !(x == 4 && y == 6); };
    EXPECT_TRUE(m_game.MustFireIndirectly(artillery, 4, 2, 4, 6));
    m_game.m_unitsAnswer = nullptr;
    SetTerrain(4, 4, kTerrainForest);
    EXPECT_TRUE(m_game.MustFireIndirectly(artillery, 4, 2, 4, 6));
    SetTerrain(4, 4, kTerrainOpen);
    // The own side's hex.
    m_game.m_stacks.At(4, 6).Head()->value.m_type = m_game.m_platoonTypes.FindById(kRifles0);
    EXPECT_TRUE(m_game.MustFireIndirectly(artillery, 4, 2, 4, 6));

    // Any listed unit decides; a refused selection needs none.
    Add(4, 2, kRifles0);
    const int both[] = { 2, 1 };
    const int riflesOnly[] = { 2 };
    const int twice[] = { 1, 1 };
    EXPECT_TRUE(m_game.NeedsIndirectFire(both, 2, 4, 2, 4, 6));
    EXPECT_FALSE(m_game.NeedsIndirectFire(riflesOnly, 1, 4, 2, 4, 6));
    EXPECT_FALSE(m_game.NeedsIndirectFire(twice, 2, 4, 2, 4, 6));
    EXPECT_FALSE(m_game.NeedsIndirectFire(both, 0, 4, 2, 4, 6));
}

TEST_F(FireValidationTest, UnlitTargetsAtNight)
{
    EXPECT_FALSE(m_game.IsTargetUnlitAtNight(4, 2, 4, 6));
    m_game.m_night = 1;
    EXPECT_TRUE(m_game.IsTargetUnlitAtNight(4, 2, 4, 6));
    EXPECT_FALSE(m_game.IsTargetUnlitAtNight(4, 5, 4, 6));
    m_game.SetStarshell(0, 4, 6);
    EXPECT_FALSE(m_game.IsTargetUnlitAtNight(4, 2, 4, 6));
}

// Smoke by the hex (4, 4) at (4, 7), three hexes away; each row spoils one
// thing.
TEST_F(FireValidationTest, SmokeRefusesEachFaultInTurn)
{
    struct Row {
        const char* name;
        std::uint32_t firer;
        std::function<void()> setup;
        int ty;
        std::string text;
    };
    const std::vector<Row> cases = {
        { "unit of the other side", kRifles1, nullptr, 7, "Cannot fire using units from other side" },
        { "mortar without smoke rounds", kMortar0, [&] { m_game.m_smoke[0] = 0; }, 7, "No smoke ammunition available" },
        { "artillery without smoke rounds", kSmokeArtillery0, [&] { m_game.m_smoke[0] = 0; }, 7,
            "No smoke ammunition available" },
        { "smoke there", kMortar0, [&] { m_game.SetSmoke(1, 4, 7, true); }, 7, "Target hex already contains smoke" },
        { "artillery, smoke there", kSmokeArtillery0, [&] { m_game.SetSmoke(1, 4, 7, true); }, 7,
            "Target hex already contains smoke" },
        { "artillery, unseen", kSmokeArtillery0, [&] { m_game.m_visibility = 2; }, 7,
            "Target hex cannot be seen by this side" },
        { "rifles of the other side off the map", kRifles1, [&] { m_firerX = -2; }, 7,
            "Firing unit not capable of firing smoke" },
        { "beyond the smoke range", kMortar0, nullptr, 10, "Firing unit not capable of firing smoke" },
        { "no smoke at all", kRifles0, nullptr, 7, "Firing unit not capable of firing smoke" },
        { "artillery on its own hex", kSmokeArtillery0, nullptr, 4, "Firing unit not capable of firing smoke" },
        { "assaulting", kMortar0, [&] { m_game.m_stacks.At(4, 4).Head()->value.m_status = kUnitInAssault; }, 7,
            "Unit that is assaulting cannot fire" },
        { "no range limit, beyond the soft range", kSmokeGun0, nullptr, 9, RangeText(2) },
        // And what passes.
        { "mortar", kMortar0, nullptr, 7, "" },
        { "mortar beyond its soft range, within its smoke range", kMortar0, nullptr, 9, "" },
        { "mortar on its own hex", kMortar0, nullptr, 4, "" },
        { "no range limit, within the soft range", kSmokeGun0, nullptr, 7, "" },
        { "plotted artillery, smoke there, by the map", kSmokeArtillery0,
            [&] {
                m_game.SetSmoke(1, 4, 7, true);
                m_game.m_visibility = 2;
                m_game.m_options = kPlotted | kByMap;
            },
            7, "" },
        { "artillery, unseen, contact", kSmokeArtillery0,
            [&] {
                m_game.m_visibility = 2;
                m_game.SetContact(4, 7, 0, 1, 3);
            },
            7, "" },
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        m_firerX = 4;
        Add(4, 4, c.firer);
        Add(4, 7, kRifles1);
        if (c.setup)
            c.setup();
        m_game.m_fireRefusal = kUnset;
        const PlacedUnit unit = m_game.m_stacks.At(4, 4).Head()->value;
        EXPECT_EQ(m_game.CheckSmokeOrder(unit, m_firerX, 4, 4, c.ty).str(), c.text);
    }
}

TEST_F(FireValidationTest, SmokeAtAnUnseenHexGivesContactWhenTheSideNowSeesIt)
{
    Add(4, 4, kSmokeArtillery0);
    Add(4, 7, kRifles1);
    EXPECT_EQ(m_game.GetContactLevel(4, 7, 0), 0);
    EXPECT_EQ(m_game.CheckSmokeOrder(Record(kSmokeArtillery0), 4, 4, 4, 7).str(), "");
    EXPECT_EQ(m_game.GetContactLevel(4, 7, 0), 1);
}

TEST_F(FireValidationTest, StarshellOrderTakesExactlyOneUnitThatIsNoLeader)
{
    Add(4, 4, kRifles0);
    Add(4, 4, kLeader0);
    Add(4, 4, kRifles0);
    const auto order = [&](std::vector<int> positions, int ty = 6) {
        m_game.m_fireRefusal = kUnset;
        return m_game.CheckStarshellOrder(positions.data(), static_cast<int>(positions.size()), 4, 4, 4, ty).str();
    };
    EXPECT_EQ(order({ 1, 2 }), "Can only fire starshells during night scenarios");
    m_game.m_night = 1;
    m_game.m_starshells[0] = 0;
    EXPECT_EQ(order({ 1, 2 }), "No starshells available for current side");
    m_game.m_starshells[0] = 1;
    EXPECT_EQ(order({ 1, 2 }), "");
    EXPECT_EQ(order({ 2, 0 }), "");
    EXPECT_EQ(order({ 1, 3 }), "Only one unit can fire starshell at a time");
    EXPECT_EQ(order({ 2 }), "Leader cannot fire starshell alone");
    EXPECT_EQ(order({}), "Leader cannot fire starshell alone");
    EXPECT_EQ(order({ 2, 2 }), "Leader cannot fire starshell alone");
    // A unit that fails answers first, with its own text.
    EXPECT_EQ(order({ 1, 2 }, 7), "Range exceeds range for firing starshells");
    EXPECT_EQ(order({ 1, 3 }, 7), "Range exceeds range for firing starshells");
}

TEST_F(FireValidationTest, StarshellUnitRefusesEachFaultInTurn)
{
    struct Row {
        const char* name;
        std::uint32_t firer;
        int firerX;
        int distance;
        int phase;
        int actionPoints;
        int starshells; // of side 0
        const char* text;
    };
    const Row cases[] = {
        { "unit of the other side", kRifles1, 4, 2, 0, 100, 1, "Cannot fire using units from other side" },
        { "no starshells", kRifles0, 4, 2, 0, 100, 0, "No starshell ammo available" },
        { "too few points", kRifles0, 4, 2, 2, 19, 1, "Unit does not have enough Action Points to fire starshell" },
        { "artillery from afar pays its fire cost", kArtillery0, 4, 3, 2, 59, 1,
            "Unit does not have enough Action Points to fire starshell" },
        { "no weapon", kUnarmed0, 4, 2, 0, 100, 1, "Unit is not capable of firing starshell" },
        { "artillery beyond half its soft range", kArtillery0, 4, 6, 0, 100, 1,
            "Range exceeds range for firing starshells" },
        { "rifles three hexes away", kRifles0, 4, 3, 0, 100, 1, "Range exceeds range for firing starshells" },
        // And what passes.
        { "rifles, enough points", kRifles0, 4, 2, 2, 20, 1, "" },
        { "artillery close by pays 20", kArtillery0, 4, 2, 2, 20, 1, "" },
        { "artillery at half its soft range, rounded up", kArtillery0, 4, 5, 2, 60, 1, "" },
        { "leader without a weapon", kLeader0, 4, 2, 0, 100, 1, "" },
        { "artillery off the map", kArtillery0, -2, 5, 0, 100, 1, "" },
    };
    m_game.m_night = 1;
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.m_map.SetPhase(c.phase);
        m_game.m_starshells[0] = c.starshells;
        PlacedUnit unit = Record(c.firer);
        unit.m_actionPoints = c.actionPoints;
        m_game.m_fireRefusal = kUnset;
        const int ty = 4 + c.distance;
        EXPECT_EQ(HexDistance(c.firerX, 4, c.firerX, ty), c.distance);
        EXPECT_EQ(Verdict(m_game.CheckStarshellUnit(unit, c.firerX, 4, c.firerX, ty, 1)), c.text);
    }
    // A side's own stock counts, not that of the side to move.
    m_game.m_starshells[0] = 1;
    m_game.m_starshells[1] = 0;
    EXPECT_EQ(Verdict(m_game.CheckStarshellUnit(Record(kRifles1), -2, 4, -2, 6, 1)), "No starshell ammo available");
}

TEST_F(FireValidationTest, StarshellMission)
{
    EXPECT_EQ(m_game.CheckStarshellMission(Record(kArtillery0), -2, 4, 1, 4).str(),
        "Can only fire starshells during night scenarios");
    m_game.m_night = 1;
    m_game.m_starshells[0] = 0;
    EXPECT_EQ(m_game.CheckStarshellMission(Record(kArtillery0), -2, 4, 1, 4).str(),
        "No starshells available for current side");
    m_game.m_starshells[0] = 1;
    EXPECT_EQ(m_game.CheckStarshellMission(Record(kLeader0), -2, 4, 1, 4).str(), "Leader cannot fire starshell alone");
    EXPECT_EQ(m_game.CheckStarshellMission(Record(kArtillery0), -2, 4, 3, 4).str(), "");
    EXPECT_EQ(m_game.CheckStarshellMission(Record(kArtillery0), -2, 4, 4, 4).str(),
        "Range exceeds range for firing starshells");
}

// An air strike of side 0 on rifles at (6, 6), seen by rifles at (6, 3).
TEST_F(FireValidationTest, AirAttackRefusesEachFaultInTurn)
{
    struct Row {
        const char* name;
        int options;
        int phase;
        std::function<void()> setup;
        const char* text;
    };
    const std::vector<Row> cases = {
        { "three-phase, Defensive Fire phase", kThreePhase, 1, [&] { m_game.SetContact(6, 6, 0, 1, 3); },
            "Air attacks can only be initiated in Initial Phase" },
        { "delayed, Initial phase", kThreePhase | kOptionAirInFinalPhase, 0, [&] { m_game.SetContact(6, 6, 0, 1, 3); },
            "Delayed air attacks can only be initiated in Final Phase" },
        { "no air points", 0, 0, [&] { m_game.m_airPower[0] = 0; }, "No air points available to assign to air attack" },
        { "jungle", 0, 0, [&] { SetTerrain(6, 6, kTerrainJungle); }, "No air strikes allowed in Dense Jungle hexes" },
        { "targeted already", 0, 0,
            [&] {
                m_game.m_airStrikeValue.At(6, 6) = 2;
                m_game.m_airStrikeSide.At(6, 6) = 0;
            },
            "Hex is already targeted for air attack" },
        { "own hex, three-phase", kThreePhase, 0,
            [&] {
                m_game.m_stacks.At(6, 6).Head()->value.m_type = m_game.m_platoonTypes.FindById(kRifles0);
                m_game.SetContact(6, 6, 1, 1, 3);
            },
            "Cannot initiate Air Attack on same side" },
        { "seen, three-phase, no contact", kThreePhase, 0, nullptr, "Cannot spot target hex with friendly unit" },
        { "unseen", 0, 0, [&] { m_game.m_visibility = 2; }, "Cannot spot target hex with friendly unit" },
        // And what passes.
        { "seen", 0, 0, nullptr, "" },
        { "unseen, contact", 0, 0,
            [&] {
                m_game.m_visibility = 2;
                m_game.SetContact(6, 6, 0, 1, 3);
            },
            "" },
        { "three-phase, contact", kThreePhase, 0, [&] { m_game.SetContact(6, 6, 0, 1, 3); }, "" },
        { "delayed, Final phase", kThreePhase | kOptionAirInFinalPhase, 2, [&] { m_game.SetContact(6, 6, 0, 1, 3); },
            "" },
        { "the other side's strike there", 0, 0,
            [&] {
                m_game.m_airStrikeValue.At(6, 6) = 2;
                m_game.m_airStrikeSide.At(6, 6) = 1;
            },
            "" },
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        Add(6, 3, kRifles0);
        Add(6, 6, kRifles1);
        m_game.m_options = c.options;
        m_game.m_map.SetPhase(c.phase);
        if (c.setup)
            c.setup();
        m_game.m_fireRefusal = kUnset;
        EXPECT_EQ(m_game.CheckAirAttackOrder(6, 6).str(), c.text);
    }
}

TEST_F(FireValidationTest, AirAttackOnAHexTheSideNowSeesGivesContact)
{
    Add(6, 3, kRifles0);
    Add(6, 6, kRifles1);
    EXPECT_EQ(m_game.GetContactLevel(6, 6, 0), 0);
    EXPECT_EQ(m_game.CheckAirAttackOrder(6, 6).str(), "");
    EXPECT_EQ(m_game.GetContactLevel(6, 6, 0), 1);
    // Silently the verdict is the same and the text stays.
    m_game.m_airPower[0] = 0;
    m_game.m_fireRefusal = "old";
    EXPECT_FALSE(m_game.CheckAirAttack(6, 6, 0));
    EXPECT_EQ(m_game.m_fireRefusal.str(), "old");
}

} // namespace
