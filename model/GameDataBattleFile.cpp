// The battle file: one text format for scenarios, saved battles and campaign
// battles. A header with the battle's settings and the names of its map and
// organisation files, tagged section lines for every unit, every non-empty
// per-hex value and every list, a "-1" line, the loss table and a trailer.

#include <limits>
#include <sstream>
#include <string>
#include <unordered_map>

#include "model/DataFile.h"
#include "model/GameData.h"
#include "model/HexValues.h"
#include "model/Geometry.h"
#include "model/Scramble.h"

namespace {

constexpr int kOldestVersion = 1;
constexpr int kNewestVersion = 10;

// Section tags.
enum BattleTag : int {
    kTagUnit = 0,
    kTagWrecks = 1,
    kTagHexFlags = 2,
    kTagUnused = 3,
    kTagContact = 4,
    kTagObjective = 5,
    kTagOffMapUnit = 6,
    kTagReinforcements = 7,
    kTagPhaseByte = 8,
    kTagSmokeMark = 9,
    kTagAirStrike = 10,
    kTagPontoon = 11,
    kTagRelease = 12,
    kTagHexValue = 13,
    kTagPendingFire = 14,
    kTagEliminated = 15,
    kTagExited = 16,
    kTagDamagedBridges = 17,
    kTagArrivalMark = 18,
    kTagAircraft = 19,
    kTagFireMark = 20,
    kTagStarshellMark = 21,
};

void SkipRestOfLine(std::istream& in) { in.ignore(std::numeric_limits<std::streamsize>::max(), '\n'); }

// A read that failed only because the file ended (nothing but white space
// was left) ends a part of the file that may be left out; a failure with
// text left is damage.
bool FailedAtEnd(const std::istream& in) { return in.fail() && in.eof() && !in.bad(); }

// A file-name line: from version 9 one trailing blank that the writer adds,
// from version 8 scrambled; stored backslashes become slashes.
bool ReadFileNameLine(std::istream& in, int version, String& name)
{
    String line;
    if (!line.ReadLine(in))
        return false;
    std::string text = line.str();
    if (version >= 9 && !text.empty() && text.back() == ' ')
        text.pop_back();
    if (version >= 8)
        DescrambleLine(text);
    if (!HexValues::IsStoredFileName(text))
        return false;
    name = String(NormalizeStoredName(text));
    return true;
}

// A name that could not be read back as it is is not written.
bool WriteFileNameLine(std::ostream& out, const String& name)
{
    const std::string& text = name.str();
    if (!HexValues::IsStoredFileName(text))
        return false;
    out << ScrambleLine(text) << " \n";
    return static_cast<bool>(out);
}

} // namespace

// ---- Reading ----

bool CGameData::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    ResetBattle();
    // The last move is of the battle being replaced, and its unit copies point
    // to organisation nodes that the reload below may free.
    m_lastMove.reset();
    m_battleReadError = String();
    const String oldMapName = m_mapFileName;
    const String oldOrgName = m_orgFileName;

    bool reloaded = false;
    String error;
    if (!ReadBattleHeader(in)) {
        error = "Error reading battle file header";
    } else {
        reloaded = true;
        if (const char* reloadError = Reload())
            error = reloadError;
        else if (!ReadBattleSections(in) || !ReadLossTable(in))
            error = m_battleReadError.IsEmpty() ? String("Error reading battle file") : m_battleReadError;
    }
    if (error.IsEmpty()) {
        // The trailer ends a file that may stop before it.
        int trailer = 0;
        if (in >> trailer)
            m_trailer = trailer;
        else if (!FailedAtEnd(in))
            error = "Error reading battle file trailer";
    }
    if (error.IsEmpty()) {
        if (keepVersion10)
            m_version = kCurrentVersion;
        return true;
    }

    // No half-read battle stays in play.
    ResetBattle();
    m_map.Reset();
    m_smoke[0] = m_smoke[1] = 0; // kept by a reset, but here read from the damaged file
    if (!reloaded) {
        // Nothing was loaded under the new names; the old ones still match
        // the map and organisation in memory.
        m_mapFileName = oldMapName;
        m_orgFileName = oldOrgName;
    }
    m_battleReadError = error;
    return false;
}

bool CGameData::ReadBattleHeader(std::istream& in)
{
    int version = 0;
    if (!(in >> version) || version < kOldestVersion || version > kNewestVersion)
        return false;
    m_version = version;
    SkipRestOfLine(in);

    String title;
    if (!title.ReadLine(in))
        return false;
    std::string titleText = title.str();
    for (char& c : titleText)
        if (c == '|')
            c = ' ';
    m_title = String(std::move(titleText));

    if (!m_map.Read(in))
        return false;
    if (!m_terrain.Read(in) || !(in >> m_visibility))
        return false;
    if (!(in >> m_airPower[0] >> m_airPower[1] >> m_smoke[0] >> m_smoke[1] >> m_ammo[0] >> m_ammo[1]))
        return false;
    for (int side = 0; side < 2; ++side)
        if (!HexValues::IsSideCount(m_airPower[side]) || !HexValues::IsSideCount(m_smoke[side]))
            return false;
    // The first side picks the point of view of the victory levels and
    // indexes per-side tables: only 0 and 1 are sides.
    int firstSide = 0;
    if (!(in >> firstSide) || (firstSide != 0 && firstSide != 1))
        return false;
    m_firstSide = firstSide;
    for (int& threshold : m_thresholds)
        in >> threshold;
    in >> m_missionType;
    in >> m_aiPercent[0] >> m_aiPercent[1] >> m_advantage >> m_options;
    if (!in)
        return false;
    SkipRestOfLine(in);

    if (!ReadFileNameLine(in, version, m_mapFileName) || !ReadFileNameLine(in, version, m_orgFileName))
        return false;

    if (version >= 2) {
        for (auto& side : m_unitLimits)
            for (auto& kind : side)
                for (int& limit : kind)
                    in >> limit;
        if (!in)
            return false;
    }
    if (version >= 10) {
        int night = 0;
        if (!(in >> night >> m_starshells[0] >> m_starshells[1]))
            return false;
        m_night = night != 0 ? 1 : 0;
    }
    return true;
}

bool CGameData::ReadBattleSections(std::istream& in)
{
    // Units name their type and node by id: hashed once here instead of a
    // search of the lists per unit. The first of equal ids wins, as in the
    // lists' own searches.
    std::unordered_map<std::uint32_t, const PlatoonType*> typeIndex;
    for (const PlatoonType* type : m_platoonTypes)
        typeIndex.emplace(type->m_id, type);
    std::unordered_map<int, OrgNode*> nodeIndex;
    OrgNodeList nodes;
    m_orgTree.CollectAllNodes(nodes);
    for (OrgNode* node : nodes)
        nodeIndex.emplace(node->m_id, node);
    const UnitLookup lookup(
        [&typeIndex](std::uint32_t id) {
            auto found = typeIndex.find(id);
            return found == typeIndex.end() ? nullptr : found->second;
        },
        [&nodeIndex](int id) {
            auto found = nodeIndex.find(id);
            return found == nodeIndex.end() ? nullptr : found->second;
        });

    const int version = m_version;
    const bool withCounters = version >= 7;
    // Every grid has the map's size after the reload.
    auto onMap = [this](int column, int row) { return m_map.IsOnMap(column, row) && m_stacks.Contains(column, row); };
    auto nearMap = [this](int column, int row) {
        return column >= -kMaxOffMapDistance && column < m_map.GetWidth() + kMaxOffMapDistance
            && row >= -kMaxOffMapDistance && row < m_map.GetHeight() + kMaxOffMapDistance;
    };

    for (;;) {
        int tag = 0;
        if (!(in >> tag))
            return FailedAtEnd(in); // a file may end without the "-1" line
        if (tag == -1)
            return true;
        bool ok = false;
        int column = 0;
        int row = 0;
        switch (tag) {
        case kTagUnit: {
            PlacedUnit unit;
            if (!(in >> column >> row) || !onMap(column, row) || !unit.Read(in, lookup, withCounters))
                break;
            if (unit.m_node)
                unit.m_node->MarkUpwards();
            RecordSideNation(unit.m_type->GetNation());
            // Carried units follow their carrier in the file.
            AppendReadUnit(m_stacks.At(column, row), unit);
            ok = true;
            break;
        }
        case kTagWrecks:
        case kTagHexFlags:
        case kTagHexValue:
        case kTagPhaseByte:
        case kTagSmokeMark:
        case kTagStarshellMark:
        case kTagFireMark: {
            int value = 0;
            if (!(in >> column >> row >> value) || !onMap(column, row))
                break;
            // Wreck words and marks must be what the hex-state messages can carry.
            const bool isMark = tag == kTagSmokeMark || tag == kTagStarshellMark || tag == kTagFireMark;
            if ((tag == kTagWrecks && !HexValues::IsWreckWord(value)) || (isMark && !HexValues::IsValueOrNone(value)))
                break;
            switch (tag) {
            case kTagWrecks:
                m_wrecks.At(column, row) = value;
                break;
            case kTagHexFlags:
                m_hexFlags.At(column, row) = value;
                break;
            case kTagHexValue:
                m_hexValue.At(column, row) = value;
                break;
            case kTagPhaseByte:
                m_phaseBytes.At(column, row) = static_cast<std::uint8_t>(value & 0xFF);
                break;
            case kTagSmokeMark:
                m_smokeMark.At(column, row) = value;
                break;
            case kTagStarshellMark:
                m_starshellMark.At(column, row) = value;
                break;
            default:
                m_fireMark.At(column, row) = value;
                break;
            }
            ok = true;
            break;
        }
        case kTagContact: {
            int which = 0;
            int kind = 0;
            int value = 1;
            if (!(in >> column >> row >> which >> kind) || (version >= 3 && !(in >> value)))
                break;
            if (!onMap(column, row) || !HexValues::IsContactKind(kind) || !HexValues::IsValueOrNone(value))
                break;
            if (which != 1)
                m_contact[0].At(column, row).Set(kind, value);
            if (which != 0)
                m_contact[1].At(column, row).Set(kind, value);
            ok = true;
            break;
        }
        case kTagObjective: {
            ObjectiveCell cell;
            if (!(in >> column >> row >> cell.value >> cell.nation) || !onMap(column, row)
                || !HexValues::IsNationOrNone(cell.nation))
                break;
            m_objectives.At(column, row) = cell;
            ok = true;
            break;
        }
        case kTagOffMapUnit: {
            OffMapUnit offMap;
            if (!(in >> offMap.column >> offMap.row) || !nearMap(offMap.column, offMap.row)
                || !offMap.unit.Read(in, lookup, withCounters))
                break;
            RecordSideNation(offMap.unit.m_type->GetNation());
            m_offMapUnits.Append(std::move(offMap));
            ok = true;
            break;
        }
        case kTagReinforcements: {
            if (!(in >> column >> row) || !onMap(column, row))
                break;
            ReinforcementGroup group(column, row);
            if (!group.Read(in, lookup, version >= 4, withCounters))
                break;
            if (group.GetNation() != -1)
                RecordSideNation(group.GetNation());
            m_reinforcements.Append(std::move(group));
            ok = true;
            break;
        }
        case kTagAirStrike: {
            int value = 0;
            int side = -1;
            if (!(in >> column >> row >> value >> side) || !onMap(column, row) || !HexValues::IsAirStrikeSide(side))
                break;
            m_airStrikeValue.At(column, row) = value;
            m_airStrikeSide.At(column, row) = side;
            ok = true;
            break;
        }
        case kTagPontoon: {
            HexSide side;
            int capacity = 0;
            if (!(in >> column >> row) || !ReadHexSide(in, side) || !(in >> capacity))
                break;
            if (!onMap(column, row) || !HexValues::IsPontoonSide(side) || capacity < 0)
                break;
            m_pontoons.At(column, row) = PontoonCell { side, capacity };
            ok = true;
            break;
        }
        case kTagRelease: {
            ReleaseRecord release;
            int nodeId = 0;
            if (!(in >> release.time >> release.chance >> nodeId))
                break;
            release.node = lookup.findNode(nodeId);
            if (!release.node)
                break;
            m_releases.Append(release);
            ok = true;
            break;
        }
        case kTagPendingFire: {
            PendingFire fire;
            if (!fire.Read(in) || !onMap(fire.targetColumn, fire.targetRow) || !nearMap(fire.fromColumn, fire.fromRow))
                break;
            m_pendingFire.Append(fire);
            ok = true;
            break;
        }
        case kTagEliminated:
        case kTagExited: {
            PlacedUnit unit;
            if (!unit.Read(in, lookup, withCounters))
                break;
            RecordSideNation(unit.m_type->GetNation());
            (tag == kTagEliminated ? m_eliminated : m_exited).Append(unit);
            ok = true;
            break;
        }
        case kTagDamagedBridges: {
            HexSideSet sides;
            if (!(in >> column >> row))
                break;
            in.get(); // the blank before the set's character, which may itself be a blank
            if (!ReadHexSideSet(in, sides) || !onMap(column, row))
                break;
            m_damagedBridges.At(column, row) = sides;
            ok = true;
            break;
        }
        case kTagArrivalMark: {
            int value = -1;
            int flag = 0;
            if (!(in >> column >> row >> value >> flag) || !onMap(column, row) || !HexValues::IsNationOrNone(value))
                break;
            m_arrivalMarks.At(column, row) = ArrivalMark { value, flag != 0 };
            ok = true;
            break;
        }
        case kTagAircraft: {
            std::uint32_t id = 0;
            if (!(in >> id))
                break;
            const PlatoonType* type = lookup.findType(id);
            if (!type)
                break;
            m_aircraftPool.Append(type);
            ok = true;
            break;
        }
        default: // tag 3 has no reader; anything else is no tag at all
            break;
        }
        if (!ok) {
            m_battleReadError = String("Error reading battle file: section " + std::to_string(tag));
            return false;
        }
    }
}

bool CGameData::ReadLossTable(std::istream& in)
{
    // Platoon id to position in the list; the first of equal ids wins.
    std::unordered_map<std::uint32_t, std::size_t> positions;
    std::size_t position = 0;
    for (const PlatoonType* type : m_platoonTypes)
        positions.emplace(type->m_id, position++);
    for (;;) {
        std::uint32_t id = 0;
        int loss = 0;
        if (!(in >> id >> loss)) {
            if (FailedAtEnd(in))
                return true;
            m_battleReadError = "Error reading battle file: loss table";
            return false;
        }
        if (id == 0 || loss == -1)
            return true;
        if (!HexValues::IsLoss(loss)) {
            m_battleReadError = "Error reading battle file: loss table";
            return false;
        }
        // A type that is no longer listed has no entry to count in.
        auto found = positions.find(id);
        if (found != positions.end() && found->second < m_losses.size())
            m_losses[found->second] = loss;
    }
}

// ---- Writing ----

bool CGameData::WriteBattleFile(std::ostream& out) const
{
    if (!WriteBattleHeader(out) || !WriteHexSections(out) || !WriteLossTable(out))
        return false;
    out << m_trailer << '\n';
    return static_cast<bool>(out);
}

bool CGameData::WriteBattleHeader(std::ostream& out) const
{
    // Always the newest layout, so always its number.
    out << kNewestVersion << '\n';
    // The title must come back as one line.
    std::string title = m_title.str();
    for (char& c : title)
        if (c == '\n' || c == '\r')
            c = ' ';
    if (title.size() > String::kMaxLineLength)
        title.resize(String::kMaxLineLength);
    out << title << '\n';
    if (!m_map.Write(out))
        return false;
    out << '\n';
    if (!m_terrain.Write(out))
        return false;
    out << ' ' << m_visibility << '\n';
    out << m_airPower[0] << ' ' << m_airPower[1] << ' ' << m_smoke[0] << ' ' << m_smoke[1] << ' ' << m_ammo[0] << ' '
        << m_ammo[1] << '\n';
    out << m_firstSide << '\n';
    out << m_thresholds[0] << ' ' << m_thresholds[1] << ' ' << m_thresholds[2] << ' ' << m_thresholds[3] << ' '
        << m_missionType << '\n';
    out << m_aiPercent[0] << ' ' << m_aiPercent[1] << ' ' << m_advantage << ' ' << m_options << '\n';
    if (!out || !WriteFileNameLine(out, m_mapFileName) || !WriteFileNameLine(out, m_orgFileName))
        return false;
    for (const auto& side : m_unitLimits) {
        for (const auto& kind : side)
            for (int limit : kind)
                out << ' ' << limit;
        out << '\n';
    }
    out << (m_night ? 1 : 0) << ' ' << m_starshells[0] << ' ' << m_starshells[1] << '\n';
    return static_cast<bool>(out);
}

bool CGameData::WriteHexSections(std::ostream& out) const
{
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row) {
            for (const PlacedUnit& unit : m_stacks.At(column, row)) {
                out << kTagUnit << ' ' << column << ' ' << row << ' ';
                unit.Write(out) << '\n';
            }
            if (int wrecks = m_wrecks.At(column, row))
                out << kTagWrecks << ' ' << column << ' ' << row << ' ' << wrecks << '\n';
            if (int flags = m_hexFlags.At(column, row))
                out << kTagHexFlags << ' ' << column << ' ' << row << ' ' << flags << '\n';
            for (int side = 0; side < 2; ++side) {
                const ContactCell& contact = m_contact[side].At(column, row);
                if (contact.kind != 0)
                    out << kTagContact << ' ' << column << ' ' << row << ' ' << side << ' ' << contact.kind << ' '
                        << contact.value << '\n';
            }
            const ObjectiveCell& objective = m_objectives.At(column, row);
            if (objective.value != 0)
                out << kTagObjective << ' ' << column << ' ' << row << ' ' << objective.value << ' ' << objective.nation
                    << '\n';
            if (int value = m_phaseBytes.At(column, row))
                out << kTagPhaseByte << ' ' << column << ' ' << row << ' ' << value << '\n';
            if (int mark = m_smokeMark.At(column, row); mark != -1)
                out << kTagSmokeMark << ' ' << column << ' ' << row << ' ' << mark << '\n';
            if (int mark = m_starshellMark.At(column, row); mark != -1)
                out << kTagStarshellMark << ' ' << column << ' ' << row << ' ' << mark << '\n';
            if (int mark = m_fireMark.At(column, row); mark != -1)
                out << kTagFireMark << ' ' << column << ' ' << row << ' ' << mark << '\n';
            if (int value = m_airStrikeValue.At(column, row))
                out << kTagAirStrike << ' ' << column << ' ' << row << ' ' << value << ' '
                    << m_airStrikeSide.At(column, row) << '\n';
            const PontoonCell& pontoon = m_pontoons.At(column, row);
            if (pontoon.side != HexSide::None)
                out << kTagPontoon << ' ' << column << ' ' << row << ' ' << pontoon.side.Value() << ' '
                    << pontoon.capacity << '\n';
            if (int value = m_hexValue.At(column, row))
                out << kTagHexValue << ' ' << column << ' ' << row << ' ' << value << '\n';
        }
        if (!out)
            return false;
    }

    for (const OffMapUnit& offMap : m_offMapUnits) {
        out << kTagOffMapUnit << ' ' << offMap.column << ' ' << offMap.row << ' ';
        offMap.unit.Write(out) << '\n';
    }
    for (const ReinforcementGroup& group : m_reinforcements) {
        out << kTagReinforcements << ' ';
        group.Write(out);
    }
    for (const ReleaseRecord& release : m_releases) {
        // A release of no formation releases nothing and could not be read back.
        if (release.node)
            out << kTagRelease << ' ' << release.time << ' ' << release.chance << ' ' << release.node->m_id << '\n';
    }
    for (const PlacedUnit& unit : m_eliminated) {
        out << kTagEliminated << ' ';
        unit.Write(out) << '\n';
    }
    for (const PlacedUnit& unit : m_exited) {
        out << kTagExited << ' ';
        unit.Write(out) << '\n';
    }
    for (const PendingFire& fire : m_pendingFire) {
        out << kTagPendingFire << ' ';
        fire.Write(out);
        out << '\n';
    }
    if (!out)
        return false;
    for (int column = 0; column < m_damagedBridges.Width(); ++column)
        for (int row = 0; row < m_damagedBridges.Height(); ++row) {
            const HexSideSet sides = m_damagedBridges.At(column, row);
            if (!sides.IsEmpty()) {
                out << kTagDamagedBridges << ' ' << column << ' ' << row << ' ';
                WriteHexSideSet(out, sides);
                out << '\n';
            }
        }
    for (int column = 0; column < m_arrivalMarks.Width(); ++column)
        for (int row = 0; row < m_arrivalMarks.Height(); ++row) {
            const ArrivalMark& mark = m_arrivalMarks.At(column, row);
            if (mark.value != -1)
                out << kTagArrivalMark << ' ' << column << ' ' << row << ' ' << mark.value << ' ' << (mark.flag ? 1 : 0)
                    << '\n';
        }
    for (const PlatoonType* type : m_aircraftPool)
        if (type)
            out << kTagAircraft << ' ' << type->m_id << '\n';
    out << "-1\n";
    return static_cast<bool>(out);
}

bool CGameData::WriteLossTable(std::ostream& out) const
{
    int index = 0;
    for (const PlatoonType* type : m_platoonTypes) {
        const auto slot = static_cast<std::size_t>(index++);
        if (slot < m_losses.size() && m_losses[slot] != 0)
            out << type->m_id << ' ' << m_losses[slot] << '\n';
    }
    out << "0 -1\n";
    return static_cast<bool>(out);
}

// ---- Reload with a battle in play ----

String CGameData::ReloadKeepingBattle()
{
    std::stringstream battle;
    if (!WriteBattleFile(battle))
        return String("Error keeping the battle in play");
    const int version = m_version;

    // Nothing may point into the data about to be replaced: the battle goes
    // first, then the last-move copies, then the platoon types themselves.
    ResetBattle();
    m_lastMove.reset();
    m_platoonTypes.Clear();
    const String platoonError = m_platoonTypes.LoadAll(".");

    if (!ReadBattleFile(battle, true))
        return platoonError.IsEmpty() ? m_battleReadError : platoonError;
    m_version = version;
    return platoonError;
}
