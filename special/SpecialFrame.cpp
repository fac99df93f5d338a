#include "special/SpecialFrame.h"

#include <fstream>
#include <initializer_list>

#include "platform/ui/MessageBoxes.h"

CSpecialFrame::CSpecialFrame(platform::Services& services, FrameResources resources)
    : COptionsFrame(services, std::move(resources))
{
}

bool CSpecialFrame::QuerySaveChanges()
{
    if (m_specialMode == kModemCaller || IsReplaying())
        return true;
    return COptionsFrame::QuerySaveChanges();
}

bool CSpecialFrame::IsLocalInControl()
{
    if (!COptionsFrame::IsLocalInControl() || IsReplaying())
        return false;
    switch (m_specialMode) {
    case kModemHost:
    case kModemCaller:
    case kHotSeat:
    case kPbem:
        return m_localSide == Game().m_map.GetSide();
    default:
        return true;
    }
}

void CSpecialFrame::GetTitleText(String& out)
{
    COptionsFrame::GetTitleText(out);
    if (m_specialMode == kNone || m_specialMode == kRecord)
        return;
    out.AppendText(IsLocalInControl() ? " (Local Control)" : " (Remote Control)");
}

bool CSpecialFrame::BeginPlayerTurn(const String& text) { return COptionsFrame::BeginPlayerTurn(text); }

bool CSpecialFrame::EndPhase(bool flag) { return COptionsFrame::EndPhase(flag); }

void CSpecialFrame::SetModifiedFlag(bool modified)
{
    if (m_specialMode != kModemCaller)
        COptionsFrame::SetModifiedFlag(modified);
}

bool CSpecialFrame::IsGameOwner() const
{
    return m_specialMode == kModemHost || m_specialMode == kPbem || m_specialMode == kRecord
        || m_specialMode == kHotSeat;
}

bool CSpecialFrame::AreUnitsUnderLocalCommand(const std::vector<int>& /*positions*/, int /*column*/, int /*row*/) const
{
    // Only network play assigns units to players.
    return true;
}

void CSpecialFrame::UpdateControlIndicator()
{
    StatusBar().SetControlIcon(m_specialMode == kNone ? 0 : (IsLocalInControl() ? 1 : 4));
}

bool CSpecialFrame::StartReplay(const std::string& path)
{
    std::ifstream in(path);
    (void)in;
    ShowBox("Error opening replay file", "Replay Error", platform::ui::kBoxOk | platform::ui::kBoxIconExclamation);
    return false;
}

void CSpecialFrame::Send(const std::string& message)
{
    if (InSpecialMode())
        m_sink->Send(message);
}

void CSpecialFrame::SendNextPhase() { Send("p"); }

void CSpecialFrame::SendHexes(const HexList& hexes)
{
    for (const HexPos& hex : hexes)
        SendHex(hex.column, hex.row);
}

void CSpecialFrame::SendHex(int column, int row) { Send("h " + std::to_string(column) + " " + std::to_string(row)); }

void CSpecialFrame::SendReleases(const std::vector<int>& released)
{
    for (int entry : released)
        Send("b " + std::to_string(entry));
}

void CSpecialFrame::SendBattleState() { Send("s"); }

void CSpecialFrame::SendReport(const std::string& text) { Send("t" + text); }

void CSpecialFrame::SendMove(HexPos from, HexPos to)
{
    Send("x " + std::to_string(from.column) + " " + std::to_string(from.row) + " " + std::to_string(to.column) + " "
        + std::to_string(to.row));
}

namespace {

// A message: its letter, then its numbers, each after a blank.
std::string Message(char letter, std::initializer_list<int> numbers)
{
    std::string text(1, letter);
    for (int number : numbers) {
        text += ' ';
        text += std::to_string(number);
    }
    return text;
}

} // namespace

void CSpecialFrame::SendLastMove() { Send("j"); }

void CSpecialFrame::SendUnitCommand(HexPos hex) { SendHex(hex.column, hex.row); }

void CSpecialFrame::SendRemoveUnits(HexPos hex) { Send(Message('e', { hex.column, hex.row })); }

void CSpecialFrame::SendDirectFire(int unit, HexPos from, int value, HexPos target, bool smoke)
{
    Send(Message('f', { unit, from.column, from.row, value, target.column, target.row, smoke ? 1 : 0 }));
}

void CSpecialFrame::SendIndirectFire(HexPos observer, HexPos target, int position, int pendingPlace, bool smoke)
{
    Send(Message(
        'n', { observer.column, observer.row, target.column, target.row, position, pendingPlace, smoke ? 1 : 0 }));
}

void CSpecialFrame::SendFireResult(HexPos from, HexPos target)
{
    SendHex(target.column, target.row);
    Send(Message('v', { from.column, from.row, target.column, target.row }));
}

void CSpecialFrame::SendAssault() { Send("a"); }

void CSpecialFrame::SendAirStrikePlotted(HexPos hex) { Send(Message('i', { hex.column, hex.row })); }

void CSpecialFrame::SendAirStrikeUpdates() { Send("o"); }

void CSpecialFrame::SendAirAttack(HexPos hex) { Send(Message('d', { hex.column, hex.row })); }

void CSpecialFrame::SendMineAttack(HexPos hex) { Send(Message('m', { hex.column, hex.row })); }

void CSpecialFrame::SendReinforcementUpdates() { Send("l"); }

void CSpecialFrame::SendReinforcementPlaced(int groupPlace, const HexList& hexes)
{
    std::vector<int> numbers { groupPlace, static_cast<int>(hexes.Count()) };
    for (const HexPos& hex : hexes) {
        numbers.push_back(hex.column);
        numbers.push_back(hex.row);
    }
    std::string text(1, 'r');
    for (int number : numbers) {
        text += ' ';
        text += std::to_string(number);
    }
    Send(text);
}

void CSpecialFrame::SendPhaseReport(const std::string& text) { Send("D" + text); }

void CSpecialFrame::SendPendingFiresDone() { Send("z"); }

void CSpecialFrame::SendOpFireLimits(int side, int unitClass, int targetType, int value)
{
    Send(Message('q', { side, unitClass, targetType, value }));
}

bool CSpecialFrame::IsTopLevelCommand(int id) const
{
    return (id >= 1001 && id <= 1004) || id == 1007 || id == 1010 || COptionsFrame::IsTopLevelCommand(id);
}
