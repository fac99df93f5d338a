#pragma once
// The main window without a display: the frame's logic runs on it, its
// children on headless window hosts. The test sends size, activation,
// commands (as a menu would: disabled ones do nothing), keys through the
// accelerator table, close requests and the first show, and reads back the
// title, the menu bar's state, the decoration, beeps and the children.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/HeadlessWindowHost.h"
#include "platform/ui/FrameWindow.h"

namespace platform::testing {

class HeadlessFrameHost final : public ui::IFrameHost {
public:
    HeadlessFrameHost(ui::FrameWindow& logic, Services& services, Size client = { 1280, 1000 });
    ~HeadlessFrameHost() override;
    HeadlessFrameHost(const HeadlessFrameHost&) = delete;
    HeadlessFrameHost& operator=(const HeadlessFrameHost&) = delete;

    // Binds the logic and runs OnCreate, then OnSize; false when it gave -1.
    bool Create();
    // The first show's posted call, as the wx host posts it.
    void PostFirstShow();
    void Resize(Size client);
    void Activate(bool active) { m_logic.OnActivate(active); }
    // A menu click: runs the command only when it shows enabled.
    bool Command(int id);
    // A key-down through the accelerator table; the command run, or 0.
    int Key(const KeyEvent& key);
    void RequestClose() { m_logic.RequestClose(); }

    bool IsDestroyed() const { return m_destroyed; }
    const std::string& Title() const { return m_title; }
    bool IsMenuBarShown() const { return m_menuShown; }
    int MenuRebuilds() const { return m_menuRebuilds; }
    bool IsDecorated() const { return m_decorated; }
    int Beeps() const { return m_beeps; }
    int PostedCloses() const { return m_posted; }
    const std::string& Icon() const { return m_icon; }
    HeadlessWindowHost* ChildHost(const Window& child) const;
    Rect ChildPlace(const Window& child) const;
    bool IsChildShown(const Window& child) const;
    std::string ToolTip(const Window& child) const;

    // IFrameHost
    Size ClientSize() const override;
    Services& GetServices() override { return m_services; }
    void SetTitle(const std::string& title) override { m_title = title; }
    void ShowMenuBar(bool shown) override;
    void MenuChanged() override;
    void SetDecorated(bool decorated) override { m_decorated = decorated; }
    bool CreateChild(Window& child, ui::ChildDock dock, Rect place, bool shown) override;
    void PlaceChild(Window& child, Rect place, bool shown) override;
    void SetToolTip(Window& child, const std::string& text) override;
    void SetIcon(const std::string& pictureFile) override { m_icon = pictureFile; }
    void PostClose() override;
    void DestroyFrame() override;
    void Beep() override { ++m_beeps; }

private:
    struct Child {
        std::unique_ptr<HeadlessWindowHost> host;
        ui::ChildDock dock;
        Rect place;
        bool shown;
        std::string toolTip;
    };
    const Child* Find(const Window& child) const;
    int DockedHeight(ui::ChildDock dock) const;

    ui::FrameWindow& m_logic;
    Services& m_services;
    Size m_size;
    std::map<const Window*, Child> m_children;
    std::string m_title;
    std::string m_icon;
    bool m_created = false;
    bool m_destroyed = false;
    bool m_menuShown = false;
    bool m_decorated = false;
    int m_menuRebuilds = 0;
    int m_beeps = 0;
    int m_posted = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace platform::testing
