#pragma once
// The campaign manager's small fixed tables: nations, regions and command
// levels. Both programs share one nation table (the model's), so a side
// handed to the main program is the side it gives the nation's units.

#include <string_view>

// The nation's adjective ("American", "German"); empty outside 0..28.
std::string_view GetNationName(int code);
// The side a nation fights on; 1 outside the table.
int GetNationSide(int code);
// 0 "Desert", 1 "Mediterranean", 2 "Central Desert", 3 "Southern Desert",
// 4 "Northern Desert"; empty for any other code.
std::string_view GetRegionName(int code);
// 1 "Battalion" .. 5 "Corps"; empty for any other level.
std::string_view GetCommandLevelName(int level);
