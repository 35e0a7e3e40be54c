// Kestrel's main window, its view and its dialogs made inside the test process with the
// program's own resources, the message boxes recorded and the open-file dialog scripted.
#include <gmock/gmock.h>

#include <filesystem>

#include "common/text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "kestrel/app/open_file_dialog_win32.h"
#include "kestrel/messages.h"
#include "resources/kestrel_resource.h"
#include "tests/kestrel/scripted_file_dialog.h"
#include "tests/support/win32_driver.h"

namespace kestrel::app::testing {
namespace {

using namespace ko::testing;
using ::testing::ElementsAre;
using Shown = ShownMessage;

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 100, 100), kGreen = RGB(128, 255, 128);
constexpr int kRowBand = 9;  // pixel rows of a view row that its background fills at any font

// A picture of a client area, one COLORREF per pixel.
struct Picture {
    int width, height;
    std::vector<std::uint32_t> pixels;

    int Count(int x, int y, int w, int h, std::uint32_t colour) const {
        int n = 0;
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column)
                n += At(column, row) == colour;
        return n;
    }
    bool All(int x, int y, int w, int h, std::uint32_t colour) const {
        return Count(x, y, w, h, colour) == w * h;
    }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What `window` draws into a bitmap of its client area when sent `message` with the bitmap's
// device context: WM_PRINTCLIENT, or WM_PAINT for a control that paints into a given one.
Picture Capture(HWND window, UINT message = WM_PRINTCLIENT) {
    RECT client = {};
    GetClientRect(window, &client);
    Picture picture{client.right, client.bottom, {}};
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, picture.width, picture.height, BLACKNESS);
    SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return picture;
}

std::string Lines(int count, const char* prefix) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text.append(prefix).append(std::to_string(1000 + i)).append("\r\n");
    return text;
}

class KestrelWindow : public ProgramWindowTest {
  protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        App().commandLine = CommandLinePaths{};
        App().services = Services{&reporter, &dialog};
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    }
    // Creates the main window as the program does, over kestrel.ini's `settings` lines if any;
    // its start-up timer is stopped unless `timer`, so that a test fires it.
    HWND Create(std::string_view settings = "", bool timer = false) {
        if (!settings.empty()) Write("kestrel.ini", "[Setting]\r\n" + std::string(settings));
        window = CreateMainWindow(GetModuleHandleW(nullptr));
        if (window != nullptr && !timer) KillTimer(window, IDT_STARTUP);
        return window;
    }
    // Types both paths into their boxes, loads each side and chooses 比較.
    void LoadBoth(std::u16string_view a, std::u16string_view b) {
        SetItem(IDC_PATH_A, a);
        SetItem(IDC_PATH_B, b);
        dialog.confirm = false;  // a cancelled dialog loads what the box holds
        for (const int id : {IDM_OPEN_FILE_A, IDM_OPEN_FILE_B, IDM_COMPARE})
            Command(id);
    }
    // Whether the status bar paints itself mostly in `colour` (it paints only while visible).
    bool StatusBarIs(COLORREF colour) const {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        const Picture bar = Capture(GetDlgItem(window, IDC_STATUS_BAR), WM_PAINT);
        return bar.Count(0, 0, bar.width, bar.height, colour) * 2 > bar.width * bar.height;
    }
    Picture Render() const { return Capture(window); }
    int Half() const { return App().view.geometry.half; }
    PixelRect Pane(int side) const { return PaneOf(App().view.geometry, side); }
    int RowTop(int i) const { return kViewTop + App().settings.rowPitch * i + 1; }
    bool WhitePane(const Picture& p, int side, int from = 0) const {  // from `from` pixels on
        return p.All(Pane(side).x + from, Pane(side).y, Pane(side).width - from, Pane(side).height,
                     kWhite);
    }
    // Pixels of `colour` in view row `i` of a side's pane or of its line-number cell.
    int InPane(const Picture& p, int side, int i, COLORREF colour) const {
        return p.Count(Pane(side).x, RowTop(i), Pane(side).width, kRowBand, colour);
    }
    int InNumber(const Picture& p, int side, int i, COLORREF colour) const {
        return p.Count(side == 0 ? 0 : Half() + 1, RowTop(i), kNumberRule - 1, kRowBand, colour);
    }
    static int Coloured(const Picture& p) {
        const int w = p.width, h = p.height;
        return p.Count(0, 0, w, h, kRed) + p.Count(0, 0, w, h, kGreen) +
               p.Count(0, 0, w, h, RGB(200, 200, 200));
    }

    ScriptedFileDialog dialog;
};

TEST_F(KestrelWindow, AWindowIsMadeFromItsSettingsOrSaysWhyNotAndItsTimerLoadsTheNamedSide) {
    EXPECT_EQ(Create("dtxlength_max=50000000\r\ndtylength_max=1\r\ndraw_font_height=48\r\n"),
              nullptr);  // a back buffer too wide for a bitmap
    EXPECT_EQ(reporter.shown.at(0).text + u"|" + reporter.shown.at(0).caption,
              u"A bitmap could not be created in the specified device context.|Failure");
    reporter.shown.clear();

    // A path past 259 units, loaded whole and never as the file its first 259 units name.
    const std::string cut(258 - Folder().size(), 'k');
    Write(cut, "x\r\ny\r\nz");
    const std::u16string a = Write(cut + "-a.txt", "aXcdefg\x81");
    App().commandLine.a = a;
    ASSERT_NE(Create("dtxlength_max=5\r\n"), nullptr);
    wchar_t face[LF_FACESIZE] = {};  // no font is named "ＭＳＰゴシック": the view takes MS PGothic
    GetTextFaceW(App().view.backDc[0], LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), L"ＭＳ Ｐゴシック");
    EXPECT_EQ(Status(0) + Status(1) + Status(4), u"照合前MemorySize_W=5行数=0/8192");
    EXPECT_TRUE(StatusBarIs(kWhite));
    EXPECT_TRUE(reporter.shown.empty());
    // The start-up timer loads the side named, cut to 5 columns and with a lead byte alone, and
    // compares only both.
    SendMessageW(window, WM_TIMER, IDT_STARTUP, 0);
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 1);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0],
              (Shown{window,
                     a + u"\r\nは一部しか読み込めませんでした。行数 8192・桁数 5 を超えた部分、"
                         u"NUL より後ろ、UTF-16 の最後の半端な 1 バイトは比較されません。",
                     u"読込注意", ko::box::kIconWarning}));
    // One decoding note, shown alike, naming the side, the file and the lines.
    EXPECT_EQ(reporter.shown[1], (Shown{window, reporter.shown[1].text, u"読込注意（文字コード）",
                                        ko::box::kIconWarning}));
    EXPECT_TRUE(reporter.shown[1].text.starts_with(u"ファイルＡ（" + a + u"）の 1 行に"));
    // The back buffer, 12 x 5 pixels wide, is narrower than its pane; the rest stays white.
    Picture p = Render();
    EXPECT_FALSE(p.All(Pane(0).x, Pane(0).y, 60, 30, kWhite));
    EXPECT_TRUE(WhitePane(p, 0, 60));

    // Fewer grid rows than the view shows, as a hand-edited file may ask for, end the numbers
    // and the text without any report.
    Destroy();
    reporter.shown.clear();
    App().commandLine = CommandLinePaths{};
    ASSERT_NE(Create("dtylength_max=20\r\n"), nullptr);
    LoadBoth(Write("c.txt", Lines(30, "a")), Write("d.txt", Lines(30, "b")));
    SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(App().view.topRow, 0);
    p = Render();
    EXPECT_GT(InNumber(p, 0, 19, kBlack) * InPane(p, 0, 18, kBlack), 0);
    EXPECT_EQ(InNumber(p, 0, 20, kBlack) + InPane(p, 0, 20, kBlack), 0);
    EXPECT_EQ(reporter.shown.size(), 3u);  // the warnings of both cut loads and the outcome
}

TEST_F(KestrelWindow, TheViewShowsWhatCommandsLoadCompareAndRestoreAndScrollsByWholeRows) {
    ASSERT_NE(Create(), nullptr);
    // The view before anything is loaded: white panes between rules, the rows numbered.
    Picture p = Render();
    for (int side = 0; side < 2; ++side)
        EXPECT_TRUE(WhitePane(p, side) && InNumber(p, side, 40, kBlack) > 0);
    EXPECT_TRUE(p.All(0, kControlsHeight, p.width, kViewTop - kControlsHeight, kWhite));
    for (const int rule : {kNumberRule, Half(), Half() + kNumberRule})
        EXPECT_EQ(p.At(rule, 200), kBlack) << rule;
    EXPECT_EQ(p.At(kNumberRule + 1, 200), kWhite);

    LoadBoth(Write("v.txt", "a\r\nb\r\nsame start AAAA"),
             Write("w.txt", "a\r\nxyz\r\nb\r\nsame start BBBB"));
    EXPECT_EQ(Status(0), u"照合不一致");
    EXPECT_TRUE(StatusBarIs(RGB(255, 0, 0)));
    // In high contrast the bar takes the theme's colours, and gives them back when it ends.
    for (const bool high_contrast : {true, false}) {
        App().services.highContrast = high_contrast ? [] { return true; } : [] { return false; };
        SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_TRUE(StatusBarIs(high_contrast ? GetSysColor(COLOR_BTNFACE) : RGB(255, 0, 0)));
    }
    p = Render();
    // Row 1: a filler line on side A opposite side B's own line "xyz".
    EXPECT_GT(InPane(p, 0, 1, kGreen) * InNumber(p, 0, 1, kGreen), 0);
    EXPECT_GT(InPane(p, 1, 1, kRed) * InNumber(p, 1, 1, kRed), 0);
    for (int side = 0; side < 2; ++side)  // equal rows stay white, their numbers too
        EXPECT_EQ(InPane(p, side, 0, kRed) + InNumber(p, side, 2, kGreen) +
                      InPane(p, side, 2, kRed) + InNumber(p, side, 2, kRed),
                  0);
    int first_red = Pane(1).x;  // row 3 changed in place: red only from where it differs
    while (first_red < p.width && p.At(first_red, RowTop(3) + 4) != kRed)
        ++first_red;
    EXPECT_GT(first_red, Pane(1).x + 20);
    EXPECT_LT(first_red, Pane(1).x + 200);
    Command(IDM_RESTORE);
    p = Render();
    EXPECT_EQ(Coloured(p), 0);
    EXPECT_GT(InPane(p, 1, 1, kBlack), 0);  // the loaded text again
    LoadBoth(Write("c.txt", "one\r\ntwo"), Write("d.txt", "one\r\ntwo"));
    EXPECT_EQ(Coloured(Render()), 0);  // equal files show no colour

    // Side A's lines of 300 characters, far wider than its pane, never spill into side B.
    LoadBoth(Write("e.txt", std::string(300, 'W') + "\r\n" + std::string(300, 'M')),
             Write("f.txt", "x\r\ny"));
    for (const Picture& q : {Render(), (Command(IDM_RESTORE), Render())}) {
        EXPECT_FALSE(q.All(Half() - 10, RowTop(0), 10, kRowBand, kWhite));
        EXPECT_EQ(q.At(Half(), RowTop(0)), kBlack);
        EXPECT_TRUE(q.All(Half() + 1, RowTop(0), 3, kRowBand, kWhite));
        EXPECT_TRUE(WhitePane(q, 1, 30));
    }

    LoadBoth(Write("g.txt", Lines(100, "left ")), Write("h.txt", Lines(100, "right ")));
    const Picture before = Render();
    SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    const Picture after = Render();
    const int pitch = App().settings.rowPitch;
    int differing = 0;
    for (int y = kViewTop; y < kViewTop + 20 * pitch; ++y)
        for (int x = 0; x < after.width; ++x)
            differing += after.At(x, y) != before.At(x, y + pitch);
    EXPECT_EQ(differing, 0);
    App().settings.rowPitch = 18;  // what the settings dialog's OK does for a height of 16
    p = Render();
    // Row 0's number ends well above the new row 1 at y = 48; the gap stays white.
    EXPECT_TRUE(p.All(0, 44, kNumberRule, 4, kWhite));
    EXPECT_GT(p.Count(0, 48, kNumberRule, 12, kBlack), 0);

    reporter.shown.clear();
    SetItem(IDC_PATH_B, u"");
    std::filesystem::create_directory(dir.path() / "sub");
    const std::u16string a = Write("sub\\a.txt", "a\r\nb\r\nc\r\n"), missing = Folder() + u"\\x";
    App().services.fileDialog = &SystemOpenFileDialog();
    const std::u16string sub = Folder() + u"\\sub\\";  // where the dialog opens
    std::copy_n(sub.c_str(), sub.size() + 1, App().settings.fileA_folder_select);
    std::u16string pattern;
    WithDialog(window, [&] { return Command(IDC_SELECT_A); }, {[&](HWND dialog) {
                   // The file-name field: a combo box on Windows (cmb13), an edit box on Wine.
                   HWND field = GetDlgItem(dialog, 0x47c);
                   field = field != nullptr ? field : GetDlgItem(dialog, 0x480);
                   pattern = TextOf(field);
                   SetWindowTextW(field, ko::AsWide(a.c_str()));
                   PostMessageW(dialog, WM_COMMAND, IDOK, 0);
               }});
    EXPECT_EQ(pattern, u"*.cpp");
    EXPECT_EQ(Item(IDC_PATH_A), a);
    EXPECT_EQ(App().engine.sides[0].lineCount, 4);
    EXPECT_EQ(ko::ReadCurrentDirectory(), Folder());  // relative paths keep their meaning
    WithDialog(window, [&] { return Command(IDM_OPEN_FILE_B); },  // the empty box is loaded
               {[](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }});

    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0), SetFocus(nullptr);  // another program's
    SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(GetFocus(), window);  // back: the keys scroll again
    SetFocus(App().window.pathBox[0]);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));  // into the view
    EXPECT_EQ(GetFocus(), window);
    App().services.fileDialog = &dialog;
    dialog.Choose(missing);
    SetFocus(nullptr);
    Command(IDC_SELECT_B);
    EXPECT_EQ(dialog.asked.owner, window);
    EXPECT_EQ(Item(IDC_PATH_B), missing);
    EXPECT_EQ(GetFocus(), window);
    Command(IDM_RESTORE);
    dialog.Choose(a);
    Command(IDM_OPEN_FILE_B);
    Command(IDM_COMPARE);
    EXPECT_EQ(Status(0), u"照合一致");
    EXPECT_TRUE(StatusBarIs(RGB(0, 255, 0)));
    Command(IDM_COMPARE);
    Command(IDM_RESTORE);
    EXPECT_EQ(Status(0), u"照合前");
    EXPECT_THAT(reporter.shown,
                ElementsAre(Shown{window, u"Please set the file name", u"Failure", 0x30},
                            Shown{window, u"Can't open " + missing + u" file\r\nErrCode=2",
                                  u"FileOpenError", 0x30},
                            Shown{window, u"既に復元済みです", u"復元", ko::box::kOk},
                            Shown{nullptr, u"一致しました", u"比較完了", ko::box::kOk},
                            Shown{window, u"既に比較済みです", u"比較", ko::box::kOk}));

    // Keys move the top row by a row or a step, the wheel by a step for a notch or more.
    const int step = App().view.geometry.scrollStep;
    auto scroll = [&](std::initializer_list<std::pair<UINT, int>> inputs) {
        for (const auto& [message, value] : inputs)
            SendMessageW(window, message, message == WM_KEYDOWN ? value : MAKEWPARAM(0, value), 0);
        return App().view.topRow;
    };
    constexpr UINT kKey = WM_KEYDOWN, kWheel = WM_MOUSEWHEEL;
    EXPECT_EQ(scroll({{kKey, VK_PRIOR}, {kWheel, 120}}), 0);
    EXPECT_EQ(scroll({{kKey, VK_NEXT}, {kKey, VK_DOWN}, {kKey, VK_DOWN}, {kKey, VK_UP}}), step + 1);
    EXPECT_EQ(scroll({{kWheel, -120}, {kWheel, 0}, {kKey, VK_LEFT}, {kWheel, -119}}), 2 * step + 1);
    EXPECT_EQ(Status(4), ko::Format(u"行数=%d/8192", {2 * step + 1}));
    for (int i = 0; i < 8192 / step + 2; ++i)
        scroll({{kKey, VK_NEXT}});
    EXPECT_EQ(scroll({{kKey, VK_DOWN}, {kWheel, -1200}}), 8192 - App().view.geometry.visibleRows);

    SendMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Saved(L"kestrel.ini", L"fileA_folder_select"), Folder() + u"\\sub\\");
}

// Dropped files: one goes to the half under the point as if chosen with "選", two are loaded
// and compared as a start with both does; anything else changes nothing.
TEST_F(KestrelWindow, DroppedFilesGoToTheHalfUnderThePointOrBothSidesAndOthersAreRefused) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    std::filesystem::create_directory(dir.path() / "b side");
    const std::u16string b = Write("b side\\右 b.txt", "b\r\nb\r\nb"), a = Write("a.txt", "a");
    DropFiles(window, {Half() + 100, 300}, {b});
    DropFiles(window, {100, 300}, {a});
    EXPECT_EQ(
        Item(IDC_PATH_A) + u"|" + Item(IDC_PATH_B) + u"|" + App().settings.fileB_folder_select,
        a + u"|" + b + u"|" + Folder() + u"\\b side\\");
    EXPECT_GT(InPane(Render(), 1, 2, kBlack), 0);  // side B's third line
    const std::u16string c = Write("c.txt", "x\r\ny"), d = Write("d.txt", "x\r\nz");
    DropFiles(window, {100, 300}, {c, d});
    EXPECT_EQ(Item(IDC_PATH_A) + u"|" + Item(IDC_PATH_B) + Status(0), c + u"|" + d + u"照合不一致");
    EXPECT_GT(InPane(Render(), 1, 1, kRed), 0);
    for (const auto& paths : {std::vector{Folder()}, {a, b, c}, {std::u16string(260, u'x')}})
        DropFiles(window, {100, 300}, paths);
    App().commandLine.refused = true;  // more than two bare paths on the command line
    SendMessageW(window, WM_TIMER, IDT_STARTUP, 0);
    EXPECT_EQ(Item(IDC_PATH_A) + Status(0), c + u"照合不一致");
    const Shown refused{window, std::u16string(messages::kOneOrTwoFiles.text), u"ファイル指定",
                        ko::box::kIconWarning};  // after the comparison's outcome
    EXPECT_THAT(reporter.shown, ElementsAre(::testing::_, refused, refused, refused, refused));
}

TEST_F(KestrelWindow, SettingsAreStoredOnlyByEnterOrOkAndANewSizeAsksForARestart) {
    ASSERT_NE(Create(), nullptr);
    ko::Settings& settings = App().settings;
    auto run = [&](std::vector<Step> steps) {
        WithDialog(
            window, [&] { return Command(IDM_SETTINGS); }, std::move(steps));
    };
    // Each size is clamped to its range with one message, asked about in field order; a new
    // size asks for a restart (not taken here), and the row pitch follows the font at once.
    HWND shown = nullptr;
    run({[&](HWND dialog) {
        shown = dialog;
        Type(dialog, IDC_SETTINGS_COLUMNS, u"9");
        Type(dialog, IDC_SETTINGS_ROWS, u"99999");
        Type(dialog, IDC_SETTINGS_FONT_HEIGHT, u"");
        Press(dialog, IDC_SETTINGS_OK);
    }});
    std::vector expected(3, Shown{shown, u"Input value out of specified range", u"Setting error",
                                  ko::box::kIconError});
    expected.push_back(
        {window, u"アプリを再起動をお願いします", u"環境設定の変更", ko::box::kYesNo});
    EXPECT_EQ(reporter.shown, expected);
    EXPECT_EQ(std::vector({settings.dtxlength_max, settings.dtylength_max,
                           settings.draw_font_height, settings.rowPitch}),
              std::vector({64, 65536, 6, 8}));

    // The dialog opens on the current values (one the lists lack shows as the first group and
    // an empty newline field); Enter stores, and a group or a newline code asks for no restart.
    settings.kaimode = 5;
    settings.failExt_no = 7;
    reporter.shown.clear();
    run({[&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_ROWS) + u"|" +
                      ItemText(dialog, IDC_SETTINGS_GROUP_NUMBER) + u"|" +
                      ItemText(dialog, IDC_SETTINGS_NEWLINE),
                  u"65536|0000|");
        Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"9");  // a number no row carries
        EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NAME), u"");
        Choose(dialog, IDC_SETTINGS_NEWLINE, 2);
        SetFocus(GetDlgItem(dialog, IDC_SETTINGS_ROWS));
        PostKey(VK_RETURN);
    }});
    EXPECT_EQ(std::vector({settings.failExt_no, settings.kaimode}), std::vector({9, 2}));
    EXPECT_TRUE(reporter.shown.empty());
    reporter.answers = {ko::box::kAnswerYes};
    run({[](HWND dialog) {
        Type(dialog, IDC_SETTINGS_FONT_HEIGHT, u"16");
        Press(dialog, IDC_SETTINGS_OK);
    }});
    EXPECT_EQ(reporter.shown.size(), 1u);
    EXPECT_FALSE(IsWindow(window));  // Yes to the restart closes the window
}

}  // namespace
}  // namespace kestrel::app::testing
