#pragma once
// The second layer of the main window: it owns the battle's long-lived
// objects (the game object, the map view, the status bar and tool bar, the
// menu and key tables), lays out the client area, keeps the display in step
// with the game, holds the user's options and defines the hooks through
// which the layers above specialise the frame.

#include <memory>
#include <string>
#include <vector>

#include "ai/Game.h"
#include "frame/CommandLine.h"
#include "frame/DocFrame.h"
#include "frame/FrameResources.h"
#include "frame/GameStatusBar.h"
#include "frame/GameToolBar.h"
#include "frame/InfoBoxWnd.h"
#include "mapview/MapView.h"

// The user's options kept by the frame (the view keeps the others).
struct FrameOptions {
    bool prompt = true;
    bool menu = false;
    bool title = false;
    bool sound = true;
    bool music = true;
    bool background = false;
    bool save = true;
    bool bullet = false;
    bool last = false;
    int initial = 0; // view mode at start: 0..4
    bool list = false;
    bool tracking = true;
    int details = 0; // report detail 0..3
    bool objectives = true;
    bool fast = false;
    bool human = false;
    bool ask = false;
};

class CGameFrame : public CDocFrame {
public:
    static constexpr int kProductVersionMajor = 1;

    // The game object reads its data files in the working folder.
    CGameFrame(platform::Services& services, FrameResources resources);
    ~CGameFrame() override;

    int OnCreate() override;
    void OnDestroy() override;
    void OnSize(platform::Size client) override;
    void OnActivate(bool active) override;
    void OnFirstShow() override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(platform::ui::CmdUI& ui) override;
    void OnMenuHelp(int id) override;
    const platform::ui::MenuModel* GetMenu() const override { return &m_resources.menu; }
    const platform::ui::Accelerators* GetAccelerators() const override { return &m_resources.accelerators; }

    // ---- hooks (the first six are the document's) ----
    virtual void ClearOrderAids() { }
    virtual void OnBattleLoaded();
    // The refresh for the side now to move, with the report text to show
    // (empty for none); false when the user cancelled a box on the way.
    virtual bool BeginPlayerTurn(const String& text);
    virtual void GetTitleText(String& out);
    virtual bool EndPhase(bool /*flag*/) { return true; }
    virtual void RedrawUnitIcons();
    virtual bool IsLocalInControl() { return true; }
    // Once, after the first show; false when a start-up error was shown.
    virtual bool RunStartup();
    virtual bool AdvancePhase() { return true; }

    // ---- operations of the layers above ----
    void ReportError(const std::string& text);
    void SetStatusText(const std::string& text);
    void ShowCoordinates(int x, int y);
    void UpdateStatusTexts();
    void ShowHexInfo(int x, int y);
    void SetCurrentHex(int x, int y);
    void RefreshHex(int x, int y);
    void ClearMarkedHex();
    void ClearUndoDisplay();
    // Sets the path and reads the battle file through ReadDocument; its
    // boxes on failure, after which the path is empty and nothing modified.
    bool ReadBattleFile(const std::string& path);
    // Asks to reload changed data files and reloads them (and the battle).
    void CheckScenarioDataChanged();
    // The check on activation and resizing: at once when no handler runs,
    // else once when the outermost one ended.
    void RunScenarioDataCheck();
    static constexpr int kDataCheckKind = -2;
    // All units of the current hex selected in the info box.
    void SelectAllInCurrentHex();
    void UpdateTurnMenu();
    void LoadOptions();
    void SaveOptions();
    // The battle changed: the special layer's modified flag.
    virtual void SetModifiedFlag(bool modified) { SetModified(modified); }

    CGame& Game() { return *m_game; }
    CMapView& MapView() { return *m_mapView; }
    CGameStatusBar& StatusBar() { return m_statusBar; }
    CGameToolBar& ToolBar() { return m_toolBar; }
    CInfoBoxWnd& InfoBox() { return *m_infoBox; }
    // Selection changes in the info box's unit list.
    virtual void OnInfoBoxSelection() { }
    FrameOptions& Options() { return m_options; }
    const FrameResources& Resources() const { return m_resources; }
    platform::ui::MenuModel& Menu() { return m_resources.menu; }
    bool IsCampaignGame() const { return m_campaignGame; }
    bool IsCampaignSetupMode() const { return m_campaignSetupMode; }
    // The view's per-side fast-animation bytes, kept here until the
    // effects layer takes them.
    bool m_fastAnimation[2] = { false, false };
    // Set by the turn layer when a campaign battle ends.
    CampaignResult m_campaignResult;

protected:
    // The tool bar's button set for a screen width.
    static std::vector<int> ToolBarButtons(int screenWidth);
    void CreateStatusBar();
    void CreateToolBar();
    void LayoutChildren(platform::Size client);

    bool m_campaignGame = false;
    bool m_campaignSetupMode = false;
    bool m_moveMode = true;
    bool m_continuousMode = false;

private:
    FrameResources m_resources;
    std::unique_ptr<CGame> m_game;
    std::unique_ptr<CMapView> m_mapView;
    std::unique_ptr<CInfoBoxWnd> m_infoBox;
    CGameStatusBar m_statusBar;
    CGameToolBar m_toolBar;
    FrameOptions m_options;
    int m_toolBarHeight = 0;
    bool m_created = false;
    bool m_startupRun = false;
    std::string m_soundsFolder = ".";
    std::string m_musicFolder = ".";
};
