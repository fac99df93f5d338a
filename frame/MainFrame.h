#pragma once
// The top of the main window's chain: the command line's values, the icon,
// the map view's callbacks, the Help menu and the colour-depth warning.

#include "frame/FileFrame.h"

class CMainFrame : public CFileFrame {
public:
    static constexpr const char* kProductName = "Velmora";
    static constexpr const char* kIconFile = "vlicon.bmp";

    CMainFrame(platform::Services& services, FrameResources resources, const CommandLine& commandLine);
    ~CMainFrame() override = default;

    // The window has a title bar when the profile says so.
    static bool WantsTitleBar(platform::Profile& profile);

    int OnCreate() override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(platform::ui::CmdUI& ui) override;

    void OnHelp(int id);
    // Warns once per change of the display's colour depth.
    void CheckColourDepth();

    // The map view's callbacks.
    void OnMapLButtonDown();
    void OnMapLButtonDblClk();
    void OnMapHover();
    void OnMapScrolled();
};
