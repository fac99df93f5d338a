#include "model/GameMovementCosts.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "model/DataFile.h"
#include "model/TextScan.h"
#include "model/PlatoonType.h"

namespace {

constexpr std::uint32_t kMoveAmphibious = 0x100;
constexpr int kSnowArray = 3;
constexpr int kAmphibiousRow = 5;
constexpr int kAmphibiousSnowRow = 8;

// Movement flags and the row they select, tested in this order (the
// amphibious bit 0x100 comes first and is handled apart).
struct RowRule {
    std::uint32_t flag;
    int row;
};
constexpr RowRule kRowRules[] = {
    { 0x1, 0 },
    { 0x4, 1 },
    { 0x8, 2 },
    { 0x10, 3 },
    { 0x2000, 4 },
    { 0x2, 5 },
    { 0x200, 6 },
    { 0x400, 7 },
    { 0x800, 9 },
    { 0x1000, 10 },
};

constexpr int kWaterTerrain = 1;
constexpr int kMarshTerrain = 3;
constexpr int kSwampTerrain = 15;
constexpr int kWaterEntryCost = 100;

// A double held to the int range before it is converted.
int ClampToInt(double value)
{
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    if (value >= kMax)
        return std::numeric_limits<int>::max();
    if (value <= kMin)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The per-hex cost of open ground at the type's speed, before rounding.
double BaseCost(int allowance, int minutesPerTurn, int metresPerHex)
{
    return (metresPerHex / 1000.0) * 100.0 / (static_cast<double>(allowance) * minutesPerTurn / 60.0);
}

} // namespace

void MovementCostRecord::ParseEntries(std::string_view line)
{
    std::istringstream in { std::string(line) };
    for (std::int32_t& entry : m_entries) {
        std::int32_t value = 0;
        // A failed read (also an out-of-range number) ends the line and
        // leaves this entry as it was.
        if (!(in >> value))
            return;
        entry = value;
    }
}

CGameMovementCosts::CGameMovementCosts()
    : m_map(0, 0, 0, BattleClock::kDefaultTimeLimit)
{
    LoadMovementCosts();
}

const char* CGameMovementCosts::Reload()
{
    LoadMovementCosts();
    return nullptr;
}

int CGameMovementCosts::GetRowIndex(const PlatoonType* type, int array)
{
    if (!type)
        return -1;
    const std::uint32_t flags = type->m_moveFlags;
    if (flags & kMoveAmphibious)
        return array == kSnowArray ? kAmphibiousSnowRow : kAmphibiousRow;
    for (const RowRule& rule : kRowRules)
        if (flags & rule.flag)
            return rule.row;
    return -1;
}

void CGameMovementCosts::BindMovementRows(PlatoonType& type) const
{
    for (int array = 0; array < kMovementArrayCount; ++array) {
        const int row = GetRowIndex(&type, array);
        type.m_movementRows[array] = row < 0 ? nullptr : &m_movementCosts[array][row];
    }
}

const MovementCostRecord* CGameMovementCosts::GetRow(const PlatoonType* type, int array)
{
    if (!type || array < 0 || array >= kMovementArrayCount)
        return nullptr;
    return type->m_movementRows[array];
}

int CGameMovementCosts::ConvertCost(const PlatoonType* type, int array, int entry, int minutesPerTurn, int metresPerHex)
{
    const MovementCostRecord* row = GetRow(type, array);
    if (!row || entry < 0 || entry >= MovementCostRecord::kEntryCount)
        return 0;
    const std::int32_t percent = row->m_entries[entry];
    if (percent == 0 || type->m_movementAllowance == 0 || minutesPerTurn == 0)
        return 0;
    // Evaluated in this order so that every machine rounds alike.
    const double cost = (percent / 100.0) * (metresPerHex / 1000.0) * 100.0
        / (static_cast<double>(type->m_movementAllowance) * minutesPerTurn / 60.0);
    const double whole = std::trunc(cost);
    // Rounded up: a part of a point costs a whole point.
    return ClampToInt(whole != cost ? whole + 1.0 : whole);
}

int CGameMovementCosts::GetTerrainCost(
    const PlatoonType* type, int array, int terrain, int minutesPerTurn, int metresPerHex)
{
    if (type && (type->m_moveFlags & kMoveWaterEntry)
        && (terrain == kWaterTerrain || terrain == kMarshTerrain || terrain == kSwampTerrain))
        return kWaterEntryCost;
    if (terrain < 0 || terrain >= MovementCostRecord::kTerrainEntries)
        return 0;
    return ConvertCost(type, array, terrain, minutesPerTurn, metresPerHex);
}

int CGameMovementCosts::GetFirstExtraCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex)
{
    return ConvertCost(type, array, MovementCostRecord::kFirstExtraEntry, minutesPerTurn, metresPerHex);
}

int CGameMovementCosts::GetSecondExtraCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex)
{
    return ConvertCost(type, array, MovementCostRecord::kSecondExtraEntry, minutesPerTurn, metresPerHex);
}

int CGameMovementCosts::GetHexsideFeatureCost(
    const PlatoonType* type, int array, int layer, int minutesPerTurn, int metresPerHex)
{
    if (layer < 0 || layer >= MovementCostRecord::kHexsideEntries)
        return 0;
    return ConvertCost(type, array, MovementCostRecord::kFirstHexsideEntry + layer, minutesPerTurn, metresPerHex);
}

int CGameMovementCosts::GetClimbCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex)
{
    return ConvertCost(type, array, MovementCostRecord::kClimbEntry, minutesPerTurn, metresPerHex);
}

int CGameMovementCosts::EstimateMoveRange(
    const PlatoonType* type, int actionPoints, int minutesPerTurn, int metresPerHex)
{
    if (!type || type->m_movementAllowance == 0 || minutesPerTurn == 0)
        return 0;
    std::int64_t perHex = ClampToInt(std::trunc(BaseCost(type->m_movementAllowance, minutesPerTurn, metresPerHex)));
    if (perHex == 0)
        perHex = 1;
    if (type->IsVehicle())
        perHex *= 3;
    const std::int64_t tenths = static_cast<std::int64_t>(actionPoints) * 10 / perHex;
    return ClampToInt(static_cast<double>(tenths));
}

String CGameMovementCosts::LocateThemedFile(std::string_view baseName) const
{
    const std::string prefix = m_map.GetThemePrefix();
    if (!prefix.empty()) {
        std::string themed = prefix + std::string(baseName);
        if (OpenDataFile(themed).is_open())
            return String(std::move(themed));
    }
    return String(std::string(baseName));
}

void CGameMovementCosts::LoadMovementCosts()
{
    const String name = LocateMovementFile();
    const auto time = m_movementFileTime.Watch(name.view());
    if (m_movementFileTime.Holds(name.view(), time))
        return;

    std::ifstream in = OpenDataFile(name.view());
    if (!in.is_open())
        return;

    // Read into a copy: a line that cannot be read leaves every row as it was.
    auto rows = m_movementCosts;
    std::string line;
    bool ended = false;
    for (CostArray& array : rows) {
        for (MovementCostRecord& row : array) {
            if (ended || !ReadScrambledContentLine(in, line)) {
                if (!in.eof())
                    return;
                ended = true;
                break;
            }
            row.ParseEntries(line);
        }
    }
    // Rows are assigned in place so that the types' row pointers stay valid.
    m_movementCosts = rows;
    m_movementFileTime.Hold(name.view(), time);
}

bool CGameMovementCosts::CheckFilesChanged() { return m_movementFileTime.CheckChanged(); }
