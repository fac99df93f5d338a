#pragma once
// The weather and season of a battle as the terrain feels it. Every rule reads
// a hex's terrain through these (HexMap::GetEffectiveTerrain), and the surface
// state also picks the movement-cost array.

#include <algorithm>
#include <cstdint>
#include <istream>
#include <ostream>

struct TerrainConditions {
    // Surface (soil) state: 0 dry, 1 green, 2 mud, 3 snow.
    std::int32_t surface = 0;
    // Water: 0 open, 1 frozen.
    std::int32_t water = 0;
    // Foliage state: 0 to 3.
    std::int32_t foliage = 0;
    // Field state: 0 to 2 (2 leaves fields as open ground).
    std::int32_t fieldState = 0;

    static constexpr std::int32_t kSnow = 3;
    static constexpr std::int32_t kFrozen = 1;
    static constexpr std::int32_t kFieldsOpen = 2;

    // The battle file stores foliage, surface, water, field state. Each value
    // is clamped into its range; when the stream fails nothing changes.
    template <class In> bool Read(In& in)
    {
        long long values[4] = {};
        for (long long& value : values)
            in >> value;
        if (!in)
            return false;
        foliage = Clamp(values[0], 3);
        surface = Clamp(values[1], 3);
        water = Clamp(values[2], 1);
        fieldState = Clamp(values[3], 2);
        return true;
    }

    // The four values in file order, separated by one blank, no line feed.
    template <class Out> bool Write(Out& out) const
    {
        out << foliage << ' ' << surface << ' ' << water << ' ' << fieldState;
        return static_cast<bool>(out);
    }

    friend bool operator==(const TerrainConditions&, const TerrainConditions&) = default;

private:
    static std::int32_t Clamp(long long value, long long high)
    {
        return static_cast<std::int32_t>(std::clamp(value, 0LL, high));
    }
};
