// The battle file: one text format for scenarios, saved battles and campaign
// battles. A header with the battle's settings and the names of its map and
// organisation files, tagged section lines for every unit, every non-empty
// per-hex value and every list, a "-1" line, the loss table and a trailer.

#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>

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

// A read that failed only because the file ended (nothing but white space
// was left) ends a part of the file that may be left out; a failure with
// text left is damage.
bool FailedAtEnd(const TextScanner& in) { return in.fail() && in.eof() && !in.bad(); }

// A file-name line: from version 9 one trailing blank that the writer adds,
// from version 8 scrambled; stored backslashes become slashes.
bool ReadFileNameLine(TextScanner& in, int version, String& name)
{
    std::string text;
    if (!in.ReadLine(text))
        return false;
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
bool WriteFileNameLine(TextBuilder& out, const String& name)
{
    const std::string& text = name.str();
    if (!HexValues::IsStoredFileName(text))
        return false;
    out << ScrambleLine(text) << " \n";
    return true;
}

// The tagged section lines, one reader per tag. Every hex-bound value must
// name a hex of the map (and of every grid, which have its size after the
// reload); units and groups record their nations.
class SectionReader {
public:
    SectionReader(CGameData& game, TextScanner& in)
        : m_game(game)
        , m_in(in)
        , m_lookup([&game](std::uint32_t id) { return std::as_const(game.m_platoonTypes).FindById(id); },
              [this](int id) {
                  auto found = m_nodes.find(id);
                  return found == m_nodes.end() ? nullptr : found->second;
              })
        , m_withCounters(game.m_version >= 7)
    {
        // Units name their node by id: hashed once here instead of a search
        // of the tree per unit. The first of equal ids wins, as in the tree's
        // own search.
        OrgNodeList nodes;
        game.m_orgTree.CollectAllNodes(nodes);
        for (OrgNode* node : nodes)
            m_nodes.emplace(node->m_id, node);
    }

    // Reads section lines up to the "-1" line or the end of the file.
    bool ReadAll()
    {
        for (;;) {
            int tag = 0;
            if (!(m_in >> tag))
                return FailedAtEnd(m_in); // a file may end without the "-1" line
            if (tag == -1)
                return true;
            if (!ReadSection(tag)) {
                m_game.m_battleReadError = String("Error reading battle file: section " + std::to_string(tag));
                return false;
            }
        }
    }

private:
    bool ReadSection(int tag)
    {
        switch (tag) {
        case kTagUnit:
            return ReadStackUnit();
        case kTagWrecks:
        case kTagHexFlags:
        case kTagHexValue:
        case kTagPhaseByte:
        case kTagSmokeMark:
        case kTagStarshellMark:
        case kTagFireMark:
            return ReadHexValue(tag);
        case kTagContact:
            return ReadContact();
        case kTagObjective:
            return ReadObjective();
        case kTagOffMapUnit:
            return ReadOffMapUnit();
        case kTagReinforcements:
            return ReadReinforcements();
        case kTagAirStrike:
            return ReadAirStrike();
        case kTagPontoon:
            return ReadPontoon();
        case kTagRelease:
            return ReadRelease();
        case kTagPendingFire:
            return ReadPendingFire();
        case kTagEliminated:
        case kTagExited:
            return ReadListedUnit(tag == kTagEliminated ? m_game.m_eliminated : m_game.m_exited);
        case kTagDamagedBridges:
            return ReadDamagedBridges();
        case kTagArrivalMark:
            return ReadArrivalMark();
        case kTagAircraft:
            return ReadAircraft();
        default: // tag 3 has no reader; anything else is no tag at all
            return false;
        }
    }

    bool OnMap(int column, int row) const
    {
        return m_game.m_map.IsOnMap(column, row) && m_game.m_stacks.Contains(column, row);
    }
    bool NearMap(int column, int row) const
    {
        const int reach = CGameData::kMaxOffMapDistance;
        return column >= -reach && column < m_game.m_map.GetWidth() + reach && row >= -reach
            && row < m_game.m_map.GetHeight() + reach;
    }
    bool ReadHex(int& column, int& row) { return static_cast<bool>(m_in >> column >> row) && OnMap(column, row); }

    bool ReadStackUnit()
    {
        int column = 0;
        int row = 0;
        PlacedUnit unit;
        if (!ReadHex(column, row) || !unit.Read(m_in, m_lookup, m_withCounters))
            return false;
        if (unit.m_node)
            unit.m_node->MarkUpwards();
        m_game.RecordSideNation(unit.m_type->GetNation());
        // Carried units follow their carrier in the file.
        AppendReadUnit(m_game.m_stacks.At(column, row), unit);
        return true;
    }

    bool ReadHexValue(int tag)
    {
        int column = 0;
        int row = 0;
        int value = 0;
        if (!(m_in >> column >> row >> value) || !OnMap(column, row))
            return false;
        // Wreck words and marks must be what the hex-state messages can carry.
        const bool isMark = tag == kTagSmokeMark || tag == kTagStarshellMark || tag == kTagFireMark;
        if ((tag == kTagWrecks && !HexValues::IsWreckWord(value)) || (isMark && !HexValues::IsValueOrNone(value)))
            return false;
        switch (tag) {
        case kTagWrecks:
            m_game.m_wrecks.At(column, row) = value;
            break;
        case kTagHexFlags:
            m_game.m_hexFlags.At(column, row) = value;
            break;
        case kTagHexValue:
            m_game.m_hexValue.At(column, row) = value;
            break;
        case kTagPhaseByte:
            m_game.m_phaseBytes.At(column, row) = static_cast<std::uint8_t>(value & 0xFF);
            break;
        case kTagSmokeMark:
            m_game.m_smokeMark.At(column, row) = value;
            break;
        case kTagStarshellMark:
            m_game.m_starshellMark.At(column, row) = value;
            break;
        default:
            m_game.m_fireMark.At(column, row) = value;
            break;
        }
        return true;
    }

    bool ReadContact()
    {
        int column = 0;
        int row = 0;
        int which = 0;
        int kind = 0;
        int value = 1; // before version 3 the value is left out
        if (!(m_in >> column >> row >> which >> kind) || (m_game.m_version >= 3 && !(m_in >> value)))
            return false;
        if (!OnMap(column, row) || !HexValues::IsContactKind(kind) || !HexValues::IsValueOrNone(value))
            return false;
        if (which != 1)
            m_game.m_contact[0].At(column, row).Set(kind, value);
        if (which != 0)
            m_game.m_contact[1].At(column, row).Set(kind, value);
        return true;
    }

    bool ReadObjective()
    {
        int column = 0;
        int row = 0;
        ObjectiveCell cell;
        if (!(m_in >> column >> row >> cell.value >> cell.nation) || !OnMap(column, row)
            || !HexValues::IsNationOrNone(cell.nation))
            return false;
        m_game.m_objectives.At(column, row) = cell;
        return true;
    }

    bool ReadOffMapUnit()
    {
        OffMapUnit offMap;
        if (!(m_in >> offMap.column >> offMap.row) || !NearMap(offMap.column, offMap.row)
            || !offMap.unit.Read(m_in, m_lookup, m_withCounters))
            return false;
        m_game.RecordSideNation(offMap.unit.m_type->GetNation());
        m_game.m_offMapUnits.Append(std::move(offMap));
        return true;
    }

    bool ReadReinforcements()
    {
        int column = 0;
        int row = 0;
        if (!ReadHex(column, row))
            return false;
        ReinforcementGroup group(column, row);
        if (!group.Read(m_in, m_lookup, m_game.m_version >= 4, m_withCounters))
            return false;
        if (group.GetNation() != -1)
            m_game.RecordSideNation(group.GetNation());
        m_game.m_reinforcements.Append(std::move(group));
        return true;
    }

    bool ReadAirStrike()
    {
        int column = 0;
        int row = 0;
        int value = 0;
        int side = -1;
        if (!(m_in >> column >> row >> value >> side) || !OnMap(column, row) || !HexValues::IsAirStrikeSide(side))
            return false;
        m_game.m_airStrikeValue.At(column, row) = value;
        m_game.m_airStrikeSide.At(column, row) = side;
        return true;
    }

    bool ReadPontoon()
    {
        int column = 0;
        int row = 0;
        HexSide side;
        int capacity = 0;
        if (!(m_in >> column >> row) || !ReadHexSide(m_in, side) || !(m_in >> capacity))
            return false;
        if (!OnMap(column, row) || !HexValues::IsPontoonSide(side) || capacity < 0)
            return false;
        m_game.m_pontoons.At(column, row) = PontoonCell { side, capacity };
        return true;
    }

    bool ReadRelease()
    {
        ReleaseRecord release;
        int nodeId = 0;
        if (!(m_in >> release.time >> release.chance >> nodeId))
            return false;
        release.node = m_lookup.findNode(nodeId);
        if (!release.node)
            return false;
        m_game.m_releases.Append(release);
        return true;
    }

    bool ReadPendingFire()
    {
        PendingFire fire;
        if (!fire.Read(m_in) || !OnMap(fire.targetColumn, fire.targetRow) || !NearMap(fire.fromColumn, fire.fromRow))
            return false;
        m_game.m_pendingFire.Append(fire);
        return true;
    }

    bool ReadListedUnit(UnitList& list)
    {
        PlacedUnit unit;
        if (!unit.Read(m_in, m_lookup, m_withCounters))
            return false;
        m_game.RecordSideNation(unit.m_type->GetNation());
        list.Append(unit);
        return true;
    }

    bool ReadDamagedBridges()
    {
        int column = 0;
        int row = 0;
        HexSideSet sides;
        if (!(m_in >> column >> row))
            return false;
        m_in.get(); // the blank before the set's character, which may itself be a blank
        if (!ReadHexSideSet(m_in, sides) || !OnMap(column, row))
            return false;
        m_game.m_damagedBridges.At(column, row) = sides;
        return true;
    }

    bool ReadArrivalMark()
    {
        int column = 0;
        int row = 0;
        int value = -1;
        int flag = 0;
        if (!(m_in >> column >> row >> value >> flag) || !OnMap(column, row) || !HexValues::IsNationOrNone(value))
            return false;
        m_game.m_arrivalMarks.At(column, row) = ArrivalMark { value, flag != 0 };
        return true;
    }

    bool ReadAircraft()
    {
        std::uint32_t id = 0;
        if (!(m_in >> id))
            return false;
        const PlatoonType* type = std::as_const(m_game.m_platoonTypes).FindById(id);
        if (!type)
            return false;
        m_game.m_aircraftPool.Append(type);
        return true;
    }

    CGameData& m_game;
    TextScanner& m_in;
    std::unordered_map<int, OrgNode*> m_nodes;
    const UnitLookup m_lookup;
    const bool m_withCounters;
};

} // namespace

// ---- Reading ----

bool CGameData::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    // The battle is read from memory. The stream is then set just after what
    // was read, where the layers above find their blocks.
    const std::istream::pos_type start = in.tellg();
    std::string text;
    const bool deviceError = !ReadStreamText(in, text); // no text: the header fails
    TextScanner scanner(text);
    const bool read = ReadBattleText(scanner, keepVersion10);
    if (!deviceError && start != std::istream::pos_type(-1)) {
        in.clear();
        in.seekg(start + static_cast<std::streamoff>(scanner.Position()));
        in.setstate(scanner.rdstate());
    }
    return read;
}

bool CGameData::ReadBattleText(TextScanner& in, bool keepVersion10)
{
    ResetBattleState();
    m_battleReadError = String();
    m_versionMismatch = false;
    const String oldMapName = m_mapFileName;
    const String oldOrgName = m_orgFileName;

    bool reloaded = false;
    String error;
    if (!ReadBattleHeader(in)) {
        error = "Error reading battle file header";
    } else {
        reloaded = true;
        if (const char* reloadError = Reload()) {
            error = reloadError;
        } else {
            if (!ReadBattleSections(in) || !ReadLossTable(in))
                error = m_battleReadError.IsEmpty() ? String("Error reading battle file") : m_battleReadError;
        }
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

    DropFailedBattle(error);
    if (!reloaded) {
        // Nothing was loaded under the new names; the old ones still match
        // the map and organisation in memory.
        m_mapFileName = oldMapName;
        m_orgFileName = oldOrgName;
    }
    return false;
}

void CGameData::DropFailedBattle(const String& error)
{
    // No half-read battle stays in play, nor any layer's state of it.
    ResetBattleState();
    m_map.Reset();
    m_smoke[0] = m_smoke[1] = 0; // kept by a reset, but here read from the damaged file
    m_battleReadError = error;
}

bool CGameData::ReadBattleHeader(TextScanner& in)
{
    int version = 0;
    if (!(in >> version))
        return false;
    if (version < kOldestVersion || version > kNewestVersion) {
        m_versionMismatch = true;
        return false;
    }
    m_version = version;
    in.SkipLine();

    std::string titleText;
    if (!in.ReadLine(titleText))
        return false;
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
    in.SkipLine();

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

bool CGameData::ReadBattleSections(TextScanner& in) { return SectionReader(*this, in).ReadAll(); }

bool CGameData::ReadLossTable(TextScanner& in)
{
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
        // The list hashes its ids and each type knows its position.
        const PlatoonType* type = std::as_const(m_platoonTypes).FindById(id);
        const int position = type ? type->m_index : -1;
        if (position >= 0 && static_cast<std::size_t>(position) < m_losses.size())
            m_losses[static_cast<std::size_t>(position)] = loss;
    }
}

// ---- Writing ----

bool CGameData::WriteBattleFile(std::ostream& out) const
{
    // The header is the only part that can refuse (a name that could not be
    // read back): it is made in memory first, so that nothing is written
    // then. The rest goes out in pieces as it is made.
    TextBuilder text;
    text.reserve(2 * 64 * 1024);
    if (!WriteBattleHeader(text))
        return false;
    text.SetSink(out);
    if (!WriteHexSections(text) || !WriteLossTable(text))
        return false;
    text << m_trailer << '\n';
    return text.Flush();
}

bool CGameData::WriteBattleHeader(TextBuilder& out) const
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

bool CGameData::WriteHexSections(TextBuilder& out) const
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
        if (!out.FlushIfLarge())
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

bool CGameData::WriteLossTable(TextBuilder& out) const
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

    // Nothing may point into the data about to be replaced: the battle with
    // every layer's state of it goes first, then the platoon types themselves.
    ResetBattleState();
    m_platoonTypes.Clear();
    const String platoonError = m_platoonTypes.LoadAll(".");

    if (!ReadBattleFile(battle, true))
        return platoonError.IsEmpty() ? m_battleReadError : platoonError;
    m_version = version;
    return platoonError;
}
