#pragma once
// The rule constants of a battle, read from "main.pdx" (or its themed
// variant): turn length and hex size, stacking limits, the fire combat table
// with its outcome roll, percentage modifiers by terrain and hexside feature,
// further constants and a percentage table by nation and organisation code.
// The orders layer holds one by value; the fire, assault and movement rules
// read it.

#include <array>
#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

#include "model/String.h"

struct PlacedUnit;

// The one error a parameter file can give. It names main.pdt whatever file
// was read; the frame shows it as it stands.
inline constexpr const char* kParameterFileReadError = "Error reading from parameter data file: main.pdt";

class ParameterData {
public:
    static constexpr int kTerrainTypes = 28;
    static constexpr int kHexsideLayers = 21;
    static constexpr int kNations = 29;
    static constexpr int kNationCodeColumns = 5;
    static constexpr int kOutcomes = 5;
    // More columns than any table needs; a larger count is taken as a damaged
    // file rather than allocated.
    static constexpr int kMaxFireColumns = 64;

    ParameterData();

    // Parses the text of a parameter file (lines already descrambled and
    // joined with line feeds). The record changes only when the whole text
    // parses: a failed stream leaves every value as it was. A fire table
    // without columns, with more than kMaxFireColumns, with a denominator of
    // 0 or less or with ratios not strictly ascending fails the stream.
    std::istream& ReadFromStream(std::istream& in);

    // Reads the named file line by line, descrambling each line. Null when
    // the file was read or does not exist (the values stay);
    // kParameterFileReadError when a line or the parse failed.
    const char* ReadParameterFile(std::string_view name);

    // Entry / 100, or 1.0 for an entry of 0 or a number outside the table.
    double GetTerrainPercent(int terrain) const;
    double GetHexsidePercent(int layer) const;
    // 1.0 in a Building for hard targets and types that cannot move by
    // themselves; else GetTerrainPercent.
    double GetTerrainPercentFor(int terrain, const PlacedUnit& unit) const;
    // 100 for a code outside 48..73 or a nation outside 0..28.
    int GetNationPercent(int nation, int code) const;
    // Column of m_nationPercent for an organisation code 48..73, -1 outside.
    static int NationCodeColumn(int code);

    // The first column whose ratio exceeds attack * modifier / defense, else
    // the last column; -1 when there is no table.
    int GetFireColumn(int attack, int defense, double modifier) const;
    // The five outcome chances at the ratio, interpolated between the fire
    // column and the one before (and extrapolated past the last column). All
    // 0 when there is no table.
    void InterpolateOutcomes(int values[kOutcomes], int attack, int defense, double modifier) const;
    // Outcome 0..4, or 5 for no effect. Two draws from the global generator.
    static int RollOutcome(const int values[kOutcomes], int bias);
    // Rolls once per shot and tallies the outcomes. Defense 0 gives
    // m_defenseZeroValue three times and attack 0 (or no table) gives zeros,
    // both without a draw.
    void ResolveShots(
        int attack, int defense, int shots, double modifier, int bias, int& first, int& second, int& third) const;

    int m_version = 0;
    String m_name;
    int m_minutesPerTurn = 10;
    int m_metresPerHex = 250;
    int m_maxStackUnits = 0;
    int m_maxStackStrength = 0;
    int m_roadStackLimit = 0;
    int m_defenseZeroValue = 0;
    int m_fireColumnCount = 0;
    std::vector<int> m_fireNumerators;
    std::vector<int> m_fireDenominators;
    std::vector<std::array<int, kOutcomes>> m_fireOutcomes;
    int m_terrainPercent[kTerrainTypes] = {};
    int m_hexsidePercent[kHexsideLayers] = {};
    int m_value61 = 0;
    int m_value62 = 0;
    int m_terrainValue[kTerrainTypes] = {};
    int m_value91 = 0;
    int m_value92 = 0;
    int m_value93 = 0;
    int m_value94 = 0;
    int m_value95 = 0;
    int m_value96 = 6;
    int m_value97 = 10;
    int m_flaggedHexMoveCost = 100;
    int m_digInApCost = 30;
    int m_mineMoveCost = 30;
    int m_vehicleMaxClimb = 100;
    int m_value102 = 4;
    int m_carrierUnloadApCost = 10;
    int m_terrainValue2[kTerrainTypes] = {};
    int m_value132 = 1;
    int m_value133 = 2;
    int m_value134 = 4;
    int m_value135 = 5;
    int m_nationPercent[kNations][kNationCodeColumns];

private:
    void Parse(std::istream& in);
    bool ReadFireTable(std::istream& in);
};
