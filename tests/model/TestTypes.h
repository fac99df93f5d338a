#pragma once
// Platoon types made by the tests of the battle-data layer.

#include <cstdint>

#include "model/PlatoonType.h"

// A type of full strength 3 and no unit value. Nation 0 (ids below 1000)
// fights on side 0, nation 1 on side 1.
inline PlatoonType MakeType(std::uint32_t id, int movement, std::uint32_t moveFlags, std::uint32_t carryFlags = 0,
    std::uint32_t targetFlags = 0, std::uint32_t extraFlags = 0)
{
    PlatoonType type;
    type.m_id = id;
    type.m_fullStrength = 3;
    type.m_movementAllowance = movement;
    type.m_moveFlags = moveFlags;
    type.m_carryFlags = carryFlags;
    type.m_targetFlags = targetFlags;
    type.m_extraFlags = extraFlags;
    return type;
}

// The type with another unit value and full strength.
inline PlatoonType WithValue(PlatoonType type, int unitValue, int fullStrength)
{
    type.m_unitValue = unitValue;
    type.m_fullStrength = fullStrength;
    return type;
}
