#include "platform/wx/WxServices.h"

#include <wx/msgdlg.h>

namespace platform::wx {

namespace {

    void ShowFailure(const std::string& text, const std::string& caption)
    {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption), wxOK | wxICON_EXCLAMATION);
    }

} // namespace

WxServices::WxServices()
    : m_services { clock, timers, dispatcher, keys, cursors, screen, assets }
{
    assets.SetReporter(ShowFailure);
}

WxServices::WxServices(std::filesystem::path workingFolder)
    : assets(std::move(workingFolder))
    , m_services { clock, timers, dispatcher, keys, cursors, screen, assets }
{
    assets.SetReporter(ShowFailure);
}

} // namespace platform::wx
