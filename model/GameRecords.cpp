#include "model/GameRecords.h"

#include <sstream>

void PontoonBridgeText(const PontoonCell& cell, String& text)
{
    const char* kind = "Damaged";
    if (cell.capacity > 6)
        kind = "Hvy Pontoon";
    else if (cell.capacity >= 4)
        kind = "Med Pontoon";
    else if (cell.capacity >= 1)
        kind = "Lt Pontoon";
    std::ostringstream out;
    out << kind << " (" << cell.capacity << ")";
    text = String::StringFromStream(out);
}

LastMove::LastMove(int fromColumn, int fromRow, int toColumn, int toRow, int count)
    : m_fromColumn(fromColumn)
    , m_fromRow(fromRow)
    , m_toColumn(toColumn)
    , m_toRow(toRow)
    , m_count(count > 0 ? count : 0)
    , m_units(static_cast<std::size_t>(m_count))
    , m_secondBefore(static_cast<std::size_t>(m_count), HexSide::North)
    , m_secondAfter(static_cast<std::size_t>(m_count), HexSide::North)
{
}

void LastMove::SetUnit(int index, const PlacedUnit& unit, HexSide secondFacingBefore)
{
    if (index < 0 || index >= m_count)
        return;
    m_units[static_cast<std::size_t>(index)] = unit;
    m_secondBefore[static_cast<std::size_t>(index)] = secondFacingBefore;
}

void LastMove::SetSecondSide(int index, HexSide secondFacingAfter)
{
    if (index >= 0 && index < m_count)
        m_secondAfter[static_cast<std::size_t>(index)] = secondFacingAfter;
}
