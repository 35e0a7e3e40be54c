// "個別比較": the checks of both selections, the command that starts the file comparer and what
// happens when it cannot be started.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include <gmock/gmock.h>

#include "common/current_directory.h"
#include "common/win32_text.h"
#include "osprey/app/launch_win32.h"
#include "resources/osprey_resource.h"
#include "tests/osprey_app/osprey_window_fixture.h"

namespace osprey::app::testing {
namespace {

using ::testing::ElementsAre;

class LaunchTest : public OspreyWindowTest {
  protected:
    // Rows 0 to 2 pair x1.cpp, x2.h and x3.rc; rows 3 to 5 hold y1.cpp, y2.h and y3.rc of
    // side B only (one name per pattern and side, so the search order cannot change them).
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
        SendMessageW(ListView(side), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    void ExpectOnlyMessage(std::u16string_view text, std::u16string_view caption, unsigned style) {
        ASSERT_EQ(reporter.shown.size(), 1u);
        EXPECT_EQ(reporter.shown[0].text, text);
        EXPECT_EQ(reporter.shown[0].caption, caption);
        EXPECT_EQ(reporter.shown[0].style, style);
        EXPECT_EQ(reporter.shown[0].owner, window);
        reporter.shown.clear();
    }

    void ExpectSelectionMistake(std::u16string_view text) {
        Command(IDM_LAUNCH);
        ExpectOnlyMessage(text, u"選択ミス", 0x30);
        EXPECT_TRUE(starter.started.empty());
    }

    std::u16string folderA;
    std::u16string folderB;
};

TEST_F(LaunchTest, RefusesEmptyListsMissingSelectionsAndTheEmptyHalfOfAOneSidedRow) {
    OpenWindow();
    ExpectSelectionMistake(u"Ａ側ファイルがありません");
    ChooseFolders();
    ExpectSelectionMistake(u"Ａ側ファイルが選択していません");
    Select(kSideA, 0);
    ExpectSelectionMistake(u"Ｂ側ファイルが選択していません");
    Select(kSideB, 0);
    Select(kSideA, 3);  // first selected from the top is still row 0
    Command(IDM_LAUNCH);
    EXPECT_EQ(starter.started.size(), 1u);
    EXPECT_TRUE(reporter.shown.empty());

    // Rows 3 to 5 hold side B's own files; their left halves are empty.
    starter.started.clear();
    Select(kSideA, -1, false);
    Select(kSideA, 4);
    ExpectSelectionMistake(u"選択のファイルは個別照合出来ません");
}

TEST_F(LaunchTest, HandsOverAnyFileOfSideAWithAnyFileOfSideBByTheirFullPaths) {
    OpenWindow();
    ChooseFolders();
    Command(IDM_COMPARE);
    Select(kSideA, 2);
    Select(kSideB, 5);
    const std::u16string left = RowTexts(kSideA, 2)[0];
    const std::u16string right = RowTexts(kSideB, 5)[0];
    ASSERT_NE(left, right);
    Command(IDM_LAUNCH);

    ASSERT_EQ(starter.started.size(), 1u);
    const std::u16string executable = startupDirectory.u16string() + u"\\Kestrel.exe";
    EXPECT_EQ(starter.started[0].applicationName, executable);
    EXPECT_EQ(starter.started[0].commandLine,
              executable + u" /A:" + folderA + u"\\" + left + u" /B:" + folderB + u"\\" + right);
    EXPECT_TRUE(reporter.shown.empty());
    // A launch changes no row and no counter.
    EXPECT_THAT(Column(kSideA, 4),
                ElementsAre(u"一致", u"一致", u"一致", u"非対称", u"非対称", u"非対称"));
    EXPECT_EQ(StatusFields()[4], u"ファイル一致数=3");
}

TEST_F(LaunchTest, QuotesAStartupDirectoryWithABlankAndNamesItsProgram) {
    const std::filesystem::path spaced = temp.path() / "start here";
    std::filesystem::create_directories(spaced);
    ASSERT_TRUE(ko::ChangeCurrentDirectory(spaced.u16string()));
    OpenWindow();
    ChooseFolders();
    Select(kSideA, 0);
    Select(kSideB, 0);
    Command(IDM_LAUNCH);
    ASSERT_EQ(starter.started.size(), 1u);
    const std::u16string executable = spaced.u16string() + u"\\Kestrel.exe";
    EXPECT_EQ(starter.started[0].applicationName, executable);
    EXPECT_EQ(starter.started[0].commandLine,
              u"\"" + executable + u"\" /A:" + folderA + u"\\x1.cpp /B:" + folderB + u"\\x1.cpp");
}

TEST_F(LaunchTest, HandsOverAPathWithABlankInItsShortForm) {
    OpenWindow();
    const std::u16string spacedA = MakeFolder("old version", {{"main file.cpp", "a"}});
    const std::u16string plainB = MakeFolder("new", {{"main file.cpp", "b"}});
    ChooseFolder(kSideA, spacedA);
    ChooseFolder(kSideB, plainB);
    Select(kSideA, 0);
    Select(kSideB, 0);
    Command(IDM_LAUNCH);

    auto short_form = [](const std::u16string& path) {
        wchar_t buffer[520] = {};
        GetShortPathNameW(ko::ToWide(path).c_str(), buffer, 520);
        return ko::ToU16(buffer);
    };
    const std::u16string pathA = short_form(spacedA + u"\\main file.cpp");
    const std::u16string pathB = short_form(plainB + u"\\main file.cpp");
    ASSERT_EQ(pathA.find(u' '), std::u16string::npos) << "no short form on this volume";
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].commandLine,
              starter.started[0].applicationName + u" /A:" + pathA + u" /B:" + pathB);
}

TEST_F(LaunchTest, ProgramThatCannotBeStartedShowsThatItCouldNotRun) {
    // A hand-written subAppName names the program; this one is not in the start-up directory.
    OpenWindow();
    CloseWindow();
    AppendSettingsLine(u"subAppName=Other.exe");
    OpenWindow();
    App().services.processStarter = &SystemProcessStarter();
    ChooseFolders();
    Select(kSideA, 1);
    Select(kSideB, 1);
    Command(IDM_LAUNCH);
    ExpectOnlyMessage(u"実行出来ませんでした。", u"残念！", 0);

    starter.succeeds = false;
    App().services.processStarter = &starter;
    Command(IDM_LAUNCH);
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].applicationName, startupDirectory.u16string() + u"\\Other.exe");
    ExpectOnlyMessage(u"実行出来ませんでした。", u"残念！", 0);

    // The name read from the file stays in it; Osprey never writes the key itself.
    CloseWindow();
    EXPECT_TRUE(SettingsFileHas(u"subAppName=Other.exe"));
}

// The handles this process holds, as the system lists them; -1 when it cannot tell.
long OwnHandleCount() {
    using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    struct HandleEntry {  // SYSTEM_HANDLE_TABLE_ENTRY_INFO
        USHORT process;
        USHORT creator_back_trace;
        UCHAR object_type;
        UCHAR attributes;
        USHORT handle;
        void* object;
        ULONG access;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                 &needed) != 0) {
        if (buffer.size() >= (64u << 20)) return -1;
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
    long own = 0;
    for (ULONG i = 0; i < count; ++i)
        if (entries[i].process == static_cast<USHORT>(GetCurrentProcessId())) ++own;
    return own;
}

TEST(SystemProcessStarter, StartsTheProgramAndKeepsNoHandleOfIt) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::u16string program = ko::ToU16(system) + u"\\hostname.exe";
    const long before = OwnHandleCount();
    if (before < 0) GTEST_SKIP() << "the system does not list handles";
    EXPECT_TRUE(SystemProcessStarter().Start({program, program + u" /A:x /B:y"}));
    // A launch used to keep two: the process's and its thread's.
    EXPECT_EQ(OwnHandleCount(), before);

    EXPECT_FALSE(SystemProcessStarter().Start({program + u".missing", u"x /A:x /B:y"}));
}

}  // namespace
}  // namespace osprey::app::testing
