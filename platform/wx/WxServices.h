#pragma once
// The program's real services bundle, on wx: build it once after the
// toolkit started and keep it for the program's life.

#include <filesystem>

#include "platform/core/AssetFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Process.h"
#include "platform/core/Services.h"
#include "platform/wx/WxDialogs.h"
#include "platform/wx/WxDispatcher.h"
#include "platform/wx/WxEventPump.h"
#include "platform/wx/WxInput.h"
#include "platform/wx/WxProfile.h"
#include "platform/wx/WxTimers.h"
#include "platform/wx/WxWindowFactory.h"

namespace platform::wx {

class WxServices {
public:
    // Assets from the working folder (the current directory by default);
    // the profile "<program>.ini" of the profile folder.
    WxServices();
    explicit WxServices(std::filesystem::path workingFolder, const std::string& program = "vl");
    WxServices(const WxServices&) = delete;
    WxServices& operator=(const WxServices&) = delete;

    Services& Get() { return m_services; }
    operator Services&() { return m_services; }

    SystemClock clock;
    WxTimers timers;
    WxDispatcher dispatcher;
    WxEventPump pump;
    WxKeyState keys;
    WxCursors cursors;
    WxScreen screen;
    AssetFiles assets;
    WxProfile profile;
    PosixProcessLauncher processes;
    WxMessageBoxes boxes;
    WxFileDialogs fileDialogs;
    WxHelp help;
    XrcDialogHost dialogs { help };
    WxWindowFactory windows;

private:
    Services m_services;
};

} // namespace platform::wx
