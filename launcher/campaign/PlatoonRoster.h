#pragma once
// The platoons of a campaign force as a flat list: taken out of the force
// tree, changed as a list (battle losses, experience, replacements) and
// written back into the tree. Trees are walked with explicit stacks, so
// long sibling chains and deep trees cost no call depth.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "launcher/campaign/CampaignRecord.h"

struct PlatoonRosterEntry {
    std::string m_id;
    std::int32_t m_number = 0;
    std::int32_t m_experience = 0;
    std::string m_leader;
    std::int32_t m_strength = 0;
    std::int32_t m_morale = 0;
    std::int32_t m_maxStrength = 0;
    // As the entry was made: replacements blend their morale against these.
    std::int32_t m_keptStrength = 0;
    std::int32_t m_keptMorale = 0;
};

enum class RosterMode {
    kReplacements = 0, // only platoons below their full strength
    kBattleResult = 1,
    kAllUnits = 2, // every unit qualifies, whatever its role
};

// Commander units are platoons with "4" as the fourth id character.
bool IsCommanderUnitId(const std::string& id);

class PlatoonRoster {
public:
    // Lists the units of the tree from the root (its siblings too unless
    // subtreeOnly). includeLoneUnits adds qualifying units without subunits
    // and takes commander units; off, neither is taken.
    PlatoonRoster(UnitRecord* root, RosterMode mode, bool includeLoneUnits = true, bool subtreeOnly = false);
    // Battle result: lists the tree, then reads the battle file's losses.
    PlatoonRoster(UnitRecord* root, const std::filesystem::path& battleFile, std::int32_t commanderUnit,
        bool includeLoneUnits = true);

    // Strengths from a saved battle's unit lines. The head is passed by the
    // file's version (first line: 1 passes 10 lines, 2..9 pass 12, 10 passes
    // 13); a version outside 1..10 or a missing file reads nothing. A line
    // counts only when all its numbers read.
    void ReadBattleLosses(const std::filesystem::path& battleFile);
    // Every entry gains score * 5 / 100 points, at least 1, then one morale
    // step where the thresholds of "campaign.pdt" in the folder are met.
    void AddBattleExperience(std::int32_t score, const std::filesystem::path& folder);
    void ApplyMoraleLevels(const std::array<std::int32_t, 9>& thresholds);
    // Writes entries into the tree from the root. Units are written when the
    // flag is on; a unit of role 1 turns it on for its following siblings and
    // their subtrees.
    void WriteRosterBack(bool flag);

    PlatoonRosterEntry* FindRosterEntry(std::int32_t number);
    std::vector<PlatoonRosterEntry>& Entries() { return m_entries; }
    const std::vector<PlatoonRosterEntry>& Entries() const { return m_entries; }
    RosterMode Mode() const { return m_mode; }
    bool CommanderHit() const { return m_commanderHit; }

private:
    void CollectRosterUnits(UnitRecord* root, bool subtreeOnly);

    std::vector<PlatoonRosterEntry> m_entries; // in list order
    RosterMode m_mode;
    UnitRecord* m_root; // observer
    bool m_includeLoneUnits;
    bool m_commanderHit = false;
    std::int32_t m_commanderUnit = 0;
};

void WriteRosterEntryToUnit(const PlatoonRosterEntry& entry, UnitRecord& unit);

// Gives the platoons below the root (its siblings too), in walk order, the
// experience and morale of the roster's entries by position: a chain of
// sibling platoons takes consecutive entries, every family starts from the
// entry current at its parent; the walk stops where the entries run out.
void CopyExperienceToPlatoons(const PlatoonRoster& roster, UnitRecord* root);

// One replacement for the entry: a strength point, with morale blended as
// replacements of morale 4, when the new strength stays within the entry's
// maximum and kept strength; false (nothing changed) otherwise.
bool ApplyReplacement(PlatoonRosterEntry& entry);

// What the replacement dialog shows and does, without its window.
class ReplacementSession {
public:
    struct Row {
        std::string text; // "%s Strength-%d Max Strength-%d Morale-%d"
        std::int32_t number = 0; // the row's unit number
    };

    ReplacementSession(PlatoonRoster& roster, std::int32_t points);

    // Rows of the entries below their maximum strength, in roster order.
    const std::vector<Row>& Rows() const { return m_rows; }
    std::int32_t Points() const { return m_points; }
    int Selected() const { return m_selected; }
    // A row index outside the rows is ignored.
    void Select(int row);
    // One replacement to the selected platoon while points remain; false
    // when nothing was added.
    bool AddReplacement();
    std::string StrengthLabel() const; // "Platoon Strength: %d"
    std::string MoraleLabel() const; // "Platoon Morale: %d"
    std::string PointsLabel() const; // "Total Replacement Points: %d"

private:
    PlatoonRosterEntry* SelectedEntry() const;
    void FillReplacementList();
    Row MakeRow(const PlatoonRosterEntry& entry) const;

    PlatoonRoster* m_roster;
    std::int32_t m_points;
    std::vector<Row> m_rows;
    int m_selected = 0;
};

// The player's part of the dialog: given the session, returns when done.
using ReplacementChooser = std::function<void(ReplacementSession&)>;

// Runs the dialog (without rows it closes at once, the chooser not asked),
// then writes the roster back with the flag off; the points left.
std::int32_t RunReplacementDialog(PlatoonRoster& roster, std::int32_t points, const ReplacementChooser& chooser);
