// The File commands and the question to save: New, Open, Save, Save As with
// their failures on small fixture files, the save question's answers and
// the close box.

#include <filesystem>

#include "platform/ui/MessageBoxes.h"
#include "tests/frame/FrameFixture.h"

using namespace platform::ui;

namespace {

class FrameFileTest : public FrameFixture {
protected:
    // The demo battle started and saved to "start.btl".
    void StartSaved()
    {
        ConfirmChooseDialog();
        Start(Scenario("demo.scn"));
        services.fileDialogs.Choose(dir.Path("start.btl").string());
        ASSERT_TRUE(host->Command(104));
        ASSERT_FALSE(frame->IsModified());
    }
    const platform::testing::ScriptedMessageBoxes::Box& OnlyBox()
    {
        static const platform::testing::ScriptedMessageBoxes::Box none;
        EXPECT_EQ(services.boxes.shown.size(), 1u);
        return services.boxes.shown.empty() ? none : services.boxes.shown.back();
    }
};

TEST_F(FrameFileTest, SaveAsAsksWithTheBattleFilterAndName)
{
    StartSaved();
    const FileDialogRequest& request = services.fileDialogs.requests.back();
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(request.filter, "Battle Files (*.btl)|*.btl|");
    EXPECT_EQ(request.defaultExtension, "btl");
    EXPECT_EQ(request.fileName, "battle.btl");
    EXPECT_EQ(request.folder, ".");
    EXPECT_EQ(frame->GetPathName(), dir.Path("start.btl").string());
}

TEST_F(FrameFileTest, SaveWithoutAPathBecomesSaveAs)
{
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    services.fileDialogs.Cancel();
    ASSERT_TRUE(host->Command(103));
    ASSERT_EQ(services.fileDialogs.requests.size(), 1u);
    EXPECT_TRUE(services.fileDialogs.requests[0].save);
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(FrameFileTest, ScenarioTextTravelsWithTheBattle)
{
    // A scenario with its text after the battle, started, saved and opened.
    dir.Write("texted.scn", ReadFileText(dir.Path("demo.scn")) + "Saint-Ovrin\nThe crossing\nLine one\nLine two\n");
    ConfirmChooseDialog();
    Start(Scenario("texted.scn"));
    EXPECT_EQ(frame->GetScenarioTitle(), "Saint-Ovrin");
    services.fileDialogs.Choose(dir.Path("texted.btl").string());
    ASSERT_TRUE(host->Command(104));
    frame->ClearScenarioText();
    services.fileDialogs.Choose(dir.Path("texted.btl").string());
    ASSERT_TRUE(host->Command(102));
    EXPECT_TRUE(services.boxes.AllAnswered());
    EXPECT_EQ(frame->GetPathName(), dir.Path("texted.btl").string());
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(frame->GetScenarioTitle(), "Saint-Ovrin");
    EXPECT_EQ(frame->GetScenarioSubtitle(), "The crossing");
    EXPECT_EQ(frame->GetDescriptionLines(), (std::vector<std::string> { "Line one", "Line two" }));
    // Written again, the file is the same.
    const std::string text = ReadFileText(dir.Path("texted.btl"));
    services.fileDialogs.Choose(dir.Path("again.btl").string());
    ASSERT_TRUE(host->Command(104));
    EXPECT_EQ(ReadFileText(dir.Path("again.btl")), text);
}

struct TextCase {
    const char* tail;
    const char* title;
    const char* subtitle;
    std::vector<std::string> lines;
};

class ScenarioTextTest : public FrameFixture, public ::testing::WithParamInterface<TextCase> { };

TEST_P(ScenarioTextTest, ReadsTitleSubtitleAndWholeLines)
{
    Create();
    std::istringstream in(std::string(" 1") + GetParam().tail);
    int trailer = 0;
    in >> trailer;
    frame->ReadScenarioText(in);
    EXPECT_EQ(frame->GetScenarioTitle(), GetParam().title);
    EXPECT_EQ(frame->GetScenarioSubtitle(), GetParam().subtitle);
    EXPECT_EQ(frame->GetDescriptionLines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, ScenarioTextTest,
    ::testing::Values(TextCase { "", "", "", {} }, TextCase { "\nT\nS\n", "T", "S", {} },
        // A file that ends right after the subtitle gives no description.
        TextCase { "\nT\nS", "T", "S", {} },
        // A last line without its line break is not kept.
        TextCase { "\nT\nS\nA\nB", "T", "S", { "A" } }, TextCase { " rest\nT\nS\n\nB\n", "T", "S", { "", "B" } }));

TEST_F(FrameFileTest, UnreadableBattleEmptiesThePathAndSavesNothingOverIt)
{
    StartSaved();
    dir.Write("broken.btl", "10\nA title\n1 2 3\n");
    services.fileDialogs.Choose(dir.Path("broken.btl").string());
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(102));
    EXPECT_EQ(OnlyBox().text, "Error reading file");
    EXPECT_EQ(OnlyBox().caption, "File Read Error");
    EXPECT_EQ(frame->GetPathName(), "");
    EXPECT_FALSE(frame->IsModified());
    // Save now asks for a name instead of writing over the broken file.
    services.fileDialogs.Cancel();
    ASSERT_TRUE(host->Command(103));
    EXPECT_TRUE(services.fileDialogs.requests.back().save);
    EXPECT_EQ(ReadFileText(dir.Path("broken.btl")), "10\nA title\n1 2 3\n");
}

TEST_F(FrameFileTest, BattleOfAnotherVersionSaysSo)
{
    StartSaved();
    dir.Write("future.btl", "11\nA title\n");
    services.fileDialogs.Choose(dir.Path("future.btl").string());
    services.boxes.Answer(kAnswerOk);
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(102));
    ASSERT_EQ(services.boxes.shown.size(), 2u);
    EXPECT_EQ(services.boxes.shown[0].text, "Invalid file for this version of VL");
    EXPECT_EQ(services.boxes.shown[0].caption, "Read Error");
    EXPECT_EQ(services.boxes.shown[1].text, "Error reading file");
}

TEST_F(FrameFileTest, FileThatCannotBeOpenedIsReported)
{
    StartSaved();
    services.fileDialogs.Choose(dir.Path("gone.btl").string());
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(102));
    EXPECT_EQ(OnlyBox().text, "Unable to open file");
    EXPECT_EQ(OnlyBox().caption, "File Read Error");
}

TEST_F(FrameFileTest, FailedSaveLeavesTheOldFileAndTheBattleModified)
{
    StartSaved();
    frame->SetModified(true);
    services.fileDialogs.Choose(dir.Path("no such folder/x.btl").string());
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(104));
    EXPECT_EQ(OnlyBox().text, "Unable to open file");
    EXPECT_EQ(OnlyBox().caption, "File Write Error");
    EXPECT_TRUE(frame->IsModified());
    EXPECT_FALSE(std::filesystem::exists(dir.Path("no such folder")));
}

struct QueryCase {
    const char* name;
    bool modified;
    bool withPath;
    int answer; // 0: no box expected
    bool allowed;
    bool stillModified;
};

class QuerySaveChangesTest : public FrameFileTest, public ::testing::WithParamInterface<QueryCase> { };

TEST_P(QuerySaveChangesTest, AsksOnlyForAModifiedBattle)
{
    const QueryCase& c = GetParam();
    StartSaved();
    if (!c.withPath) {
        frame->SetPathName({});
        services.fileDialogs.Cancel(); // Yes without a path: Save As, cancelled
    }
    frame->SetModified(c.modified);
    if (c.answer)
        services.boxes.Answer(c.answer);
    EXPECT_EQ(frame->QuerySaveChanges(), c.allowed);
    EXPECT_EQ(frame->IsModified(), c.stillModified);
    EXPECT_TRUE(services.boxes.AllAnswered());
    if (c.answer) {
        EXPECT_EQ(services.boxes.shown.back().text, "Do you want to save the current file?");
        EXPECT_EQ(services.boxes.shown.back().caption, "File Has Changed");
        EXPECT_EQ(services.boxes.shown.back().type, kBoxYesNoCancel | kBoxIconQuestion);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, QuerySaveChangesTest,
    ::testing::Values(QueryCase { "NotModified", false, true, 0, true, false },
        QueryCase { "Cancel", true, true, kAnswerCancel, false, true },
        QueryCase { "No", true, true, kAnswerNo, true, false },
        QueryCase { "YesSaves", true, true, kAnswerYes, true, false },
        // Yes, then the save fails (here: its dialog is cancelled): stay.
        QueryCase { "YesSaveFails", true, false, kAnswerYes, false, true }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameFileTest, CloseBoxAsksAndCancelKeepsTheWindow)
{
    StartSaved();
    frame->SetModified(true);
    services.boxes.Answer(kAnswerCancel);
    host->RequestClose();
    EXPECT_FALSE(host->IsDestroyed());
    services.boxes.Answer(kAnswerNo);
    ASSERT_TRUE(host->Command(106));
    services.Pump();
    EXPECT_TRUE(host->IsDestroyed());
    // The options went back to the profile as the window closed.
    EXPECT_TRUE(services.profile.Has("Options", "beep"));
}

TEST_F(FrameFileTest, NewBattleAsksToSaveThenForTheScenario)
{
    StartSaved();
    frame->SetModified(true);
    services.boxes.Answer(kAnswerCancel);
    ASSERT_TRUE(host->Command(101));
    EXPECT_EQ(services.fileDialogs.requests.size(), 1u) << "cancelled: no scenario asked";
    services.boxes.Answer(kAnswerNo);
    ConfirmChooseDialog();
    services.fileDialogs.Choose("demo.scn");
    ASSERT_TRUE(host->Command(101));
    EXPECT_EQ(services.fileDialogs.requests.back().filter, "Scenario Files (*.scn)|*.scn|");
    EXPECT_EQ(frame->GetPathName(), "");
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(services.dialogs.shown.size(), 2u);
}

} // namespace
