#include "launcher/shell/MissionTypes.h"

#include <array>

std::string_view GetMissionTypeName(std::int16_t type)
{
    static constexpr std::array<std::string_view, 11> kNames
        = { "Meeting Engagement", "Delaying Action", "Static Line", "Pocket Breakout", "Armored Breakthrough",
              "River Crossing", "Bridgehead", "Mopping Up", "Highway Clearing", "Recon Attack", "Mountain Pass" };
    if (type < 1 || type > static_cast<std::int16_t>(kNames.size()))
        return {};
    return kNames[static_cast<std::size_t>(type - 1)];
}
