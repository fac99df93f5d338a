#include "launcher/campaign/NationTables.h"

#include "model/Geometry.h"

namespace {
constexpr int kNationCount = 29;
}

std::string_view GetNationName(int code)
{
    return code >= 0 && code < kNationCount ? std::string_view(NationAdjective(code)) : std::string_view();
}

int GetNationSide(int code) { return DefaultSideOfNation(code); }

std::string_view GetRegionName(int code)
{
    static constexpr std::string_view kRegions[]
        = { "Desert", "Mediterranean", "Central Desert", "Southern Desert", "Northern Desert" };
    return code >= 0 && code < 5 ? kRegions[code] : std::string_view();
}

std::string_view GetCommandLevelName(int level)
{
    static constexpr std::string_view kLevels[] = { "Battalion", "Regiment", "Brigade", "Division", "Corps" };
    return level >= 1 && level <= 5 ? kLevels[level - 1] : std::string_view();
}
