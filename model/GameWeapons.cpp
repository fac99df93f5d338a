#include "model/GameWeapons.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "model/DataFile.h"
#include "model/TextScan.h"
#include "model/PlatoonType.h"

namespace {

using Values = std::array<std::int32_t, WeaponRecord::kMaxRange>;

int ValueAt(const Values& values, int range)
{
    // Range 0 (the firer's own hex) fires as range 1.
    if (range == 0)
        range = 1;
    if (range < 1 || range > WeaponRecord::kMaxRange)
        return 0;
    return values[range - 1];
}

template <typename Test> int LargestRange(const Values& values, Test test)
{
    for (int range = WeaponRecord::kMaxRange; range >= 1; --range)
        if (test(values[range - 1]))
            return range;
    return 0;
}

template <typename Test> int SmallestRange(const Values& values, Test test)
{
    for (int range = 1; range <= WeaponRecord::kMaxRange; ++range)
        if (test(values[range - 1]))
            return range;
    return 0;
}

int FirstNonZero(const Values& values)
{
    for (std::int32_t value : values)
        if (value != 0)
            return value;
    return 0;
}

bool Positive(std::int32_t value) { return value > 0; }
bool Smoke(std::int32_t value) { return value == -1; }

// Reads values for ranges 1, 2, 3... until the text ends or stops being a
// number; the rest stay 0. The number of values read.
int ReadValues(std::istream& in, Values& values)
{
    int count = 0;
    for (std::int32_t& value : values) {
        std::int32_t read = 0;
        if (!(in >> read))
            break;
        value = read;
        ++count;
    }
    return count;
}

const WeaponRecord* WeaponOf(const PlatoonType* type) { return type ? type->m_weapon : nullptr; }

} // namespace

int WeaponRecord::GetHardValue(int range) const { return ValueAt(m_hardValue, range); }
int WeaponRecord::GetSoftValue(int range) const { return ValueAt(m_softValue, range); }
int WeaponRecord::GetMaxRangeVsHard() const { return LargestRange(m_hardValue, Positive); }
int WeaponRecord::GetMaxRangeVsSoft() const { return LargestRange(m_softValue, Positive); }
int WeaponRecord::GetSmokeRange() const { return LargestRange(m_softValue, Smoke); }
int WeaponRecord::GetMinRangeVsHard() const { return SmallestRange(m_hardValue, Positive); }
int WeaponRecord::GetMinRangeVsSoft() const { return SmallestRange(m_softValue, Positive); }
int WeaponRecord::GetFirstHardValue() const { return FirstNonZero(m_hardValue); }
int WeaponRecord::GetFirstSoftValue() const { return FirstNonZero(m_softValue); }

bool WeaponRecord::ParseLines(std::string_view first, std::string_view second)
{
    std::istringstream head { std::string(first) };
    char letter = 0;
    if (!(head >> letter))
        return false;
    // Leading zeros are skipped so that the id always reads as decimal; zeros
    // that are the whole id make id 0 (the next number is the first value).
    bool zeros = false;
    while (head.peek() == '0') {
        head.get();
        zeros = true;
    }
    std::int32_t id = 0;
    const bool digitFollows = IsDigitChar(static_cast<char>(head.peek()));
    if ((!zeros || digitFollows) && !(head >> id))
        return false;

    WeaponRecord record;
    record.m_weaponId = id;
    record.m_hardCount = ReadValues(head, record.m_hardValue);
    std::istringstream tail { std::string(second) };
    record.m_softCount = ReadValues(tail, record.m_softValue);
    *this = record;
    return true;
}

CGameWeapons::CGameWeapons() { LoadWeapons(); }

const char* CGameWeapons::Reload()
{
    if (const char* error = CGameMovementCosts::Reload())
        return error;
    LoadWeapons();
    return nullptr;
}

const WeaponRecord* CGameWeapons::FindWeapon(std::int32_t id) const
{
    for (const WeaponRecord& record : m_weapons)
        if (record.m_weaponId == id)
            return &record;
    return nullptr;
}

int CGameWeapons::GetMinimumRange(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? std::min(weapon->GetMinRangeVsHard(), weapon->GetMinRangeVsSoft()) : 0;
}

int CGameWeapons::GetMaximumRange(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? std::max(weapon->GetMaxRangeVsHard(), weapon->GetMaxRangeVsSoft()) : 0;
}

int CGameWeapons::GetMaxRangeVsHard(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetMaxRangeVsHard() : 0;
}

int CGameWeapons::GetMaxRangeVsSoft(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetMaxRangeVsSoft() : 0;
}

int CGameWeapons::GetSmokeRange(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetSmokeRange() : 0;
}

int CGameWeapons::GetMinRangeVsHard(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetMinRangeVsHard() : 0;
}

int CGameWeapons::GetMinRangeVsSoft(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetMinRangeVsSoft() : 0;
}

int CGameWeapons::GetNominalFirepower(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? std::max(weapon->GetFirstHardValue(), weapon->GetFirstSoftValue()) : 0;
}

int CGameWeapons::GetFirstValueVsHard(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetFirstHardValue() : 0;
}

int CGameWeapons::GetFirstValueVsSoft(const PlatoonType* type)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetFirstSoftValue() : 0;
}

int CGameWeapons::GetFireValueVsHard(const PlatoonType* type, int range)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetHardValue(range) : 0;
}

int CGameWeapons::GetFireValueVsSoft(const PlatoonType* type, int range)
{
    const WeaponRecord* weapon = WeaponOf(type);
    return weapon ? weapon->GetSoftValue(range) : 0;
}

void CGameWeapons::LoadWeapons()
{
    const auto time = m_weaponFileTime.Watch(kWeaponFileName);
    if (m_weaponFileTime.Holds(kWeaponFileName, time))
        return;

    std::ifstream in = OpenDataFile(kWeaponFileName);
    if (!in.is_open())
        return;

    WeaponList weapons;
    std::string first;
    std::string second;
    for (;;) {
        if (!ReadScrambledContentLine(in, first)) {
            // The plain end of the file ends the list; anything else is a
            // line that could not be read.
            if (!in.eof())
                return;
            break;
        }
        WeaponRecord record;
        if (!ReadScrambledLine(in, second) || !record.ParseLines(first, second))
            return;
        weapons.Append(record);
    }
    m_weapons = std::move(weapons);
    m_weaponFileTime.Hold(kWeaponFileName, time);
}

bool CGameWeapons::CheckFilesChanged()
{
    const bool changed = CGameMovementCosts::CheckFilesChanged();
    return m_weaponFileTime.CheckChanged() || changed;
}
