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
    : profile("vl")
    , m_services { clock, timers, dispatcher, pump, keys, cursors, screen, assets, profile, processes, boxes,
        fileDialogs, dialogs, windows, help }
{
    assets.SetReporter(ShowFailure);
}

WxServices::WxServices(std::filesystem::path workingFolder, const std::string& program)
    : assets(std::move(workingFolder))
    , profile(program)
    , m_services { clock, timers, dispatcher, pump, keys, cursors, screen, assets, profile, processes, boxes,
        fileDialogs, dialogs, windows, help }
{
    assets.SetReporter(ShowFailure);
}

} // namespace platform::wx
