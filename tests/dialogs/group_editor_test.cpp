#include "common/group_editor_win32.h"

#include <gtest/gtest.h>

#include "resources/kestrel_resource.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/dialogs/osprey_editor_ids.h"
#include "tests/support/recording_reporter.h"

namespace ko {
namespace {

using testing::Press;
using testing::TextOf;
using testing::Type;

struct ProgramIds {
    const char* program;
    GroupEditorIds ids;
};

// The one editor template serves both programs; every case runs with each program's ids.
const ProgramIds kPrograms[] = {
    {"Kestrel",
     {IDD_GROUP_EDITOR, IDC_GROUP_EDITOR_POSITION, IDC_GROUP_EDITOR_GROUP_NO,
      IDC_GROUP_EDITOR_ITEM_NAME, IDC_GROUP_EDITOR_DISPLAY_TEXT, IDC_GROUP_EDITOR_SEARCH_PATTERN,
      IDC_GROUP_EDITOR_OK, IDC_GROUP_EDITOR_CANCEL, IDC_GROUP_EDITOR_PREVIOUS,
      IDC_GROUP_EDITOR_NEXT}},
    {"Osprey",
     {OSPREY_EDITOR_TEMPLATE, OSPREY_EDITOR_POSITION, OSPREY_EDITOR_GROUP_NO,
      OSPREY_EDITOR_ITEM_NAME, OSPREY_EDITOR_DISPLAY_TEXT, OSPREY_EDITOR_SEARCH_PATTERN,
      OSPREY_EDITOR_OK, OSPREY_EDITOR_CANCEL, OSPREY_EDITOR_PREVIOUS, OSPREY_EDITOR_NEXT}},
};

class GroupEditorTest : public ::testing::TestWithParam<ProgramIds> {
  protected:
    const GroupEditorIds& ids() const { return GetParam().ids; }

    HWND Open() {
        const HWND editor = OpenGroupEditor(driver.owner(), ids(), table, reporter);
        EXPECT_NE(editor, nullptr);
        return editor;
    }

    void Step(HWND editor, int id, int times) {
        for (int i = 0; i < times; ++i)
            Press(editor, id);
    }

    ExtensionGroupTable table = DefaultExtensionGroups();
    const ExtensionGroupTable defaults = DefaultExtensionGroups();
    testing::RecordingReporter reporter;
    testing::DialogDriver driver;
};

std::u16string NameOf(const ExtensionGroup& row) {
    return row.itemName;
}

TEST_P(GroupEditorTest, OpensVisibleOnTheFirstRow) {
    const HWND editor = Open();
    EXPECT_EQ(testing::TitleOf(editor), u"検索の拡張子の設定");
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(GetWindow(editor, GW_OWNER), driver.owner());
    EXPECT_EQ(TextOf(editor, ids().position), u"01/32");
    EXPECT_EQ(TextOf(editor, ids().group_no), u"0");
    EXPECT_EQ(TextOf(editor, ids().item_name), u"ソースファイル");
    EXPECT_EQ(TextOf(editor, ids().display_text), u"cppFile(*.cpp)");
    EXPECT_EQ(TextOf(editor, ids().search_pattern), u"*.cpp");
}

TEST_P(GroupEditorTest, OkOnRowSixStoresOnlyThatRowAndCloses) {
    const HWND editor = Open();
    Step(editor, ids().next, 5);
    EXPECT_EQ(TextOf(editor, ids().position), u"06/32");
    EXPECT_EQ(TextOf(editor, ids().group_no), u"105");
    Type(editor, ids().item_name, u"画像");
    Type(editor, ids().display_text, u"pngFile(*.png)");
    Type(editor, ids().search_pattern, u"*.png");
    Press(editor, ids().ok);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_TRUE(reporter.shown.empty());
    for (int row = 0; row < kExtensionGroupRows; ++row) {
        if (row == 5) continue;
        EXPECT_EQ(NameOf(table[row]), NameOf(defaults[row])) << row;
    }
    EXPECT_EQ(table[5].groupNo, 105);
    EXPECT_EQ(NameOf(table[5]), u"画像");
    EXPECT_EQ(std::u16string(table[5].displayText), u"pngFile(*.png)");
    EXPECT_EQ(std::u16string(table[5].searchPattern), u"*.png");
}

TEST_P(GroupEditorTest, SteppingStopsAtTheFirstAndTheLastRow) {
    const HWND editor = Open();
    Press(editor, ids().previous);
    EXPECT_EQ(TextOf(editor, ids().position), u"01/32");
    Step(editor, ids().next, 40);
    EXPECT_EQ(TextOf(editor, ids().position), u"32/32");
    EXPECT_EQ(TextOf(editor, ids().group_no), u"131");
    Press(editor, ids().previous);
    EXPECT_EQ(TextOf(editor, ids().position), u"31/32");
    DestroyWindow(editor);
}

TEST_P(GroupEditorTest, AnEditLeftWithStepsIsLostAndOnlyTheShownRowIsStored) {
    const HWND editor = Open();
    Step(editor, ids().next, 2);
    Type(editor, ids().item_name, u"changed on row 2");
    Press(editor, ids().next);
    EXPECT_EQ(TextOf(editor, ids().item_name), u"テキスト");
    Type(editor, ids().group_no, u"7");
    Press(editor, ids().ok);
    EXPECT_EQ(NameOf(table[2]), u"リソーススクリプト");
    EXPECT_EQ(table[3].groupNo, 7);
    EXPECT_EQ(NameOf(table[3]), u"テキスト");
}

TEST_P(GroupEditorTest, GroupNumbersAbove9998OrNegativeAreRefusedButTheTextsAreStored) {
    struct Case {
        std::u16string_view typed;
        std::int32_t stored;
        bool refused;
    };
    // The full table of readings is the portable StoreRow's; here the dialog's wiring.
    const Case cases[] = {{u"9999", 104, true}, {u"-1", 104, true}, {u"12345", 1234, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        table = DefaultExtensionGroups();
        reporter.shown.clear();
        const HWND editor = Open();
        Step(editor, ids().next, 4);
        Type(editor, ids().group_no, c.typed);
        Type(editor, ids().item_name, u"kept");
        Press(editor, ids().ok);
        EXPECT_FALSE(IsWindow(editor));
        EXPECT_EQ(table[4].groupNo, c.stored);
        EXPECT_EQ(NameOf(table[4]), u"kept");
        const testing::ShownMessage range{editor, u"Input value out of specified range",
                                          u"Setting error", box::kOk | box::kIconError};
        EXPECT_EQ(reporter.shown, std::vector(c.refused ? 1u : 0u, range));
    }
}

TEST_P(GroupEditorTest, CancelAndTheCloseBoxStoreNothing) {
    for (const bool close_box : {false, true}) {
        const HWND editor = Open();
        Type(editor, ids().group_no, u"5");
        Type(editor, ids().item_name, u"discarded");
        if (close_box) {
            testing::CloseBox(editor);
        } else {
            Press(editor, ids().cancel);
        }
        EXPECT_FALSE(IsWindow(editor));
        EXPECT_EQ(table[0].groupNo, 0);
        EXPECT_EQ(NameOf(table[0]), u"ソースファイル");
    }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, GroupEditorTest, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param.program); });

}  // namespace
}  // namespace ko
