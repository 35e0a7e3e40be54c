// The main window driven by messages: creation and furniture, the start-up timer, commands,
// scrolling, dialogs and failures.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/text.h"
#include "common/win32_text.h"
#include "kestrel/app/about_dialog_win32.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "resources/kestrel_resource.h"
#include "tests/kestrel_app/window_fixture.h"

namespace kestrel::app::testing {
namespace {

using ::testing::ElementsAre;

constexpr char kAbc[] = "a\r\nb\r\nc\r\n";
constexpr char kAxbc[] = "a\r\nx\r\nb\r\nc\r\n";

std::u16string WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ko::ToU16(text);
}

std::u16string ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ko::ToU16(name);
}

RECT ChildRect(HWND parent, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(parent, id), &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::u16string> MenuTexts(HMENU menu) {
    std::vector<std::u16string> texts;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        texts.push_back(ko::ToU16(text));
    }
    return texts;
}

using MainWindow = KestrelWindowTest;

TEST_F(MainWindow, IsCreatedWithItsClassTitleMenuAndControlsAcrossTheScreen) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(ClassName(window_), u"Main Window");
    EXPECT_EQ(WindowText(window_), u"Kestrel Ver1.00");
    EXPECT_EQ(GetClassLongPtrW(window_, GCL_STYLE), 0x1003);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    RECT frame = {};
    GetWindowRect(window_, &frame);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, sw);
    EXPECT_EQ(frame.bottom, sh - 30);

    const int half = sw / 2;
    const struct {
        int id;
        const char16_t* window_class;
        const char16_t* text;
        RECT rect;
    } controls[] = {
        {IDC_SELECT_A, u"Button", u"選", {0, 0, 30, 22}},
        {IDC_PATH_A, u"Edit", u"", {30, 0, half, 22}},
        {IDC_SELECT_B, u"Button", u"選", {half, 0, half + 30, 22}},
        {IDC_PATH_B, u"Edit", u"", {half + 30, 0, 2 * half, 22}},
    };
    for (const auto& c : controls) {
        HWND control = GetDlgItem(window_, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(ClassName(control), c.window_class) << c.id;
        EXPECT_EQ(WindowText(control), c.text) << c.id;
        const RECT rect = ChildRect(window_, c.id);
        EXPECT_EQ(rect.left, c.rect.left) << c.id;
        EXPECT_EQ(rect.right, c.rect.right) << c.id;
        EXPECT_EQ(rect.bottom - rect.top, 22) << c.id;
    }
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(window_, IDC_SELECT_A), GWL_STYLE) & 0x0F,
              BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(window_, IDC_PATH_B), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(ClassName(GetDlgItem(window_, IDC_STATUS_BAR)), u"msctls_statusbar32");

    HMENU menu = GetMenu(window_);
    ASSERT_NE(menu, nullptr);
    EXPECT_THAT(MenuTexts(menu),
                ElementsAre(u"ファイル(&F)", u"比較(&S)", u"復元(&F)", u"その他(&H)", u"終了(&X)"));
    EXPECT_EQ(MenuTexts(GetSubMenu(menu, 0))[0], u"ファイルＡを開く(&F)");
    EXPECT_THAT(MenuTexts(GetSubMenu(menu, 3)),
                ElementsAre(u"環境設定(&K)", u"ドキュメント(&D)", u"このソフトについて(&S)"));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_COMPARE));
    EXPECT_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(IDM_EXIT));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 1), static_cast<UINT>(IDM_OPEN_FILE_B));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 3), 2), static_cast<UINT>(IDM_ABOUT));
    EXPECT_TRUE(reporter_.shown.empty());
}

TEST(KestrelResources, TheIconHas16And48PixelImagesOf16Colours) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_KESTREL), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    // The group's directory: reserved, type, count, then 14-byte entries of width, height,
    // colour count, ...
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_EQ(directory[4], 2);
    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        const BYTE* entry = directory + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]);
        EXPECT_EQ(entry[2], 16);
        sizes.push_back(entry[0]);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_THAT(sizes, ElementsAre(16, 48));
}

TEST_F(MainWindow, StatusBarStartsWithTheDefaultsOnWhite) {
    ASSERT_NE(Create(), nullptr);
    const int step = App().view.geometry.scrollStep;
    EXPECT_GT(step, 0);
    EXPECT_EQ(StatusText(0), u"照合前");
    EXPECT_EQ(StatusText(1), u"MemorySize_W=512");
    EXPECT_EQ(StatusText(2), u"MemorySize_H=8192");
    EXPECT_EQ(StatusText(3), u"表示フォントの高さ=12");
    EXPECT_EQ(StatusText(4), u"行数=0/8192");
    EXPECT_EQ(StatusText(5), u"スクロール数=" + ko::AsciiToUtf16(std::to_string(step)));
    EXPECT_EQ(StatusColour(), RGB(255, 255, 255));
    HWND bar = GetDlgItem(window_, IDC_STATUS_BAR);
    int edges[6] = {};
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 6, reinterpret_cast<LPARAM>(edges)), 6);
    EXPECT_THAT(edges, ElementsAre(70, 200, 330, 470, 590, 730));
}

TEST_F(MainWindow, TheStartUpTimerLoadsAndComparesBothCommandLineFiles) {
    const std::u16string a = WriteFile("a.txt", kAbc), b = WriteFile("b.txt", kAxbc);
    std::copy(a.begin(), a.end(), App().commandLine.a);
    std::copy(b.begin(), b.end(), App().commandLine.b);
    ASSERT_NE(Create(), nullptr);
    FireStartupTimer();
    EXPECT_EQ(PathBox(0), a);
    EXPECT_EQ(PathBox(1), b);
    ASSERT_EQ(reporter_.shown.size(), 1u);
    EXPECT_EQ(reporter_.shown[0].text, u"不一致です");
    EXPECT_EQ(reporter_.shown[0].caption, u"比較完了");
    EXPECT_EQ(StatusText(0), u"照合不一致");
    EXPECT_EQ(StatusColour(), RGB(255, 0, 0));
    // The bar draws itself in that colour too.
    const Picture bar = RenderStatusBar();
    EXPECT_GT(bar.Count(0, 0, bar.width, bar.height, RGB(255, 0, 0)), bar.width);
}

TEST_F(MainWindow, TheStartUpTimerWithOnlyPathALoadsItWithoutComparing) {
    const std::u16string a = WriteFile("a.txt", kAbc);
    std::copy(a.begin(), a.end(), App().commandLine.a);
    ASSERT_NE(Create(), nullptr);
    SendMessageW(window_, WM_TIMER, 2, 0);  // another timer changes nothing
    EXPECT_EQ(PathBox(0), u"");
    FireStartupTimer();
    EXPECT_EQ(PathBox(0), a);
    EXPECT_EQ(PathBox(1), u"");
    EXPECT_TRUE(reporter_.shown.empty());
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_EQ(StatusText(0), u"照合前");
}

TEST_F(MainWindow, TheStartUpTimerFiresByItselfAfterCreation) {
    const std::u16string a = WriteFile("a.txt", kAbc);
    std::copy(a.begin(), a.end(), App().commandLine.a);
    window_ = CreateMainWindow(GetModuleHandleW(nullptr));  // timer left running
    ASSERT_NE(window_, nullptr);
    const DWORD start = GetTickCount();
    MSG message;
    while (PathBox(0).empty() && GetTickCount() - start < 3000) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
    EXPECT_EQ(PathBox(0), a);
}

TEST_F(MainWindow, CompareAndRestoreSayWhenThereIsNothingToDo) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_RESTORE);
    EXPECT_THAT(Texts(), ElementsAre(u"既に復元済みです"));
    EXPECT_EQ(reporter_.shown[0].caption, u"復元");
    EXPECT_EQ(reporter_.shown[0].owner, window_);

    LoadBoth(WriteFile("a.txt", kAbc), WriteFile("b.txt", kAbc));
    EXPECT_EQ(reporter_.shown.back().text, u"一致しました");
    EXPECT_EQ(StatusText(0), u"照合一致");
    EXPECT_EQ(StatusColour(), RGB(0, 255, 0));
    Command(IDM_COMPARE);
    EXPECT_EQ(reporter_.shown.back().text, u"既に比較済みです");
    EXPECT_EQ(reporter_.shown.back().caption, u"比較");
    EXPECT_EQ(StatusText(0), u"照合一致");

    Command(IDM_RESTORE);
    EXPECT_EQ(StatusText(0), u"照合前");
    EXPECT_EQ(StatusColour(), RGB(255, 255, 255));
    EXPECT_EQ(reporter_.shown.size(), 3u);
}

TEST_F(MainWindow, CompareWithAnEmptyPathBoxAsksForAFileName) {
    ASSERT_NE(Create(), nullptr);
    SetPathBox(0, WriteFile("a.txt", kAbc));
    Command(IDM_COMPARE);
    EXPECT_THAT(Texts(), ElementsAre(u"Please set the file name"));
    EXPECT_EQ(reporter_.shown[0].style, ko::box::kIconWarning);
    EXPECT_EQ(StatusText(0), u"照合前");
}

TEST_F(MainWindow, OpenFileCommandsPutTheChosenFileIntoItsBoxAndLoadIt) {
    ASSERT_NE(Create(), nullptr);
    const std::u16string a = WriteFile("a.txt", kAbc), b = WriteFile("b.txt", kAxbc);
    dialog_.Choose(a);
    Command(IDC_SELECT_A);
    EXPECT_EQ(std::u16string(dialog_.asked.title), u"ファイルＡの選択");
    EXPECT_EQ(dialog_.asked.owner, window_);
    EXPECT_EQ(std::u16string(dialog_.asked.file), Folder() + u"\\*.cpp");
    EXPECT_EQ(PathBox(0), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_EQ(std::u16string(App().settings.fileA_folder_select), Folder() + u"\\");
    EXPECT_EQ(GetFocus(), window_);

    dialog_.Choose(b);
    Command(IDM_OPEN_FILE_B);
    EXPECT_EQ(std::u16string(dialog_.asked.title), u"ファイルＢの選択");
    EXPECT_EQ(PathBox(1), b);
    EXPECT_EQ(App().engine.sides[1].lineCount, 5);
    EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(MainWindow, ACancelledFileDialogReloadsWhatTheBoxHolds) {
    ASSERT_NE(Create(), nullptr);
    dialog_.confirm = false;
    Command(IDM_OPEN_FILE_A);
    EXPECT_THAT(Texts(), ElementsAre(u"Please set the file name"));

    SetPathBox(1, Folder() + u"\\missing.txt");
    Command(IDC_SELECT_B);
    ASSERT_EQ(reporter_.shown.size(), 2u);
    EXPECT_EQ(reporter_.shown[1].caption, u"FileOpenError");
    EXPECT_EQ(reporter_.shown[1].text,
              u"Can't open " + Folder() + u"\\missing.txt file\r\nErrCode=2");
}

TEST_F(MainWindow, TheManualCommandSaysWhenThereIsNoManual) {
    ASSERT_NE(Create(), nullptr);
    Command(IDM_MANUAL);
    EXPECT_THAT(Texts(), ElementsAre(u"Kestrel_manual.pdfが見つかりません。"));
    EXPECT_EQ(reporter_.shown[0].caption, u"残念！");
    EXPECT_EQ(reporter_.shown[0].owner, window_);
}

TEST_F(MainWindow, ExitDestroysTheWindowAndWritesTheSettings) {
    ASSERT_NE(Create(), nullptr);
    dialog_.Choose(WriteFile("sub_a.txt", kAbc));
    Command(IDM_OPEN_FILE_A);
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window_));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    const std::filesystem::path ini = dir_.path() / "kestrel.ini";
    ASSERT_TRUE(std::filesystem::exists(ini));
    std::ifstream file(ini, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    // The profile functions keep the file in UTF-16.
    const std::string raw = bytes.str();
    std::u16string content;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
        content += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                         static_cast<unsigned char>(raw[i + 1]) << 8);
    EXPECT_EQ(std::count(content.begin(), content.end(), u'='), 135);
    EXPECT_NE(content.find(u"fileA_folder_select=" + Folder() + u"\\\r\n"), std::u16string::npos);
    EXPECT_NE(content.find(u"dtylength_max=8192"), std::u16string::npos);
    EXPECT_NE(content.find(u"failExt_no=0"), std::u16string::npos);
}

TEST_F(MainWindow, PagesArrowsAndTheWheelMoveTheTopRowWithinTheText) {
    ASSERT_NE(Create(), nullptr);
    const int step = App().view.geometry.scrollStep;
    const int last = 8192 - App().view.geometry.visibleRows;
    auto top = [] { return App().view.topRow; };

    Key(VK_PRIOR);
    Wheel(120);  // turned away from the user at the top
    EXPECT_EQ(top(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(top(), step);
    EXPECT_EQ(StatusText(4), ko::Format(u"行数=%d/8192", {step}));
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_UP);
    EXPECT_EQ(top(), step + 1);
    Wheel(-1);  // any distance toward the user is one step
    EXPECT_EQ(top(), 2 * step + 1);
    Wheel(0);
    EXPECT_EQ(top(), 2 * step + 1);
    Key(VK_LEFT);
    Key('A');
    EXPECT_EQ(top(), 2 * step + 1);
    for (int i = 0; i < 8192 / step + 2; ++i)
        Key(VK_NEXT);
    EXPECT_EQ(top(), last);
    Key(VK_DOWN);
    EXPECT_EQ(top(), last);
    EXPECT_EQ(StatusText(4), ko::Format(u"行数=%d/8192", {last}));
    Wheel(-240 * 5);
    EXPECT_EQ(top(), last);
}

TEST_F(MainWindow, UnknownCommandsChangeNothing) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(Command(999), 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(MainWindow, TheAboutDialogNamesTheProgramAndClosesOnlyByItsButton) {
    ASSERT_NE(Create(), nullptr);
    std::u16string name_line, title;
    bool survived_keys = false;
    int tick = 0;
    DriveModalLoop([&] {
        HWND dialog = FindDialog(L"このソフトについて");
        if (dialog == nullptr) return false;
        switch (++tick) {
            case 1:
                title = WindowText(dialog);
                name_line = WindowText(GetDlgItem(dialog, IDC_ABOUT_FILE_NAME));
                PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
                PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
                return false;
            case 2:
                survived_keys = IsWindow(dialog);
                PostMessageW(dialog, WM_COMMAND, IDC_ABOUT_CLOSE, 0);
                return true;
        }
        return true;
    });
    EXPECT_EQ(RunAboutDialog(window_), 1);
    EXPECT_EQ(title, u"このソフトについて");
    EXPECT_EQ(name_line, u"ファイル名：Kestrel Ver1.00");
    EXPECT_TRUE(survived_keys);

    DriveModalLoop([&] {
        HWND dialog = FindDialog(L"このソフトについて");
        if (dialog == nullptr) return false;
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(RunAboutDialog(window_), 0);
}

TEST_F(MainWindow, ANewFontHeightInTheSettingsAsksForARestart) {
    ASSERT_NE(Create(), nullptr);
    auto confirm_font_height = [&](const wchar_t* height) {
        DriveModalLoop([=] {
            HWND dialog = FindDialog(L"環境設定");
            if (dialog == nullptr) return false;
            SetDlgItemTextW(dialog, IDC_SETTINGS_FONT_HEIGHT, height);
            PostMessageW(dialog, WM_COMMAND, IDC_SETTINGS_OK, 0);
            return true;
        });
        Command(IDM_SETTINGS);
    };

    confirm_font_height(L"12");  // unchanged: nothing is asked
    EXPECT_TRUE(reporter_.shown.empty());

    reporter_.answers.push_back(ko::box::kAnswerNo);
    confirm_font_height(L"16");
    ASSERT_THAT(Texts(), ElementsAre(u"アプリを再起動をお願いします"));
    EXPECT_EQ(reporter_.shown[0].caption, u"環境設定の変更");
    EXPECT_EQ(reporter_.shown[0].style, ko::box::kYesNo);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(App().settings.rowPitch, 18);
    EXPECT_EQ(App().restartFlag, 0);

    reporter_.answers.push_back(ko::box::kAnswerYes);
    confirm_font_height(L"20");
    EXPECT_EQ(reporter_.shown.size(), 2u);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MainWindow, GridsTooLargeToAllocateEndTheWindowWithTheirMessage) {
    WriteSettings("dtxlength_max=65536\r\ndtylength_max=65536\r\n");
    EXPECT_EQ(Create(), nullptr);
    EXPECT_THAT(Texts(),
                ElementsAre(u"Failed to allocate the specified number of bytes from the heap."));
    EXPECT_EQ(reporter_.shown[0].caption, u"Failure");
    EXPECT_EQ(reporter_.shown[0].style, ko::box::kIconError);
    // The window was destroyed during its creation and still wrote the settings.
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "kestrel.ini"));
}

TEST_F(MainWindow, ABackBufferTooWideToMakeEndsTheWindowWithItsMessage) {
    WriteSettings("dtxlength_max=50000000\r\ndtylength_max=1\r\ndraw_font_height=48\r\n");
    EXPECT_EQ(Create(), nullptr);
    EXPECT_THAT(Texts(),
                ElementsAre(u"A bitmap could not be created in the specified device context."));
    EXPECT_EQ(reporter_.shown[0].caption, u"Failure");
}

}  // namespace
}  // namespace kestrel::app::testing
