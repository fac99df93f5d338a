// The readers of the window resources (XML, menus, keys, strings, dialog
// templates) on good and hostile input, and the file dialogs' filters.

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Accelerators.h"
#include "platform/ui/CommandTable.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MenuModel.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/XmlTree.h"

using namespace platform;
using namespace platform::ui;

namespace {

TEST(XmlTreeTest, ReadsElementsAttributesTextAndEntities)
{
    std::string error;
    const auto root
        = ParseXml("<?xml version=\"1.0\"?>\n<!-- c --><a x='1' y=\"&lt;2&gt;\"><b>T &amp; U</b><c/></a>", error);
    ASSERT_TRUE(root) << error;
    EXPECT_EQ(root->name, "a");
    EXPECT_EQ(*root->Attribute("y"), "<2>");
    EXPECT_EQ(root->ChildText("b"), "T & U");
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(root->children[1].name, "c");
}

class BadXmlTest : public ::testing::TestWithParam<std::string> { };

TEST_P(BadXmlTest, IsRefusedWithAReason)
{
    std::string error;
    EXPECT_FALSE(ParseXml(GetParam(), error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Hostile, BadXmlTest,
    ::testing::Values("", "text", "<a>", "<a></b>", "<a x=1/>", "<a x='1/>", "<a>&bogus;</a>", "<a/><b/>", "<!-- open",
        std::string(200, '<'), std::string(100, '<') + "a>"));

TEST(XmlTreeTest, DeepNestingIsRefusedNotOverflowed)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "<a>";
    std::string error;
    EXPECT_FALSE(ParseXml(text, error));
}

const char* kMenu = R"(<resource>
  <object class="wxMenuBar" name="MainMenu">
    <object class="wxMenu"><label>&amp;File</label>
      <object class="wxMenuItem" name="101"><label>&amp;New</label></object>
      <object class="separator"/>
      <object class="wxMenu"><label>Sub</label>
        <object class="wxMenuItem" name="1201"><label>Low</label><checkable>1</checkable></object>
      </object>
    </object>
    <object class="wxMenu"><label>&amp;Turn</label>
      <object class="wxMenuItem" name="201"><label>&amp;Next</label></object>
    </object>
  </object>
</resource>)";

TEST(MenuModelTest, ReadsTheBarAndChangesItems)
{
    std::string error;
    auto menu = MenuModel::ParseXrc(kMenu, "MainMenu", error);
    ASSERT_TRUE(menu) << error;
    EXPECT_EQ(menu->AllIds(), (std::vector<int> { 101, 1201, 201 }));
    ASSERT_TRUE(menu->FindItem(1201));
    EXPECT_TRUE(menu->FindItem(1201)->checkable);
    EXPECT_EQ(menu->TopMenus()[0].label, "&File");
    const int revision = menu->Revision();
    EXPECT_TRUE(menu->ReplaceItem(201, 202, "&Next (Ctrl-N)"));
    EXPECT_TRUE(menu->SetTopLabel(1, "&Phase"));
    EXPECT_GT(menu->Revision(), revision);
    EXPECT_EQ(menu->FindItem(201), nullptr);
    EXPECT_EQ(menu->FindItem(202)->label, "&Next (Ctrl-N)");
    EXPECT_FALSE(menu->SetTopLabel(7, "x"));
    EXPECT_FALSE(menu->ReplaceItem(999, 1, "x"));
}

TEST(MenuModelTest, RefusesAnItemWithoutANumericId)
{
    std::string error;
    EXPECT_FALSE(MenuModel::ParseXrc(R"(<r><object class="wxMenuBar" name="MainMenu"><object class="wxMenu">
        <object class="wxMenuItem" name="open"><label>Open</label></object></object></object></r>)",
        "MainMenu", error));
    EXPECT_FALSE(MenuModel::ParseXrc(kMenu, "OtherMenu", error));
}

struct KeyCase {
    const char* name;
    KeyEvent event;
    int command;
};

KeyEvent Down(int key, Modifiers modifiers = {})
{
    KeyEvent event;
    event.kind = KeyKind::Down;
    event.key = key;
    event.modifiers = modifiers;
    return event;
}

KeyEvent Typed(char32_t character)
{
    KeyEvent event;
    event.kind = KeyKind::Down;
    event.key = kKeyOther;
    event.character = character;
    return event;
}

class AcceleratorTest : public ::testing::TestWithParam<KeyCase> { };

TEST_P(AcceleratorTest, LooksUpTheCommand)
{
    std::string error;
    const auto table = Accelerators::Parse("# keys\nCtrl+N 202\nF11 1101\nCtrl+Shift+F 1511\nPad8 1807\nUp 1701\n"
                                           "Plus 1500\nMinus 1501\nM 1601\nDelete 1809\n",
        error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->Lookup(GetParam().event), GetParam().command) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, AcceleratorTest,
    ::testing::Values(KeyCase { "CtrlN", Down('N', { true, false, false }), 202 }, KeyCase { "PlainN", Down('N'), 0 },
        KeyCase { "F11", Down(kKeyF11), 1101 }, KeyCase { "CtrlShiftF", Down('F', { true, false, true }), 1511 },
        KeyCase { "CtrlF", Down('F', { true, false, false }), 0 },
        // Keypad 8 is one key whatever NumLock says; the arrow above it is another.
        KeyCase { "Pad8", Down(kKeyPad8), 1807 }, KeyCase { "Up", Down(kKeyUp), 1701 },
        KeyCase { "PlusTyped", Typed(U'+'), 1500 }, KeyCase { "MinusTyped", Typed(U'-'), 1501 },
        KeyCase { "M", Down('M'), 1601 }, KeyCase { "Delete", Down(kKeyDelete), 1809 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AcceleratorTest, RefusesUnknownKeysAndModifiers)
{
    std::string error;
    EXPECT_FALSE(Accelerators::Parse("Hyper+N 202\n", error));
    EXPECT_FALSE(Accelerators::Parse("F13 202\n", error));
    EXPECT_FALSE(Accelerators::Parse("N\n", error));
    EXPECT_FALSE(Accelerators::Parse("N 12 13\n", error));
    EXPECT_FALSE(Accelerators::Parse("N -4\n", error));
    EXPECT_EQ(error.rfind("line 1", 0), 0u);
}

TEST(StringTableTest, SplitsPromptAndToolTip)
{
    std::string error;
    const auto table = StringTable::Parse("# c\n201 Advance to next player turn\\nNext Turn\n104 Plain\n", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->Prompt(201), "Advance to next player turn");
    EXPECT_EQ(table->ToolTip(201), "Next Turn");
    EXPECT_EQ(table->Prompt(104), "Plain");
    EXPECT_EQ(table->ToolTip(104), "");
    EXPECT_EQ(table->Get(5), "");
    EXPECT_FALSE(StringTable::Parse("x text\n", error));
    EXPECT_FALSE(StringTable::Parse("12\n", error));
}

TEST(FileDialogsTest, FiltersGetTheirUpperCaseSpelling)
{
    EXPECT_EQ(ToToolkitFilter("Battle Files (*.btl)|*.btl|"), "Battle Files (*.btl)|*.btl;*.BTL");
    EXPECT_EQ(ToToolkitFilter("A|*.a;*.b|B|*.C|"), "A|*.a;*.b;*.A;*.B|B|*.C");
    EXPECT_EQ(ToToolkitFilter(""), "");
    EXPECT_EQ(WithDefaultExtension("battle", "btl"), "battle.btl");
    EXPECT_EQ(WithDefaultExtension("battle.BTL", "btl"), "battle.BTL");
    EXPECT_EQ(WithDefaultExtension("", "btl"), "");
}

TEST(DialogTemplateTest, ReadsCaptionControlsAndRadioGroups)
{
    std::string error;
    const auto dialog = DialogTemplate::Parse(R"(<resource><object class="wxDialog" name="D"><title>Cap</title>
        <object class="wxBoxSizer"><object class="sizeritem"><object class="wxRadioButton" name="102">
        <label>Manual</label><style>wxRB_GROUP</style></object></object>
        <object class="sizeritem"><object class="wxRadioButton" name="103"><label>Computer</label></object></object>
        <object class="sizeritem"><object class="wxRadioButton" name="106"><style>wxRB_GROUP</style></object></object>
        <object class="sizeritem"><object class="wxButton" name="wxID_OK"/></object></object></object></resource>)",
        error);
    ASSERT_TRUE(dialog) << error;
    EXPECT_EQ(dialog->caption, "Cap");
    EXPECT_EQ(dialog->controls.size(), 4u);
    EXPECT_EQ(dialog->controls.at(102).group, dialog->controls.at(103).group);
    EXPECT_NE(dialog->controls.at(102).group, dialog->controls.at(106).group);
    EXPECT_EQ(dialog->controls.at(1).kind, "wxButton");
}

struct Layer {
    // At least a pointer's size, as every real layer: calls through member
    // pointers may look at the object's first word.
    void* first = nullptr;
    int ran = 0;
    void Run(int id) { ran = id; }
    void Check(CmdUI& ui) { ui.checked = true; }
};

TEST(CommandTableTest, RunsAndUpdatesTheFirstEntryHoldingTheId)
{
    static const CommandTable<Layer>::Entry entries[]
        = { { 10, 19, &Layer::Run, &Layer::Check }, { 15, 30, &Layer::Run } };
    const CommandTable<Layer> table { entries };
    Layer layer;
    EXPECT_TRUE(table.Run(layer, 17));
    EXPECT_EQ(layer.ran, 17);
    CmdUI ui;
    ui.id = 17;
    EXPECT_TRUE(table.Update(layer, ui));
    EXPECT_TRUE(ui.checked);
    ui = CmdUI {};
    ui.id = 25;
    EXPECT_TRUE(table.Update(layer, ui));
    EXPECT_FALSE(ui.checked);
    EXPECT_TRUE(ui.enabled);
    EXPECT_FALSE(table.Run(layer, 31));
}

} // namespace
