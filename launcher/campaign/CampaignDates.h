#pragma once
// Campaign dates are keys: (year - 1900) * 10000 + month * 100 + day. Order-of-
// battle windows carry day 0 and count their last month whole.

#include <cstdint>
#include <string>

// The key of a date (a full year: 1943).
std::int32_t MakeDateKey(int year, int month, int day);

// "Feb 14 1943"; key 0 gives "N/A". A month outside 1..12 gives no month
// word; a day below 1 shows as 1, a day above 31 as 31.
std::string FormatShortDate(std::int32_t dateKey);

// The key moved by whole months (negative goes back), the day kept; a result
// that leaves the key's range is held at its end.
std::int32_t AddMonthsToDateKey(std::int32_t dateKey, int months);

// date >= from and date <= to + 31: a window to a month covers all its days.
bool IsDateInWindow(std::int32_t date, std::int32_t from, std::int32_t to);
