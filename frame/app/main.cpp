// `vl`: the toolkit, the program's services, the black backdrop and the one
// main window; at exit the launcher is started again.

#include <wx/app.h>
#include <wx/frame.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/BackdropDialog.h"
#include "frame/GameApp.h"
#include "frame/MainFrame.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/wx/App.h"
#include "platform/wx/FrameHost.h"
#include "platform/wx/WxServices.h"

namespace {

// The backdrop: a black undecorated window over the whole screen, behind the
// frame and off the task bar.
class BackdropWindow final : public wxFrame {
public:
    BackdropWindow()
        : wxFrame(nullptr, wxID_ANY, CBackdropDialog::kTitle, wxPoint(0, 0), wxGetDisplaySize(),
            wxBORDER_NONE | wxFRAME_NO_TASKBAR)
    {
        const auto colour = CBackdropDialog::kColour;
        SetBackgroundColour(wxColour((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    }
};

class VlApp final : public platform::wx::App {
public:
    bool OnInit() override
    {
        std::vector<std::string> arguments;
        for (int i = 1; i < argc; ++i)
            arguments.push_back(argv[i].ToStdString(wxConvUTF8));
        m_app = std::make_unique<CGameApp>(CGameApp::ParseCommandLine(CGameApp::JoinArguments(arguments)));
        m_services = std::make_unique<platform::wx::WxServices>(std::filesystem::current_path(), "vl");
        // The 3D views' pictures are not drawn yet, and the map view loads
        // them at creation: a box for each would stop the start. Pictures
        // that cannot be loaded are told on the error stream instead.
        m_services->assets.SetReporter([](const std::string& text, const std::string& caption) {
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        });

        const auto folder = std::filesystem::absolute(DefaultResourceFolder());
        m_services->dialogs.SetTemplateFolder(folder / "dialogs");
        m_services->help.SetBookFolder(folder.parent_path() / "help");
        std::string error;
        auto resources = FrameResources::Load(folder, error);
        if (!resources) {
            m_services->boxes.Show(
                error, "Startup Error", platform::ui::kBoxOk | platform::ui::kBoxIconExclamation, false);
            return false;
        }
        m_app->InitInstance();
        m_backdrop = new BackdropWindow;
        m_backdrop->Show();

        m_frame = std::make_unique<CMainFrame>(m_services->Get(), std::move(*resources), m_app->GetCommandLine());
        auto* host = new platform::wx::FrameHost(*m_frame, m_services->Get());
        if (!host->CreateFrame(CMainFrame::kProductName, CMainFrame::WantsTitleBar(m_services->profile))) {
            m_backdrop->Destroy();
            return false;
        }
        SetTopWindow(host);
        // The backdrop goes with the main window, so that the program ends.
        host->Bind(wxEVT_DESTROY, [this, host](wxWindowDestroyEvent& event) {
            event.Skip();
            if (event.GetEventObject() == host && m_backdrop) {
                m_backdrop->Destroy();
                m_backdrop = nullptr;
            }
        });
        if (m_app->GetCommandLine().openAsSaved)
            host->Maximize();
        host->Show();
        return true;
    }

    int OnExit() override
    {
        if (m_app && m_services)
            m_app->ExitInstance(m_services->processes, m_frame ? m_frame->m_campaignResult : CampaignResult {});
        if (m_backdrop) {
            m_backdrop->Destroy();
            m_backdrop = nullptr;
        }
        m_frame.reset();
        return platform::wx::App::OnExit();
    }

private:
    std::unique_ptr<CGameApp> m_app;
    std::unique_ptr<platform::wx::WxServices> m_services;
    std::unique_ptr<CMainFrame> m_frame;
    wxFrame* m_backdrop = nullptr;
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(VlApp);

int main(int argc, char** argv)
{
    platform::wx::PrepareToolkitEnvironment();
    return wxEntry(argc, argv);
}
