// The main window driven by messages: creation, the start-up timer, commands, scrolling,
// restarts and failures.
#include <gmock/gmock.h>

#include "common/text.h"
#include "tests/kestrel_app/kestrel_window.h"

namespace kestrel::app::testing {
namespace {

using ::testing::ElementsAre;

constexpr char kAbc[] = "a\r\nb\r\nc\r\n";
constexpr char kAxbc[] = "a\r\nx\r\nb\r\nc\r\n";

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

TEST_F(KestrelWindow, TheStartUpTimerLoadsTheCommandLineFilesAndComparesWhenBothAreNamed) {
    const std::u16string a = Write("a.txt", kAbc), b = Write("b.txt", kAxbc);
    std::copy(a.begin(), a.end(), App().commandLine.a);
    ASSERT_NE(Create(), nullptr);
    SendMessageW(window, WM_TIMER, IDT_STARTUP + 1, 0);  // another timer changes nothing
    EXPECT_EQ(Item(IDC_PATH_A), u"");
    SendMessageW(window, WM_TIMER, IDT_STARTUP, 0);
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_TRUE(reporter.shown.empty());  // one path only: nothing is compared
    Destroy();

    std::copy(b.begin(), b.end(), App().commandLine.b);
    window = CreateMainWindow(GetModuleHandleW(nullptr));  // the timer left running
    for (int i = 0; i < 300 && reporter.shown.empty(); ++i, Sleep(10))
        ko::testing::PumpMessages();
    EXPECT_EQ(Item(IDC_PATH_B), b);
    EXPECT_THAT(reporter.Texts(), ElementsAre(u"不一致です"));
    EXPECT_EQ(Status()[0], u"照合不一致");
    EXPECT_EQ(StatusColour(), RGB(255, 0, 0));
    // The bar draws itself in that colour too (it paints only while it is visible).
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const Picture bar = ko::testing::Capture(GetDlgItem(window, IDC_STATUS_BAR), WM_PAINT);
    EXPECT_GT(bar.Count(0, 0, bar.width, bar.height, RGB(255, 0, 0)), bar.width);
}

TEST_F(KestrelWindow, EachSideThatDidNotFitGetsAWarningBeforeTheUnchangedOutcome) {
    WriteSettings("dtxlength_max=5\r\n");
    const std::u16string a = Write("a.txt", "abcdefX"), b = Write("b.txt", "abcdefY");
    std::copy(a.begin(), a.end(), App().commandLine.a);
    std::copy(b.begin(), b.end(), App().commandLine.b);
    ASSERT_NE(Create(), nullptr);
    SendMessageW(window, WM_TIMER, IDT_STARTUP, 0);
    auto warning = [&](const std::u16string& path) {
        return ko::testing::ShownMessage{
            window,
            path +
                u"\r\nは一部しか読み込めませんでした。行数 8192・桁数 5 を超えた部分と NUL "
                u"より後ろは比較されません。",
            u"読込注意", ko::box::kIconWarning};
    };
    ASSERT_EQ(reporter.shown.size(), 3u);
    EXPECT_EQ(reporter.shown[0], warning(a));
    EXPECT_EQ(reporter.shown[1], warning(b));
    EXPECT_EQ(reporter.shown[2].text, u"一致しました");
}

TEST_F(KestrelWindow, CompareAndRestoreSayWhenThereIsNothingToDo) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_RESTORE);
    LoadBoth(Write("a.txt", kAbc), Write("b.txt", kAbc));
    EXPECT_EQ(Status()[0], u"照合一致");
    EXPECT_EQ(StatusColour(), RGB(0, 255, 0));
    Command(IDM_COMPARE);
    EXPECT_EQ(Status()[0], u"照合一致");
    Command(IDM_RESTORE);
    EXPECT_EQ(Status()[0], u"照合前");
    EXPECT_EQ(StatusColour(), RGB(255, 255, 255));
    const ko::testing::ShownMessage restored{window, u"既に復元済みです", u"復元", ko::box::kOk},
        done{nullptr, u"一致しました", u"比較完了", ko::box::kOk},
        compared{window, u"既に比較済みです", u"比較", ko::box::kOk};
    EXPECT_THAT(reporter.shown, ElementsAre(restored, done, compared));
}

TEST_F(KestrelWindow, FileCommandsLoadTheChosenFileOrElseWhatTheBoxHolds) {
    ASSERT_NE(Create(), nullptr);
    const std::u16string a = Write("a.txt", kAbc);
    dialog.Choose(a);
    Command(IDC_SELECT_A);
    EXPECT_EQ(dialog.asked.owner, window);
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_EQ(std::u16string(App().settings.fileA_folder_select), Folder() + u"\\");
    EXPECT_EQ(GetFocus(), window);
    EXPECT_TRUE(reporter.shown.empty());

    dialog.confirm = false;
    Command(IDM_OPEN_FILE_B);  // an empty box
    SetItem(IDC_PATH_B, Folder() + u"\\missing.txt");
    Command(IDC_SELECT_B);
    SetItem(IDC_PATH_B, u"");
    Command(IDM_COMPARE);
    EXPECT_THAT(reporter.Texts(),
                ElementsAre(u"Please set the file name",
                            u"Can't open " + Folder() + u"\\missing.txt file\r\nErrCode=2",
                            u"Please set the file name"));
    EXPECT_EQ(reporter.shown[1].caption, u"FileOpenError");
    EXPECT_EQ(Status()[0], u"照合前");
}

TEST_F(KestrelWindow, ExitWritesTheSettingsAndEndsTheMessageLoop) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_MANUAL);
    EXPECT_EQ(reporter.shown.at(0),
              (ko::testing::ShownMessage{window, u"Kestrel_manual.pdfが見つかりません。", u"残念！",
                                         ko::box::kOk}));
    SendMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    const std::u16string settings = SettingsText("kestrel.ini");
    EXPECT_EQ(std::count(settings.begin(), settings.end(), u'='), 135);
    EXPECT_NE(settings.find(u"fileA_folder_select=" + Folder() + u"\\\r\n"), std::u16string::npos);
}

TEST_F(KestrelWindow, PagesArrowsAndTheWheelMoveTheTopRowWithinTheText) {
    ASSERT_NE(Create(), nullptr);
    const int step = App().view.geometry.scrollStep;
    const int last = 8192 - App().view.geometry.visibleRows;
    auto key = [&](WPARAM k) { SendMessageW(window, WM_KEYDOWN, k, 0); };
    auto wheel = [&](int distance) {
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)), 0);
    };
    const auto& top = App().view.topRow;
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
    EXPECT_EQ(top, 2 * step + 1);
    EXPECT_EQ(Status()[4], ko::Format(u"行数=%d/8192", {2 * step + 1}));
    for (int i = 0; i < 8192 / step + 2; ++i)
        key(VK_NEXT);
    key(VK_DOWN);
    wheel(-1200);
    EXPECT_EQ(top, last);
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
              (ko::testing::ShownMessage{window, u"アプリを再起動をお願いします", u"環境設定の変更",
                                         ko::box::kYesNo}));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(App().settings.rowPitch, 18);
    confirm_font_height(u"20");
    EXPECT_EQ(reporter.shown.size(), 2u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(KestrelWindow, WhatCannotBeMadeEndsTheWindowWithItsMessage) {
    const std::pair<const char*, const char16_t*> cases[] = {
        {"dtxlength_max=65536\r\ndtylength_max=65536\r\n",
         u"Failed to allocate the specified number of bytes from the heap."},
        {"dtxlength_max=50000000\r\ndtylength_max=1\r\ndraw_font_height=48\r\n",
         u"A bitmap could not be created in the specified device context."},
    };
    for (const auto& [settings, message] : cases) {
        WriteSettings(settings);
        reporter.shown.clear();
        EXPECT_EQ(Create(), nullptr);
        ASSERT_EQ(reporter.shown.size(), 1u);
        EXPECT_EQ(reporter.shown[0].text, message);
        EXPECT_EQ(reporter.shown[0].caption, u"Failure");
    }
}

}  // namespace
}  // namespace kestrel::app::testing
