// The hex-state and side-totals texts that keep the two machines of a
// two-player game equal. A received text is parsed whole before anything is
// stored, so a damaged message leaves the battle as it was.

#include <cstdint>
#include <istream>
#include <ostream>
#include <utility>
#include <vector>

#include "model/GameData.h"

namespace {

// Everything of one hex that a hex-state text carries besides its units.
struct HexStateFields {
    int wrecks = 0;
    int airStrikeValue = 0;
    int airStrikeSide = -1;
    int flags = 0;
    ContactCell contact[2];
    int holder = -1;
    int phaseByte = 0;
    int smokeMark = -1;
    PontoonCell pontoon;
    int hexValue = 0;
    int bridges = 0;
    int arrivalValue = -1;
    int arrivalFlag = 0;
    int fireMark = -1;
    int starshellMark = -1;
};

bool ReadFields(std::istream& in, HexStateFields& f)
{
    in >> f.wrecks >> f.airStrikeValue >> f.airStrikeSide >> f.flags;
    for (ContactCell& cell : f.contact)
        in >> cell.kind >> cell.value;
    in >> f.holder >> f.phaseByte >> f.smokeMark;
    ReadHexSide(in, f.pontoon.side);
    in >> f.pontoon.capacity >> f.hexValue >> f.bridges >> f.arrivalValue >> f.arrivalFlag >> f.fireMark
        >> f.starshellMark;
    if (!in)
        return false;
    using namespace HexValues;
    if (!IsWreckWord(f.wrecks) || !IsAirStrikeSide(f.airStrikeSide))
        return false;
    for (const ContactCell& cell : f.contact) {
        if (!IsContactKind(cell.kind) || !IsValueOrNone(cell.value))
            return false;
    }
    if (!IsNationOrNone(f.holder) || f.phaseByte < -128 || f.phaseByte > 255)
        return false;
    if (!IsPontoonSide(f.pontoon.side))
        return false;
    if (f.pontoon.capacity < 0 || f.bridges < 0 || f.bridges > static_cast<int>(HexSideSet::kAllSides))
        return false;
    return IsValueOrNone(f.smokeMark) && IsNationOrNone(f.arrivalValue) && IsValueOrNone(f.fireMark)
        && IsValueOrNone(f.starshellMark);
}

} // namespace

bool CGameData::WriteHexState(std::ostream& out, int x, int y) const
{
    if (!m_grids.Contains(x, y))
        return false;
    const UnitList& stack = m_stacks.At(x, y);
    out << stack.Count();
    for (const PlacedUnit& unit : stack) {
        out << ' ';
        unit.Write(out);
    }
    const ContactCell& side0 = m_contact[0].At(x, y);
    const ContactCell& side1 = m_contact[1].At(x, y);
    const PontoonCell& pontoon = m_pontoons.At(x, y);
    const ArrivalMark& arrival = m_arrivalMarks.At(x, y);
    out << ' ' << m_wrecks.At(x, y) << ' ' << m_airStrikeValue.At(x, y) << ' ' << m_airStrikeSide.At(x, y) << ' '
        << m_hexFlags.At(x, y) << ' ' << side0.kind << ' ' << side0.value << ' ' << side1.kind << ' ' << side1.value
        << ' ' << m_objectives.At(x, y).nation << ' '
        << static_cast<int>(static_cast<std::int8_t>(m_phaseBytes.At(x, y))) << ' ' << m_smokeMark.At(x, y) << ' ';
    WriteHexSide(out, pontoon.side);
    out << ' ' << pontoon.capacity << ' ' << m_hexValue.At(x, y) << ' ' << m_damagedBridges.At(x, y).Value() << ' '
        << arrival.value << ' ' << (arrival.flag ? 1 : 0) << ' ' << m_fireMark.At(x, y) << ' '
        << m_starshellMark.At(x, y);
    return static_cast<bool>(out);
}

bool CGameData::ReadHexState(std::istream& in, int x, int y, bool applyContact)
{
    if (!m_grids.Contains(x, y))
        return false;
    int count = 0;
    if (!(in >> count) || count < 0 || count > kMaxHexStateUnits)
        return false;
    UnitList units;
    for (int i = 0; i < count; ++i) {
        PlacedUnit unit;
        if (!unit.Read(in, m_platoonTypes, m_orgTree, true))
            return false;
        AppendReadUnit(units, unit);
    }
    HexStateFields fields;
    if (!ReadFields(in, fields))
        return false;

    UnitList& stack = m_stacks.At(x, y);
    stack.Free();
    stack.TakeOver(units);
    m_wrecks.At(x, y) = fields.wrecks;
    m_airStrikeValue.At(x, y) = fields.airStrikeValue;
    m_airStrikeSide.At(x, y) = fields.airStrikeSide;
    m_hexFlags.At(x, y) = fields.flags;
    if (applyContact) {
        for (int side = 0; side < 2; ++side)
            m_contact[side].At(x, y).Set(fields.contact[side].kind, fields.contact[side].value);
    }
    m_objectives.At(x, y).nation = fields.holder;
    m_phaseBytes.At(x, y) = static_cast<std::uint8_t>(fields.phaseByte & 0xFF);
    m_smokeMark.At(x, y) = fields.smokeMark;
    m_pontoons.At(x, y) = fields.pontoon;
    m_hexValue.At(x, y) = fields.hexValue;
    m_damagedBridges.At(x, y) = HexSideSet(static_cast<std::uint32_t>(fields.bridges));
    m_arrivalMarks.At(x, y) = ArrivalMark { fields.arrivalValue, fields.arrivalFlag != 0 };
    m_fireMark.At(x, y) = fields.fireMark;
    m_starshellMark.At(x, y) = fields.starshellMark;
    return true;
}

bool CGameData::WriteSideTotals(std::ostream& out) const
{
    TextBuilder text;
    text << m_airPower[0] << ' ' << m_airPower[1] << ' ' << m_smoke[0] << ' ' << m_smoke[1] << ' ';
    if (!WriteLossTable(text))
        return false;
    out << text.str();
    return static_cast<bool>(out);
}

bool CGameData::ReadSideTotals(std::istream& in)
{
    int airPower[2] = { 0, 0 };
    int smoke[2] = { 0, 0 };
    if (!(in >> airPower[0] >> airPower[1] >> smoke[0] >> smoke[1]))
        return false;
    for (int side = 0; side < 2; ++side)
        if (!HexValues::IsSideCount(airPower[side]) || !HexValues::IsSideCount(smoke[side]))
            return false;
    // The battle file's loss table, read strictly: a message comes from a
    // machine with the same platoon types, so a line naming none is damage.
    // The table names every type with a loss, so types it leaves out have none.
    std::vector<int> losses(m_losses.size(), 0);
    for (;;) {
        std::uint32_t id = 0;
        int loss = 0;
        if (!(in >> id >> loss))
            return false;
        if (id == 0 || loss == -1)
            break;
        // The list hashes its ids and each type knows its position.
        const PlatoonType* type = std::as_const(m_platoonTypes).FindById(id);
        const int position = type ? type->m_index : -1;
        if (position < 0 || !HexValues::IsLoss(loss) || static_cast<std::size_t>(position) >= losses.size())
            return false;
        losses[static_cast<std::size_t>(position)] = loss;
    }
    m_airPower[0] = airPower[0];
    m_airPower[1] = airPower[1];
    m_smoke[0] = smoke[0];
    m_smoke[1] = smoke[1];
    m_losses = std::move(losses);
    return true;
}
