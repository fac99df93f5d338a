#include "ai/GameAiData.h"

#include "model/DataFile.h"
#include "model/Geometry.h"

CGameAiData::CGameAiData() { m_grids.Register(m_enemyDistance, 0); }

const char* CGameAiData::Reload()
{
    const char* error = CGameAiOrders::Reload();
    if (!error)
        m_aiFileTime.Watch(kAiFileName);
    return error;
}

bool CGameAiData::HexHasUnits(int column, int row) const
{
    if (!CGameAiOrders::HexHasUnits(column, row))
        return false;
    const UnitList& stack = m_stacks.At(column, row);
    const PlatoonType* type = stack.Head()->value.m_type;
    const int side = type ? type->GetSide() : 0;
    if (!IsSideHidden(side))
        return true;
    if (m_contact[OtherSide(side)].At(column, row).kind != 1)
        return false;
    for (const PlacedUnit& unit : stack)
        if ((unit.m_status & (kUnitCarried | kUnitHidden)) == 0)
            return true;
    return false;
}

bool CGameAiData::IsOpponentHidden() const { return IsSideHidden(OtherSide(m_map.GetSide())); }

bool CGameAiData::CheckFilesChanged()
{
    const bool changed = CGameAiOrders::CheckFilesChanged();
    return m_aiFileTime.CheckChanged() || changed;
}
