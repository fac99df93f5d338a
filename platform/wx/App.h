#pragma once
// The toolkit's application object and its start-up. The programs start wx
// through App::Run; tests and tools that need real windows hold a
// ToolkitSession instead. Both select X11 first (GDK_BACKEND=x11): window
// placement and synchronous painting need it; and classic scroll bars, which
// take their room beside a window's picture instead of covering it.

#include <wx/app.h>

namespace platform::wx {

class App : public wxApp {
public:
    bool OnInit() override { return true; }
    // Asserts of the toolkit are the toolkit's business: log, don't stop.
    void OnAssertFailure(
        const wxChar* file, int line, const wxChar* func, const wxChar* cond, const wxChar* msg) override;
};

// wx initialised for the scope's life, without running the main loop;
// Ok() is false when there is no display.
class ToolkitSession {
public:
    ToolkitSession(int& argc, char** argv);
    ~ToolkitSession();
    ToolkitSession(const ToolkitSession&) = delete;
    ToolkitSession& operator=(const ToolkitSession&) = delete;
    bool Ok() const { return m_ok; }

    // Dispatches pending events until none is left (and idle handlers ran).
    static void ProcessPending();

private:
    bool m_ok = false;
};

// Dispatches the pending events, then the pending and idle handlers, for up
// to `rounds` rounds while a round found work. Outside a running loop (start-
// up, tests) a temporary one dispatches.
void DispatchPendingEvents(int rounds);

// Sets the environment the toolkit needs before it starts.
void PrepareToolkitEnvironment();

} // namespace platform::wx
