#include "platform/wx/WxDispatcher.h"

#include <wx/app.h>

namespace platform::wx {

void WxDispatcher::Post(std::function<void()> task)
{
    if (wxTheApp)
        wxTheApp->CallAfter([task = std::move(task)] { task(); });
}

} // namespace platform::wx
