#pragma once
// The program's one bundle of services. The program builds the real bundle
// (wx::WxServices), each test its own headless one (testing::HeadlessServices);
// a window reaches it through its host. Later parts of the program add theirs.

#include "platform/core/AssetFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Cursors.h"
#include "platform/core/Dispatcher.h"
#include "platform/core/KeyState.h"
#include "platform/core/Screen.h"
#include "platform/core/Timers.h"

namespace platform {

struct Services {
    Clock& clock;
    Timers& timers;
    Dispatcher& dispatcher;
    KeyState& keys;
    Cursors& cursors;
    Screen& screen;
    AssetFiles& assets;
};

} // namespace platform
