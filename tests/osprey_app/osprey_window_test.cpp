// Osprey's main window and dialogs made inside the test process with the program's own
// resources, the message boxes recorded, the folder browser scripted and process starts recorded.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "common/text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/folder_drop_win32.h"
#include "osprey/app/launch_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/main_window_win32.h"
#include "osprey/messages.h"
#include "resources/osprey_resource.h"
#include "tests/support/win32_driver.h"

namespace osprey::app::testing {
namespace {

using namespace ko::testing;
using ::testing::ElementsAre;
using Files = std::vector<std::pair<std::string, std::string>>;  // names and contents

// The window with recorded message boxes, and the test itself as the folder browser, which
// answers each Browse with the next queued answer (nullopt: the user cancelled), and as the
// process starter, which records each start.
class OspreyWindow : public ProgramWindowTest, FolderBrowser, ProcessStarter {
  protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        App().services = Services{&reporter, this, this};
        App().startFolders.clear();
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    }
    std::optional<std::u16string> Browse(std::u16string_view initialFolder) override {
        openedOn.emplace_back(initialFolder);
        return answers.at(openedOn.size() - 1);
    }
    bool Start(const LaunchCommand& command) override {
        started.push_back(command);
        return true;
    }
    void Open() {
        ASSERT_NE(window = CreateMainWindow(GetModuleHandleW(nullptr)), nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        PumpMessages();
    }
    // A folder of the start-up directory holding `files`; returns its path.
    std::u16string MakeFolder(const std::string& name, const Files& files) const {
        std::filesystem::create_directories(dir.path() / name);
        for (const auto& [file, content] : files)
            Write(name + "/" + file, content);
        return PathText(dir.path() / name);
    }
    // The folder sequence of `side` with the browser answering `folder`.
    void ChooseFolder(int side, const std::optional<std::u16string>& folder) {
        answers.push_back(folder);
        Command(side == kSideA ? IDM_FOLDER_A : IDM_FOLDER_B);
    }
    HWND List(int side) const {
        return GetDlgItem(window, side == kSideA ? IDC_LIST_A : IDC_LIST_B);
    }
    std::vector<std::u16string> Column(int side, int column) const {
        std::vector<std::u16string> cells(ListView_GetItemCount(List(side)));
        for (int row = 0; row < static_cast<int>(cells.size()); ++row) {
            wchar_t text[520] = {};
            ListView_GetItemText(List(side), row, column, text, 520);
            cells[row] = ko::AsU16(text);
        }
        return cells;
    }
    // Each row's mark and the number of its picture.
    std::vector<std::u16string> Marks(int side) const {
        std::vector<std::u16string> marks = Column(side, 4);
        for (int row = 0; row < static_cast<int>(marks.size()); ++row) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            ListView_GetItem(List(side), &item);
            marks[row] += ko::Format(u" %d", {item.iImage});
        }
        return marks;
    }
    void ExpectRows(const std::vector<std::u16string>& marks) const {  // on both sides
        EXPECT_EQ(Marks(kSideA), marks);
        EXPECT_EQ(Marks(kSideB), marks);
    }
    void Select(int side, int row, bool selected = true) const {  // row -1: every row
        ListView_SetItemState(List(side), row, selected ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }

    std::vector<std::optional<std::u16string>> answers;
    std::vector<std::u16string> openedOn;
    std::vector<LaunchCommand> started;
};

// Rows: equal.cpp (equal pair), differ.h (differing pair), onlyA.rc, onlyB.rc. Each name is the
// only match of its pattern on its side, so the search order cannot change the rows.
TEST_F(OspreyWindow, FoldersArePairedComparedRestoredAndHandedOverAsTheListsAndCountersShow) {
    const std::u16string a = MakeFolder(
        "a", {{"equal.cpp", "same"}, {"differ.h", "left"}, {"onlyA.rc", "1"}, {"x.txt", ""}});
    const std::u16string b =
        MakeFolder("b", {{"equal.cpp", "same"}, {"differ.h", "right!"}, {"onlyB.rc", "22"}});
    // The settings as a hand-written file has them, with a program to start that is not there.
    std::ofstream(dir.path() / "Osprey.ini")
        << "[Setting]\r\nfileA_folder_select=" << ko::Utf16ToUtf8(a)
        << "\r\nfileB_folder_select=" << ko::Utf16ToUtf8(b) << "\r\nsubAppName=Other.exe\r\n";
    Open();
    // The stored folders come back with a separator; nothing is scanned at start-up.
    EXPECT_EQ(Item(IDC_PATH_A) + u"|" + Item(IDC_PATH_B), a + u"\\|" + b + u"\\");
    EXPECT_EQ(Status(3), u"対象ファイル数=0");
    auto launch = [&] {  // the one message 個別比較 showed, or an empty text
        reporter.shown.clear();
        Command(IDM_LAUNCH);
        EXPECT_LE(reporter.shown.size(), 1u);
        if (reporter.shown.empty()) return std::u16string();
        EXPECT_EQ(reporter.shown[0].owner, window);
        return reporter.shown[0].text + u"|" + reporter.shown[0].caption;
    };
    EXPECT_EQ(launch(), u"Ａ側ファイルがありません|選択ミス");
    EXPECT_EQ(reporter.shown[0].style, ko::box::kIconWarning);

    SetFocus(List(kSideB));  // a switch to another program and back keeps the list's keys
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0), SetFocus(nullptr);
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), List(kSideB));
    ChooseFolder(kSideA, a);  // folder A alone: its files one-sided on both sides
    EXPECT_EQ(GetFocus(), window);
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp", u"*.h", u"*.rc"));
    EXPECT_THAT(Column(kSideA, 2), ElementsAre(u"4", u"4", u"1"));
    ExpectRows({u"非対称 3", u"非対称 3", u"非対称 3"});
    answers.push_back(b);
    Command(IDC_SELECT_B);  // the buttons run the folder sequence as the menu does
    EXPECT_THAT(openedOn, ElementsAre(a + u"\\", b + u"\\"));
    EXPECT_THAT(Column(kSideA, 0), ElementsAre(u"equal.cpp", u"differ.h", u"onlyA.rc", u""));
    EXPECT_THAT(Column(kSideB, 0), ElementsAre(u"equal.cpp", u"differ.h", u"", u"onlyB.rc"));
    ExpectRows({u"比較前 0", u"比較前 0", u"非対称 3", u"非対称 3"});
    EXPECT_EQ(Status(3), u"対象ファイル数=2");  // counted as the folders are scanned

    // A click marks the row it hits and unmarks the rest of that list; keys move the selection
    // only. Clicks arrive through the message queue, as the user's would.
    constexpr UINT kMarks = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;
    auto click = [&](int side, int row) {
        RECT bounds{};
        ListView_GetItemRect(List(side), row, &bounds, LVIR_LABEL);
        const LPARAM point =
            MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        PostMessageW(List(side), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(List(side), WM_LBUTTONUP, 0, point);
        PumpMessages();
    };
    auto marks = [&](int side, int row) { return ListView_GetItemState(List(side), row, kMarks); };
    click(kSideA, 1);
    click(kSideB, 2);
    EXPECT_EQ(std::vector({marks(kSideA, 0), marks(kSideA, 1), marks(kSideA, 2), marks(kSideB, 2)}),
              std::vector({0u, kMarks, 0u, kMarks}));
    SendMessageW(List(kSideA), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(List(kSideA), WM_KEYUP, VK_DOWN, 0);
    PumpMessages();
    EXPECT_EQ(marks(kSideA, 2) & ~LVIS_FOCUSED, UINT{LVIS_SELECTED});
    EXPECT_EQ(marks(kSideA, 1) & LVIS_DROPHILITED, UINT{LVIS_DROPHILITED});
    click(kSideA, 3);
    EXPECT_EQ(std::vector({marks(kSideA, 1), marks(kSideA, 2), marks(kSideA, 3)}),
              std::vector({0u, 0u, kMarks}));

    Command(IDM_COMPARE);
    ExpectRows({u"一致 1", u"不一致 2", u"非対称 3", u"非対称 3"});
    EXPECT_EQ(Status(0) + Status(4) + Status(5), u"照合後ファイル一致数=1ファイル不一致数=1");
    // 個別比較 hands the first selected file of side A with that of side B to the program named
    // in the settings, beside Osprey, and changes no row.
    Select(kSideB, 3);
    Select(kSideA, 0);
    EXPECT_EQ(launch(), u"");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].applicationName, Folder() + u"\\Other.exe");
    EXPECT_EQ(started[0].commandLine,
              Folder() + u"\\Other.exe /A:" + a + u"\\equal.cpp /B:" + b + u"\\onlyB.rc");
    ExpectRows({u"一致 1", u"不一致 2", u"非対称 3", u"非対称 3"});
    EXPECT_EQ(Status(4), u"ファイル一致数=1");
    App().services.processStarter = &SystemProcessStarter();  // Other.exe is not there
    EXPECT_EQ(launch(), u"実行出来ませんでした。|残念！");
    reporter.shown.clear();

    Command(IDM_RESTORE);
    ExpectRows({u"比較前 0", u"比較前 0", u"非対称 3", u"非対称 3"});
    EXPECT_EQ(Status(0) + Status(4), u"照合前ファイル一致数=0");
    Command(IDM_COMPARE);
    // A cancelled browser keeps everything; a typed folder counts from the next scan, whose
    // rows start anew while the compare flag stays.
    const std::u16string typed = MakeFolder("c", {{"equal.cpp", "other"}});
    SetItem(IDC_PATH_A, typed);
    ChooseFolder(kSideB, std::nullopt);
    ExpectRows({u"一致 1", u"不一致 2", u"非対称 3", u"非対称 3"});
    ChooseFolder(kSideB, b);
    ExpectRows({u"比較前 0", u"比較前 0", u"非対称 3", u"非対称 3"});
    EXPECT_EQ(Status(0), u"照合後");
    // Side A's list is from the old folder, but its files are now looked for in the typed one.
    Command(IDM_COMPARE);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"不一致", u"比較前", u"非対称", u"非対称"));
    ASSERT_EQ(reporter.shown.size(), 1u);  // differ.h is not in the typed folder
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError1");
    EXPECT_EQ(reporter.shown[0].owner, window);

    std::u16string name;
    WithDialog(window, [&] { return Command(IDM_ABOUT); },
               {[&](HWND about) {
                    name = ItemText(about, IDC_ABOUT_FILE_NAME);
                    PostKey(VK_RETURN);  // Enter and Esc leave it
                    PostKey(VK_ESCAPE);
                    EXPECT_FALSE(IsWindowEnabled(window));
                },
                [](HWND about) { Press(about, IDC_ABOUT_CLOSE); }});
    EXPECT_EQ(name, u"ファイル名：Osprey Ver1.00");
    EXPECT_TRUE(IsWindowEnabled(window));
    // A folder too long for the settings leaves the one they had, never a cut one.
    SetItem(IDC_PATH_B, b + u"\\" + std::u16string(260, u'x'));
    ChooseFolder(kSideA, typed);
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Saved(L"Osprey.ini", L"fileA_folder_select"), typed);
    EXPECT_EQ(Saved(L"Osprey.ini", L"fileB_folder_select"), b + u"\\");
    EXPECT_EQ(Saved(L"Osprey.ini", L"subAppName"), u"Other.exe");
}

// Folders dropped or named bare on the command line count as chosen with "選": one for the
// half under the point, two for A and B; files or more than two are refused.
TEST_F(OspreyWindow, FoldersDroppedOrNamedAtStartAreScannedAsIfChosenAndFilesAreRefused) {
    const std::u16string a = MakeFolder("a x", {{"x.cpp", "1"}, {"y.cpp", "2"}}),
                         b = MakeFolder("b", {{"x.cpp", "1"}}), file = a + u"\\x.cpp";
    Open();
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    DropFiles(window, {10, 200}, {a, b});
    EXPECT_EQ(Item(IDC_PATH_A) + u"|" + Item(IDC_PATH_B) + Status(1) + Status(2),
              a + u"|" + b + u"Aファイル数=2Bファイル数=1");
    EXPECT_THAT(Column(kSideB, 0), ElementsAre(u"x.cpp", u""));
    DropFiles(window, {App().window.screenWidth / 2 + 20, 200}, {a});
    EXPECT_THAT(Column(kSideB, 0), ElementsAre(u"x.cpp", u"y.cpp"));
    for (const auto& paths : {std::vector{file}, std::vector{a, b, a}})
        DropFiles(window, {10, 200}, paths);
    App().startFolders = {file};
    SendMessageW(window, WM_OPEN_START_FOLDERS, 0, 0);
    EXPECT_EQ(Item(IDC_PATH_A) + u"|" + Item(IDC_PATH_B), a + u"|" + a);
    const ShownMessage refused{window, std::u16string(messages::kOneOrTwoFolders.text),
                               u"フォルダ指定", ko::box::kIconWarning};
    EXPECT_THAT(reporter.shown, ElementsAre(refused, refused, refused));
}

TEST_F(OspreyWindow, ListsShowEveryRowInOrderAndAnUnknownStatusAsError) {
    Open();
    // More rows than two full file lists give, as names listed twice on both sides can.
    for (int i = 0; i < 600; ++i) {
        const std::int32_t status = i == 5 ? 7 : i == 6 ? kFreeRow : kPairedEqual;
        for (auto& pairs : App().comparison.pairs)
            pairs.push_back({status, ko::Format(u"f%d.cpp", {i}), u"*.cpp", u"1", u""});
    }
    RefillListViews();
    EXPECT_EQ(ListView_GetItemCount(List(kSideA)), 599);  // without the free row 6
    EXPECT_EQ(Marks(kSideB)[5], u"エラー -2");            // an unknown status, without a picture
    for (const auto& [row, pair_row] : {std::pair{6, 7}, std::pair{598, 599}}) {
        Select(kSideA, -1, false);
        Select(kSideA, row);
        EXPECT_EQ(FirstSelectedRow(kSideA), pair_row);
    }
}

// What the window shows, read back from its device context: white wherever no control lies,
// and a status bar in the theme's colours while high contrast is on.
TEST_F(OspreyWindow, WhatNoControlCoversIsWhiteAndHighContrastColoursTheStatusBar) {
    Open();
    auto placed = [&](HWND child) {  // in client coordinates
        RECT area{};
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        return area;
    };
    auto not_white = [&](const RECT& area) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC dc = GetDC(window);
        int count = 0;
        for (LONG y = area.top; y < area.bottom; ++y)
            for (LONG x = area.left; x < area.right; ++x)
                count += GetPixel(dc, x, y) != RGB(255, 255, 255);
        ReleaseDC(window, dc);
        return count;
    };
    const RECT list = placed(List(kSideA)), bar = placed(GetDlgItem(window, IDC_STATUS_BAR));
    ASSERT_GT(bar.top, list.bottom);
    EXPECT_EQ(
        not_white({0, 22, bar.right, list.top}) + not_white({0, list.bottom, bar.right, bar.top}),
        0);
    const RECT past_fields{830, bar.top + 3, 930, bar.bottom - 3};  // right of the last field
    const int area = 100 * (past_fields.bottom - past_fields.top);
    EXPECT_EQ(not_white(past_fields), 0);
    App().services.highContrast = [] { return true; };
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(not_white(past_fields), area);
}

// Every group editor keeps its own row and stores it on OK or Enter, even when the dialog is
// then cancelled; Escape closes one unstored, and open ones close with the dialog, unstored.
TEST_F(OspreyWindow, TheGroupChosenOrEditedInTheSettingsDecidesTheNextScan) {
    Open();
    auto run = [&](std::vector<Step> steps) {
        WithDialog(
            window, [&] { return Command(IDM_SETTINGS); }, std::move(steps));
    };
    int scans = 0;
    auto listed = [&] {  // the patterns of the rows a scan of a fresh folder lists
        ChooseFolder(kSideA, MakeFolder(std::to_string(++scans),
                                        {{"a.cpp", ""}, {"b.md", ""}, {"c.txt", ""}}));
        return Column(kSideA, 1);
    };
    // Cancel, Esc and the close box store nothing, OK stores; arrow keys in the combo box's
    // field name the group at once.
    for (const Step& close : std::initializer_list<Step>{
             [](HWND dialog) { Press(dialog, IDC_SETTINGS_CANCEL); },
             [](HWND) { PostKey(VK_ESCAPE); },
             [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
             [](HWND dialog) { Press(dialog, IDC_SETTINGS_OK); }}) {
        EXPECT_THAT(listed(), ElementsAre(u"*.cpp"));
        run({[&](HWND dialog) {
            SendMessageW(GetWindow(GetDlgItem(dialog, IDC_SETTINGS_GROUP_NUMBER), GW_CHILD),
                         WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
            close(dialog);
        }});
    }
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp"));  // shown lists stay until a scan
    EXPECT_THAT(listed(), ElementsAre(u"*.txt"));

    auto open_editor = [](HWND dialog) {
        Press(dialog, IDC_SETTINGS_EDIT_GROUPS);
        return DialogsOwnedBy(dialog).at(0);
    };
    HWND first = nullptr, second = nullptr;
    run({[&](HWND dialog) {
             first = open_editor(dialog);
             for (int i = 0; i < 5; ++i)
                 Press(first, IDC_GROUP_EDITOR_NEXT);
             second = open_editor(dialog);
             Press(second, IDC_GROUP_EDITOR_NEXT);
             Type(first, IDC_GROUP_EDITOR_ITEM_NAME, u"five");
             Type(second, IDC_GROUP_EDITOR_GROUP_NO, u"250");
             Type(second, IDC_GROUP_EDITOR_SEARCH_PATTERN, u"*.md");
             SetFocus(GetDlgItem(second, IDC_GROUP_EDITOR_ITEM_NAME));
             PostKey(VK_RETURN);  // taken inside the dialog's loop
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(second));
             Press(first, IDC_GROUP_EDITOR_OK);
             second = open_editor(dialog);
             Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"escaped");
             PostKey(VK_ESCAPE);
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(second));
             second = open_editor(dialog);
             Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"lost");
             Press(dialog, IDC_SETTINGS_CANCEL);
         }});
    EXPECT_FALSE(IsWindow(second));
    const ko::ExtensionGroupTable& groups = App().settings.groups;
    EXPECT_EQ(std::u16string(groups[0].itemName) + u"|" + groups[5].itemName,
              u"ソースファイル|five");
    run({[](HWND dialog) {  // the selector lists the renumbered row 1 from the next opening on
        Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
        EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0250");
        Press(dialog, IDC_SETTINGS_OK);
    }});
    EXPECT_THAT(listed(), ElementsAre(u"*.md"));
    EXPECT_TRUE(reporter.shown.empty());
}

}  // namespace
}  // namespace osprey::app::testing
