#pragma once
// The main window's logic: commands, their menu state, close requests,
// activation, size and the first show, bound at run time to a host (the wx
// frame or a headless one). Child windows (map, bars, panels) are window
// logic objects the host creates and places in the frame's client area.

#include <string>

#include "platform/core/Rect.h"
#include "platform/core/Services.h"
#include "platform/core/Size.h"
#include "platform/ui/CommandTable.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/window/Events.h"
#include "platform/window/Window.h"

namespace platform::ui {

class Accelerators;
class MenuModel;

// Where a child sits: the client area, or the frame's bars (a bar keeps the
// whole width of the frame; the host gives it the height asked for).
enum class ChildDock { Client, Top, Bottom };

class IFrameHost {
public:
    virtual ~IFrameHost() = default;
    virtual Size ClientSize() const = 0; // between the docked bars
    virtual Services& GetServices() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The menu bar is the frame's MenuModel, attached or not; the host
    // rebuilds it when the model's revision changed.
    virtual void ShowMenuBar(bool shown) = 0;
    virtual void MenuChanged() = 0;
    // With a title bar: decorated, screen-sized; without: undecorated, full screen.
    virtual void SetDecorated(bool decorated) = 0;
    // A child window (logic) created in the frame: false when its OnCreate failed.
    virtual bool CreateChild(Window& child, ChildDock dock, Rect place, bool shown) = 0;
    virtual void PlaceChild(Window& child, Rect place, bool shown) = 0;
    virtual void SetToolTip(Window& child, const std::string& text) = 0;
    // The window's icon, a picture of the asset folder.
    virtual void SetIcon(const std::string& pictureFile) = 0;
    // Asks the frame to close, later, as the close box does.
    virtual void PostClose() = 0;
    // Closes for good: OnDestroy runs, then the host goes.
    virtual void DestroyFrame() = 0;
    virtual void Beep() = 0;
};

class FrameWindow {
public:
    virtual ~FrameWindow() = default;

    IFrameHost* Host() const { return m_host; }
    void AttachHost(IFrameHost* host) { m_host = host; }

    // Layers call their base first; -1 stops the creation.
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() { }
    virtual void OnSize(Size /*client*/) { }
    virtual void OnActivate(bool /*active*/) { }
    // Once, after the first show, through the dispatcher.
    virtual void OnFirstShow() { }
    // The close box or a posted close: the base destroys the window.
    virtual void OnCloseRequest()
    {
        if (m_host)
            m_host->DestroyFrame();
    }
    // A command from the menu, a key or a button; false when no layer has it.
    virtual bool OnCommand(int /*id*/) { return false; }
    // Fills the state of a command; false (shown disabled) when no layer has it.
    virtual bool OnUpdateCommand(CmdUI& /*ui*/) { return false; }
    // The pointer rests on a menu item (0: the menu closed).
    virtual void OnMenuHelp(int /*id*/) { }

    virtual const MenuModel* GetMenu() const { return nullptr; }
    virtual const Accelerators* GetAccelerators() const { return nullptr; }

    // ---- the hosts' entries ----
    // Handlers run inside a scope of the frame's guard (when a layer set
    // one); a close request and a top-level command asked for inside
    // another handler wait until it ended.
    static constexpr int kCloseRequestKind = -1;

    // A command as a menu, a key or a button gives it; true when some layer
    // has it (a top-level one that waits counts as had).
    bool ExecuteCommand(int id)
    {
        if (!m_guard)
            return OnCommand(id);
        if (IsTopLevelCommand(id)) {
            m_guard->RunTopLevel(id, [this, id] {
                if (QueryCommand(id).enabled)
                    OnCommand(id);
            });
            return true;
        }
        HandlerScope scope(m_guard);
        return OnCommand(id);
    }
    // The close box, a desktop's close or a posted close.
    void RequestClose()
    {
        if (m_guard)
            m_guard->RunTopLevel(kCloseRequestKind, [this] { OnCloseRequest(); });
        else
            OnCloseRequest();
    }
    // The first show's posted task.
    void RunFirstShow()
    {
        HandlerScope scope(m_guard);
        OnFirstShow();
    }

    void SetHandlerGuard(HandlerGuard* guard) { m_guard = guard; }
    HandlerGuard* GetHandlerGuard() const { return m_guard; }
    // Commands that replace the battle or end the program.
    virtual bool IsTopLevelCommand(int /*id*/) const { return false; }

    // The state a menu item or button shows.
    CmdUI QueryCommand(int id)
    {
        CmdUI ui;
        ui.id = id;
        if (!OnUpdateCommand(ui))
            ui.enabled = false;
        return ui;
    }

private:
    IFrameHost* m_host = nullptr;
    HandlerGuard* m_guard = nullptr;
};

} // namespace platform::ui
