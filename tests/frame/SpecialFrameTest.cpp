// The special-modes layer as it stands in mode 0: its queries by mode, its
// hooks, and its messages, which reach a sink only in a special mode.

#include <sstream>

#include "platform/ui/MessageBoxes.h"
#include "tests/frame/FrameFixture.h"

namespace {

class ModeFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    void SetMode(int mode) { m_specialMode = mode; }
};

class Recorder : public IGameMessageSink {
public:
    void Send(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

class SpecialFrameTest : public FrameFixture {
protected:
    ModeFrame& CreateModeFrame()
    {
        auto own = std::make_unique<ModeFrame>(services.Get(), Resources(), CommandLine {});
        ModeFrame& mode = *own;
        frame = std::move(own);
        host = std::make_unique<platform::testing::HeadlessFrameHost>(*frame, services.Get());
        EXPECT_TRUE(host->Create());
        return mode;
    }
};

struct ModeCase {
    int mode;
    bool plainFiles, pbemOrHotSeat, owner;
    int controlIcon; // with the local side to move
    const char* titleSuffix;
};

TEST_F(SpecialFrameTest, QueriesAnswerByMode)
{
    const ModeCase cases[] = {
        { 0, true, false, false, 0, "" },
        { 1, false, false, true, 1, " (Local Control)" },
        { 2, false, false, false, 1, " (Local Control)" },
        { 3, false, true, true, 1, " (Local Control)" },
        { 4, true, false, true, 1, "" },
        { 5, false, true, true, 1, " (Local Control)" },
    };
    ModeFrame& frame = CreateModeFrame();
    String status;
    frame.Game().GetStatusText(status);
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        frame.SetMode(c.mode);
        frame.SetLocalSide(frame.Game().m_map.GetSide());
        EXPECT_EQ(frame.UsesPlainBattleFiles(), c.plainFiles);
        EXPECT_EQ(frame.IsPbemOrHotSeat(), c.pbemOrHotSeat);
        EXPECT_EQ(frame.IsGameOwner(), c.owner);
        EXPECT_TRUE(frame.IsLocalInControl());
        frame.UpdateControlIndicator();
        EXPECT_EQ(frame.StatusBar().GetControlIcon(), c.controlIcon);
        String title;
        frame.GetTitleText(title);
        EXPECT_EQ(title.str(), status.str() + c.titleSuffix);
    }
    // The other side's turn in hot seat: remote control.
    frame.SetMode(5);
    frame.SetLocalSide(1 - frame.Game().m_map.GetSide());
    EXPECT_FALSE(frame.IsLocalInControl());
    frame.UpdateControlIndicator();
    EXPECT_EQ(frame.StatusBar().GetControlIcon(), 4);
}

TEST_F(SpecialFrameTest, ModeZeroAnswersAsNoSpecialMode)
{
    ModeFrame& frame = CreateModeFrame();
    EXPECT_EQ(frame.GetSpecialMode(), 0);
    EXPECT_EQ(frame.GetLocalSide(), 0);
    frame.SetLocalSide(1);
    EXPECT_EQ(frame.GetLocalSide(), 1);
    frame.SetLocalSide(7);
    EXPECT_EQ(frame.GetLocalSide(), 0);
    EXPECT_FALSE(frame.IsReplaying());
    EXPECT_TRUE(frame.IsLocalCommander());
    EXPECT_TRUE(frame.AreUnitsUnderLocalCommand({ 1, 2 }, 3, 4));
    std::istringstream in("x");
    std::ostringstream out;
    EXPECT_FALSE(frame.ReadPemBattle(in));
    EXPECT_FALSE(frame.WriteEncryptedBattle(out));
    // The modified flag and the question to save are the document's.
    frame.SetModifiedFlag(true);
    EXPECT_TRUE(frame.IsModified());
    services.boxes.Answer(platform::ui::kAnswerCancel);
    EXPECT_FALSE(frame.QuerySaveChanges());
    // A modem caller neither asks nor marks.
    frame.SetMode(2);
    EXPECT_TRUE(frame.QuerySaveChanges());
    frame.SetModified(false);
    frame.SetModifiedFlag(true);
    EXPECT_FALSE(frame.IsModified());
    frame.SetMode(0);
    // No replay player: a replay file cannot be played.
    services.boxes.Answer(platform::ui::kAnswerOk);
    EXPECT_FALSE(frame.StartReplay("demo.scn"));
    EXPECT_EQ(services.boxes.shown.back().caption, "Replay Error");
    EXPECT_TRUE(services.boxes.AllAnswered());
}

TEST_F(SpecialFrameTest, MessagesReachTheSinkOnlyInASpecialMode)
{
    ModeFrame& frame = CreateModeFrame();
    Recorder recorder;
    frame.SetMessageSink(&recorder);
    HexList hexes;
    hexes.Append({ 1, 2 });
    hexes.Append({ 3, 4 });
    const auto sendAll = [&] {
        frame.SendNextPhase();
        frame.SendHexes(hexes);
        frame.SendReleases({ 5 });
        frame.SendBattleState();
        frame.SendReport("hello");
        frame.SendMove({ 1, 2 }, { 3, 4 });
        frame.SendLastMove();
        frame.SendUnitCommand({ 6, 7 });
        frame.SendRemoveUnits({ 6, 7 });
        frame.SendDirectFire(2, { 1, 1 }, 9, { 2, 2 }, true);
        frame.SendIndirectFire({ 1, 1 }, { 2, 2 }, 3, 4, false);
        frame.SendFireResult({ 1, 1 }, { 2, 2 });
        frame.SendAssault();
        frame.SendAirStrikePlotted({ 8, 9 });
        frame.SendAirStrikeUpdates();
        frame.SendAirAttack({ 8, 9 });
        frame.SendMineAttack({ 8, 9 });
        frame.SendReinforcementUpdates();
        frame.SendReinforcementPlaced(2, hexes);
        frame.SendPhaseReport("done");
        frame.SendPendingFiresDone();
        frame.SendOpFireLimits(1, 2, 3, 4);
    };
    sendAll();
    EXPECT_TRUE(recorder.messages.empty());

    frame.SetMode(1);
    sendAll();
    std::string letters;
    for (const std::string& message : recorder.messages)
        letters += message.front();
    EXPECT_EQ(letters, "phhbstxjhefnhvaiodmlrDzq");
    EXPECT_EQ(recorder.messages[1], "h 1 2");
    EXPECT_EQ(recorder.messages[5], "thello");
    EXPECT_EQ(recorder.messages[6], "x 1 2 3 4");
    EXPECT_EQ(recorder.messages[20], "r 2 2 1 2 3 4");

    // Without a sink nothing goes anywhere, in any mode.
    frame.SetMessageSink(nullptr);
    recorder.messages.clear();
    sendAll();
    EXPECT_TRUE(recorder.messages.empty());
}

} // namespace
