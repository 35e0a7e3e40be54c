#include "kestrel/app/settings_dialog_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/group_selection.h"
#include "resources/kestrel_resource.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/support/recording_reporter.h"

namespace kestrel::app {
namespace {

using ko::testing::Choose;
using ko::testing::DialogsOwnedBy;
using ko::testing::EntriesOf;
using ko::testing::Press;
using ko::testing::TextOf;
using ko::testing::Type;
using ::testing::ElementsAre;

class SettingsDialogTest : public ::testing::Test {
  protected:
    // Runs the dialog over the driver's owner with `script` acting on it; returns the dialog.
    HWND Run(const std::function<void(HWND)>& script) { return Run(std::vector{script}); }

    // The same in steps, with the dialog's message loop running between them.
    HWND Run(std::vector<ko::testing::DialogDriver::Step> steps) {
        HWND shown = nullptr;
        steps.front() = [&shown, first = steps.front()](HWND dialog) {
            shown = dialog;
            first(dialog);
        };
        const INT_PTR result = driver.RunModal(
            [&] { return RunSettingsDialog(driver.owner(), settings, restart_flag, reporter); },
            std::move(steps));
        EXPECT_EQ(result, 1);
        return shown;
    }

    // Types `text` into box `id` and confirms with OK.
    HWND ConfirmTyped(int id, std::u16string_view text) {
        return Run([&](HWND dialog) {
            Type(dialog, id, text);
            Press(dialog, IDC_SETTINGS_OK);
        });
    }

    // Presses the group selector's button and returns the editor it opened.
    static HWND OpenEditor(HWND dialog) {
        const size_t before = DialogsOwnedBy(dialog).size();
        Press(dialog, IDC_SETTINGS_EDIT_GROUPS);
        const std::vector<HWND> editors = DialogsOwnedBy(dialog);
        EXPECT_EQ(editors.size(), before + 1);
        return editors.empty() ? nullptr : editors.back();
    }

    // The settings record as it started, no message, no restart.
    void ExpectDefaultsKeptSilently() {
        EXPECT_TRUE(reporter.shown.empty());
        EXPECT_EQ(restart_flag, 0);
        EXPECT_EQ(settings.dtxlength_max, 512);
        EXPECT_EQ(settings.dtylength_max, 8192);
        EXPECT_EQ(settings.draw_font_height, 12);
        EXPECT_EQ(settings.rowPitch, 14);
        EXPECT_EQ(settings.failExt_no, 0);
        EXPECT_EQ(settings.kaimode, 0);
    }

    void ExpectRangeMessagesOwnedBy(HWND dialog, size_t count) {
        const ko::testing::ShownMessage range{dialog, u"Input value out of specified range",
                                              u"Setting error", ko::box::kOk | ko::box::kIconError};
        EXPECT_EQ(reporter.shown, std::vector(count, range));
    }

    ko::Settings settings;
    int restart_flag = 0;
    ko::testing::RecordingReporter reporter;
    ko::testing::DialogDriver driver;
};

TEST_F(SettingsDialogTest, OpensWithTheCurrentValuesAndOkWithoutChangesStoresThemSilently) {
    Run([](HWND dialog) {
        EXPECT_EQ(ko::testing::TitleOf(dialog), u"環境設定");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_COLUMNS), u"512");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_ROWS), u"8192");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_FONT_HEIGHT), u"12");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0000");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"ソースファイル");
        EXPECT_THAT(EntriesOf(dialog, IDC_SETTINGS_NEWLINE),
                    ElementsAre(u"0_CR+LF", u"1_LF", u"2_CR"));
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_NEWLINE), u"0_CR+LF");
        EXPECT_EQ(EntriesOf(dialog, IDC_SETTINGS_GROUP_NUMBER),
                  ko::GroupEntryTexts(ko::DefaultExtensionGroups()));
        Press(dialog, IDC_SETTINGS_OK);
    });
    ExpectDefaultsKeptSilently();
}

TEST_F(SettingsDialogTest, EachNumberIsReadFromItsOwnCountOfCharactersAndClamped) {
    struct Case {
        int id;
        std::u16string_view typed;
        std::int32_t ko::Settings::*field;
        std::int32_t stored;
        size_t messages;
    };
    const Case cases[] = {
        {IDC_SETTINGS_COLUMNS, u"2048", &ko::Settings::dtxlength_max, 1024, 1},
        {IDC_SETTINGS_COLUMNS, u"10000", &ko::Settings::dtxlength_max, 1000, 0},
        {IDC_SETTINGS_COLUMNS, u"abc", &ko::Settings::dtxlength_max, 64, 1},
        {IDC_SETTINGS_ROWS, u"70000", &ko::Settings::dtylength_max, 65536, 1},
        {IDC_SETTINGS_ROWS, u"123456", &ko::Settings::dtylength_max, 12345, 0},
        {IDC_SETTINGS_ROWS, u"255", &ko::Settings::dtylength_max, 256, 1},
        {IDC_SETTINGS_FONT_HEIGHT, u"100", &ko::Settings::draw_font_height, 10, 0},
        {IDC_SETTINGS_FONT_HEIGHT, u"3", &ko::Settings::draw_font_height, 6, 1},
        {IDC_SETTINGS_FONT_HEIGHT, u"0", &ko::Settings::draw_font_height, 6, 1},
        {IDC_SETTINGS_FONT_HEIGHT, u"-5", &ko::Settings::draw_font_height, 6, 1},
        {IDC_SETTINGS_FONT_HEIGHT, u"60", &ko::Settings::draw_font_height, 48, 1},
        {IDC_SETTINGS_FONT_HEIGHT, u" 9", &ko::Settings::draw_font_height, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        settings = ko::Settings{};
        reporter.shown.clear();
        const HWND dialog = ConfirmTyped(c.id, c.typed);
        ExpectRangeMessagesOwnedBy(dialog, c.messages);
        EXPECT_EQ(settings.*c.field, c.stored);
        EXPECT_EQ(restart_flag, 1);
        restart_flag = 0;
    }
}

TEST_F(SettingsDialogTest, EveryFieldOutOfRangeIsReportedOnceAndTheDialogClosesWithTheLimits) {
    const HWND dialog = Run([](HWND dialog) {
        Type(dialog, IDC_SETTINGS_COLUMNS, u"9");
        Type(dialog, IDC_SETTINGS_ROWS, u"99999");
        Type(dialog, IDC_SETTINGS_FONT_HEIGHT, u"");
        Press(dialog, IDC_SETTINGS_OK);
    });
    ExpectRangeMessagesOwnedBy(dialog, 3);
    EXPECT_EQ(settings.dtxlength_max, 64);
    EXPECT_EQ(settings.dtylength_max, 65536);
    EXPECT_EQ(settings.draw_font_height, 6);
    EXPECT_EQ(settings.rowPitch, 8);
}

TEST_F(SettingsDialogTest, FontHeightFrom12To16SetsTheRestartFlagAndTheRowPitchAtOnce) {
    ConfirmTyped(IDC_SETTINGS_FONT_HEIGHT, u"16");
    EXPECT_EQ(settings.draw_font_height, 16);
    EXPECT_EQ(settings.rowPitch, 18);
    EXPECT_EQ(restart_flag, 1);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(SettingsDialogTest, ChangingOnlyTheGroupAndTheNewlineCodeNeverAsksForARestart) {
    Run([](HWND dialog) {
        Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
        Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 2);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"すべて");
        Choose(dialog, IDC_SETTINGS_NEWLINE, 2);
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.failExt_no, 104);
    EXPECT_EQ(settings.kaimode, 2);
    EXPECT_EQ(restart_flag, 0);
}

TEST_F(SettingsDialogTest, AGroupChosenWithTheArrowKeysIsNamedAtOnce) {
    Run([](HWND dialog) {
        const HWND combo = GetDlgItem(dialog, IDC_SETTINGS_GROUP_NUMBER);
        const HWND field = GetWindow(combo, GW_CHILD);  // the combo box's edit field
        ASSERT_NE(field, nullptr);
        SendMessageW(field, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0001");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
        SendMessageW(field, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"すべて");
        SendMessageW(field, WM_KEYDOWN, VK_UP, 0);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.failExt_no, 1);
}

TEST_F(SettingsDialogTest, ATypedGroupNumberWithoutRowsEmptiesTheLabelAndIsStoredAsTyped) {
    Run([](HWND dialog) {
        Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"7");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"");
        Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"00012");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
        Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"7");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.failExt_no, 7);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(SettingsDialogTest, ASelectedGroupWithoutRowsOpensOnTheFirstEntryAndOkStoresIt) {
    settings.failExt_no = 7;
    Run([](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0000");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"ソースファイル");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.failExt_no, 0);
}

TEST_F(SettingsDialogTest, ANewlineCodeOutsideTheListOpensAnEmptyFieldAndOkStoresZero) {
    settings.kaimode = 5;
    Run([](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_NEWLINE), u"");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.kaimode, 0);

    Run([](HWND dialog) {
        Type(dialog, IDC_SETTINGS_NEWLINE, u"1");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(settings.kaimode, 1);
}

TEST_F(SettingsDialogTest, TheEnterKeyConfirmsLikeOk) {
    Run([](HWND dialog) {
        Type(dialog, IDC_SETTINGS_COLUMNS, u"2048");
        SetFocus(GetDlgItem(dialog, IDC_SETTINGS_ROWS));
        ko::testing::PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(settings.dtxlength_max, 1024);
    EXPECT_EQ(reporter.shown.size(), 1u);
}

TEST_F(SettingsDialogTest, CancelEscapeAndTheCloseBoxApplyNothing) {
    const std::function<void(HWND)> closers[] = {
        [](HWND dialog) { Press(dialog, IDC_SETTINGS_CANCEL); },
        [](HWND dialog) { ko::testing::PressKey(dialog, VK_ESCAPE); },
        [](HWND dialog) { ko::testing::CloseBox(dialog); },
    };
    for (const auto& close : closers) {
        Run([&](HWND dialog) {
            Type(dialog, IDC_SETTINGS_COLUMNS, u"2048");
            Type(dialog, IDC_SETTINGS_FONT_HEIGHT, u"16");
            Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
            Choose(dialog, IDC_SETTINGS_NEWLINE, 1);
            close(dialog);
        });
        ExpectDefaultsKeptSilently();
    }
}

TEST_F(SettingsDialogTest, CancelAfterAnEditorOkKeepsTheEditorsRow) {
    Run([](HWND dialog) {
        const HWND editor = OpenEditor(dialog);
        Press(editor, IDC_GROUP_EDITOR_NEXT);
        Type(editor, IDC_GROUP_EDITOR_ITEM_NAME, u"ヘッダ");
        Press(editor, IDC_GROUP_EDITOR_OK);
        EXPECT_FALSE(IsWindow(editor));
        Press(dialog, IDC_SETTINGS_CANCEL);
    });
    EXPECT_EQ(std::u16string(settings.groups[1].itemName), u"ヘッダ");
    EXPECT_EQ(std::u16string(settings.groups[0].itemName), u"ソースファイル");
}

TEST_F(SettingsDialogTest, TwoEditorsOpenAtOnceEachStoreTheRowTheyShow) {
    Run([](HWND dialog) {
        const HWND first = OpenEditor(dialog);
        for (int i = 0; i < 5; ++i)
            Press(first, IDC_GROUP_EDITOR_NEXT);
        const HWND second = OpenEditor(dialog);
        EXPECT_EQ(TextOf(second, IDC_GROUP_EDITOR_POSITION), u"01/32");
        Press(second, IDC_GROUP_EDITOR_NEXT);
        Press(second, IDC_GROUP_EDITOR_NEXT);
        Type(first, IDC_GROUP_EDITOR_ITEM_NAME, u"five");
        Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"two");
        Press(second, IDC_GROUP_EDITOR_OK);
        EXPECT_EQ(TextOf(first, IDC_GROUP_EDITOR_POSITION), u"06/32");
        Press(first, IDC_GROUP_EDITOR_OK);
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(std::u16string(settings.groups[2].itemName), u"two");
    EXPECT_EQ(std::u16string(settings.groups[5].itemName), u"five");
    EXPECT_EQ(std::u16string(settings.groups[0].itemName), u"ソースファイル");
}

// Posts a key to the window with the focus, as the keyboard would.
void PostKey(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0);
}

TEST_F(SettingsDialogTest, AnEditorTakesTabEnterAndEscapeInsideTheDialogsLoop) {
    HWND editor = nullptr;
    Run({[&](HWND dialog) {
             editor = OpenEditor(dialog);
             SetFocus(GetDlgItem(editor, IDC_GROUP_EDITOR_GROUP_NO));
             PostKey(VK_TAB);
         },
         [&](HWND) {
             EXPECT_EQ(GetFocus(), GetDlgItem(editor, IDC_GROUP_EDITOR_ITEM_NAME));
             Type(editor, IDC_GROUP_EDITOR_ITEM_NAME, u"by keyboard");
             PostKey(VK_RETURN);
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(editor));
             editor = OpenEditor(dialog);
             Type(editor, IDC_GROUP_EDITOR_ITEM_NAME, u"escaped");
             SetFocus(GetDlgItem(editor, IDC_GROUP_EDITOR_ITEM_NAME));
             PostKey(VK_ESCAPE);
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(editor));
             Press(dialog, IDC_SETTINGS_CANCEL);
         }});
    EXPECT_EQ(std::u16string(settings.groups[0].itemName), u"by keyboard");
}

TEST_F(SettingsDialogTest, OpenEditorsCloseWithTheDialogAndStoreNothing) {
    HWND editor = nullptr;
    Run([&](HWND dialog) {
        editor = OpenEditor(dialog);
        EXPECT_TRUE(IsWindowVisible(editor));
        Type(editor, IDC_GROUP_EDITOR_ITEM_NAME, u"lost");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(std::u16string(settings.groups[0].itemName), u"ソースファイル");
}

TEST_F(SettingsDialogTest, AGroupNumberChangedInTheEditorIsListedWhenTheDialogOpensAgain) {
    Run([](HWND dialog) {
        const HWND editor = OpenEditor(dialog);
        for (int i = 0; i < 4; ++i)
            Press(editor, IDC_GROUP_EDITOR_NEXT);
        Type(editor, IDC_GROUP_EDITOR_GROUP_NO, u"250");
        Press(editor, IDC_GROUP_EDITOR_OK);
        EXPECT_EQ(EntriesOf(dialog, IDC_SETTINGS_GROUP_NUMBER)[2], u"0104");
        Press(dialog, IDC_SETTINGS_CANCEL);
    });
    EXPECT_EQ(settings.groups[4].groupNo, 250);
    Run([](HWND dialog) {
        const std::vector<std::u16string> groups = EntriesOf(dialog, IDC_SETTINGS_GROUP_NUMBER);
        ASSERT_EQ(groups.size(), 30u);
        EXPECT_EQ(groups[2], u"0250");
        EXPECT_EQ(std::count(groups.begin(), groups.end(), u"0104"), 0);
        Press(dialog, IDC_SETTINGS_CANCEL);
    });
}

}  // namespace
}  // namespace kestrel::app
