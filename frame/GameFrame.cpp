#include "frame/GameFrame.h"

#include <fstream>
#include <sstream>

#include "model/Callback.h"
#include "model/Geometry.h"
#include "platform/ui/MessageBoxes.h"

using namespace platform;
using namespace platform::ui;

namespace {

constexpr const char* kOptions = "Options";

} // namespace

CGameFrame::CGameFrame(platform::Services& services, FrameResources resources)
    : CDocFrame(services)
    , m_resources(std::move(resources))
    , m_game(std::make_unique<CGame>())
    , m_mapView(std::make_unique<CMapView>(m_game.get()))
    , m_infoBox(std::make_unique<CInfoBoxWnd>(m_game.get(), m_mapView.get()))
    , m_statusBar(m_mapView.get())
{
    m_infoBox->SetSelectionCallback(MakeMemberCallback(this, &CGameFrame::OnInfoBoxSelection));
    SetSideNames("NATO", "Soviet Bloc");
    m_soundsFolder = services.profile.GetString("Install", "sounds", ".");
    m_musicFolder = services.profile.GetString("Install", "music", ".");
}

CGameFrame::~CGameFrame() = default;

std::vector<int> CGameFrame::ToolBarButtons(int screenWidth)
{
    std::vector<int> small { 1601, 0, 310, 303, 304, 305, 307, 308, 403, 309, 906, 0, 1500, 702, 710, 706, 807, 1503, 0,
        201 };
    if (screenWidth < 800)
        return small;
    if (screenWidth < 1024) {
        std::vector<int> middle = small;
        const auto at = std::find(middle.begin(), middle.end(), 1503) + 1;
        middle.insert(at, { 810, 715, 502, 312, 707 });
        return middle;
    }
    std::vector<int> wide(5, 0);
    wide.push_back(1601);
    wide.insert(wide.end(), 6, 0);
    for (int id : { 310, 303, 304, 305, 307, 308, 403, 309, 906 })
        wide.push_back(id);
    wide.insert(wide.end(), 6, 0);
    for (int id : { 1500, 702, 710, 706, 807, 1503, 810, 715, 502, 312, 707 })
        wide.push_back(id);
    wide.insert(wide.end(), 6, 0);
    wide.push_back(201);
    return wide;
}

int CGameFrame::OnCreate()
{
    if (CDocFrame::OnCreate() == -1)
        return -1;
    IFrameHost& host = *Host();
    const Size client = host.ClientSize();
    if (!host.CreateChild(*m_mapView, ChildDock::Client, Rect::FromSize(client), true))
        return -1;
    m_mapView->SetMap(&m_game->m_map);
    m_mapView->AttachBattle(m_game->m_terrain, false);
    // The view starts in the 2D normal view.
    m_mapView->SetViewMode(1, 0, 0);
    m_mapView->ToggleCursorFollow();
    if (!host.CreateChild(*m_infoBox, ChildDock::Client, { 0, 0, m_infoBox->GetRequiredWidth(), client.height }, false))
        return -1;
    LoadOptions();
    CreateStatusBar();
    CreateToolBar();
    host.ShowMenuBar(m_options.menu);
    m_created = true;
    LayoutChildren(host.ClientSize());
    return 0;
}

void CGameFrame::CreateStatusBar()
{
    Host()->CreateChild(m_statusBar, ChildDock::Bottom, { 0, 0, 0, CGameStatusBar::kHeight }, true);
}

void CGameFrame::CreateToolBar()
{
    const int width = Services().screen.GetSize().width;
    m_toolBar.SetPicture(width < 800 ? "toolbar1.bmp" : "toolbar2.bmp");
    m_toolBar.SetButtonSet(ToolBarButtons(width));
    m_toolBar.SetCallbacks([this](int id) { return QueryCommand(id); },
        [this](int id) {
            if (QueryCommand(id).enabled)
                ExecuteCommand(id);
        },
        [this](const std::string& tip) {
            if (Host())
                Host()->SetToolTip(m_toolBar, tip);
        });
    m_toolBar.SetToolTipText([this](int id) { return m_resources.strings.ToolTip(id); });
    m_toolBarHeight = m_toolBar.RequiredHeight();
    Host()->CreateChild(m_toolBar, ChildDock::Top, { 0, 0, 0, m_toolBarHeight }, true);
    m_toolBar.UpdateButtons(true);
}

void CGameFrame::OnDestroy()
{
    SaveOptions();
    CDocFrame::OnDestroy();
}

void CGameFrame::OnSize(Size client)
{
    CDocFrame::OnSize(client);
    if (!m_created)
        return;
    LayoutChildren(client);
    RunScenarioDataCheck();
}

void CGameFrame::LayoutChildren(Size client)
{
    IFrameHost* host = Host();
    if (!host)
        return;
    // The tool bar wraps for the width; its height comes off the client.
    const int height = m_toolBar.Wrap(client.width);
    if (height != m_toolBarHeight) {
        m_toolBarHeight = height;
        host->PlaceChild(m_toolBar, { 0, 0, client.width, height }, true);
        client = host->ClientSize();
    }
    const int infoWidth = m_options.list ? m_infoBox->GetRequiredWidth() : 0;
    const int mapWidth = std::max(0, client.width - infoWidth);
    host->PlaceChild(*m_mapView, { 0, 0, mapWidth, client.height }, true);
    host->PlaceChild(*m_infoBox, { mapWidth, 0, mapWidth + infoWidth, client.height }, m_options.list);
}

void CGameFrame::OnActivate(bool active)
{
    CDocFrame::OnActivate(active);
    if (active && m_created)
        RunScenarioDataCheck();
}

void CGameFrame::RunScenarioDataCheck()
{
    // Its reload replaces the battle: never under a running handler.
    Guard().RunExclusive(kDataCheckKind, [this] { CheckScenarioDataChanged(); });
}

void CGameFrame::OnFirstShow()
{
    CDocFrame::OnFirstShow();
    // Once per run, however often the window is shown.
    if (m_startupRun)
        return;
    m_startupRun = true;
    RunStartup();
}

bool CGameFrame::OnCommand(int id) { return CDocFrame::OnCommand(id); }

bool CGameFrame::OnUpdateCommand(CmdUI& ui) { return CDocFrame::OnUpdateCommand(ui); }

void CGameFrame::OnMenuHelp(int id)
{
    // The command's prompt while the pointer rests on it; the title after.
    if (id > 0)
        SetStatusText(m_resources.strings.Prompt(id));
    else
        UpdateStatusTexts();
}

// ---- hooks ----

void CGameFrame::OnBattleLoaded()
{
    SetModified(false);
    ClearMarkedHex();
    ClearUndoDisplay();
    ClearOrderAids();
    m_mapView->AttachBattle(m_game->m_terrain, false);
    m_mapView->Redraw();
    if (Host())
        Host()->SetTitle(m_game->GetBattleTitle().str());
    UpdateStatusTexts();
}

bool CGameFrame::BeginPlayerTurn(const String& text)
{
    ClearMarkedHex();
    ClearUndoDisplay();
    ClearOrderAids();
    UpdateTurnMenu();
    m_mapView->AttachBattle(m_game->m_terrain, true);
    for (int side = 0; side < 2; ++side)
        m_fastAnimation[side] = m_game->m_aiMode[side] != kAiManual ? m_options.fast : m_options.human;
    const HexPos current = m_mapView->RotateHex(m_mapView->GetHotSpot());
    ShowHexInfo(current.column, current.row);
    if (Host())
        Host()->SetTitle(m_game->GetBattleTitle().str());
    UpdateStatusTexts();
    HexPos centre { -1, -1 };
    m_game->GetFormationCentre(centre, nullptr);
    if (m_game->m_map.IsOnMap(centre.column, centre.row)) {
        m_mapView->ScrollHexIntoView(centre.column, centre.row, true);
        SetCurrentHex(centre.column, centre.row);
    }
    // The headquarters report of the side to move comes with the report windows.
    (void)text;
    return true;
}

void CGameFrame::GetTitleText(String& out) { m_game->GetStatusText(out); }

void CGameFrame::RedrawUnitIcons() { m_mapView->ToggleGraphicalIcons(); }

bool CGameFrame::RunStartup()
{
    const bool clean = m_game->m_startupError.IsEmpty();
    if (!clean)
        ShowBox(m_game->m_startupError.str(), "Startup Error", kBoxOk | kBoxIconExclamation);
    return clean;
}

// ---- operations ----

void CGameFrame::ReportError(const std::string& text)
{
    SetStatusText(text);
    if (m_mapView->m_beepOnError && Host())
        Host()->Beep();
}

void CGameFrame::SetStatusText(const std::string& text) { m_statusBar.SetPaneText(0, text); }

void CGameFrame::ShowCoordinates(int x, int y)
{
    m_statusBar.SetPaneText(1, "  " + std::to_string(x) + ", " + std::to_string(y));
}

void CGameFrame::UpdateStatusTexts()
{
    const int side = m_game->m_map.GetSide() == 1 ? 1 : 0;
    CGameStatusBar::Values values;
    values.nations[0] = m_game->m_sideNations[side][0];
    values.nations[1] = m_game->m_sideNations[side][1];
    const bool hidden = m_game->IsSideInfoHidden(side);
    values.sideValue = hidden ? -1 : m_game->m_airPower[side];
    values.starshells = hidden ? -1 : m_game->m_starshells[side];
    values.night = m_game->m_night != 0;
    values.currentTurn = m_game->GetCurrentTurn();
    values.turnCount = m_game->GetTurnCount();
    m_statusBar.SetValues(values);
    if (m_campaignSetupMode) {
        SetStatusText("Campaign Setup Mode");
    } else {
        String title;
        GetTitleText(title);
        SetStatusText(title.str());
    }
}

void CGameFrame::ShowHexInfo(int x, int y)
{
    m_infoBox->SetHex(x, y);
    ShowCoordinates(x, y);
}

void CGameFrame::SelectAllInCurrentHex()
{
    const HexPos current = m_mapView->RotateHex(m_mapView->GetHotSpot());
    const HexPos shown = m_infoBox->GetHex();
    if (shown.column != current.column || shown.row != current.row)
        ShowHexInfo(current.column, current.row);
    m_infoBox->SelectAll();
}

void CGameFrame::SetCurrentHex(int x, int y)
{
    const HexPos v = m_mapView->RotateHex(HexPos { x, y });
    m_mapView->SetHotSpot(v.column, v.row);
    ShowHexInfo(x, y);
}

void CGameFrame::RefreshHex(int x, int y)
{
    m_mapView->RepaintHex(x, y);
    const HexPos current = m_mapView->RotateHex(m_mapView->GetHotSpot());
    if (current.column == x && current.row == y)
        ShowHexInfo(x, y);
}

void CGameFrame::ClearMarkedHex()
{
    UpdateStatusTexts();
    const HexPos marked = m_game->m_blockingHex;
    m_game->m_blockingHex = { -1, -1 };
    if (m_game->m_map.IsOnMap(marked.column, marked.row))
        m_mapView->RepaintHex(marked.column, marked.row);
}

void CGameFrame::ClearUndoDisplay()
{
    HexList hexes;
    m_game->CollectUndoHexes(hexes);
    m_game->ClearUndo();
    m_mapView->RepaintHexList(hexes);
}

bool CGameFrame::ReadBattleFile(const std::string& path)
{
    SetPathName(path);
    std::ifstream in(path);
    if (!in) {
        ShowBox("Unable to open battle file", "File Open Error", kBoxOk | kBoxIconExclamation);
        SetPathName({});
        SetModified(false);
        return false;
    }
    if (!ReadDocument(in)) {
        ShowBox("Error reading battle file", "File Read Error", kBoxOk | kBoxIconExclamation);
        // Nothing may save the emptied battle over the file it failed to read.
        SetPathName({});
        SetModified(false);
        return false;
    }
    return true;
}

void CGameFrame::CheckScenarioDataChanged()
{
    if (!m_game->CheckFilesChanged())
        return;
    if (ShowBox("Scenario data has changed.  Do you want to reload?", "Scenario Data Change",
            kBoxYesNo | kBoxIconExclamation)
        != kAnswerYes)
        return;
    if (!QuerySaveChanges())
        return;
    const std::string path = GetPathName();
    const String error = m_game->ReloadKeepingBattle();
    if (!error.IsEmpty())
        ShowBox(error.str(), "Startup Error", kBoxOk | kBoxIconExclamation);
    m_mapView->AttachBattle(m_game->m_terrain, true);
    if (!path.empty())
        ReadBattleFile(path);
}

void CGameFrame::UpdateTurnMenu()
{
    MenuModel& menu = m_resources.menu;
    if (m_game->IsOptionSet(0x80)) {
        menu.SetTopLabel(1, "&Phase");
        menu.ReplaceItem(201, 202, "&Next (Ctrl-N)");
        m_toolBar.ReplaceButton(201, 202);
    } else {
        menu.SetTopLabel(1, "&Turn");
        menu.ReplaceItem(202, 201, "&Next");
        m_toolBar.ReplaceButton(202, 201);
    }
    if (Host())
        Host()->MenuChanged();
}

// ---- options ----

void CGameFrame::LoadOptions()
{
    Profile& profile = Services().profile;
    const auto flag
        = [&](const char* key, bool defaultValue) { return profile.GetInt(kOptions, key, defaultValue ? 1 : 0) != 0; };
    const auto ranged = [&](const char* key, int defaultValue, int last) {
        const int value = profile.GetInt(kOptions, key, defaultValue);
        return value >= 0 && value <= last ? value : defaultValue;
    };
    m_options.prompt = flag("prompt", true);
    m_options.menu = flag("menu", false);
    m_options.title = flag("title", false);
    m_options.sound = flag("sound", true);
    m_options.music = flag("music", true);
    m_options.background = flag("background", false);
    m_options.save = flag("save", true);
    m_options.bullet = flag("bullet", false);
    m_options.last = flag("last", false);
    m_options.initial = ranged("initial", 0, 4);
    m_options.list = flag("list", false);
    m_options.tracking = flag("tracking", true);
    m_options.details = ranged("details", 0, 3);
    m_options.objectives = flag("objectives", true);
    m_options.fast = flag("fast", false);
    m_options.human = flag("human", false);
    m_options.ask = flag("ask", false);

    // The view's flags from their start state to the stored value.
    CMapView& view = *m_mapView;
    view.m_beepOnError = flag("beep", true);
    view.m_smoothScroll = flag("smooth", true);
    if (flag("hide", true) != view.IsHide3DHotSpot())
        view.ToggleHide3DHotSpot();
    if (flag("blink", true) != view.IsBlinkEnabled())
        view.ToggleHotSpotBlink();
    view.SetEdgeScroll(flag("auto", true));
    if (flag("icons", true) != view.AreGraphicalIcons())
        view.ToggleGraphicalIcons();
    if (flag("outlines", false) != view.AreHexOutlinesShown())
        view.ToggleHexOutlines();
    if (flag("special", true) != view.AreSpecialIcons())
        view.ToggleSpecialIcons();
    if (m_options.objectives != view.AreObjectivesShown())
        view.ToggleObjectives();
}

void CGameFrame::SaveOptions()
{
    Profile& profile = Services().profile;
    const CMapView& view = *m_mapView;
    const auto put = [&](const char* key, int value) { profile.SetInt(kOptions, key, value); };
    put("prompt", m_options.prompt);
    put("beep", view.m_beepOnError);
    put("title", m_options.title);
    put("hide", view.IsHide3DHotSpot());
    put("blink", view.IsBlinkEnabled());
    put("auto", view.IsEdgeScroll());
    put("smooth", view.m_smoothScroll);
    put("sound", m_options.sound);
    put("music", m_options.music);
    put("background", m_options.background);
    put("icons", view.AreGraphicalIcons());
    put("save", m_options.save);
    put("bullet", m_options.bullet);
    put("list", m_options.list);
    put("last", m_options.last);
    put("menu", m_options.menu);
    put("tracking", m_options.tracking);
    put("objectives", m_options.objectives);
    put("initial", m_options.last ? view.GetViewMode() : m_options.initial);
    put("outlines", view.AreHexOutlinesShown());
    put("details", m_options.details);
    put("fast", m_options.fast);
    put("human", m_options.human);
    put("ask", m_options.ask);
    put("special", view.AreSpecialIcons());
    profile.Flush();
}
