#pragma once
// The computer opponent's order records: one order and one summary per node
// of the organisation tree, rebuilt with every reload of the tree, and saved
// with the battle so that a side played without planning keeps its orders.
// It also holds the reader of the computer opponent's tuning file "main.ai".

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "rules/GamePathSearch.h"

// Order kinds; the planning pass gives the others their meaning.
inline constexpr int kAiOrderHold = 2;
// Kinds a saved battle may carry.
inline constexpr int kAiOrderKindCount = 6;

struct AiOrder {
    // The node whose order this is: the record's own node, or the formation
    // an order was copied down from. Null for a default record.
    const OrgNode* orderingNode = nullptr;
    int kind = kAiOrderHold;
    HexPos target { -1, -1 };
    HexPos second { -1, -1 };

    // A hold order has no target.
    void SetKind(int k);
    // Ignored for a hold order.
    void SetTarget(int x, int y);
};

// What the units under one node add up to, taken at the start of a planning
// pass.
struct FormationSummary {
    // Coordinate sums over the units that stand somewhere (map, off the map,
    // a reinforcement group's entry hex).
    int columnSum = 0;
    int rowSum = 0;
    int positionedCount = 0;
    // Every unit counted: eliminated and exited ones too.
    int unitCount = 0;
    int fitCount = 0;
    // The unit that governs the formation's movement; typeless when none.
    PlacedUnit leadingUnit;

    // Mean hex of the positioned units, rounded toward zero; (-1, -1) when
    // none stands anywhere, so that losses never pull it toward (0, 0).
    HexPos GetCentroid() const;
    // Fit units in percent of all units counted; 0 for none.
    int GetFitPercent() const;
};

// The eleven values of "main.ai".
enum AiParameterIndex : int {
    kAiHorizon = 0, // enemy-distance horizon in hexes (2..127)
    kAiObjectiveRadius = 1, // radius around objectives and targets
    kAiReachOfKind0 = 2, // w2..w6: distance at which an order of kind 0..4 counts as reached
    kAiFitThreshold = 7, // percent: at or below it a formation holds
    kAiPlanThreshold = 8, // percent: the last planning steps
    kAiUnloadDistance = 9, // move layer: passengers unload at this enemy distance
    kAiJoinDistance = 10, // move layer: a leader joining a friendly hex stops this near
    kAiParameterCount = 11,
};

struct AiParameters {
    static constexpr const char* kFileName = "main.ai";

    std::array<int, kAiParameterCount> values {};

    AiParameters() { SetDefaults(); }
    void SetDefaults();
    // Defaults, then the whitespace-separated integers of "main.ai" in the
    // current folder, in order, until one cannot be read. A value outside
    // its sane range keeps its default; the values after it are still read.
    // A missing file leaves the defaults.
    void Load();
    // Reads the values from a text as Load reads the file.
    void LoadText(std::string_view text);
    // The reach of an order kind (w2 + kind); 0 for a kind outside 0..8.
    int Get(int kind) const;
    int operator[](AiParameterIndex index) const { return values[static_cast<std::size_t>(index)]; }
};

class CGameAiOrders : public CGamePathSearch {
public:
    CGameAiOrders() = default;
    ~CGameAiOrders() override = default;

    // One hold order (the node as its ordering node) and an empty summary per
    // node of the organisation tree, indexed in tree order (parents first).
    void BuildRecords();
    void FreeRecords();
    int GetNodeCount() const { return static_cast<int>(m_nodes.size()); }
    // The node's index in the records; -1 for a node not in the tree.
    int GetNodeIndex(const OrgNode* node) const;
    const OrgNode* GetNodeAt(int index) const;

    // A copy of the node's order; a default hold record for no node.
    AiOrder GetOrder(const OrgNode* node) const;
    // Stores the order for the node and, from level 2 (a formation above
    // companies) on, for every node of its subtree.
    void SetOrderTree(const OrgNode* node, const AiOrder& order);
    // A copy of the node's summary; an empty one for no node.
    FormationSummary GetSummary(const OrgNode* node) const;
    // Every node of the side gets a fresh summary, then every unit of the
    // side is added to the summaries of its node and the node's ancestors:
    // on the map, off it, in reinforcement groups (at the entry hex),
    // eliminated (unplaced, not fit) and exited (unplaced, fit).
    void ResetSideOrders(int side);

    // The order block of a saved battle: one line per order that is not a
    // hold, then "-1".
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // The computer opponent's part of an empty battle; each layer above adds
    // its own, calling its base first. Every order goes back on hold.
    void ResetBattleState() override;

    std::vector<AiOrder> m_orders;
    std::vector<FormationSummary> m_summaries;

protected:
    // The tree changes with a reload: the records are made anew for it.
    const char* Reload() override;
    // A block of a saved battle did not read: the whole battle is dropped,
    // as a failed read of the battle part drops it, with the reason kept.
    bool FailBattleRead(const char* reason);

private:
    void AddUnitToSummaries(const PlacedUnit& unit, const HexPos* position, bool fit);

    std::vector<const OrgNode*> m_nodes;
    std::unordered_map<const OrgNode*, int> m_nodeIndex;
};
