#pragma once
// Linked campaigns: a chain of ready-made battles defined by a ".lcg" file,
// and a player's run through it kept in a ".ccl" file.
//
// ".lcg" (numbers separated by any white space):
//   force-unit-number value flag           rest of the line skipped
//   title line
//   nation enemy-nation region start-date  rest of the line skipped
//   description lines, up to an empty line or one beginning with a blank
//   nodes to the end of the file:
//     id battle-file/x y next(-2) next(-1) next(0) next(1) next(2) points text
//     id end-text                          (an end node: id 0 or below)
//
// ".ccl":
//   definition file
//   current-battle-id nation current-date region
//   history count, then per entry (oldest first) its name and
//   "date result battle-type"
//   per unit, depth first from the root at 0: "depth id morale strength
//   experience number name", then the leader; "-1" ends the file.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignRecord.h"

struct LinkedBattleNode {
    // The id of the node that follows the outcome -2 (major defeat) .. 2
    // (major victory); an outcome outside is held to the nearer end.
    std::int32_t NextBattleId(int outcome) const;

    std::int32_t m_id = 0; // 0 or below: an end of the chain
    // The battle file; for an end node the text shown when the chain ends.
    std::string m_battleFile;
    std::int32_t m_mapX = 0;
    std::int32_t m_mapY = 0;
    std::array<std::int32_t, 5> m_nextIds {};
    std::string m_text; // the battle's name in the history
    std::int32_t m_replacementPoints = 0;
};

class LinkedCampaignTree {
public:
    // Replaces the tree by the named file's definition. Empty when read; else
    // the refusal (the file, and the line where it stopped), the tree left as
    // it was. A node cut short by the end of the file is dropped; one whose
    // fields all read before the end is kept.
    std::string Read(const CampaignContext& context, std::string_view fileName);
    // The same from a text in memory; the name is the one refusals give.
    std::string ReadText(std::string_view text, std::string_view fileName);

    // The first node with the id, or null.
    const LinkedBattleNode* FindNode(std::int32_t id) const;
    // The id of the first node; 0 without nodes.
    std::int32_t FirstBattleId() const;

    std::int32_t m_forceUnitNumber = 0;
    std::int32_t m_value2 = 0;
    std::int32_t m_flag = 0;
    std::int32_t m_region = 0;
    std::int32_t m_nation = 0;
    std::int32_t m_enemyNation = 0;
    std::int32_t m_startDate = 0;
    std::string m_title;
    std::string m_description;
    std::vector<LinkedBattleNode> m_nodes; // file order
};

struct LinkedCampaignHeader {
    std::string m_definitionFile;
    std::int32_t m_currentBattleId = 0;
    std::int32_t m_nation = 0;
    std::int32_t m_currentDate = 0;
    std::int32_t m_region = 0;
    std::unique_ptr<BattleHistoryEntry> m_history; // newest first
    std::unique_ptr<UnitRecord> m_force;
};

// Reads a ".ccl" text into a fresh header; every unit gets role 1 and a
// platoon its full strength from its platoon line. Empty when read; else the
// refusal naming the file and line, the header left as it was.
std::string ReadLinkedCampaignHeader(
    CampaignContext& context, LinkedCampaignHeader& header, std::string& text, std::string_view fileName);

// The ".ccl" text of the header. Empty, with `refusal` set, when a line would
// not read back as it is.
std::string WriteLinkedCampaign(const LinkedCampaignHeader& header, std::string& refusal);
// The same from a linked campaign record's fields.
std::string MakeLinkedCampaignText(const CampaignRecord& record, std::string& refusal);

// Saves the header as the named ".ccl", the previous file going to ".ccx"
// first (see SaveWithBackup).
std::string SaveLinkedCampaign(
    const CampaignContext& context, const LinkedCampaignHeader& header, std::string_view fileName);

// Reads the ".ccl" and fills the record from its header (a linked campaign
// named by the file without its extension, no commander). Empty when read;
// else the refusal, and nothing has changed.
std::string ReadLinkedCampaignFile(CampaignContext& context, CampaignRecord& record, std::string_view fileName);
// The select screen's fields of the same, as far as they read. False only
// when the file cannot be read.
bool ReadLinkedCampaignSummary(const CampaignContext& context, std::string_view fileName, CampaignRecord& record);

// The force a new linked campaign starts with: the subtree of the node
// numbered m_forceUnitNumber in the organisation file of the battle's file,
// formations with their organisation ids, platoons filled from their
// platoon lines; every unit keeps its organisation number. Null when the
// definition, the battle, either file or the unit is not found.
std::unique_ptr<UnitRecord> ReadLinkedStartingForce(
    CampaignContext& context, std::string_view definitionFile, std::int32_t battleId);
