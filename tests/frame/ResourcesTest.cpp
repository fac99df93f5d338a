// The resources of `vl`: every dialog template parses with the ids its class
// uses, every menu command has a handler or is listed as waiting for its
// issue, and the key and string tables parse and name known commands.

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "frame/AdvantageDialog.h"
#include "frame/ChooseDialog.h"
#include "frame/NewScenarioDialog.h"
#include "frame/RuleDialog.h"
#include "platform/ui/DialogTemplate.h"
#include "tests/frame/FrameFixture.h"

namespace {

namespace fs = std::filesystem;

// Menu commands whose handlers come with later issues: the order, turn,
// reinforcement, status, display, highlight, A/I and special-mode layers and
// the unit handbook. A command leaves this list when its handler lands.
const std::set<int> kWaiting { 201, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311, 312, 313, 401, 402, 403, 404,
    501, 502, 503, 601, 602, 603, 604, 605, 701, 702, 703, 704, 705, 706, 707, 708, 709, 710, 711, 712, 713, 714, 715,
    716, 717, 718, 719, 720, 801, 802, 803, 804, 805, 806, 807, 808, 809, 810, 811, 812, 900, 901, 902, 903, 904, 905,
    906, 907, 1001, 1002, 1003, 1004, 1005, 1007, 1009, 1010, 1011, 1402, 1809, 1810 };

// Commands without a menu item that keys or tool-bar buttons give.
const std::set<int> kWithoutMenuItem { 202, 1500, 1501, 1502, 1503, 1504, 1505, 1506, 1511, 1601, 1701, 1702, 1703,
    1704, 1803, 1804, 1805, 1806, 1807, 1808, 1811, 1812, 1813 };

struct TemplateCase {
    const char* name;
    std::set<int> ids;
};

class DialogTemplateIdsTest : public ::testing::TestWithParam<TemplateCase> { };

TEST_P(DialogTemplateIdsTest, ParsesWithItsClassIds)
{
    std::ifstream in(fs::path(VL_RESOURCE_DIR) / "dialogs" / (std::string(GetParam().name) + ".xrc"));
    ASSERT_TRUE(in) << GetParam().name;
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    const auto dialog = platform::ui::DialogTemplate::Parse(text.str(), error);
    ASSERT_TRUE(dialog) << error;
    EXPECT_EQ(dialog->name, GetParam().name);
    EXPECT_FALSE(dialog->caption.empty());
    for (int id : GetParam().ids)
        EXPECT_TRUE(dialog->controls.count(id)) << GetParam().name << " lacks " << id;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogTemplateIdsTest,
    ::testing::Values(TemplateCase { "RuleDialog", { 1, 2, 9, 101, 102, 103, 109 } },
        TemplateCase { "ChooseDialog_AI", { 1, 9, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110 } },
        TemplateCase { "NewScenarioDialog_AI", { 1, 9, 101, 102, 103, 104, 106, 107 } },
        TemplateCase { "AdvantageDialog_AI", { 1, 2, 9, 101 } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogTemplateFilesTest, EveryTemplateFileParses)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VL_RESOURCE_DIR) / "dialogs")) {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        EXPECT_TRUE(platform::ui::DialogTemplate::Parse(text.str(), error)) << entry.path() << ": " << error;
        ++count;
    }
    EXPECT_GE(count, 4);
}

class MenuCommandsTest : public FrameFixture { };

TEST_F(MenuCommandsTest, EveryMenuCommandIsHandledOrWaiting)
{
    Create();
    const auto ids = frame->GetMenu()->AllIds();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "an id twice in the menus";
    for (int id : ids) {
        const bool handled = frame->QueryCommand(id).enabled;
        if (kWaiting.count(id))
            EXPECT_FALSE(handled) << id << " is handled now: take it off the waiting list";
        else
            EXPECT_TRUE(handled) << id << " has no handler and is not listed as waiting";
    }
    for (int id : kWaiting)
        EXPECT_NE(frame->GetMenu()->FindItem(id), nullptr) << id << " waits but has no menu item";
}

TEST_F(MenuCommandsTest, MenusComeInTheirOrder)
{
    Create();
    std::vector<std::string> labels;
    for (const auto& menu : frame->GetMenu()->TopMenus())
        labels.push_back(menu.label);
    EXPECT_EQ(labels,
        (std::vector<std::string> { "&File", "&Turn", "&Units", "&Assault", "&Reinforcements", "&Status", "&Display",
            "&Highlight", "&A/I", "S&pecial", "&Options", "&Help" }));
    EXPECT_EQ(frame->GetMenu()->FindItem(101)->label, "&New Battle...");
    EXPECT_EQ(frame->GetMenu()->FindItem(102)->label, "&Old Battle...");
    EXPECT_EQ(frame->GetMenu()->FindItem(1203)->label, "&High Details");
    EXPECT_EQ(frame->GetMenu()->FindItem(1204)->label, "&Extreme Details");
}

TEST_F(MenuCommandsTest, EveryKeyNamesAKnownCommand)
{
    Create();
    const auto& keys = frame->GetAccelerators()->Entries();
    EXPECT_GE(keys.size(), 50u);
    for (const auto& entry : keys)
        EXPECT_TRUE(frame->GetMenu()->FindItem(entry.command) || kWithoutMenuItem.count(entry.command))
            << entry.command;
    // Keys the menus name in their texts.
    EXPECT_EQ(KeyEventFor(host.get(), 'N', true), 202);
    EXPECT_EQ(KeyEventFor(host.get(), platform::kKeyF1, false), 1401);
    EXPECT_EQ(KeyEventFor(host.get(), platform::kKeyPad0, false), 303);
}

TEST_F(MenuCommandsTest, StringTableGivesTheToolTipsOfTheButtons)
{
    Create();
    const auto& strings = frame->Resources().strings;
    for (const auto& [id, tip] : std::vector<std::pair<int, const char*>> { { 1601, "Move/Fire Mode" },
             { 310, "Artillery Dialog" }, { 303, "Load/Unload" }, { 304, "Digging-In" }, { 305, "Double Time" },
             { 307, "Save AP's for Firing" }, { 308, "Save AP's for Unloading" }, { 403, "Resolve Assault" },
             { 309, "Air Attack" }, { 906, "Activate A/I" }, { 1500, "Zoom-In" }, { 702, "Toggle Bases" },
             { 710, "Jump Map" }, { 706, "Visible Hexes" }, { 807, "Highlight Organization" }, { 1503, "Next Unit" },
             { 810, "Highlight Headquarters" }, { 715, "Display Range" }, { 502, "Show Arrived" },
             { 312, "Remove Units" }, { 707, "Reachable Hexes" }, { 201, "Next Turn" } })
        EXPECT_EQ(strings.ToolTip(id), tip) << id;
    EXPECT_EQ(strings.Prompt(202), "Advance to next phase");
}

} // namespace
