#include "platform/wx/App.h"

#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>

namespace platform::wx {

void App::OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond, const wxChar* msg)
{
    wxLogDebug("wx assert %s:%d %s: %s %s", file, line, func, cond, msg);
}

void PrepareToolkitEnvironment()
{
    setenv("GDK_BACKEND", "x11", 1);
    setenv("NO_AT_BRIDGE", "1", 0);
    // Classic scroll bars beside the map: GTK's overlay indicators would
    // cover the edge of the picture the game drew.
    setenv("GTK_OVERLAY_SCROLLING", "0", 1);
}

ToolkitSession::ToolkitSession(int& argc, char** argv)
{
    PrepareToolkitEnvironment();
    wxApp::SetInstance(new App);
    m_ok = wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
}

ToolkitSession::~ToolkitSession()
{
    if (wxTheApp)
        wxTheApp->OnExit();
    wxEntryCleanup();
}

void ToolkitSession::ProcessPending() { DispatchPendingEvents(50); }

void DispatchPendingEvents(int rounds)
{
    if (!wxTheApp)
        return;
    wxEventLoopBase* active = wxEventLoopBase::GetActive();
    wxEventLoop temporary;
    if (!active)
        wxEventLoopBase::SetActive(&temporary);
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    for (int round = 0; round < rounds; ++round) {
        bool any = false;
        while (loop->Pending()) {
            loop->Dispatch();
            any = true;
        }
        wxTheApp->ProcessPendingEvents();
        any = wxTheApp->ProcessIdle() || any;
        if (!any)
            break;
    }
    if (!active)
        wxEventLoopBase::SetActive(nullptr);
}

} // namespace platform::wx
