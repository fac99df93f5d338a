// The built `vl` on the virtual display with a temporary profile and a stub
// launcher: it starts, shows its window, is closed as a desktop closes a
// window (the window manager's delete request), removes its marker file and
// starts the launcher again with "-i".

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/TempDir.h"
#include "tests/TestFiles.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The top-level window of that title, searched through the whole tree.
Window FindWindow(Display* display, Window parent, const std::string& title)
{
    char* name = nullptr;
    if (XFetchName(display, parent, &name) && name) {
        const bool match = title == name;
        XFree(name);
        if (match)
            return parent;
    }
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
        found = FindWindow(display, children[i], title);
    if (children)
        XFree(children);
    return found;
}

// The delete request a window manager sends when the close box is clicked.
void SendDeleteRequest(Display* display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool WaitForExit(pid_t pid, int& status, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(VlProgramTest, StartsClosesAndStartsTheLauncherAgain)
{
    TempDir dir;
    const fs::path profile = dir.Path("profile");
    const fs::path stubs = dir.Path("bin");
    fs::create_directories(profile);
    fs::create_directories(stubs);
    // A profile that has seen this display and does not prompt for a battle.
    std::ofstream(profile / "vl.ini") << "[Video]\nbits=24\n[Options]\nprompt=0\n";
    // The launcher: records its arguments.
    const fs::path record = dir.Path("launcher-args");
    std::ofstream(stubs / "Velmora") << "#!/bin/sh\necho \"$@\" > '" << record.string() << "'\n";
    fs::permissions(stubs / "Velmora", fs::perms::owner_all);

    const std::string path = "PATH=" + stubs.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
    const std::string config = "VL_CONFIG_DIR=" + profile.string();
    std::vector<std::string> environment { path, config };
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("PATH=", 0) != 0 && entry.rfind("VL_CONFIG_DIR=", 0) != 0)
            environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = VL_PROGRAM;
    std::string started = "-f";
    char* argv[] = { program.data(), started.data(), nullptr };

    const fs::path before = fs::current_path();
    fs::current_path(VL_DATA_DIR);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    fs::current_path(before);

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window window = 0;
    for (int i = 0; i < 200 && !window; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = FindWindow(display, DefaultRootWindow(display), "Velmora");
    }
    int status = 0;
    if (!window) {
        kill(pid, SIGKILL);
        WaitForExit(pid, status, 5);
        FAIL() << "no window named Velmora";
    }
    EXPECT_TRUE(fs::exists(fs::path(VL_DATA_DIR) / "NoAutoRun"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SendDeleteRequest(display, window);
    const bool ended = WaitForExit(pid, status, 15);
    if (!ended) {
        kill(pid, SIGKILL);
        WaitForExit(pid, status, 5);
    }
    XCloseDisplay(display);
    ASSERT_TRUE(ended) << "the delete request did not end the program";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_FALSE(fs::exists(fs::path(VL_DATA_DIR) / "NoAutoRun"));
    // The stub runs detached: give it a moment.
    for (int i = 0; i < 100 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadFileText(record), "-i\n");
    // The options went back to the profile.
    EXPECT_NE(ReadFileText(profile / "vl.ini").find("beep="), std::string::npos);
}

} // namespace
