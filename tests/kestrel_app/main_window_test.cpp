// The main window driven by messages: creation, the start-up timer, commands, scrolling,
// restarts and failures.
#include <gmock/gmock.h>

#include "common/text.h"
#include "tests/kestrel_app/kestrel_window.h"

namespace kestrel::app::testing {
namespace {

using ::testing::ElementsAre;
using Shown = ko::testing::ShownMessage;

TEST_F(KestrelWindow, SpansTheScreenAndStartsBeforeComparison) {
    ASSERT_NE(Create(), nullptr);
    RECT frame = {};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYSCREEN) - 30);
    const int step = App().view.geometry.scrollStep;
    EXPECT_GT(step, 0);
    EXPECT_THAT(Status(), ElementsAre(u"照合前", u"MemorySize_W=512", u"MemorySize_H=8192",
                                      u"表示フォントの高さ=12", u"行数=0/8192",
                                      ko::Format(u"スクロール数=%d", {step})));
    EXPECT_EQ(StatusColour(), RGB(255, 255, 255));
    EXPECT_TRUE(reporter.shown.empty());
}

// The timer loads each named file and compares when both are named; a side that did not fit the
// five columns gets a warning box before the outcome, which stays as it is.
TEST_F(KestrelWindow, TheStartUpTimerLoadsTheNamedFilesWarnsOfCutsAndCompares) {
    WriteSettings("dtxlength_max=5\r\n");
    const std::u16string a = Write("a.txt", "aXcdefg"), b = Write("b.txt", "aYcdefg");
    std::copy(a.begin(), a.end(), App().commandLine.a);
    ASSERT_NE(Create(), nullptr);
    SendMessageW(window, WM_TIMER, IDT_STARTUP + 1, 0);  // another timer changes nothing
    EXPECT_EQ(Item(IDC_PATH_A), u"");
    SendMessageW(window, WM_TIMER, IDT_STARTUP, 0);
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 1);
    const HWND first = window;
    Destroy();

    std::copy(b.begin(), b.end(), App().commandLine.b);
    window = CreateMainWindow(GetModuleHandleW(nullptr));  // the timer left running
    for (int i = 0; i < 300 && reporter.shown.size() < 4; ++i, Sleep(10))
        ko::testing::PumpMessages();
    auto warning = [&](const std::u16string& path, HWND owner) {
        return Shown{owner,
                     path +
                         u"\r\nは一部しか読み込めませんでした。行数 8192・桁数 5 を超えた部分と "
                         u"NUL より後ろは比較されません。",
                     u"読込注意", ko::box::kIconWarning};
    };
    EXPECT_THAT(reporter.shown,
                ElementsAre(warning(a, first), warning(a, window), warning(b, window),
                            Shown{nullptr, u"不一致です", u"比較完了", ko::box::kOk}));
    EXPECT_EQ(Item(IDC_PATH_B), b);
    EXPECT_EQ(Status()[0], u"照合不一致");
    EXPECT_EQ(StatusColour(), RGB(255, 0, 0));
    // The bar draws itself in that colour too (it paints only while it is visible).
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const Picture bar = ko::testing::Capture(GetDlgItem(window, IDC_STATUS_BAR), WM_PAINT);
    EXPECT_GT(bar.Count(0, 0, bar.width, bar.height, RGB(255, 0, 0)), bar.width);
}

TEST_F(KestrelWindow, CommandsLoadCompareRestoreAndExitSayingWhenThereIsNothingToDo) {
    ASSERT_NE(Create(), nullptr);
    const std::u16string a = Write("a.txt", "a\r\nb\r\nc\r\n");
    dialog.Choose(a);
    Command(IDC_SELECT_A);  // the chosen file goes into its box and is loaded
    EXPECT_EQ(dialog.asked.owner, window);
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_EQ(GetFocus(), window);
    dialog.confirm = false;  // a cancelled dialog loads what the box holds
    Command(IDM_OPEN_FILE_B);
    SetItem(IDC_PATH_B, Folder() + u"\\missing.txt");
    Command(IDC_SELECT_B);
    Command(IDM_RESTORE);
    SetItem(IDC_PATH_B, a);
    Command(IDM_OPEN_FILE_B);
    Command(IDM_COMPARE);
    EXPECT_EQ(Status()[0], u"照合一致");
    EXPECT_EQ(StatusColour(), RGB(0, 255, 0));
    Command(IDM_COMPARE);
    Command(IDM_RESTORE);
    EXPECT_EQ(Status()[0], u"照合前");
    EXPECT_THAT(
        reporter.shown,
        ElementsAre(Shown{window, u"Please set the file name", u"Failure", 0x30},
                    Shown{window, u"Can't open " + Folder() + u"\\missing.txt file\r\nErrCode=2",
                          u"FileOpenError", 0x30},
                    Shown{window, u"既に復元済みです", u"復元", ko::box::kOk},
                    Shown{nullptr, u"一致しました", u"比較完了", ko::box::kOk},
                    Shown{window, u"既に比較済みです", u"比較", ko::box::kOk}));
    SendMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    const std::u16string settings = SettingsText("kestrel.ini");
    EXPECT_EQ(std::count(settings.begin(), settings.end(), u'='), 135);
    EXPECT_NE(settings.find(u"fileA_folder_select=" + Folder() + u"\\\r\n"), std::u16string::npos);
}

TEST_F(KestrelWindow, PagesArrowsAndTheWheelMoveTheTopRowWithinTheText) {
    ASSERT_NE(Create(), nullptr);
    const int step = App().view.geometry.scrollStep;
    auto key = [&](WPARAM k) { SendMessageW(window, WM_KEYDOWN, k, 0); };
    auto wheel = [&](int distance) {
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)), 0);
    };
    const int& top = App().view.topRow;
    key(VK_PRIOR);
    wheel(120);  // turned away from the user at the top
    EXPECT_EQ(top, 0);
    key(VK_NEXT);
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_UP);
    EXPECT_EQ(top, step + 1);
    wheel(-1);  // any distance toward the user is one step
    wheel(0);
    key(VK_LEFT);
    EXPECT_EQ(Status()[4], ko::Format(u"行数=%d/8192", {2 * step + 1}));
    for (int i = 0; i < 8192 / step + 2; ++i)
        key(VK_NEXT);
    key(VK_DOWN);
    wheel(-1200);
    EXPECT_EQ(top, 8192 - App().view.geometry.visibleRows);
}

TEST_F(KestrelWindow, ANewFontHeightAsksForARestartAndYesClosesTheWindow) {
    ASSERT_NE(Create(), nullptr);
    auto confirm_font_height = [&](std::u16string_view height) {
        ko::testing::WithDialog(window, [&] { return Command(IDM_SETTINGS); }, {[&](HWND settings) {
                                    ko::testing::Type(settings, IDC_SETTINGS_FONT_HEIGHT, height);
                                    ko::testing::Press(settings, IDC_SETTINGS_OK);
                                }});
    };
    confirm_font_height(u"12");  // unchanged: nothing is asked
    EXPECT_TRUE(reporter.shown.empty());
    reporter.answers = {ko::box::kAnswerNo, ko::box::kAnswerYes};
    confirm_font_height(u"16");
    EXPECT_EQ(reporter.shown.at(0),
              (Shown{window, u"アプリを再起動をお願いします", u"環境設定の変更", ko::box::kYesNo}));
    EXPECT_EQ(App().settings.rowPitch, 18);
    confirm_font_height(u"20");
    EXPECT_EQ(reporter.shown.size(), 2u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(KestrelWindow, WhatCannotBeMadeEndsTheWindowWithItsMessage) {
    for (const auto& [settings, message] :
         {std::pair{"dtxlength_max=65536\r\ndtylength_max=65536\r\n",
                    u"Failed to allocate the specified number of bytes from the heap."},
          std::pair{"dtxlength_max=50000000\r\ndtylength_max=1\r\ndraw_font_height=48\r\n",
                    u"A bitmap could not be created in the specified device context."}}) {
        WriteSettings(settings);
        reporter.shown.clear();
        EXPECT_EQ(Create(), nullptr);
        EXPECT_EQ(reporter.Texts(), std::vector<std::u16string>{message});
        EXPECT_EQ(reporter.shown.at(0).caption, u"Failure");
    }
}

}  // namespace
}  // namespace kestrel::app::testing
