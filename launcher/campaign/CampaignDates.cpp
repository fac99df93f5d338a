#include "launcher/campaign/CampaignDates.h"
#include "model/IntRange.h"

#include <algorithm>
#include <limits>

namespace {

constexpr const char* kMonthWords[]
    = { "Jan ", "Feb ", "Mar ", "Apr ", "May ", "Jun ", "Jul ", "Aug ", "Sep ", "Oct ", "Nov ", "Dec " };

std::int32_t ClampKey(std::int64_t key) { return ClampToInt(key); }

// Floor division, so that keys before 1900 move by months as later ones do.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

} // namespace

std::int32_t MakeDateKey(int year, int month, int day)
{
    return ClampKey((static_cast<std::int64_t>(year) - 1900) * 10000 + static_cast<std::int64_t>(month) * 100 + day);
}

std::string FormatShortDate(std::int32_t dateKey)
{
    if (dateKey == 0)
        return "N/A";
    const int month = (dateKey / 100) % 100;
    const int day = std::clamp(dateKey % 100, 1, 31);
    std::string text;
    if (month >= 1 && month <= 12)
        text = kMonthWords[month - 1];
    text += std::to_string(day);
    text += ' ';
    text += std::to_string(dateKey / 10000 + 1900);
    return text;
}

std::int32_t AddMonthsToDateKey(std::int32_t dateKey, int months)
{
    const std::int64_t year = dateKey / 10000;
    const std::int64_t month = (dateKey / 100) % 100;
    const std::int64_t day = dateKey % 100;
    const std::int64_t total = year * 12 + (month - 1) + months;
    const std::int64_t newYear = FloorDiv(total, 12);
    const std::int64_t newMonth = total - newYear * 12 + 1;
    return ClampKey(newYear * 10000 + newMonth * 100 + day);
}

bool IsDateInWindow(std::int32_t date, std::int32_t from, std::int32_t to)
{
    return date >= from && static_cast<std::int64_t>(date) <= static_cast<std::int64_t>(to) + 31;
}
