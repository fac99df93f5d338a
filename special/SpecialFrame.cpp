#include "special/SpecialFrame.h"

#include <fstream>

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
