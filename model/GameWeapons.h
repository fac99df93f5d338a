#pragma once
// The second layer of the game object: the weapon records read from
// "weapon.pdx". Every platoon type fires with the record that bears its own
// id: fire values by range in hexes against hard and against soft targets,
// where a soft value of -1 marks a range at which the weapon can fire smoke.
//
// weapon.pdx holds two lines per record (each scrambled with the main
// variant): a letter, any '0' characters, the id and up to 100 hard values
// for ranges 1, 2, 3...; then up to 100 soft values. Missing values are 0.
// The name is never prefixed by a map theme.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/GameMovementCosts.h"
#include "model/Lists.h"

class PlatoonType;

struct WeaponRecord {
    static constexpr int kMaxRange = 100;

    // Value at a range of 1..100; range 0 reads range 1, anything else 0.
    int GetHardValue(int range) const;
    int GetSoftValue(int range) const;
    // Largest range whose value is positive; 0 when there is none.
    int GetMaxRangeVsHard() const;
    int GetMaxRangeVsSoft() const;
    // Largest range whose soft value is -1 (smoke); 0 when there is none.
    int GetSmokeRange() const;
    // Smallest range whose value is positive; 0 when there is none.
    int GetMinRangeVsHard() const;
    int GetMinRangeVsSoft() const;
    // The first non-zero value in range order (the soft one may be -1).
    int GetFirstHardValue() const;
    int GetFirstSoftValue() const;

    // Fills the record from its two descrambled lines. False, with the
    // record untouched, when the first line has no letter and id.
    bool ParseLines(std::string_view first, std::string_view second);

    std::int32_t m_weaponId = 0;
    // Index 0 holds range 1.
    std::array<std::int32_t, kMaxRange> m_hardValue {};
    std::array<std::int32_t, kMaxRange> m_softValue {};
    // How many values each line gave (the ranges it covers).
    int m_hardCount = 0;
    int m_softCount = 0;
};

using WeaponList = RecordList<WeaponRecord>;

class CGameWeapons : public CGameMovementCosts {
public:
    static constexpr std::string_view kWeaponFileName = "weapon.pdx";

    // The movement layer first, then the weapon file of the current folder.
    CGameWeapons();

    // The first record with the id, or null.
    const WeaponRecord* FindWeapon(std::int32_t id) const;

    // Queries on a type's bound weapon; 0 for a null type or one without record.
    static int GetMinimumRange(const PlatoonType* type);
    static int GetMaximumRange(const PlatoonType* type);
    static int GetMaxRangeVsHard(const PlatoonType* type);
    static int GetMaxRangeVsSoft(const PlatoonType* type);
    static int GetSmokeRange(const PlatoonType* type);
    static int GetMinRangeVsHard(const PlatoonType* type);
    static int GetMinRangeVsSoft(const PlatoonType* type);
    static int GetNominalFirepower(const PlatoonType* type);
    static int GetFirstValueVsHard(const PlatoonType* type);
    static int GetFirstValueVsSoft(const PlatoonType* type);
    static int GetFireValueVsHard(const PlatoonType* type, int range);
    static int GetFireValueVsSoft(const PlatoonType* type, int range);

    // Reads weapon.pdx when it is new or changed since the last read. A
    // missing file keeps the list; so does a damaged one (a record cut short
    // by the end of the file, a line that cannot be read, a first line
    // without id): the file is read into a new list that replaces the old
    // one only when every record was read. The weapon file has no error
    // text. A replaced list must be followed by re-binding the types'
    // weapons.
    void LoadWeapons();
    // The movement layer's check, then the weapon file's.
    bool CheckFilesChanged() override;

    WeaponList m_weapons;
    HeldFile m_weaponFileTime;

protected:
    // The movement layer's reload; when that gave no error, LoadWeapons.
    const char* Reload() override;
};
