#pragma once
// The kinds of battle a generated battle can be, numbered 1 to 11 in the
// campaign tables and in the files written for the main program.

#include <cstdint>
#include <string_view>

enum MissionType : std::int16_t {
    kMeetingEngagement = 1,
    kDelayingAction = 2,
    kStaticLine = 3,
    kPocketBreakout = 4,
    kArmoredBreakthrough = 5,
    kRiverCrossing = 6,
    kBridgehead = 7,
    kMoppingUp = 8,
    kHighwayClearing = 9,
    kReconAttack = 10,
    kMountainPass = 11,
};

// The mission type's name; empty for any number outside 1..11.
std::string_view GetMissionTypeName(std::int16_t type);
