#pragma once
// The wx host of the main window's logic: a top-level wxFrame that forwards
// commands, menu-open updates, close requests, activation, size and the
// first show; builds its menu bar from the logic's MenuModel; looks keys up
// in the logic's accelerator table before the focused window sees them.
// Children are window logic objects on WindowHosts: the status bar is a
// wxStatusBar (menu help goes to the logic) whose face a child paints, the
// tool bar a child docked at the top.

#include <wx/frame.h>

#include <memory>
#include <vector>

#include "platform/ui/FrameWindow.h"

class wxStatusBar;

namespace platform::wx {

class WindowHost;

class FrameHost final : public wxFrame, public ui::IFrameHost {
public:
    FrameHost(ui::FrameWindow& logic, Services& services);
    ~FrameHost() override;

    // Creates the frame over the whole screen (decorated or not), binds the
    // logic and runs OnCreate; false (window destroyed) when it gives -1.
    bool CreateFrame(const std::string& title, bool decorated);

    ui::FrameWindow& Logic() { return m_logic; }
    WindowHost* ChildHost(const Window& child) const;
    bool IsDecorated() const { return m_decorated; }

    // IFrameHost
    Size ClientSize() const override;
    Services& GetServices() override { return m_services; }
    void SetTitle(const std::string& title) override;
    void ShowMenuBar(bool shown) override;
    void MenuChanged() override;
    void SetDecorated(bool decorated) override;
    bool CreateChild(Window& child, ui::ChildDock dock, Rect place, bool shown) override;
    void PlaceChild(Window& child, Rect place, bool shown) override;
    void SetToolTip(Window& child, const std::string& text) override;
    void SetIcon(const std::string& pictureFile) override;
    void PostClose() override;
    void DestroyFrame() override;
    void Beep() override;

    void DoGiveHelp(const wxString& text, bool show) override;

private:
    struct Child {
        Window* logic;
        WindowHost* host;
        ui::ChildDock dock;
        Rect place;
        bool shown;
    };
    void OnMenuEvent(wxCommandEvent& event);
    void OnMenuOpen(wxMenuEvent& event);
    void OnMenuHighlight(wxMenuEvent& event);
    void OnCloseEvent(wxCloseEvent& event);
    void OnActivateEvent(wxActivateEvent& event);
    void OnSizeEvent(wxSizeEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnStatusBarSize(wxSizeEvent& event);
    void LayoutChildren();
    void RebuildMenuBar();
    void UpdateMenu(wxMenu* menu);
    int TopHeight() const;
    Child* Find(const Window& child);

    ui::FrameWindow& m_logic;
    Services& m_services;
    std::vector<Child> m_children;
    wxStatusBar* m_statusBar = nullptr;
    bool m_bound = false;
    bool m_decorated = false;
    bool m_menuShown = false;
    bool m_destroying = false;
    int m_menuRevision = -1;
    std::shared_ptr<bool> m_alive;
};

} // namespace platform::wx
