#pragma once
// The main window on a headless frame host, in the demo data folder, with
// scripted boxes, file dialogs and dialogs and a profile in memory that has
// seen this display's colour depth.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "frame/GameApp.h"
#include "frame/MainFrame.h"
#include "platform/testing/HeadlessFrameHost.h"
#include "platform/testing/HeadlessServices.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"
#include "tests/frame/StackSearch.h"

class FrameFixture : public ::testing::Test {
protected:
    FrameFixture()
    {
        // The battle's data files in a folder of the test's own (saves land
        // there); the pictures stay in the demo folder.
        for (const auto& entry : std::filesystem::directory_iterator(DemoDataFolder())) {
            if (entry.is_regular_file() && entry.path().extension() != ".bmp")
                std::filesystem::copy_file(entry.path(), dir.Path() / entry.path().filename());
        }
        cwd = std::make_unique<ScopedCurrentDir>(dir.Path());
        services.profile.SetInt("Video", "bits", services.screen.Depth());
        services.dialogs.SetTemplateFolder(std::filesystem::path(VL_RESOURCE_DIR) / "dialogs");
    }
    ~FrameFixture() override
    {
        host.reset();
        frame.reset();
        cwd.reset();
    }

    static FrameResources Resources()
    {
        std::string error;
        auto resources = FrameResources::Load(VL_RESOURCE_DIR, error);
        EXPECT_TRUE(resources) << error;
        return resources ? std::move(*resources) : FrameResources {};
    }

    // The frame created (not yet shown).
    void Create(const CommandLine& commandLine = {})
    {
        frame = std::make_unique<CMainFrame>(services.Get(), Resources(), commandLine);
        host = std::make_unique<platform::testing::HeadlessFrameHost>(*frame, services.Get());
        ASSERT_TRUE(host->Create());
    }
    // Created and shown: the start-up runs.
    void Start(const CommandLine& commandLine = {})
    {
        Create(commandLine);
        host->PostFirstShow();
        services.Pump();
    }
    // The next A/I selection confirmed as it comes up.
    void ConfirmChooseDialog()
    {
        services.dialogs.Script("ChooseDialog_AI", [](platform::ui::Dialog& dialog, auto&) {
            dialog.OnOk();
            return 0;
        });
    }
    static CommandLine Scenario(const std::string& file)
    {
        CommandLine line;
        line.startFile = file;
        line.started = true;
        return line;
    }

    TempDir dir;
    std::unique_ptr<ScopedCurrentDir> cwd;
    platform::testing::HeadlessServices services { DemoDataFolder() };
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<platform::testing::HeadlessFrameHost> host;
};

// A key-down with or without Ctrl through the frame's key table.
inline int KeyEventFor(platform::testing::HeadlessFrameHost* host, int key, bool ctrl)
{
    platform::KeyEvent event;
    event.kind = platform::KeyKind::Down;
    event.key = key;
    event.modifiers.ctrl = ctrl;
    return host->Key(event);
}
