#pragma once
// A services bundle of fakes for one test: virtual time, timers fired by the
// test, a queue of posted tasks, settable keys, pointer and screen, and the
// asset folder of the test's choosing. Failure reports are recorded.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/AssetFiles.h"
#include "platform/core/Services.h"
#include "platform/testing/FakeDispatcher.h"
#include "platform/testing/FakeInput.h"
#include "platform/testing/FakePump.h"
#include "platform/testing/FakeTimers.h"
#include "platform/testing/ManualClock.h"
#include "platform/testing/MemoryProfile.h"
#include "platform/testing/HeadlessWindowFactory.h"
#include "platform/testing/RecordingHelp.h"
#include "platform/testing/RecordingLauncher.h"
#include "platform/testing/ScriptedDialogHost.h"
#include "platform/testing/ScriptedFileDialogs.h"
#include "platform/testing/ScriptedMessageBoxes.h"

namespace platform::testing {

class HeadlessServices {
public:
    struct Report {
        std::string text;
        std::string caption;
    };

    HeadlessServices();
    explicit HeadlessServices(std::filesystem::path workingFolder);
    HeadlessServices(const HeadlessServices&) = delete;
    HeadlessServices& operator=(const HeadlessServices&) = delete;

    Services& Get() { return m_services; }
    operator Services&() { return m_services; }

    // Runs posted tasks, then the timers due now, until neither has work.
    void Pump();
    // Moves virtual time on by `ms`, stopping at each timer's due time to
    // fire it (and run the tasks it posts).
    void AdvanceMs(std::int64_t ms);

    ManualClock clock;
    FakeTimers timers { clock };
    FakeDispatcher dispatcher;
    FakePump pump { clock, dispatcher, timers };
    FakeKeyState keys;
    FakeCursors cursors;
    FakeScreen screen;
    AssetFiles assets;
    MemoryProfile profile;
    RecordingLauncher processes;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs fileDialogs;
    ScriptedDialogHost dialogs;
    HeadlessWindowFactory windows;
    RecordingHelp help;
    std::vector<Report> reports;

private:
    Services m_services;
};

} // namespace platform::testing
