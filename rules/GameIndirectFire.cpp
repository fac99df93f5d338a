#include "rules/GameIndirectFire.h"

#include <utility>

#include "model/OrgTree.h"

namespace {

int NodeIdOf(const PlacedUnit& unit) { return unit.m_node ? unit.m_node->m_id : 0; }

} // namespace

const PlacedUnit* CGameIndirectFire::IsPlottedFireValid(const PendingFire& record) const
{
    if (m_stacks.Contains(record.fromColumn, record.fromRow)) {
        for (const PlacedUnit& unit : m_stacks.At(record.fromColumn, record.fromRow))
            if (NodeIdOf(unit) == record.nodeId)
                return &unit;
        return nullptr;
    }
    for (const OffMapUnit& entry : m_offMapUnits)
        if (NodeIdOf(entry.unit) == record.nodeId)
            return &entry.unit;
    return nullptr;
}

PlacedUnit* CGameIndirectFire::IsPlottedFireValid(const PendingFire& record)
{
    return const_cast<PlacedUnit*>(std::as_const(*this).IsPlottedFireValid(record));
}
