#pragma once
// The order-of-battle files (one per organisation level and nation, plain
// text) and the platoon files (one per nation, scrambled lines) read into
// UnitRecord trees.
//
// An order-of-battle line: from-year from-month to-year to-month, an
// optional "+" (the next line is a later variant of the unit), the id (or a
// run of choice groups "(p) id"), an optional morale digit, then the name,
// whose rest may begin with a template: "$" or "@" with an optional range
// "(A-B)" draw a number (written with its ordinal suffix, or in Roman
// numerals), "#" repeats the number last drawn, "&" draws a name from the
// level's name list. Square-bracketed groups are notes. A formation's block
// is its line in the file of its level followed by its subunits' lines, up to
// the first empty line.
//
// Every draw goes through the context's launcher random source, in file
// order.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"

// The rolls a campaign stores for the choice groups of each level, drawn when
// it is created: battalion, regiment, brigade, division, corps.
struct LevelNumberBase {
    std::array<std::int32_t, 5> rolls { 50, 50, 50, 50, 50 };
    // The stored roll of level 1..5; nothing for any other level.
    std::optional<std::int32_t> GetLevelNumberBase(int level) const
    {
        if (level < 1 || level > 5)
            return std::nullopt;
        return rolls[static_cast<std::size_t>(level - 1)];
    }
};

// How a line is read.
enum class OobLineMode {
    kSubunit, // a line of a block
    kRoot, // the formation line looked for by id: every candidate's level takes its stored roll
    kListing, // formation lists: templates are not expanded and no unit number is taken
};

struct OobLineOptions {
    OobLineMode mode = OobLineMode::kSubunit;
    // A variant line: the id of the unit it varies (no choice before that id
    // is taken).
    std::string_view variedId;
    // What "#" gives while listing.
    std::string_view listingNumberText;
};

struct OobLine {
    bool parsed = false; // the dates and an id were read
    bool hasVariant = false; // a "+" follows the dates
    std::string id; // the id chosen (also for a withheld entry)
    std::unique_ptr<UnitRecord> unit; // null when the line yields no unit
};

// Drops bracketed groups, cuts the line end and drops leading blanks.
std::string PrepareOobLine(std::string_view line);
// Reads one prepared line.
OobLine ParseOobLine(
    CampaignContext& context, const LevelNumberBase& base, std::string_view line, const OobLineOptions& options = {});

// The located order-of-battle file of a level (0 company .. 5 corps, 6 and
// above army) and nation: the numbered name, else the plain one.
std::optional<std::filesystem::path> FindOobFile(const CampaignContext& context, int level, int nation);
// The file of a unit id: its level letter and nation; a platoon id gives the
// nation's platoon file.
std::optional<std::filesystem::path> OpenOobFile(const CampaignContext& context, std::string_view id);

// Seeds the random source from its clock, finds the formation's line in the
// nation's file of the id's level and loads its subunits valid at the date.
// Null, with the message "No Units on File", when the id is not there; null
// with a "Load Error" when the formations nest more than 16 deep (a cycle).
std::unique_ptr<UnitRecord> LoadFormationFromOob(
    CampaignContext& context, const LevelNumberBase& base, std::int32_t date, int nation, std::string_view id);
// Loads a formation's subunits below the node and returns their total size
// (also its m_size); -1, with a "Load Error" and nothing attached, when the
// load is refused.
std::int32_t LoadFormationChildren(
    CampaignContext& context, const LevelNumberBase& base, UnitRecord& unit, std::int32_t date);

// Takes strength, size, the four values and the leader from the platoon's
// line; false, leaving the record as it was, when its type is not on file.
bool RefreshPlatoonFromFile(CampaignContext& context, UnitRecord& unit);
// Fills the record from the platoon line of the id's type number and gives
// it the next unit number; false, leaving it unchanged, when none matches.
bool FindPlatoonLine(CampaignContext& context, UnitRecord& record, std::string_view id);

struct FormationListRow {
    std::string name; // at most 99 characters
    std::string id; // at most 23 characters
};
// The corps of the nation's corps file valid at the date with the type
// digit, never a withheld one, names cleaned for display.
std::vector<FormationListRow> ListCampaignFormations(
    CampaignContext& context, const LevelNumberBase& base, int nation, int level, std::int32_t date, int typeDigit);

// A name as the formation lists show it: the line end removed; a leading "$"
// or "@" gives two blanks, a leading "#" or ")" one, a '.' as the second
// character one; then the leading blanks go.
std::string CleanListedName(std::string name);

// The subunits of the formation's block as the formation lists read them
// (templates not expanded, "#" giving the number text, no unit numbers
// taken): of each line and its variants the first version valid at the date,
// without subunits of its own. Empty when the formation is not on file.
std::vector<std::unique_ptr<UnitRecord>> ListFormationSubunits(CampaignContext& context, const LevelNumberBase& base,
    std::string_view id, std::int32_t date, std::string_view listingNumberText);
