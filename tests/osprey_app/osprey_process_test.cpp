// Osprey.exe and Kestrel.exe as the user meets them: two programs in a start-up directory,
// Osprey driven from outside through its window messages, Kestrel started by it for a pair.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/settings.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "resources/osprey_resource.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// Polls `find` until it yields something or the patience runs out.
template <typename Find>
auto WaitFor(Find find) -> decltype(find()) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    for (;;) {
        if (auto found = find()) return found;
        if (std::chrono::steady_clock::now() > deadline) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// The text of a window of any process: WM_GETTEXT is carried across processes, where
// GetWindowTextW would only read another process's stored caption.
std::u16string TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return ko::ToU16(text);
}

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ko::ToU16(name);
}

// The first visible top-level window with class `class_name` and, unless empty, title `title`
// for which `wanted` holds, given the id of its process.
HWND TopWindow(std::u16string_view class_name, std::u16string_view title,
               const std::function<bool(HWND, DWORD)>& wanted) {
    struct Search {
        std::u16string_view class_name;
        std::u16string_view title;
        const std::function<bool(HWND, DWORD)>& wanted;
        HWND found;
    } search{class_name, title, wanted, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (!IsWindowVisible(window) || ClassOf(window) != s->class_name) return TRUE;
            if (!s->title.empty() && TextOf(window) != s->title) return TRUE;
            if (!s->wanted(window, pid)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same among the windows of process `pid`.
HWND TopWindowOf(DWORD pid, std::u16string_view class_name, std::u16string_view title) {
    return TopWindow(class_name, title, [pid](HWND, DWORD owner) { return owner == pid; });
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wparam, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::u16string ShortForm(const std::filesystem::path& path) {
    wchar_t buffer[520] = {};
    GetShortPathNameW(path.c_str(), buffer, 520);
    return ko::ToU16(buffer);
}

class OspreyProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        start = temp.path() / "start here";
        std::filesystem::create_directories(start);
        std::filesystem::copy_file(OSPREY_EXE, start / "Osprey.exe");
        std::filesystem::copy_file(KESTREL_EXE, start / "Kestrel.exe");
        // Rows: "calc main.cpp" differs, util.h is equal, then one file of each side alone.
        // The folders themselves hold no blank: Wine's folder browser cannot preselect a
        // folder whose short name it has not made yet.
        old_folder = temp.path() / "old";
        new_folder = temp.path() / "new";
        std::filesystem::create_directories(old_folder);
        std::filesystem::create_directories(new_folder);
        temp.Write("old/calc main.cpp", "int Add(int a, int b) {\r\n    return a + b;\r\n}\r\n");
        temp.Write("new/calc main.cpp", "int Add(int a, int b) {\r\n    return b + a;\r\n}\r\n");
        temp.Write("old/util.h", "#pragma once\r\nint Add(int a, int b);\r\n");
        temp.Write("new/util.h", "#pragma once\r\nint Add(int a, int b);\r\n");
        temp.Write("old/old.rc", "// old\r\n");
        temp.Write("new/new.rc", "// new\r\n");

        ko::Settings settings;
        old_folder.u16string().copy(settings.fileA_folder_select, ko::kPathUnits - 1);
        new_folder.u16string().copy(settings.fileB_folder_select, ko::kPathUnits - 1);
        ko::SaveSettings(ko::Program::kOsprey, start.u16string(), settings);
    }

    // Whatever a failed test left running goes, so the folders can be removed.
    void TearDown() override {
        kestrel_processes.push_back(osprey.hProcess);
        for (HANDLE process : kestrel_processes) {
            if (!process) continue;
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
        if (osprey.hThread) CloseHandle(osprey.hThread);
    }

    void StartOsprey() {
        const std::wstring program = (start / "Osprey.exe").wstring();
        std::wstring command_line = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, start.c_str(), &startup, &osprey));
        window = WaitFor(
            [&] { return TopWindowOf(osprey.dwProcessId, u"Main Window", u"Osprey Ver1.00"); });
        ASSERT_NE(window, nullptr) << "Osprey's window did not come up";
    }

    // The folder sequence of a side, answered in the real folder browser with `answer` (IDOK
    // or IDCANCEL): the browser opens on the side's folder from the settings file.
    void AnswerFolderBrowser(int button, int answer) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const HWND browser =
            WaitFor([&] { return TopWindowOf(osprey.dwProcessId, u"#32770", u""); });
        ASSERT_NE(browser, nullptr) << "no folder browser";
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(browser, answer)));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
        // The folder sequence runs to its end inside that one message.
        Ask(window, WM_NULL);
    }

    // Moves both lists' selection with keys, starts the file comparer and returns its window
    // once it shows its outcome; `outcome` gets the text of its "比較完了" box.
    HWND LaunchKestrel(WPARAM key, std::u16string& outcome) {
        for (const int id : {IDC_LIST_A, IDC_LIST_B}) {
            PostMessageW(GetDlgItem(window, id), WM_KEYDOWN, key, 0);
            PostMessageW(GetDlgItem(window, id), WM_KEYUP, key, 0);
        }
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_LAUNCH, 0), 0);
        // A file comparer window of another process than Osprey, not met before.
        DWORD kestrel_pid = 0;
        const HWND kestrel = WaitFor([&] {
            return TopWindow(u"Main Window", u"Kestrel Ver1.00", [&](HWND found, DWORD pid) {
                kestrel_pid = pid;
                return pid != osprey.dwProcessId &&
                       std::find(kestrels.begin(), kestrels.end(), found) == kestrels.end();
            });
        });
        if (!kestrel) return nullptr;
        kestrels.push_back(kestrel);
        kestrel_processes.push_back(
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, kestrel_pid));
        const HWND box = WaitFor([&] { return TopWindowOf(kestrel_pid, u"#32770", u"比較完了"); });
        if (!box) return nullptr;
        outcome = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return kestrel;
    }

    // Closes a window of another process and waits for that process to end.
    static bool CloseAndWait(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageW(window, WM_CLOSE, 0, 0);
        const bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
        if (process) CloseHandle(process);
        return ended;
    }

    ko::testing::TempDir temp;
    std::filesystem::path start;
    std::filesystem::path old_folder;
    std::filesystem::path new_folder;
    PROCESS_INFORMATION osprey{};
    HWND window = nullptr;
    std::vector<HWND> kestrels;  // every file comparer window met so far
    std::vector<HANDLE> kestrel_processes;
};

TEST_F(OspreyProcessTest, StartsKestrelForTheSelectedPairWhichShowsBothPathsAndItsOutcome) {
    StartOsprey();
    const HWND list_a = GetDlgItem(window, IDC_LIST_A);
    AnswerFolderBrowser(IDC_SELECT_A, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);  // side A's files alone
    // A cancelled browser changes nothing.
    AnswerFolderBrowser(IDC_SELECT_B, IDCANCEL);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_PATH_B)), new_folder.u16string() + u"\\");
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);
    AnswerFolderBrowser(IDM_FOLDER_B, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 4);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_PATH_A)), old_folder.u16string());
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_PATH_B)), new_folder.u16string());
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_COMPARE, 0), 0);
    // A status bar answers WM_GETTEXT with its first field.
    EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(window, IDC_STATUS_BAR)) == u"照合後"; }));

    // Row 0 of both lists: "calc main.cpp", which differs. The start-up directory and the
    // file's name hold a blank; the file reaches Kestrel in its short form.
    std::u16string outcome;
    const HWND first = LaunchKestrel(VK_HOME, outcome);
    ASSERT_NE(first, nullptr) << "Kestrel did not come up with its outcome";
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_EQ(TextOf(GetDlgItem(first, 3001)), ShortForm(old_folder / "calc main.cpp"));
    EXPECT_EQ(TextOf(GetDlgItem(first, 3002)), ShortForm(new_folder / "calc main.cpp"));
    EXPECT_EQ(ShortForm(old_folder / "calc main.cpp").find(u' '), std::u16string::npos);

    // Row 1: util.h, the same on both sides, in a second Kestrel beside the first.
    const HWND second = LaunchKestrel(VK_DOWN, outcome);
    ASSERT_NE(second, nullptr) << "the second Kestrel did not come up with its outcome";
    EXPECT_NE(second, first);
    EXPECT_EQ(outcome, u"一致しました");
    // Paths without a blank are handed over as they are.
    EXPECT_EQ(TextOf(GetDlgItem(second, 3001)), (old_folder / "util.h").u16string());
    EXPECT_EQ(TextOf(GetDlgItem(second, 3002)), (new_folder / "util.h").u16string());

    // Each program closes on its own; Osprey first, the file comparers run on without it.
    EXPECT_TRUE(CloseAndWait(window));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(CloseAndWait(first));
    EXPECT_TRUE(CloseAndWait(second));
}

}  // namespace

// The manual command of both programs, and the release package as a user unpacks it. The shell
// opens a manual with whatever the .pdf "open" verb names: here a recorder, which writes down
// the files it was asked to open.
namespace {

// Registers the recorder of open_recorder.cpp as the "open" handler of .pdf in the test prefix
// while it lives, and puts the previous handler back afterwards. The programs started meanwhile
// inherit the name of its record. (Wine's shell reads the classes of the machine, not the
// user's, so the registration goes to HKEY_CLASSES_ROOT.)
class OpenRecorder {
  public:
    explicit OpenRecorder(std::filesystem::path record) : record_(std::move(record)) {
        wchar_t previous[256] = {};
        DWORD size = sizeof(previous);
        if (RegGetValueW(HKEY_CLASSES_ROOT, L".pdf", nullptr, RRF_RT_REG_SZ, nullptr, previous,
                         &size) == ERROR_SUCCESS)
            previous_ = previous;
        SetEnvironmentVariableW(L"KO_OPEN_RECORD", record_.c_str());
        const std::wstring recorder =
            std::filesystem::path(OPEN_RECORDER_EXE).make_preferred().wstring();
        SetDefault(L".pdf", L"KoTest.OpenRecorder");
        SetDefault(L"KoTest.OpenRecorder\\shell\\open\\command", L"\"" + recorder + L"\" \"%1\"");
    }
    ~OpenRecorder() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"KoTest.OpenRecorder");
        if (previous_.empty())
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
        else
            SetDefault(L".pdf", previous_);
        SetEnvironmentVariableW(L"KO_OPEN_RECORD", nullptr);
    }

    // The files the recorder was asked to open so far, in order.
    std::vector<std::filesystem::path> Opened() const {
        std::ifstream file(record_, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        std::vector<std::filesystem::path> opened;
        std::wstring line;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
            if (unit != L'\n') {
                line += unit;
                continue;
            }
            opened.emplace_back(line);
            line.clear();
        }
        return opened;
    }

  private:
    static void SetDefault(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    std::filesystem::path record_;
    std::wstring previous_;
};

// Whether the status bar (id 1) of `window` shows red on the screen: most pixels of its middle
// row are pure red, as Kestrel paints it after a comparison that found differences.
bool StatusBarIsRed(HWND window) {
    RECT bar{};
    if (!GetWindowRect(GetDlgItem(window, 1), &bar) || bar.right <= bar.left) return false;
    HDC screen = GetDC(nullptr);
    int red = 0;
    for (int x = bar.left; x < bar.right; ++x)
        red += GetPixel(screen, x, (bar.top + bar.bottom) / 2) == RGB(255, 0, 0);
    ReleaseDC(nullptr, screen);
    return red * 2 > bar.right - bar.left;
}

constexpr WPARAM kKestrelManualCommand = 122;  // ドキュメント(&D); Osprey's is IDM_MANUAL

class ManualCommandTest : public OspreyProcessTest {
  protected:
    // Starts `program` from the start-up directory and returns its main window titled `title`.
    HWND Start(const wchar_t* program, std::u16string_view title) {
        const std::wstring path = (start / program).wstring();
        std::wstring command_line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            start.c_str(), &startup, &started))
            return nullptr;
        CloseHandle(started.hThread);
        kestrel_processes.push_back(started.hProcess);  // ended by TearDown if still running
        return WaitFor([&] { return TopWindowOf(started.dwProcessId, u"Main Window", title); });
    }
};

TEST_F(ManualCommandTest, OpensTheManualBesideTheProgramAndSaysSoWhenItIsMissing) {
    struct Program {
        const wchar_t* exe;
        std::u16string_view title;
        WPARAM command;
        const char* manual;
    };
    const Program programs[] = {
        {L"Kestrel.exe", u"Kestrel Ver1.00", kKestrelManualCommand, "Kestrel_manual.pdf"},
        {L"Osprey.exe", u"Osprey Ver1.00", IDM_MANUAL, "Osprey_manual.pdf"},
    };
    for (const Program& program : programs) {
        SCOPED_TRACE(program.manual);
        const std::filesystem::path manual =
            temp.Write(std::string("start here/") + program.manual, "%PDF-1.4\n");
        OpenRecorder recorder(temp.path() / (std::string(program.manual) + ".opened"));
        const HWND main = Start(program.exe, program.title);
        ASSERT_NE(main, nullptr) << "the program did not come up";
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);

        PostMessageW(main, WM_COMMAND, program.command, 0);
        ASSERT_TRUE(WaitFor([&] { return !recorder.Opened().empty(); }));
        EXPECT_TRUE(std::filesystem::equivalent(recorder.Opened().front(), manual));
        Ask(main, WM_NULL);  // the command has run to its end
        EXPECT_EQ(TopWindowOf(pid, u"#32770", u""), nullptr) << "a message came up";

        std::filesystem::remove(manual);
        PostMessageW(main, WM_COMMAND, program.command, 0);
        const HWND box = WaitFor([&] { return TopWindowOf(pid, u"#32770", u"残念！"); });
        ASSERT_NE(box, nullptr) << "no message for the missing manual";
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)),
                  ko::Utf8ToUtf16(program.manual) + u"が見つかりません。");
        EXPECT_EQ(recorder.Opened().size(), 1u);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(CloseAndWait(main));
    }
}

// The release package unzipped by scripts/test into the folder KO_PACKAGE_DIR names, a path with
// a blank and Japanese characters, and Osprey run there on the sample folders. Skipped without
// KO_PACKAGE_DIR (under ctest): the package is made after the build.
class ReleasePackageTest : public OspreyProcessTest {
  protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = {};
        wchar_t source[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"KO_PACKAGE_DIR", folder, MAX_PATH) == 0)
            GTEST_SKIP() << "no unpacked release package (KO_PACKAGE_DIR)";
        ASSERT_NE(GetEnvironmentVariableW(L"KO_SOURCE_DIR", source, MAX_PATH), 0u);
        start = folder;
        old_folder = std::filesystem::path(source) / "samples" / "folder-a";
        new_folder = std::filesystem::path(source) / "samples" / "folder-b";
        ko::Settings settings;
        old_folder.make_preferred().u16string().copy(settings.fileA_folder_select,
                                                     ko::kPathUnits - 1);
        new_folder.make_preferred().u16string().copy(settings.fileB_folder_select,
                                                     ko::kPathUnits - 1);
        ko::SaveSettings(ko::Program::kOsprey, start.u16string(), settings);
    }
};

TEST_F(ReleasePackageTest, OspreyComparesTheSamplesStartsKestrelAndBothManualsOpen) {
    OpenRecorder recorder(temp.path() / "opened");
    StartOsprey();
    AnswerFolderBrowser(IDC_SELECT_A, IDOK);
    AnswerFolderBrowser(IDC_SELECT_B, IDOK);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_COMPARE, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(window, IDC_STATUS_BAR)) == u"照合後"; }));

    // Row 0 of both lists: inventory.cpp, which differs.
    std::u16string outcome;
    const HWND kestrel = LaunchKestrel(VK_HOME, outcome);
    ASSERT_NE(kestrel, nullptr) << "Kestrel did not come up with its outcome";
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_TRUE(WaitFor([&] { return StatusBarIsRed(kestrel); }));

    PostMessageW(kestrel, WM_COMMAND, kKestrelManualCommand, 0);
    ASSERT_TRUE(WaitFor([&] { return recorder.Opened().size() == 1; }));
    PostMessageW(window, WM_COMMAND, IDM_MANUAL, 0);
    ASSERT_TRUE(WaitFor([&] { return recorder.Opened().size() == 2; }));
    EXPECT_TRUE(std::filesystem::equivalent(recorder.Opened()[0], start / "Kestrel_manual.pdf"));
    EXPECT_TRUE(std::filesystem::equivalent(recorder.Opened()[1], start / "Osprey_manual.pdf"));

    EXPECT_TRUE(CloseAndWait(kestrel));
    EXPECT_TRUE(CloseAndWait(window));
}

}  // namespace
