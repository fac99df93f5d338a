#include "frame/MainFrame.h"

#include <array>

#include "model/Callback.h"
#include "platform/ui/Help.h"
#include "platform/ui/MessageBoxes.h"

using namespace platform::ui;

namespace {

const std::array<CommandTable<CMainFrame>::Entry, 2> kEntries { {
    { 1401, 1401, &CMainFrame::OnHelp },
    { 1403, 1406, &CMainFrame::OnHelp },
} };
const CommandTable<CMainFrame> kCommands { kEntries };

} // namespace

CMainFrame::CMainFrame(platform::Services& services, FrameResources resources, const CommandLine& commandLine)
    : CFileFrame(services, std::move(resources), commandLine)
{
    m_campaignGame = commandLine.campaign;
    m_campaignSetupMode = commandLine.campaign && commandLine.campaignForceId != -1 && !commandLine.openAsSaved;
}

bool CMainFrame::WantsTitleBar(platform::Profile& profile) { return profile.GetInt("Options", "title", 0) != 0; }

int CMainFrame::OnCreate()
{
    if (CFileFrame::OnCreate() == -1)
        return -1;
    Host()->SetIcon(kIconFile);
    CMapView& view = MapView();
    view.SetCallback(CMouseView::kLeftDown, MakeMemberCallback(this, &CMainFrame::OnMapLButtonDown));
    view.SetCallback(CMouseView::kLeftDouble, MakeMemberCallback(this, &CMainFrame::OnMapLButtonDblClk));
    view.SetCallback(CMouseView::kCursorFollowChange, MakeMemberCallback(this, &CMainFrame::OnMapHover));
    view.SetScrollListener(MakeMemberCallback(this, &CMainFrame::OnMapScrolled));
    CheckColourDepth();
    return 0;
}

bool CMainFrame::OnCommand(int id) { return kCommands.Run(*this, id) || CFileFrame::OnCommand(id); }

bool CMainFrame::OnUpdateCommand(CmdUI& ui) { return kCommands.Update(*this, ui) || CFileFrame::OnUpdateCommand(ui); }

void CMainFrame::OnHelp(int id)
{
    Help& help = Services().help;
    switch (id) {
    case 1401:
        help.ShowContents("vl");
        break;
    case 1403:
        help.ShowContents("pdata");
        break;
    case 1404:
        help.ShowContents("pltndata");
        break;
    case 1405:
        help.ShowContents("wpndata");
        break;
    case 1406:
        ShowBox(
            std::string(kProductName) + ", Version 1.02\nA tactical wargame on a hex map.", "About Velmora", kBoxOk);
        break;
    default:
        break;
    }
}

void CMainFrame::CheckColourDepth()
{
    platform::Services& services = Services();
    const int stored = services.profile.GetInt("Video", "bits", 0);
    const int current = services.screen.Depth();
    if (stored == current)
        return;
    if (current != 16)
        services.boxes.Show("This software is designed for High Color (16-bit) color displays.\nYour current display "
                            "configuration may result in poor quality or sluggish operation of the software.",
            "Display Color Depth Warning", kBoxOk, false);
    services.profile.SetInt("Video", "bits", current);
}

void CMainFrame::OnMapLButtonDown()
{
    HandlerScope scope(GetHandlerGuard());
    ClearMarkedHex();
    ClearUndoDisplay();
    const HexPos current = MapView().RotateHex(MapView().GetHotSpot());
    ShowHexInfo(current.column, current.row);
}

void CMainFrame::OnMapLButtonDblClk()
{
    HandlerScope scope(GetHandlerGuard());
    if (IsLocalInControl())
        SelectAllInCurrentHex();
    else
        ReportError("Cannot select units while under Remote Control");
}

void CMainFrame::OnMapHover()
{
    HandlerScope scope(GetHandlerGuard());
    // The stack window follows the pointer once it exists.
}

void CMainFrame::OnMapScrolled()
{
    HandlerScope scope(GetHandlerGuard());
    // The stack window shows the current hex again once it exists.
}
