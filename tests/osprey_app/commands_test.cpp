// "個別比較" and what it hands to the file comparer, the about box, the settings dialog with the
// group editor, and the settings file at exit.
#include <gmock/gmock.h>

#include "osprey/app/launch_win32.h"
#include "osprey/app/settings_dialog_win32.h"
#include "tests/osprey_app/osprey_window.h"

namespace osprey::app::testing {
namespace {

using ko::testing::ItemText;
using ko::testing::Press;
using ::testing::ElementsAre;

// Rows 0 to 2 pair x1.cpp, x2.h and x3.rc; rows 3 to 5 hold y1.cpp, y2.h and y3.rc of side B
// only (one name per pattern and side, so the search order cannot change them).
class Launch : public OspreyWindow {
  protected:
    void ChooseFolders() {
        folderA = MakeFolder("a", {{"x1.cpp", "1"}, {"x2.h", "2"}, {"x3.rc", "3"}});
        folderB = MakeFolder("b", {{"x1.cpp", "1"},
                                   {"x2.h", "2"},
                                   {"x3.rc", "3"},
                                   {"y1.cpp", "4"},
                                   {"y2.h", "5"},
                                   {"y3.rc", "6"}});
        ChooseFolder(kSideA, folderA);
        ChooseFolder(kSideB, folderB);
    }
    // Sets the selection of `row` (-1: every row) as the user's choice would.
    void Select(int side, int row, bool selected = true) const {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        SendMessageW(List(side), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    // Chooses 個別比較 and returns the one message it showed (an empty text for none).
    std::u16string LaunchMessage() {
        reporter.shown.clear();
        Command(IDM_LAUNCH);
        EXPECT_LE(reporter.shown.size(), 1u);
        if (reporter.shown.empty()) return u"";
        EXPECT_EQ(reporter.shown[0].owner, window);
        return reporter.shown[0].text + u"|" + reporter.shown[0].caption;
    }
    std::u16string folderA, folderB;
};

TEST_F(Launch, RefusesEmptyListsMissingSelectionsAndTheEmptyHalfOfAOneSidedRow) {
    Open();
    EXPECT_EQ(LaunchMessage(), u"Ａ側ファイルがありません|選択ミス");
    EXPECT_EQ(reporter.shown[0].style, ko::box::kIconWarning);
    ChooseFolders();
    Select(kSideA, 0);
    EXPECT_EQ(LaunchMessage(), u"Ｂ側ファイルが選択していません|選択ミス");
    Select(kSideB, 0);
    Select(kSideA, 3);  // the first selected row from the top counts
    EXPECT_EQ(LaunchMessage(), u"");
    Select(kSideA, -1, false);
    Select(kSideA, 4);  // side B's own file: its left half is empty
    EXPECT_EQ(LaunchMessage(), u"選択のファイルは個別照合出来ません|選択ミス");
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].commandLine,
              Folder() + u"\\Kestrel.exe /A:" + folderA + u"\\x1.cpp /B:" + folderB + u"\\x1.cpp");
}

TEST_F(Launch, HandsOverAnyFileOfSideAWithAnyOfSideBAndChangesNoRow) {
    Open();
    ChooseFolders();
    Command(IDM_COMPARE);
    Select(kSideA, 2);
    Select(kSideB, 5);
    EXPECT_EQ(LaunchMessage(), u"");
    ASSERT_EQ(starter.started.size(), 1u);
    const std::u16string executable = Folder() + u"\\Kestrel.exe";
    EXPECT_EQ(starter.started[0].applicationName, executable);
    EXPECT_EQ(starter.started[0].commandLine,
              executable + u" /A:" + folderA + u"\\x3.rc /B:" + folderB + u"\\y3.rc");
    EXPECT_THAT(Column(kSideA, 4),
                ElementsAre(u"一致", u"一致", u"一致", u"非対称", u"非対称", u"非対称"));
    EXPECT_EQ(Status()[4], u"ファイル一致数=3");
}

TEST_F(Launch, AProgramThatCannotBeStartedIsReportedAndItsNameStaysInTheFile) {
    // A hand-written subAppName names the program; this one is not in the start-up directory.
    Write("Osprey.ini", "[Setting]\r\nsubAppName=Other.exe\r\n");
    Open();
    ChooseFolders();
    Select(kSideA, 1);
    Select(kSideB, 1);
    App().services.processStarter = &SystemProcessStarter();
    EXPECT_EQ(LaunchMessage(), u"実行出来ませんでした。|残念！");
    App().services.processStarter = &starter;
    starter.succeeds = false;
    EXPECT_EQ(LaunchMessage(), u"実行出来ませんでした。|残念！");
    EXPECT_EQ(starter.started.at(0).applicationName, Folder() + u"\\Other.exe");
    Destroy();
    EXPECT_NE(SettingsText("Osprey.ini").find(u"subAppName=Other.exe"), std::u16string::npos);
}

// The handles this process holds, as the system lists them; -1 when it cannot tell.
long OwnHandleCount() {
    using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    struct HandleEntry {  // SYSTEM_HANDLE_TABLE_ENTRY_INFO
        USHORT process, creator_back_trace;
        UCHAR object_type, attributes;
        USHORT handle;
        void* object;
        ULONG access;
    };
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()),
                 &needed) != 0) {
        if (buffer.size() >= (64u << 20)) return -1;
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
    long own = 0;
    for (ULONG i = 0; i < count; ++i)
        own += entries[i].process == static_cast<USHORT>(GetCurrentProcessId());
    return own;
}

TEST(SystemProcessStarter, StartsTheProgramAndKeepsNoHandleOfIt) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::u16string program = ko::AsU16(system) + std::u16string(u"\\hostname.exe");
    const long before = OwnHandleCount();
    if (before < 0) GTEST_SKIP() << "the system does not list handles";
    EXPECT_TRUE(SystemProcessStarter().Start({program, program + u" /A:x /B:y"}));
    EXPECT_EQ(OwnHandleCount(), before);
    EXPECT_FALSE(SystemProcessStarter().Start({program + u".missing", u"x /A:x /B:y"}));
}

TEST_F(OspreyWindow, TheAboutBoxClosesOnlyByItsButtonAndExitLeavesTheSettings) {
    Open();
    std::u16string name;
    ko::testing::WithDialog(window, [&] { return Command(IDM_ABOUT); },
                            {[&](HWND about) {
                                 name = ItemText(about, IDC_ABOUT_FILE_NAME);
                                 ko::testing::PressKey(about, VK_RETURN);  // Enter and Esc leave it
                                 ko::testing::PressKey(about, VK_ESCAPE);
                                 EXPECT_FALSE(IsWindowEnabled(window));
                             },
                             [](HWND about) { Press(about, IDC_ABOUT_CLOSE); }});
    EXPECT_EQ(name, u"ファイル名：Osprey Ver1.00");
    EXPECT_TRUE(IsWindowEnabled(window));

    const std::u16string a = MakeFolder("a", {{"a.cpp", "1"}});
    ChooseFolder(kSideA, a);
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window));
    const std::u16string settings = SettingsText("Osprey.ini");
    EXPECT_EQ(settings.find(u"[Setting]\r\nfileA_folder_select=" + a + u"\r\n"), 0u);
    EXPECT_NE(settings.find(u"\r\nfileB_folder_select=" + Folder() + u"\\\r\n"),
              std::u16string::npos);
    EXPECT_EQ(std::count(settings.begin(), settings.end(), u'='), 131);  // no key of Kestrel's
}

class OspreySettings : public OspreyWindow {
  protected:
    // Opens the dialog by the menu and runs `steps` on it.
    void Run(std::vector<ko::testing::Step> steps) {
        ko::testing::WithDialog(
            window, [&] { return Command(IDM_SETTINGS); }, std::move(steps));
    }
    // Scans a fresh folder of `names` as side A and returns the patterns of the rows listed.
    std::vector<std::u16string> ListedPatterns(
        std::vector<std::pair<std::string, std::string>> names) {
        ChooseFolder(kSideA, MakeFolder("scan" + std::to_string(++scans), names));
        return Column(kSideA, 1);
    }
    int scans = 0;
};

TEST_F(OspreySettings, TheGroupChosenOrTypedOnOkDecidesTheNextScanAndEveryWayOutReturnsOne) {
    Open();
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.cpp", ""}, {"b.txt", ""}, {"c.txt", ""}};
    auto choose_text_group = [&](ko::testing::Step close) {
        return ko::testing::WithDialog(
            window, [&] { return RunSettingsDialog(window, App().settings, reporter); },
            {[&](HWND dialog) {
                ko::testing::Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
                EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
                close(dialog);
            }});
    };
    EXPECT_EQ(choose_text_group(ko::testing::CloseBox), 1);
    EXPECT_EQ(choose_text_group([](HWND d) { Press(d, IDC_SETTINGS_CANCEL); }), 1);
    EXPECT_THAT(ListedPatterns(files), ElementsAre(u"*.cpp"));
    EXPECT_EQ(choose_text_group([](HWND d) { Press(d, IDC_SETTINGS_OK); }), 1);
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp"));  // shown lists stay until a scan
    EXPECT_THAT(ListedPatterns(files), ElementsAre(u"*.txt", u"*.txt"));
    Run({[](HWND dialog) {
        ko::testing::Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"7");
        Press(dialog, IDC_SETTINGS_OK);
    }});
    EXPECT_TRUE(ListedPatterns(files).empty());
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(OspreySettings, TheEditorWorksWithOspreysControlsAndItsRowCountsFromTheNextScan) {
    Open();
    Run({[](HWND dialog) {
        Press(dialog, IDC_SETTINGS_EDIT_GROUPS);
        const HWND editor = ko::testing::DialogsOwnedBy(dialog).at(0);
        for (int i = 0; i < 3; ++i)
            Press(editor, IDC_GROUP_EDITOR_NEXT);
        EXPECT_EQ(ItemText(editor, IDC_GROUP_EDITOR_POSITION), u"04/32");
        EXPECT_EQ(ItemText(editor, IDC_GROUP_EDITOR_DISPLAY_TEXT), u"txtFile(*.txt)");
        ko::testing::Type(editor, IDC_GROUP_EDITOR_GROUP_NO, u"0");
        ko::testing::Type(editor, IDC_GROUP_EDITOR_SEARCH_PATTERN, u"*.md");
        Press(editor, IDC_GROUP_EDITOR_OK);
        Press(dialog, IDC_SETTINGS_CANCEL);  // the editor's row is stored all the same
    }});
    EXPECT_THAT(ListedPatterns({{"a.cpp", ""}, {"b.md", ""}, {"c.txt", ""}}),
                ElementsAre(u"*.cpp", u"*.md"));
}

}  // namespace
}  // namespace osprey::app::testing
