#pragma once
// The program's one bundle of services. The program builds the real bundle
// (wx::WxServices), each test its own headless one (testing::HeadlessServices);
// a window reaches it through its host. Later parts of the program add theirs.

#include "platform/core/AssetFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Cursors.h"
#include "platform/core/Dispatcher.h"
#include "platform/core/KeyState.h"
#include "platform/core/Process.h"
#include "platform/core/Profile.h"
#include "platform/core/Screen.h"
#include "platform/core/Timers.h"

namespace platform {

class WindowFactory;

namespace ui {
    class DialogHost;
    class EventPump;
    class FileDialogs;
    class Help;
    class MessageBoxes;
}

struct Services {
    Clock& clock;
    Timers& timers;
    Dispatcher& dispatcher;
    ui::EventPump& pump;
    KeyState& keys;
    Cursors& cursors;
    Screen& screen;
    AssetFiles& assets;
    Profile& profile;
    ProcessLauncher& processes;
    ui::MessageBoxes& boxes;
    ui::FileDialogs& fileDialogs;
    ui::DialogHost& dialogs;
    WindowFactory& windows;
    ui::Help& help;
};

} // namespace platform
