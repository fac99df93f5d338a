#include "ai/GameAiOrders.h"

#include <cstdint>
#include <string>

#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

// A boat never governs a formation's movement.
constexpr std::uint32_t kMoveBoat = 0x1000;
// Either makes a unit unfit: disrupted, or low on ammunition.
constexpr std::uint32_t kUnfitBits = kUnitDisrupted | kUnitLowAmmo;

constexpr int kDefaults[kAiParameterCount] = { 12, 6, 4, 6, 0, 2, 0, 70, 90, 2, 4 };

// Sane ranges: the grid holds signed bytes, so the horizon must fit one;
// no window, sum or reach + 1 may overflow on a map of at most 1000 hexes a
// side.
struct Range {
    int low;
    int high;
};
constexpr Range kRanges[kAiParameterCount] = {
    { 2, 127 },
    { 0, 1000 },
    { -1000, 1000 },
    { -1000, 1000 },
    { -1000, 1000 },
    { -1000, 1000 },
    { -1000, 1000 },
    { 0, 100 },
    { 0, 100 },
    { -1000, 1000 },
    { -1000, 1000 },
};

bool IsHold(const AiOrder& order) { return order.kind == kAiOrderHold; }

} // namespace

// ---- Order records ----

void AiOrder::SetKind(int k)
{
    kind = k;
    if (k == kAiOrderHold)
        target = HexPos { -1, -1 };
}

void AiOrder::SetTarget(int x, int y)
{
    if (kind != kAiOrderHold)
        target = HexPos { x, y };
}

HexPos FormationSummary::GetCentroid() const
{
    if (positionedCount == 0)
        return HexPos { -1, -1 };
    return HexPos { columnSum / positionedCount, rowSum / positionedCount };
}

int FormationSummary::GetFitPercent() const
{
    if (unitCount == 0)
        return 0;
    return static_cast<int>(static_cast<long long>(fitCount) * 100 / unitCount);
}

// ---- main.ai ----

void AiParameters::SetDefaults()
{
    for (int i = 0; i < kAiParameterCount; ++i)
        values[static_cast<std::size_t>(i)] = kDefaults[i];
}

void AiParameters::Load()
{
    SetDefaults();
    std::string text;
    if (ReadDataFileText(kFileName, text) == DataFileRead::kRead)
        LoadText(text);
}

void AiParameters::LoadText(std::string_view text)
{
    SetDefaults();
    TextScanner in(text);
    for (int i = 0; i < kAiParameterCount; ++i) {
        int value = 0;
        if (!(in >> value))
            return;
        if (value >= kRanges[i].low && value <= kRanges[i].high)
            values[static_cast<std::size_t>(i)] = value;
    }
}

int AiParameters::Get(int kind) const
{
    if (kind < 0 || kind > kAiParameterCount - 1 - kAiReachOfKind0)
        return 0;
    return values[static_cast<std::size_t>(kAiReachOfKind0 + kind)];
}

// ---- The records of the layer ----

const char* CGameAiOrders::Reload()
{
    FreeRecords();
    const char* error = CGamePathSearch::Reload();
    BuildRecords();
    return error;
}

void CGameAiOrders::FreeRecords()
{
    m_orders.clear();
    m_summaries.clear();
    m_nodes.clear();
    m_nodeIndex.clear();
}

void CGameAiOrders::BuildRecords()
{
    FreeRecords();
    ConstOrgNodeList nodes;
    std::as_const(m_orgTree).CollectAllNodes(nodes);
    for (const OrgNode* node : nodes) {
        m_nodeIndex.emplace(node, static_cast<int>(m_nodes.size()));
        m_nodes.push_back(node);
    }
    m_orders.resize(m_nodes.size());
    m_summaries.resize(m_nodes.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i)
        m_orders[i].orderingNode = m_nodes[i];
}

int CGameAiOrders::GetNodeIndex(const OrgNode* node) const
{
    const auto found = m_nodeIndex.find(node);
    return found == m_nodeIndex.end() ? -1 : found->second;
}

const OrgNode* CGameAiOrders::GetNodeAt(int index) const
{
    return index >= 0 && index < GetNodeCount() ? m_nodes[static_cast<std::size_t>(index)] : nullptr;
}

AiOrder CGameAiOrders::GetOrder(const OrgNode* node) const
{
    const int index = GetNodeIndex(node);
    return index < 0 ? AiOrder() : m_orders[static_cast<std::size_t>(index)];
}

void CGameAiOrders::SetOrderTree(const OrgNode* node, const AiOrder& order)
{
    const int index = GetNodeIndex(node);
    if (index < 0)
        return;
    if (node->m_level < 2) {
        m_orders[static_cast<std::size_t>(index)] = order;
        return;
    }
    // Above companies the whole subtree follows, the platoons of its
    // companies included.
    ConstOrgNodeList subtree;
    node->CollectAll(subtree);
    for (const OrgNode* below : subtree) {
        const int at = GetNodeIndex(below);
        if (at >= 0)
            m_orders[static_cast<std::size_t>(at)] = order;
    }
}

FormationSummary CGameAiOrders::GetSummary(const OrgNode* node) const
{
    const int index = GetNodeIndex(node);
    return index < 0 ? FormationSummary() : m_summaries[static_cast<std::size_t>(index)];
}

void CGameAiOrders::AddUnitToSummaries(const PlacedUnit& unit, const HexPos* position, bool fit)
{
    for (const OrgNode* node = unit.m_node; node; node = node->m_parent) {
        const int index = GetNodeIndex(node);
        if (index < 0)
            continue;
        FormationSummary& summary = m_summaries[static_cast<std::size_t>(index)];
        ++summary.unitCount;
        if (fit)
            ++summary.fitCount;
        if (!position)
            continue;
        summary.columnSum += position->column;
        summary.rowSum += position->row;
        ++summary.positionedCount;
        if (unit.m_type && GovernsStackMovement(unit.m_type, summary.leadingUnit.m_type)
            && (unit.m_type->m_moveFlags & kMoveBoat) == 0)
            summary.leadingUnit = unit;
    }
}

void CGameAiOrders::ResetSideOrders(int side)
{
    // Every node of the side, formations above the lowest ones too: nothing
    // carries over from an earlier pass.
    for (std::size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i]->GetSide() == side)
            m_summaries[i] = FormationSummary();

    auto ofSide = [side](const PlacedUnit& unit) { return unit.m_type && unit.m_type->GetSide() == side; };
    auto isFit = [](const PlacedUnit& unit) { return (unit.m_status & kUnfitBits) == 0; };
    for (int x = 0; x < m_stacks.Width(); ++x) {
        for (int y = 0; y < m_stacks.Height(); ++y) {
            if (SideInHex(x, y) != side)
                continue;
            const HexPos hex { x, y };
            for (const PlacedUnit& unit : m_stacks.At(x, y))
                AddUnitToSummaries(unit, &hex, isFit(unit));
        }
    }
    for (const OffMapUnit& offMap : m_offMapUnits) {
        if (!ofSide(offMap.unit))
            continue;
        const HexPos hex { offMap.column, offMap.row };
        AddUnitToSummaries(offMap.unit, &hex, isFit(offMap.unit));
    }
    for (const ReinforcementGroup& group : m_reinforcements) {
        if (group.GetSide() != side)
            continue;
        const HexPos hex { group.m_col, group.m_row };
        for (const PlacedUnit& unit : group.m_units)
            AddUnitToSummaries(unit, &hex, isFit(unit));
    }
    for (const PlacedUnit& unit : m_eliminated)
        if (ofSide(unit))
            AddUnitToSummaries(unit, nullptr, false);
    for (const PlacedUnit& unit : m_exited)
        if (ofSide(unit))
            AddUnitToSummaries(unit, nullptr, true);
}

void CGameAiOrders::ResetBattleState()
{
    CGamePathSearch::ResetBattleState();
    for (AiOrder& order : m_orders) {
        order.kind = kAiOrderHold;
        order.target = order.second = HexPos { -1, -1 };
    }
}

bool CGameAiOrders::FailBattleRead(const char* reason)
{
    // Every layer's state goes with the battle.
    DropFailedBattle(String(reason));
    return false;
}

// ---- The order block ----

bool CGameAiOrders::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGamePathSearch::ReadBattleFile(in, keepVersion10))
        return false;
    constexpr const char* kError = "Error reading A/I orders";
    auto onMap = [this](const HexPos& hex) { return m_map.IsOnMap(hex.column, hex.row); };
    for (;;) {
        int index = 0;
        if (!(in >> index))
            return FailBattleRead(kError);
        if (index == -1)
            break;
        if (index < 0 || index >= GetNodeCount())
            return FailBattleRead(kError);
        int orderingId = 0;
        AiOrder order;
        if (!(in >> orderingId >> order.kind >> order.target.column >> order.target.row >> order.second.column
                >> order.second.row))
            return FailBattleRead(kError);
        if (order.kind < 0 || order.kind >= kAiOrderKindCount)
            return FailBattleRead(kError);
        if (IsHold(order)) {
            order.target = order.second = HexPos { -1, -1 };
        } else {
            const bool noSecond = order.second.column == -1 && order.second.row == -1;
            if (!onMap(order.target) || !(noSecond || onMap(order.second)))
                return FailBattleRead(kError);
        }
        order.orderingNode = orderingId == -1 ? nullptr : std::as_const(m_orgTree).FindNode(orderingId);
        m_orders[static_cast<std::size_t>(index)] = order;
    }
    return true;
}

bool CGameAiOrders::WriteBattleFile(std::ostream& out) const
{
    if (!CGamePathSearch::WriteBattleFile(out))
        return false;
    std::string text;
    for (std::size_t i = 0; i < m_orders.size(); ++i) {
        const AiOrder& order = m_orders[i];
        if (IsHold(order))
            continue;
        const int orderingId = order.orderingNode ? order.orderingNode->m_id : -1;
        text += std::to_string(i) + ' ' + std::to_string(orderingId) + ' ' + std::to_string(order.kind) + ' '
            + std::to_string(order.target.column) + ' ' + std::to_string(order.target.row) + ' '
            + std::to_string(order.second.column) + ' ' + std::to_string(order.second.row) + '\n';
    }
    text += "-1\n";
    out << text;
    return static_cast<bool>(out);
}
