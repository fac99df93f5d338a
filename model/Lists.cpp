#include "model/Lists.h"

bool HexListContains(const HexList& list, int column, int row)
{
    for (const HexPos& hex : list)
        if (hex.column == column && hex.row == row)
            return true;
    return false;
}

HexListNode* AppendHexListNodeOnce(HexList& list, int column, int row)
{
    if (HexListContains(list, column, row))
        return nullptr;
    return AppendHexListNode(list, column, row);
}
