#include "model/ParameterData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "model/DataFile.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kBuildingTerrain = 4;
constexpr int kHardTargetFlag = 0x1;

// Interpolated chances stay within this bound, so that a steep extrapolation
// or an unset defense never turns into an out-of-range integer.
constexpr double kOutcomeLimit = 1.0e9;

template <std::size_t N> void ReadValues(std::istream& in, int (&values)[N])
{
    for (int& value : values)
        in >> value;
}

} // namespace

ParameterData::ParameterData()
{
    for (auto& nation : m_nationPercent)
        std::fill(std::begin(nation), std::end(nation), 100);
}

std::istream& ParameterData::ReadFromStream(std::istream& in)
{
    // Parse into a copy so that a file failing halfway leaves no mixture of
    // old and new values behind.
    ParameterData work(*this);
    work.Parse(in);
    if (!in.fail())
        *this = std::move(work);
    return in;
}

void ParameterData::Parse(std::istream& in)
{
    // A newer layout cannot be read: refusing it is better than stopping
    // with an empty fire table, which would make every fire of the battle
    // silently miss.
    if (!(in >> m_version) || m_version > 2) {
        in.setstate(std::ios::failbit);
        return;
    }

    // The character after the version, then the rest of that line; a version
    // that ends its line has an empty name (the next line is no name).
    if (in.get() == '\n')
        m_name = String();
    else if (!m_name.ReadLine(in))
        return;

    in >> m_minutesPerTurn >> m_metresPerHex;
    in >> m_maxStackUnits >> m_maxStackStrength >> m_roadStackLimit >> m_defenseZeroValue;
    if (!in || !ReadFireTable(in))
        return;

    ReadValues(in, m_terrainPercent);
    ReadValues(in, m_hexsidePercent);
    in >> m_value61 >> m_value62;
    if (!in)
        return;

    ReadValues(in, m_terrainValue);
    in >> m_value91 >> m_value92 >> m_value93 >> m_value94 >> m_value95 >> m_value96 >> m_value97;
    in >> m_flaggedHexMoveCost >> m_digInApCost >> m_mineMoveCost >> m_vehicleMaxClimb >> m_value102;
    in >> m_carrierUnloadApCost;

    ReadValues(in, m_terrainValue2);
    in >> m_value132 >> m_value133 >> m_value134 >> m_value135;
    if (!in || m_version != 2)
        return;

    // Triples of nation, code and percent, ended by an invalid nation or code.
    for (;;) {
        int nation = 0;
        int code = 0;
        int percent = 0;
        if (!(in >> nation) || nation < 0 || nation >= kNations)
            return;
        if (!(in >> code) || NationCodeColumn(code) < 0)
            return;
        if (!(in >> percent))
            return;
        m_nationPercent[nation][NationCodeColumn(code)] = percent;
    }
}

bool ParameterData::ReadFireTable(std::istream& in)
{
    int count = 0;
    if (!(in >> count) || count < 1 || count > kMaxFireColumns) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::vector<int> numerators(count, 0);
    std::vector<int> denominators(count, 0);
    std::vector<std::array<int, kOutcomes>> outcomes(count, std::array<int, kOutcomes> {});
    for (int i = 0; i < count; ++i) {
        in >> numerators[i] >> denominators[i];
        for (int& value : outcomes[i])
            in >> value;
        if (!in)
            return false;
        // The column lookup divides by the denominators and interpolates
        // between neighbouring ratios, so both must be sound.
        const bool ascending = i == 0
            || static_cast<std::int64_t>(numerators[i]) * denominators[i - 1]
                > static_cast<std::int64_t>(numerators[i - 1]) * denominators[i];
        if (denominators[i] <= 0 || !ascending) {
            in.setstate(std::ios::failbit);
            return false;
        }
    }
    m_fireColumnCount = count;
    m_fireNumerators = std::move(numerators);
    m_fireDenominators = std::move(denominators);
    m_fireOutcomes = std::move(outcomes);
    return true;
}

const char* ParameterData::ReadParameterFile(std::string_view name)
{
    std::ifstream file = OpenDataFile(name);
    if (!file.is_open())
        return nullptr;
    std::string text;
    std::string line;
    while (ReadScrambledLine(file, line)) {
        text += line;
        text += '\n';
    }
    // A read that stopped before the end (an over-long line) is a damaged file.
    if (!file.eof())
        return kParameterFileReadError;
    std::istringstream in(text);
    if (!ReadFromStream(in))
        return kParameterFileReadError;
    return nullptr;
}

double ParameterData::GetTerrainPercent(int terrain) const
{
    if (terrain < 0 || terrain >= kTerrainTypes || m_terrainPercent[terrain] == 0)
        return 1.0;
    return m_terrainPercent[terrain] / 100.0;
}

double ParameterData::GetHexsidePercent(int layer) const
{
    if (layer < 0 || layer >= kHexsideLayers || m_hexsidePercent[layer] == 0)
        return 1.0;
    return m_hexsidePercent[layer] / 100.0;
}

double ParameterData::GetTerrainPercentFor(int terrain, const PlacedUnit& unit) const
{
    const PlatoonType* type = unit.m_type;
    if (terrain == kBuildingTerrain && type
        && ((type->m_targetFlags & kHardTargetFlag) != 0 || type->m_movementAllowance == 0))
        return 1.0;
    return GetTerrainPercent(terrain);
}

int ParameterData::NationCodeColumn(int code)
{
    if (code < 48 || code > 73)
        return -1;
    switch (code) {
    case '1':
        return 1;
    case '8':
        return 2;
    case 'C':
        return 3;
    case 'I':
        return 4;
    default:
        return 0;
    }
}

int ParameterData::GetNationPercent(int nation, int code) const
{
    const int column = NationCodeColumn(code);
    if (column < 0 || nation < 0 || nation >= kNations)
        return 100;
    return m_nationPercent[nation][column];
}

int ParameterData::GetFireColumn(int attack, int defense, double modifier) const
{
    if (m_fireColumnCount < 1)
        return -1;
    const double scaledAttack = attack * modifier;
    for (int i = 0; i < m_fireColumnCount; ++i) {
        const std::int64_t left = static_cast<std::int64_t>(m_fireNumerators[i]) * defense;
        if (static_cast<double>(left) > scaledAttack * m_fireDenominators[i])
            return i;
    }
    return m_fireColumnCount - 1;
}

void ParameterData::InterpolateOutcomes(int values[kOutcomes], int attack, int defense, double modifier) const
{
    const int column = GetFireColumn(attack, defense, modifier);
    if (column < 0) {
        std::fill(values, values + kOutcomes, 0);
        return;
    }
    if (column == 0) {
        std::copy(m_fireOutcomes[0].begin(), m_fireOutcomes[0].end(), values);
        return;
    }
    const auto ratio = [this](int i) {
        return static_cast<double>(m_fireNumerators[i]) / static_cast<double>(m_fireDenominators[i]);
    };
    const double x = attack * modifier / defense;
    const double t = (x - ratio(column - 1)) / (ratio(column) - ratio(column - 1));
    const auto& low = m_fireOutcomes[column - 1];
    const auto& high = m_fireOutcomes[column];
    for (int k = 0; k < kOutcomes; ++k) {
        // The step between the columns in double: the file's chances may lie
        // a full int range apart. Exact, so every machine rounds alike.
        double value = low[k] + t * (static_cast<double>(high[k]) - low[k]);
        if (std::isnan(value))
            value = 0.0;
        value = std::clamp(value, -kOutcomeLimit, kOutcomeLimit);
        values[k] = static_cast<int>(std::trunc(value));
    }
}

int ParameterData::RollOutcome(const int values[kOutcomes], int bias)
{
    std::int64_t roll = static_cast<std::int64_t>(UniformRandom() * 100.0);
    if (UniformRandom() < 0.5)
        roll += bias;
    roll = std::clamp<std::int64_t>(roll, 0, 99);
    std::int64_t sum = 0;
    for (int k = 0; k < kOutcomes; ++k) {
        sum += values[k];
        if (roll < sum)
            return k;
    }
    return kOutcomes;
}

void ParameterData::ResolveShots(
    int attack, int defense, int shots, double modifier, int bias, int& first, int& second, int& third) const
{
    if (defense == 0) {
        first = second = third = m_defenseZeroValue;
        return;
    }
    first = second = third = 0;
    if (attack == 0 || m_fireColumnCount < 1)
        return;
    int values[kOutcomes];
    InterpolateOutcomes(values, attack, defense, modifier);
    for (int shot = 0; shot < shots; ++shot) {
        switch (RollOutcome(values, bias)) {
        case 0:
            first += 3;
            second += 3;
            break;
        case 1:
            first += 2;
            second += 2;
            break;
        case 2:
            first += 1;
            second += 1;
            break;
        case 3:
            second += 1;
            break;
        case 4:
            third += 1;
            break;
        default:
            break;
        }
    }
}
