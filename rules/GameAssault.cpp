#include "rules/GameAssault.h"

bool CGameAssault::HexHasHardTarget(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        if (IsTargetableUnit(node->value, x, y) && GetUnitClass(node->value.m_type) == 0)
            return true;
    return false;
}
