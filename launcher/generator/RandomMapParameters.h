#pragma once
// The generation parameters by name (the names the random map screen and
// vlrandmap use: "Hills", "Forest", "BaseElevation", "Theme", ...), with the
// values each may take.

#include <cstdint>
#include <span>
#include <string_view>

#include "launcher/generator/RandomMap.h"

struct RandomMapParameter {
    std::string_view name;
    std::int8_t RandomMap::*member;
    int low;
    int high;
};

// Every signed-byte parameter of the generator.
std::span<const RandomMapParameter> RandomMapParameters();
// Null for an unknown name (case matters).
const RandomMapParameter* FindRandomMapParameter(std::string_view name);
