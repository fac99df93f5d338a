// The deployment on small maps built cell by cell: zones, the placing of
// platoons (facings, stacks, carriers, off-map artillery, companions),
// water, entry hexes, reinforcements and the objectives' places.
#include <gtest/gtest.h>

#include "DeploymentSupport.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "launcher/generator/BattleGenerator.h"

namespace {

TEST(DeploymentTest, ZonesByMissionAndAttacker)
{
    struct Case {
        int mission;
        int attacker;
        DeploymentZone zone1, zone0, inner1, inner0;
    };
    const Case cases[] = {
        { 3, 0, { 0, 12, 19, 19 }, { 0, 0, 19, 8 }, { 4, 13, 15, 18 }, { 4, 2, 15, 6 } },
        { 1, 1, { 0, 12, 19, 19 }, { 0, 0, 19, 8 }, { 4, 13, 15, 18 }, { 4, 2, 15, 6 } },
        // A river crossing: the zones meet at a quarter of the map from the
        // attacker's side, and objectives may lie anywhere in them.
        { 6, 0, { 0, 5, 19, 19 }, { 0, 0, 19, 5 }, { 0, 5, 19, 19 }, { 0, 0, 19, 5 } },
        { 6, 1, { 0, 15, 19, 19 }, { 0, 0, 19, 15 }, { 0, 15, 19, 19 }, { 0, 0, 19, 15 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mission " << c.mission << " attacker " << c.attacker);
        DeploymentMap map(20, 20);
        auto deployment = map.Deployment(nullptr, nullptr, c.mission, c.attacker);
        EXPECT_EQ(deployment->Zone(1), c.zone1);
        EXPECT_EQ(deployment->Zone(0), c.zone0);
        EXPECT_EQ(deployment->InnerZone(1), c.inner1);
        EXPECT_EQ(deployment->InnerZone(0), c.inner0);
    }
}

TEST(DeploymentTest, SplitAndNarrowZones)
{
    const DeploymentZone zone { 0, 0, 20, 10 };
    struct Split {
        int direction;
        int k;
        DeploymentZone part;
    };
    const Split splits[] = {
        { 1, 0, { 0, 0, 10, 5 } },
        { 32, 0, { 0, 0, 10, 5 } },
        { 8, 0, { 10, 5, 20, 10 } },
        { 4, 0, { 10, 5, 20, 10 } },
        { 2, 1, { 10, 0, 20, 5 } },
        { 16, 1, { 0, 5, 10, 10 } },
        { 1, 2, { 0, 5, 20, 10 } },
        { 4, 3, { 0, 5, 20, 10 } },
        { 8, 2, { 0, 0, 20, 5 } },
        { 32, 5, { 0, 0, 20, 5 } },
    };
    for (const Split& s : splits)
        EXPECT_EQ(ForceDeployment::SplitZone(zone, s.direction, s.k), s.part) << s.direction << " " << s.k;

    DeploymentMap map(40, 40);
    auto deployment = map.Deployment();
    const DeploymentZone wide { 0, 0, 30, 30 };
    const HexPosition p { 10, 5 };
    EXPECT_EQ(deployment->NarrowZone(wide, p, 'C', 0, 1), (DeploymentZone { 4, 0, 16, 11 }));
    EXPECT_EQ(deployment->NarrowZone(wide, p, 'P', 1, 1), (DeploymentZone { 4, 0, 16, 11 }));
    EXPECT_EQ(deployment->NarrowZone(wide, p, 'B', 0, 1), (DeploymentZone { 0, 0, 22, 17 }));
    for (const char letter : { 'A', 'D', 'G', 'K', 'R' }) {
        EXPECT_EQ(deployment->NarrowZone(wide, p, letter, 0, 8), (DeploymentZone { 15, 15, 30, 30 })) << letter;
        EXPECT_EQ(deployment->NarrowZone(wide, p, letter, 2, 1), (DeploymentZone { 0, 15, 30, 30 })) << letter;
    }
}

TEST(DeploymentTest, ZoneNarrowedToNothingStillGivesAHexOfTheMap)
{
    DeploymentMap map(10, 10);
    auto deployment = map.Deployment();
    map.Rolls({ { 1, 1 }, { 1, 1 } });
    EXPECT_EQ(deployment->RandomHexIn({ 7, 12, 3, 11 }), (HexPosition { 7, 9 }));
}

TEST(DeploymentTest, CoverNodeIsTheLowestNodeHoldingEveryChosenUnit)
{
    auto corps = MakeUnit("K1052001");
    UnitRecord* division1 = AttachChildUnit(MakeUnit("D1042001"), *corps);
    UnitRecord* division2 = AttachChildUnit(MakeUnit("D1042002"), *corps);
    UnitRecord* company = AttachChildUnit(MakeUnit("C1002001"), *division2);
    AttachChildUnit(MakeRifles(), *company)->m_role = 0;
    EXPECT_EQ(ForceDeployment::CoverNode(corps.get()), nullptr);
    company->m_role = 1;
    EXPECT_EQ(ForceDeployment::CoverNode(corps.get()), company);
    UnitRecord* other = AttachChildUnit(MakeUnit("C1002002"), *division1);
    other->m_role = 1;
    EXPECT_EQ(ForceDeployment::CoverNode(corps.get()), corps.get());
    EXPECT_EQ(ForceDeployment::CoverNode(nullptr), nullptr);
}

TEST(DeploymentTest, FacingsFollowTheDirectionAndAFullHexIsAvoidedOnce)
{
    struct Case {
        int direction;
        std::vector<std::int32_t> facings;
    };
    const Case cases[] = { { 1, { 1, 2, 32, 4 } }, { 8, { 8, 16, 4, 32 } } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        DeploymentMap map(10, 10);
        auto deployment = map.Deployment();
        deployment->BeginSide(1, nullptr);
        const DeploymentZone zone { 0, 0, 9, 9 };
        std::vector<std::unique_ptr<UnitRecord>> tanks;
        for (int i = 0; i < 6; ++i)
            tanks.push_back(MakeTank());
        for (int i = 0; i < 4; ++i) {
            deployment->PlacePlatoon(*tanks[static_cast<std::size_t>(i)], { 5, 5 }, zone, c.direction);
            EXPECT_EQ(tanks[static_cast<std::size_t>(i)]->m_facing, c.facings[static_cast<std::size_t>(i)]);
            EXPECT_EQ(tanks[static_cast<std::size_t>(i)]->m_deployDirection, c.direction);
        }
        EXPECT_EQ(deployment->StackCount(5, 5), 4);
        // Full: one new draw...
        map.Rolls({ { 4, 9 }, { 3, 9 } });
        deployment->PlacePlatoon(*tanks[4], { 5, 5 }, zone, c.direction);
        EXPECT_EQ((HexPosition { tanks[4]->m_x, tanks[4]->m_y }), (HexPosition { 3, 2 }));
        EXPECT_EQ(tanks[4]->m_facing, c.direction);
        // ...whose hex is taken whatever it holds.
        map.Rolls({ { 6, 9 }, { 6, 9 } });
        deployment->PlacePlatoon(*tanks[5], { 5, 5 }, zone, c.direction);
        EXPECT_EQ((HexPosition { tanks[5]->m_x, tanks[5]->m_y }), (HexPosition { 5, 5 }));
        EXPECT_EQ(deployment->StackCount(5, 5), 5);
        // Five there: every facing but the one to the rear.
        EXPECT_EQ(deployment->UsedFacings(5, 5), 63u & ~static_cast<std::uint32_t>(c.direction == 1 ? 8 : 1));
    }
}

TEST(DeploymentTest, CarriersJoinWaitingPassengersThenTowables)
{
    DeploymentMap map(10, 10);
    map.WaterColumn(9);
    auto deployment = map.Deployment();
    deployment->BeginSide(1, nullptr);
    const DeploymentZone zone { 0, 0, 9, 9 };
    auto gunA = MakeGun();
    auto gunB = MakeGun();
    auto rifles = MakeRifles();
    deployment->PlacePlatoon(*gunA, { 6, 2 }, zone, 1);
    deployment->PlacePlatoon(*gunB, { 3, 7 }, zone, 1);
    deployment->PlacePlatoon(*rifles, { 1, 1 }, zone, 1);
    EXPECT_EQ(deployment->WaitingPassengers(6, 2), 1);
    EXPECT_EQ(deployment->WaitingTowables(1, 1), 1);

    std::vector<HexPosition> hexes;
    for (int i = 0; i < 4; ++i) {
        auto truck = MakeTruck();
        deployment->PlacePlatoon(*truck, { 9, 8 }, zone, 1);
        hexes.push_back({ truck->m_x, truck->m_y });
    }
    // Columns first: the gun in column 3, then column 6, then the rifles;
    // the last finds none and slides off the water westward.
    EXPECT_EQ(hexes, (std::vector<HexPosition> { { 3, 7 }, { 6, 2 }, { 1, 1 }, { 8, 9 } }));
    EXPECT_EQ(deployment->WaitingPassengers(3, 7), 0);
    EXPECT_EQ(deployment->WaitingPassengers(6, 2), 0);
    EXPECT_EQ(deployment->WaitingTowables(1, 1), 0);
    EXPECT_EQ(deployment->StackCount(3, 7), 2);
}

TEST(DeploymentTest, ArtilleryReachingPastTheMapFiresFromBeyondItsEdge)
{
    struct Case {
        int reach;
        int direction;
        int y; // 99: on the map
    };
    const Case cases[] = {
        { 44, 1, 30 },
        { 25, 1, 25 },
        { 25, 8, -5 },
        { 44, 8, -10 },
        { 25, 32, 25 },
        { 25, 16, -5 },
        { 20, 1, 99 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reach << " " << c.direction);
        DeploymentMap map(10, 20);
        map.reaches.Add(10300, c.reach);
        auto deployment = map.Deployment();
        deployment->BeginSide(1, nullptr);
        auto howitzers = MakeHowitzers();
        map.Rolls({ { 4, 10 } });
        deployment->PlacePlatoon(*howitzers, { 2, 12 }, { 0, 10, 9, 19 }, c.direction);
        if (c.y == 99) {
            EXPECT_EQ((HexPosition { howitzers->m_x, howitzers->m_y }), (HexPosition { 2, 12 }));
            EXPECT_EQ(deployment->OffMapCount(), 0);
            continue;
        }
        EXPECT_EQ((HexPosition { howitzers->m_x, howitzers->m_y }), (HexPosition { 3, c.y }));
        EXPECT_EQ(howitzers->m_facing, c.direction);
        EXPECT_EQ(deployment->OffMapCount(), 1);

        // Its prime mover has nothing to tow and stays out of the battle.
        auto truck = MakeTruck();
        deployment->PlacePlatoon(*truck, { 2, 12 }, { 0, 10, 9, 19 }, c.direction);
        EXPECT_EQ(truck->m_role, 9);
        EXPECT_EQ((HexPosition { truck->m_x, truck->m_y }), (HexPosition { -1, -1 }));
        EXPECT_EQ(deployment->OffMapCount(), 0);
        EXPECT_EQ(deployment->StackCount(2, 12), 0);
    }
}

TEST(DeploymentTest, CompanionsFollowTheirPlatoon)
{
    struct Case {
        int direction;
        int oldRow;
        bool moves;
    };
    const Case cases[] = {
        { 1, 8, true },
        { 1, 10, true },
        { 1, 12, false },
        { 8, 12, true },
        { 8, 8, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction << " " << c.oldRow);
        DeploymentMap map(20, 20);
        auto deployment = map.Deployment();
        deployment->BeginSide(1, nullptr);
        auto battalion = MakeUnit("B1012001");
        UnitRecord* leader = AttachChildUnit(MakePlatoon("P10401", 2, 3), *battalion);
        UnitRecord* headquarters = AttachChildUnit(MakePlatoon("P10301", 2, 3), *battalion);
        UnitRecord* company = AttachChildUnit(MakeUnit("C1002001"), *battalion);
        UnitRecord* rifles = AttachChildUnit(MakeRifles(), *company);
        headquarters->m_x = 1;
        headquarters->m_y = c.oldRow;
        deployment->PlacePlatoon(*rifles, { 5, 10 }, { 0, 0, 19, 19 }, c.direction);
        EXPECT_EQ((HexPosition { leader->m_x, leader->m_y }), (HexPosition { 5, 10 }));
        EXPECT_EQ((HexPosition { headquarters->m_x, headquarters->m_y }),
            c.moves ? (HexPosition { 5, 10 }) : (HexPosition { 1, c.oldRow }));
    }
    // A platoon without grandparent has none.
    DeploymentMap map(20, 20);
    auto deployment = map.Deployment();
    deployment->BeginSide(1, nullptr);
    auto lone = MakeRifles();
    deployment->PlacePlatoon(*lone, { 5, 10 }, { 0, 0, 19, 19 }, 1);
    EXPECT_EQ((HexPosition { lone->m_x, lone->m_y }), (HexPosition { 5, 10 }));
}

TEST(DeploymentTest, SlideOffWaterByDirection)
{
    DeploymentMap map(10, 10);
    map.WaterColumn(3);
    map.WaterColumn(4);
    auto deployment = map.Deployment();
    struct Case {
        HexPosition from;
        int direction;
        HexPosition to;
    };
    const Case cases[] = {
        { { 3, 5 }, 1, { 2, 9 } },
        { { 4, 5 }, 2, { 2, 5 } },
        { { 4, 5 }, 4, { 2, 5 } },
        { { 3, 5 }, 8, { 2, 0 } },
        { { 3, 5 }, 16, { 5, 5 } },
        { { 3, 5 }, 32, { 5, 5 } },
        { { 6, 5 }, 1, { 6, 5 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(deployment->SlideOffWater(c.from, c.direction), c.to) << c.direction;

    // Water along the bottom row: direction 1 goes down, then west, then east.
    DeploymentMap bottom(10, 10);
    bottom.WaterRow(9);
    bottom.Terrain(0, 9, ' ');
    bottom.Terrain(1, 8, 'w');
    EXPECT_EQ(bottom.Deployment()->SlideOffWater({ 1, 8 }, 1), (HexPosition { 0, 9 }));
    bottom.Terrain(0, 9, 'w');
    bottom.Terrain(9, 9, ' ');
    EXPECT_EQ(bottom.Deployment()->SlideOffWater({ 1, 8 }, 1), (HexPosition { 9, 9 }));
}

TEST(DeploymentTest, EntryHexesTakeARoadOfTheEdgeElseAHexOffWater)
{
    DeploymentMap map(10, 8);
    map.Road(4, 7);
    map.Road(7, 7, 14);
    map.Road(2, 0, 1);
    map.Road(0, 3, 11);
    map.Road(9, 6);
    auto deployment = map.Deployment();
    // The second road is taken when its draw is at most 100 / 2.
    map.Rolls({ { 1, 100 }, { 50, 100 } });
    EXPECT_EQ(deployment->ChooseEntryHex(1), (HexPosition { 7, 7 }));
    map.Rolls({ { 100, 100 }, { 51, 100 } });
    EXPECT_EQ(deployment->ChooseEntryHex(1), (HexPosition { 4, 7 }));
    map.Rolls({ { 77, 100 } });
    EXPECT_EQ(deployment->ChooseEntryHex(8), (HexPosition { 2, 0 }));
    map.Rolls({ { 77, 100 } });
    EXPECT_EQ(deployment->ChooseEntryHex(2), (HexPosition { 0, 3 }));
    map.Rolls({ { 77, 100 } });
    EXPECT_EQ(deployment->ChooseEntryHex(32), (HexPosition { 9, 6 }));

    // No road on land: random hexes of the strip until one is not water.
    DeploymentMap wet(10, 8);
    wet.WaterRow(7);
    wet.Terrain(6, 7, ' ');
    wet.Road(4, 7);
    auto fallback = wet.Deployment();
    wet.Rolls({ { 2, 10 }, { 5, 10 }, { 7, 10 } });
    EXPECT_EQ(fallback->ChooseEntryHex(1), (HexPosition { 6, 7 }));
    wet.Rolls({ { 3, 8 } });
    EXPECT_EQ(fallback->ChooseEntryHex(16), (HexPosition { 9, 2 }));
}

TEST(DeploymentTest, ReinforcementChancesByMissionAndSide)
{
    const int attacker[] = { 0, 100, 30, 30, 0, 50, 30, 20, 25, 30, 60, 40, 0 };
    const int defender[] = { 0, 100, 30, 10, 20, 20, 0, 0, 0, 70, 25, 25, 0 };
    for (int mission = 0; mission <= 12; ++mission) {
        EXPECT_EQ(ReinforcementChance(mission, true), attacker[mission]) << mission;
        EXPECT_EQ(ReinforcementChance(mission, false), defender[mission]) << mission;
    }
}

TEST(DeploymentTest, GroupsArriveByFoursAndPlatoonRunsShareTheirEntry)
{
    DeploymentMap map(10, 10);
    auto deployment = map.Deployment(nullptr, nullptr, 9, 1);
    deployment->BeginSide(1, nullptr);
    auto company = MakeUnit("C1002001");
    std::vector<UnitRecord*> platoons;
    for (int i = 0; i < 5; ++i)
        platoons.push_back(AttachChildUnit(MakeRifles(), *company));
    UnitRecord* battery = AttachChildUnit(MakeHowitzers(), *company);
    map.Rolls({ { 3, 10 }, { 8, 10 }, { 8, 10 }, { 8, 10 }, { 8, 10 }, { 8, 10 } });
    for (UnitRecord* platoon : platoons)
        deployment->MakeReinforcement(*platoon, 1);
    deployment->MakeReinforcement(*battery, 1);
    const std::vector<std::int32_t> arrivals = { 0, 0, 0, 0, 6 };
    for (std::size_t i = 0; i < platoons.size(); ++i) {
        EXPECT_EQ(platoons[i]->m_arrival, arrivals[i]) << i;
        EXPECT_EQ(platoons[i]->m_role, 2);
        EXPECT_EQ(platoons[i]->m_arrivalValue, 30);
        EXPECT_EQ((HexPosition { platoons[i]->m_x, platoons[i]->m_y }), (HexPosition { 2, 9 })) << i;
    }
    EXPECT_EQ(battery->m_arrival, 36);
    EXPECT_EQ(deployment->GroupCount(), 6);

    // A formation of formations passes the making on to its subunits.
    auto battalion = MakeUnit("B1012001");
    UnitRecord* first = AttachChildUnit(MakeUnit("C1002001"), *battalion);
    AttachChildUnit(MakeRifles(), *first);
    UnitRecord* second = AttachChildUnit(MakeUnit("C1002002"), *battalion);
    AttachChildUnit(MakeRifles(), *second);
    deployment->BeginSide(0, nullptr);
    map.Rolls({ { 3, 10 }, { 4, 10 } });
    deployment->MakeReinforcement(*battalion, 8);
    EXPECT_EQ(battalion->m_role, 0);
    EXPECT_EQ(first->m_role, 2);
    EXPECT_EQ(second->m_role, 2);
    EXPECT_EQ((HexPosition { first->m_x, first->m_y }), (HexPosition { 2, 0 }));
    EXPECT_EQ((HexPosition { second->m_x, second->m_y }), (HexPosition { 3, 0 }));
    EXPECT_EQ(first->m_arrivalValue, 70);
}

TEST(DeploymentTest, FirstUnitOfAHexTakesTheNextObjectiveOfItsSide)
{
    DeploymentMap map(10, 10);
    auto deployment = map.Deployment();
    ObjectivePoint first;
    first.m_code = 5;
    first.m_owner = 10; // side 0
    auto second = std::make_unique<ObjectivePoint>();
    second->m_code = 3;
    second->m_owner = 1; // a side number
    ObjectivePoint* secondPoint = second.get();
    first.m_next = std::move(second);
    deployment->BeginSide(1, &first);
    auto a = MakeTank();
    auto b = MakeTank();
    auto c = MakeTank();
    deployment->PlacePlatoon(*a, { 2, 3 }, { 0, 0, 9, 9 }, 1);
    deployment->PlacePlatoon(*b, { 2, 3 }, { 0, 0, 9, 9 }, 1);
    deployment->PlacePlatoon(*c, { 6, 7 }, { 0, 0, 9, 9 }, 1);
    EXPECT_EQ((HexPosition { secondPoint->m_x, secondPoint->m_y }), (HexPosition { 2, 3 }));
    EXPECT_EQ((HexPosition { first.m_x, first.m_y }), (HexPosition { 0, 0 }));
}

TEST(DeploymentTest, SideObjectivesPreferUnitsThenTownsThenHeightsAwayFromTheEdge)
{
    auto objective = [](std::int32_t owner, std::int32_t value = 100) {
        auto point = std::make_unique<ObjectivePoint>();
        point->m_code = 5;
        point->m_owner = owner;
        point->m_value = value;
        return point;
    };
    DeploymentMap map(20, 20);
    auto units = MakeTank();
    auto deployment = map.Deployment();
    deployment->BeginSide(1, nullptr);
    deployment->PlacePlatoon(*units, { 8, 15 }, { 0, 0, 19, 19 }, 1);
    map.Terrain(12, 14, 'v');
    map.At(7, 16).elevation = 3;
    auto list = objective(1);
    list->m_next = objective(1);
    list->m_next->m_next = objective(1);
    list->m_next->m_next->m_next = objective(10); // side 0's: not placed here
    // One candidate each: one draw each.
    map.Rolls({ { 1, 100 }, { 1, 100 }, { 1, 100 } });
    deployment->PlaceSideObjectives(1, { 4, 10, 16, 19 }, 1, list.get());
    EXPECT_EQ((HexPosition { list->m_x, list->m_y }), (HexPosition { 8, 15 }));
    // The town is within 3 hexes of the first: blocked; the height is too.
    // The rest of the zone is all at level 0 and open: the highest open.
    const ObjectivePoint& second = *list->m_next;
    EXPECT_GE(std::max(std::abs(second.m_x - 8), std::abs(second.m_y - 15)), 4);
    EXPECT_LE(second.m_y, 15);
    EXPECT_EQ(
        (HexPosition { list->m_next->m_next->m_next->m_x, list->m_next->m_next->m_next->m_y }), (HexPosition { 0, 0 }));
    EXPECT_TRUE(deployment->IsObjectiveBlocked(8, 18));
    EXPECT_FALSE(deployment->IsObjectiveBlocked(0, 10));

    // A town first when no open hex holds units; an edge hex moves in.
    DeploymentMap town(20, 20);
    town.Terrain(2, 18, 'c');
    auto townDeployment = town.Deployment();
    auto single = objective(1);
    town.Rolls({ { 1, 100 } });
    townDeployment->PlaceSideObjectives(1, { 0, 10, 20, 20 }, 1, single.get());
    EXPECT_EQ((HexPosition { single->m_x, single->m_y }), (HexPosition { 5, 15 }));

    // Columns from the west are open up to the first that starts in water.
    DeploymentMap river(20, 20);
    river.WaterColumn(10);
    river.Terrain(4, 14, 'u');
    river.Terrain(14, 14, 'u');
    auto riverDeployment = river.Deployment();
    auto behind = objective(1);
    river.Rolls({ { 1, 100 } });
    riverDeployment->PlaceSideObjectives(1, { 0, 10, 20, 20 }, 1, behind.get());
    EXPECT_EQ((HexPosition { behind->m_x, behind->m_y }), (HexPosition { 5, 14 }));
    EXPECT_TRUE(riverDeployment->IsObjectiveBlocked(14, 14));

    // An exit lies on the enemy's edge, a road there if there is one.
    DeploymentMap exit(20, 20);
    exit.Road(6, 0);
    auto exitDeployment = exit.Deployment();
    auto leave = objective(1, -1);
    exit.Rolls({ { 1, 100 } });
    exitDeployment->PlaceSideObjectives(1, { 0, 10, 20, 20 }, 1, leave.get());
    EXPECT_EQ((HexPosition { leave->m_x, leave->m_y }), (HexPosition { 6, 0 }));
}

TEST(DeploymentTest, MeetingEngagementObjectivesLieInTheMiddleRows)
{
    DeploymentMap map(20, 20);
    auto deployment = map.Deployment(nullptr, nullptr, 1, 0);
    for (int roll = 1; roll <= 4; ++roll) {
        ObjectivePoint point;
        point.m_code = 5;
        point.m_owner = 10;
        point.m_value = 50;
        map.Rolls({ { 12, 20 }, { roll, 4 } });
        deployment->PlaceSideObjectives(0, deployment->InnerZone(0), 8, &point);
        EXPECT_EQ((HexPosition { point.m_x, point.m_y }), (HexPosition { 11, 12 - roll })) << roll;
    }
}

TEST(DeploymentTest, DeployPlacesWholeForcesAndMovesCodeFourObjectivesOffUnitsAndWater)
{
    DeploymentMap map(20, 20);
    map.WaterColumn(0);
    auto force1 = MakeUnit("C0102001");
    for (int i = 0; i < 3; ++i)
        AttachChildUnit(MakeRifles("P01200"), *force1);
    force1->m_role = 1;
    auto force0 = MakeUnit("C1002001");
    for (int i = 0; i < 3; ++i)
        AttachChildUnit(MakeTank(), *force0);
    force0->m_role = 1;
    auto objectives = std::make_unique<ObjectivePoint>();
    objectives->m_code = 4;
    objectives->m_x = 0;
    objectives->m_y = 5;
    map.random.SeedWith(7);
    auto deployment = map.Deployment(force0.get(), force1.get(), 3, 0);
    deployment->Deploy(objectives.get());
    for (const UnitRecord* force : { force0.get(), force1.get() })
        for (const UnitRecord* unit = force->m_firstChild.get(); unit; unit = unit->m_nextSibling.get()) {
            EXPECT_NE(unit->m_x, 0) << "slid off the water";
            EXPECT_EQ(unit->m_deployDirection, force == force0.get() ? 8 : 1);
            if (force == force0.get())
                EXPECT_LE(unit->m_y, 8);
            else
                EXPECT_GE(unit->m_y, 12);
        }
    EXPECT_NE(objectives->m_x, 0);
}

TEST(DeploymentTest, InAMeetingEngagementEveryChosenForceEntersFromItsEdge)
{
    for (const int attacker : { 0, 1 }) {
        DeploymentMap map(20, 20);
        auto force1 = MakeUnit("B0112001");
        UnitRecord* company1 = AttachChildUnit(MakeUnit("C0102001"), *force1);
        AttachChildUnit(MakeRifles("P01200"), *company1);
        company1->m_role = 1;
        auto force0 = MakeUnit("B1012001");
        UnitRecord* company0 = AttachChildUnit(MakeUnit("C1002001"), *force0);
        AttachChildUnit(MakeTank(), *company0);
        company0->m_role = 1;
        map.random.SeedWith(11);
        map.Deployment(force0.get(), force1.get(), 1, attacker)->Deploy(nullptr);
        EXPECT_EQ(company0->m_role, 2);
        EXPECT_EQ(company1->m_role, 2);
        EXPECT_EQ(company0->m_y, 0);
        EXPECT_EQ(company1->m_y, 19);
        EXPECT_EQ(company0->m_arrivalValue, 100);
        EXPECT_EQ(company0->m_deployDirection, 8);
        EXPECT_EQ(company1->m_deployDirection, 1);
    }
}

} // namespace

namespace {

TEST(WeaponReachTest, ReachIsTheLongerLineOfValuesTheModelReads)
{
    TempDir folder;
    WeaponReachList reaches;
    EXPECT_FALSE(reaches.Read(folder.Path()));
    EXPECT_TRUE(reaches.IsRead());
    EXPECT_EQ(reaches.FindReach(10300), 0);

    folder.Write("WEAPON.PDX",
        ScrambleText("W10300 0 0 3 3 3   # notes 1 2 3 4 5 6 7 8\n-1 -1 12 12 12 12 12\n"
                     "W00051 4 4\n5\n"
                     "W10300 1\n1\n"
                     "\n"
                     "W1300 1 1 1\n2 2 2 2 x 9 9\n"));
    EXPECT_TRUE(reaches.Read(folder.Path()));
    EXPECT_EQ(reaches.FindReach(10300), 7); // the first record of the type
    EXPECT_EQ(reaches.FindReach(51), 2);
    EXPECT_EQ(reaches.FindReach(1300), 4);
    EXPECT_EQ(reaches.FindReach(1), 0);

    // A record cut short ends the list; what came before stays.
    folder.Write("WEAPON.PDX", ScrambleText("W10300 1 1\n1\nW1300 1 1 1\n"));
    EXPECT_TRUE(reaches.Read(folder.Path()));
    EXPECT_EQ(reaches.FindReach(10300), 2);
    EXPECT_EQ(reaches.FindReach(1300), 0);
}

} // namespace
