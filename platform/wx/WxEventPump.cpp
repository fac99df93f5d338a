#include "platform/wx/WxEventPump.h"

#include "platform/wx/App.h"

#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>

namespace platform::wx {

// The pending events until none is left, then one idle pass.
void WxEventPump::PumpPending() { DispatchPendingEvents(1); }

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
