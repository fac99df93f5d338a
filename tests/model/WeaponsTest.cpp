#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "model/GameWeapons.h"
#include "model/PlatoonType.h"
#include "model/Scramble.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

std::string HundredAndOne()
{
    std::string line = "G0404";
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // a literal prepended to a temporary string.
    for (int range = 1; range <= 101; ++range)
        line.append(" ").append(std::to_string(range));
    return line;
}

// Soft value 1 at range 1 and smoke at range 100, no line feed after it.
std::string SoftLineWithSmokeAtHundred()
{
    std::string line = "1";
    for (int range = 2; range < 100; ++range)
        line += " 0";
    return line + " -1";
}

// Smoke out to 3 hexes, a hard-only gun, a record without hard values, one
// with every range filled (and a 101st value too many); a blank line between
// records and no line feed at the end.
const std::string kWeapons = "W0101 10 9 8 0 5\n"
                             "-1 -1 -1 4 3 2\n"
                             "\n"
                             "X202 0 0 6 6 6\n"
                             "\n"
                             "A0303\n"
                             "7\n"
    + HundredAndOne() + "\n" + SoftLineWithSmokeAtHundred();

PlatoonType TypeWith(const WeaponRecord* weapon)
{
    PlatoonType type;
    type.m_weapon = weapon;
    return type;
}

} // namespace

TEST(WeaponsTest, LoadsRecordsInFileOrder)
{
    TempDir dir;
    dir.Write("weapon.pdx", ScrambleText(kWeapons));
    ScopedCurrentDir inDir(dir.Path());
    CGameWeapons weapons;
    EXPECT_TRUE(weapons.m_weaponFileTime.IsWatched());
    ASSERT_EQ(weapons.m_weapons.Count(), 4u);
    int ids[4] = {};
    int i = 0;
    for (const WeaponRecord& record : weapons.m_weapons)
        ids[i++] = record.m_weaponId;
    EXPECT_EQ(ids[0], 101);
    EXPECT_EQ(ids[1], 202);
    EXPECT_EQ(ids[2], 303);
    EXPECT_EQ(ids[3], 404);

    EXPECT_EQ(weapons.FindWeapon(202), &weapons.m_weapons.Head()->next->value);
    EXPECT_EQ(weapons.FindWeapon(999), nullptr);
    const WeaponRecord* full = weapons.FindWeapon(404);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetHardValue(100), 100);
    EXPECT_EQ(full->GetSoftValue(1), 1);
    EXPECT_EQ(full->GetSoftValue(100), -1); // the last line kept without its line feed
}

TEST(WeaponsTest, ValuesByRangeAndRangeLimits)
{
    TempDir dir;
    dir.Write("weapon.pdx", ScrambleText(kWeapons));
    ScopedCurrentDir inDir(dir.Path());
    CGameWeapons weapons;
    const WeaponRecord* gun = weapons.FindWeapon(101);
    ASSERT_NE(gun, nullptr);

    struct Case {
        int range;
        int hard;
        int soft;
    };
    const Case cases[] = {
        { 0, 10, -1 }, // range 0 reads range 1
        { 1, 10, -1 },
        { 3, 8, -1 },
        { 4, 0, 4 },
        { 5, 5, 3 },
        { 6, 0, 2 },
        { 7, 0, 0 },
        { 100, 0, 0 },
        { 101, 0, 0 },
        { -1, 0, 0 },
    };
    const PlatoonType type = TypeWith(gun);
    for (const Case& c : cases) {
        EXPECT_EQ(gun->GetHardValue(c.range), c.hard) << c.range;
        EXPECT_EQ(gun->GetSoftValue(c.range), c.soft) << c.range;
        EXPECT_EQ(CGameWeapons::GetFireValueVsHard(&type, c.range), c.hard) << c.range;
        EXPECT_EQ(CGameWeapons::GetFireValueVsSoft(&type, c.range), c.soft) << c.range;
    }

    // Per weapon: max hard, max soft, smoke, min hard, min soft, first hard,
    // first soft, minimum range, maximum range, nominal firepower.
    struct Ranges {
        int id;
        int values[10];
    };
    const Ranges ranges[] = {
        { 101, { 5, 6, 3, 1, 4, 10, -1, 1, 6, 10 } },
        { 202, { 5, 0, 0, 3, 0, 6, 0, 0, 5, 6 } }, // hard values only: minimum range 0
        { 303, { 0, 1, 0, 0, 1, 0, 7, 0, 1, 7 } },
        { 404, { 100, 1, 100, 1, 1, 1, 1, 1, 100, 1 } },
    };
    for (const Ranges& r : ranges) {
        const WeaponRecord* weapon = weapons.FindWeapon(r.id);
        ASSERT_NE(weapon, nullptr) << r.id;
        const PlatoonType t = TypeWith(weapon);
        const int got[10] = {
            CGameWeapons::GetMaxRangeVsHard(&t),
            CGameWeapons::GetMaxRangeVsSoft(&t),
            CGameWeapons::GetSmokeRange(&t),
            CGameWeapons::GetMinRangeVsHard(&t),
            CGameWeapons::GetMinRangeVsSoft(&t),
            CGameWeapons::GetFirstValueVsHard(&t),
            CGameWeapons::GetFirstValueVsSoft(&t),
            CGameWeapons::GetMinimumRange(&t),
            CGameWeapons::GetMaximumRange(&t),
            CGameWeapons::GetNominalFirepower(&t),
        };
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(got[k], r.values[k]) << r.id << " query " << k;
    }

    // A type without a record, and no type at all, answer 0 everywhere.
    const PlatoonType unarmed = TypeWith(nullptr);
    for (const PlatoonType* t : { &unarmed, static_cast<const PlatoonType*>(nullptr) }) {
        EXPECT_EQ(CGameWeapons::GetMaximumRange(t), 0);
        EXPECT_EQ(CGameWeapons::GetMinimumRange(t), 0);
        EXPECT_EQ(CGameWeapons::GetSmokeRange(t), 0);
        EXPECT_EQ(CGameWeapons::GetNominalFirepower(t), 0);
        EXPECT_EQ(CGameWeapons::GetFireValueVsHard(t, 1), 0);
        EXPECT_EQ(CGameWeapons::GetFireValueVsSoft(t, 1), 0);
    }
}

TEST(WeaponsTest, DamagedFilesKeepTheList)
{
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        { "record cut after its first line", "W0101 10 9\n-1 4\nW0505 3 3\n" },
        { "first line without an id", "W0101 10 9\n-1 4\nWxyz 3\n1\n" },
        { "id out of range", "W99999999999 3\n1\n" },
        { "over-long line", "W0101 10 9\n" + std::string(1500, '1') + "\n" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path file = dir.Write("weapon.pdx", ScrambleText(kWeapons));
        SetFileTime(file, 100);
        ScopedCurrentDir inDir(dir.Path());
        ReloadableLayer<CGameWeapons> weapons;
        ASSERT_EQ(weapons.m_weapons.Count(), 4u) << c.what;
        const WeaponRecord* before = weapons.FindWeapon(101);

        dir.Write("weapon.pdx", ScrambleText(c.text));
        SetFileTime(file, 50);
        EXPECT_EQ(weapons.Reload(), nullptr) << c.what;
        EXPECT_EQ(weapons.m_weapons.Count(), 4u) << c.what;
        // The records are the very ones held before, so bound types stay valid.
        EXPECT_EQ(weapons.FindWeapon(101), before) << c.what;
        EXPECT_EQ(weapons.FindWeapon(505), nullptr) << c.what;
    }
}

TEST(WeaponsTest, ShortLinesAndStrayValues)
{
    TempDir dir;
    dir.Write("weapon.pdx", ScrambleText("W0101 5 99999999999 7\n2 x 3\n"));
    ScopedCurrentDir inDir(dir.Path());
    CGameWeapons weapons;
    const WeaponRecord* weapon = weapons.FindWeapon(101);
    ASSERT_NE(weapon, nullptr);
    // A value that does not read ends the line; the rest stay 0.
    EXPECT_EQ(weapon->GetHardValue(1), 5);
    EXPECT_EQ(weapon->GetHardValue(2), 0);
    EXPECT_EQ(weapon->GetHardValue(3), 0);
    EXPECT_EQ(weapon->GetSoftValue(1), 2);
    EXPECT_EQ(weapon->GetSoftValue(2), 0);
}

TEST(WeaponsTest, AnIdOfZerosIsIdZero)
{
    // The zeros are the whole id: the number after them is the first value,
    // not the id.
    TempDir dir;
    dir.Write("weapon.pdx", ScrambleText("Z00000 4 3\n2\nY0 7\n1\n"));
    ScopedCurrentDir inDir(dir.Path());
    CGameWeapons weapons;
    ASSERT_EQ(weapons.m_weapons.Count(), 2u);
    const WeaponRecord& first = weapons.m_weapons.Head()->value;
    EXPECT_EQ(first.m_weaponId, 0);
    EXPECT_EQ(first.GetHardValue(1), 4);
    EXPECT_EQ(first.GetHardValue(2), 3);
    EXPECT_EQ(first.GetSoftValue(1), 2);
    EXPECT_EQ(weapons.m_weapons.Last()->value.m_weaponId, 0);
    EXPECT_EQ(weapons.m_weapons.Last()->value.GetHardValue(1), 7);
    EXPECT_EQ(weapons.FindWeapon(4), nullptr);
    EXPECT_EQ(weapons.FindWeapon(7), nullptr);
}

TEST(WeaponsTest, MissingFileKeepsList)
{
    TempDir dir;
    const fs::path file = dir.Write("weapon.pdx", ScrambleText(kWeapons));
    ScopedCurrentDir inDir(dir.Path());
    ReloadableLayer<CGameWeapons> weapons;
    fs::remove(file);
    EXPECT_EQ(weapons.Reload(), nullptr);
    EXPECT_EQ(weapons.m_weapons.Count(), 4u);

    TempDir empty;
    ScopedCurrentDir inEmpty(empty.Path());
    CGameWeapons none;
    EXPECT_TRUE(none.m_weapons.IsEmpty());
    EXPECT_FALSE(none.m_weaponFileTime.IsWatched());
    EXPECT_FALSE(none.CheckFilesChanged());
}
