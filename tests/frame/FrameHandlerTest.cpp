// The main window's handlers under the handler guard: commands, the first
// show and map callbacks run in a scope; a close request or a top-level
// command arriving while a handler runs (here: while its modal box is up)
// waits and is issued once when it ended; the check of changed data on
// activation runs only at depth 0. And the map's double click.

#include <filesystem>

#include "platform/ui/MessageBoxes.h"
#include "tests/frame/FrameFixture.h"

using namespace platform;
using namespace platform::ui;

namespace {

class FrameHandlerTest : public FrameFixture {
protected:
    // The scenario data changes on disk, as an editor saving it would.
    void TouchScenarioData()
    {
        const auto file = dir.Path() / "main.ai";
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(10));
    }
    int BoxesCaptioned(const std::string& caption) const
    {
        return static_cast<int>(std::count_if(services.boxes.shown.begin(), services.boxes.shown.end(),
            [&](const auto& box) { return box.caption == caption; }));
    }
};

struct NestedCase {
    const char* name;
    // What arrives while the About box is up (inside command 1406).
    std::function<void(platform::testing::HeadlessFrameHost&)> events;
    bool modified; // the battle has changes (the close asks about them)
    int answer; // the answer to the close's question, if asked
    bool destroyed;
    int saveQuestions;
};

TEST_F(FrameHandlerTest, CloseAndExitWaitForTheRunningCommandAndComeOnce)
{
    const NestedCase cases[] = {
        { "close request", [](auto& h) { h.RequestClose(); }, false, 0, true, 0 },
        { "exit command", [](auto& h) { h.Command(106); }, false, 0, true, 0 },
        { "close twice asks once",
            [](auto& h) {
                h.RequestClose();
                h.RequestClose();
            },
            true, kAnswerCancel, false, 1 },
        { "new battle asks once, after the box", [](auto& h) { h.Command(101); }, true, kAnswerCancel, false, 1 },
    };
    for (const NestedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Create();
        frame->SetModified(c.modified);
        int depth = -1;
        bool stillOpen = false;
        services.boxes.whileShown = [&] {
            depth = frame->GetHandlerGuard()->Depth();
            c.events(*host);
            services.Pump();
            stillOpen = !host->IsDestroyed();
        };
        services.boxes.Answer(kAnswerOk);
        if (c.modified)
            services.boxes.Answer(c.answer);
        ASSERT_TRUE(host->Command(1406));
        EXPECT_EQ(depth, 1);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(BoxesCaptioned("File Has Changed"), 0);
        services.Pump();
        EXPECT_EQ(host->IsDestroyed(), c.destroyed);
        EXPECT_EQ(BoxesCaptioned("File Has Changed"), c.saveQuestions);
        EXPECT_TRUE(services.boxes.AllAnswered());
        host.reset();
        frame.reset();
        services.boxes.shown.clear();
    }
}

TEST_F(FrameHandlerTest, ChangedDataIsCheckedAtDepthZeroOnly)
{
    // The data files are watched from the first scenario read on.
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    // At depth 0 the activation asks at once.
    TouchScenarioData();
    services.boxes.Answer(kAnswerNo);
    host->Activate(true);
    EXPECT_EQ(BoxesCaptioned("Scenario Data Change"), 1);

    // Under a running command: activations and a resize ask once, after it.
    TouchScenarioData();
    int asked = -1;
    services.boxes.whileShown = [&] {
        host->Activate(true);
        host->Resize({ 1200, 900 });
        host->Activate(true);
        services.Pump();
        asked = BoxesCaptioned("Scenario Data Change");
    };
    services.boxes.Answer(kAnswerOk);
    services.boxes.Answer(kAnswerNo);
    ASSERT_TRUE(host->Command(1406));
    EXPECT_EQ(asked, 1);
    services.Pump();
    EXPECT_EQ(BoxesCaptioned("Scenario Data Change"), 2);
    EXPECT_TRUE(services.boxes.AllAnswered());
}

TEST_F(FrameHandlerTest, HandlersRunInAScope)
{
    Create();
    HandlerGuard& guard = *frame->GetHandlerGuard();
    // A plain command nested in another runs at once.
    bool listShown = false;
    services.boxes.whileShown = [&] {
        host->Command(1113);
        listShown = frame->Options().list;
    };
    services.boxes.Answer(kAnswerOk);
    host->Command(1406);
    EXPECT_TRUE(listShown);
    // The first show's start-up runs in a scope: its boxes see depth 1.
    int depth = -1;
    services.boxes.whileShown = [&] { depth = guard.Depth(); };
    services.boxes.Answer(kAnswerOk);
    frame->Game().m_startupError = String("missing file");
    host->PostFirstShow();
    services.Pump();
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(guard.Depth(), 0);
}

class DoubleClickFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    bool IsLocalInControl() override { return inControl; }
    bool inControl = true;
};

TEST_F(FrameHandlerTest, DoubleClickOnTheMapSelectsEveryUnitOfTheHex)
{
    for (bool inControl : { true, false }) {
        SCOPED_TRACE(inControl ? "in control" : "under remote control");
        auto own = std::make_unique<DoubleClickFrame>(services.Get(), Resources(), Scenario("demo.scn"));
        own->inControl = inControl;
        DoubleClickFrame& main = *own;
        frame = std::move(own);
        host = std::make_unique<platform::testing::HeadlessFrameHost>(*frame, services.Get());
        ASSERT_TRUE(host->Create());
        ConfirmChooseDialog();
        host->PostFirstShow();
        services.Pump();
        CGame& game = main.Game();
        const HexPos hex = FirstHexWithUnits(game, 2);
        ASSERT_NE(hex.column, -1);
        const std::size_t count = game.m_stacks.At(hex.column, hex.row).Count();

        CMapView& view = main.MapView();
        view.ScrollHexIntoView(hex.column, hex.row, true);
        const HexPos v = view.RotateHex(hex);
        const Point centre = view.Geometry().GetHexCentre(v.column, v.row);
        const Point origin = view.ScrollOrigin();
        MouseEvent click;
        click.point = { centre.x - origin.x, centre.y - origin.y };
        auto& mapHost = *host->ChildHost(view);
        for (MouseKind kind : { MouseKind::LeftDown, MouseKind::LeftUp, MouseKind::LeftDouble, MouseKind::LeftUp }) {
            click.kind = kind;
            mapHost.SendMouse(click);
        }
        const CInfoBoxWnd& box = main.InfoBox();
        EXPECT_EQ(box.GetHex().column, hex.column);
        EXPECT_EQ(box.GetHex().row, hex.row);
        std::vector<int> all(count);
        for (std::size_t i = 0; i < count; ++i)
            all[i] = static_cast<int>(i);
        EXPECT_EQ(box.GetSelectedIndices(), inControl ? all : std::vector<int> {});
        EXPECT_EQ(main.StatusBar().GetPaneText(0) == "Cannot select units while under Remote Control", !inControl);
        host.reset();
        frame.reset();
    }
}

} // namespace
