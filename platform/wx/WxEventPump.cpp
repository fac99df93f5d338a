#include "platform/wx/WxEventPump.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>

namespace platform::wx {

void WxEventPump::PumpPending()
{
    if (!wxTheApp)
        return;
    // Outside a running loop (start-up, tests) a temporary one dispatches.
    wxEventLoopBase* active = wxEventLoopBase::GetActive();
    wxEventLoop temporary;
    if (!active)
        wxEventLoopBase::SetActive(&temporary);
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (loop->Pending())
        loop->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    if (!active)
        wxEventLoopBase::SetActive(nullptr);
}

bool WxEventPump::WaitFor(int ms)
{
    for (int waited = 0; waited < ms; waited += kWaitSliceMs) {
        if (IsInterrupted())
            return false;
        wxMilliSleep(static_cast<unsigned long>(std::min(kWaitSliceMs, ms - waited)));
        for (wxWindow* window : wxTopLevelWindows)
            if (window->IsShown())
                window->Update();
    }
    return !IsInterrupted();
}

} // namespace platform::wx
