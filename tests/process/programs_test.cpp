// Kestrel.exe and Osprey.exe as the user meets them: processes of their own, started from a
// folder whose name holds a blank (or from the unpacked release package that KO_PACKAGE_DIR
// names) and driven from outside through their window messages.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/text.h"
#include "resources/osprey_resource.h"
#include "tests/support/win32_driver.h"

namespace {

namespace fs = std::filesystem;
using ko::testing::TextOf;
using ko::testing::WaitFor;

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// A visible top-level window of `class_name` titled `title` (any title when null) of process
// `pid` (of any when 0) that is not among `known`, or null.
HWND TopWindow(const wchar_t* class_name, const wchar_t* title, DWORD pid,
               const std::vector<HWND>& known = {}) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, class_name, title)) != nullptr;)
        if (IsWindowVisible(w) && (pid == 0 || ProcessOf(w) == pid) &&
            std::find(known.begin(), known.end(), w) == known.end())
            return w;
    return nullptr;
}

// What a window of another process answers to `message` once it has handled what came before.
LRESULT Ask(HWND window, UINT message) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// Closes a window of another process and waits for that process to end.
bool CloseAndWait(HWND window) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended;
}

std::u16string ShortForm(const fs::path& path) {
    wchar_t buffer[520] = {};
    GetShortPathNameW(path.c_str(), buffer, 520);
    return ko::AsU16(buffer);
}

void SetClass(const wchar_t* key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Both programs in their start-up directory, with the recorder (open_recorder.cpp) registered
// as the "open" handler of .pdf (in the machine's classes, which Wine's shell reads). Every
// program a test met is ended when it is over.
class Programs : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t package[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"KO_PACKAGE_DIR", package, MAX_PATH) != 0) {
            start = package;
        } else {
            start = temp.path() / "start here";
            fs::create_directories(start);
            fs::copy_file(OSPREY_EXE, start / "Osprey.exe");
            fs::copy_file(KESTREL_EXE, start / "Kestrel.exe");
            for (const char* script : {"kestrel-difftool.cmd", "osprey-difftool.cmd"})
                fs::copy_file(fs::path(KO_RESOURCES_DIR) / script, start / script);
            for (const char* manual : {"Kestrel_manual.pdf", "Osprey_manual.pdf"})
                std::ofstream(start / manual) << "%PDF-1.4\n";
        }
        SetEnvironmentVariableW(L"KO_OPEN_RECORD", record.c_str());  // the programs inherit it
        SetClass(L".pdf", L"KoTest.OpenRecorder");
        SetClass(L"KoTest.OpenRecorder\\shell\\open\\command",
                 L"\"" + fs::path(OPEN_RECORDER_EXE).make_preferred().wstring() + L"\" \"%1\"");
    }
    void TearDown() override {
        for (HWND window : met)
            if (const HANDLE process =
                    OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window))) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"KoTest.OpenRecorder");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
    }
    // The paths the recorder was asked to open so far, one per line.
    std::wstring Recorded() const {
        std::ifstream file(record, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        std::wstring text(bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * 2);
        return text;
    }
    // Starts Osprey with `folder_a` and `folder_b` remembered as the sides' folders (in Kestrel's
    // settings too); Osprey starts the Kestrel of the folder bin, where no manual lies.
    void StartOsprey(const fs::path& folder_a, const fs::path& folder_b) {
        const std::string folders = "[Setting]\r\nfileA_folder_select=" + folder_a.string() +
                                    "\r\nfileB_folder_select=" + folder_b.string() + "\r\n";
        std::ofstream(start / "Osprey.ini") << folders << "subAppName=bin\\Kestrel.exe\r\n";
        std::ofstream(start / "kestrel.ini") << folders;
        fs::create_directories(start / "bin");
        fs::copy_file(start / "Kestrel.exe", start / "bin" / "Kestrel.exe",
                      fs::copy_options::overwrite_existing);
        ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr,
                                                          (start / "Osprey.exe").c_str(), nullptr,
                                                          start.c_str(), SW_SHOWNORMAL)),
                  32);  // started in its folder, as from Explorer
        osprey = WaitFor([&] { return TopWindow(L"Main Window", L"Osprey Ver1.00", 0); });
        met.push_back(osprey);
        ASSERT_NE(osprey, nullptr);
    }
    // The folder sequence of a side, answered in the real browser, which opens on the side's
    // folder.
    void AnswerBrowser(int button, int answer) {
        PostMessageW(osprey, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const HWND browser =
            WaitFor([&] { return TopWindow(L"#32770", nullptr, ProcessOf(osprey)); });
        ASSERT_NE(browser, nullptr);
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
        Ask(osprey, WM_NULL);  // the sequence runs to its end inside that one message
    }
    // Moves both lists' selection with `key`, chooses 個別比較 and returns the new file
    // comparer's window once it showed its outcome, whose text goes to `outcome`.
    HWND Launch(WPARAM key) {
        for (const int id : {IDC_LIST_A, IDC_LIST_B})
            PostMessageW(GetDlgItem(osprey, id), WM_KEYDOWN, key, 0);
        PostMessageW(osprey, WM_COMMAND, IDM_LAUNCH, 0);
        return AwaitKestrel();
    }
    // The window of a file comparer not met before, once it showed its outcome.
    HWND AwaitKestrel() {
        const HWND kestrel =
            WaitFor([&] { return TopWindow(L"Main Window", L"Kestrel Ver1.00", 0, met); });
        met.push_back(kestrel);
        const HWND box =
            WaitFor([&] { return TopWindow(L"#32770", L"比較完了", ProcessOf(kestrel)); });
        if (kestrel == nullptr || box == nullptr) return nullptr;
        outcome = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return kestrel;
    }
    // The manual command of `main` (`id`) opens the manual `name` beside the program in the
    // registered viewer without a message, or says that it is missing.
    void ExpectManual(HWND main, WPARAM id, const std::string& name) {
        const fs::path manual = start / name, aside = start / (name + ".away");
        const std::wstring before = Recorded();
        PostMessageW(main, WM_COMMAND, id, 0);
        ASSERT_TRUE(WaitFor([&] { return Recorded() != before; }));
        const std::wstring opened = Recorded();
        EXPECT_TRUE(fs::equivalent(opened.substr(before.size(), opened.size() - before.size() - 1),
                                   manual));
        Ask(main, WM_NULL);  // the command has run to its end
        EXPECT_EQ(TopWindow(L"#32770", nullptr, ProcessOf(main)), nullptr) << "a message came up";
        fs::rename(manual, aside);
        PostMessageW(main, WM_COMMAND, id, 0);
        const HWND box = WaitFor([&] { return TopWindow(L"#32770", L"残念！", ProcessOf(main)); });
        fs::rename(aside, manual);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), ko::Utf8ToUtf16(name) + u"が見つかりません。");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(Recorded(), opened);
    }

    ko::testing::TempDir temp;
    fs::path start, record = temp.path() / "opened";
    std::vector<HWND> met;  // the main windows of every program started or met
    HWND osprey = nullptr;
    std::u16string outcome;
};

// Osprey scans both folders in the real folder browser, compares them and starts Kestrel for a
// differing and then for an equal pair; each Kestrel shows the paths it was handed and its
// outcome. Each program opens its manual.
TEST_F(Programs, OspreyStartsKestrelForTheSelectedPairAndEachOpensItsManual) {
    // "calc main.cpp" differs, util.h is equal; the folders' names hold blanks too.
    const fs::path old_folder = temp.path() / "old version",
                   new_folder = temp.path() / "new version";
    fs::create_directories(old_folder);
    fs::create_directories(new_folder);
    temp.Write("old version/calc main.cpp", "return a + b;\r\n");
    temp.Write("new version/calc main.cpp", "return b + a;\r\n");
    temp.Write("old version/util.h", "int Add(int a, int b);\r\n");
    temp.Write("new version/util.h", "int Add(int a, int b);\r\n");
    temp.Write("old version/old.rc", "// old\r\n");
    StartOsprey(old_folder, new_folder);
    const HWND list_a = GetDlgItem(osprey, IDC_LIST_A);
    AnswerBrowser(IDC_SELECT_A, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);
    AnswerBrowser(IDM_FOLDER_B, IDCANCEL);
    EXPECT_EQ(TextOf(GetDlgItem(osprey, IDC_PATH_B)), new_folder.u16string() + u"\\");
    AnswerBrowser(IDM_FOLDER_B, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);
    EXPECT_EQ(TextOf(GetDlgItem(osprey, IDC_PATH_B)), new_folder.u16string());
    PostMessageW(osprey, WM_COMMAND, IDM_COMPARE, 0);
    // A status bar answers WM_GETTEXT with its first field.
    EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(osprey, IDC_STATUS_BAR)) == u"照合後"; }));

    // Row 0: "calc main.cpp" differs; its path holds blanks and goes in its short form.
    const HWND first = Launch(VK_HOME);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_EQ(TextOf(GetDlgItem(first, 3001)), ShortForm(old_folder / "calc main.cpp"));
    EXPECT_EQ(TextOf(GetDlgItem(first, 3002)), ShortForm(new_folder / "calc main.cpp"));
    // A file chosen through the real dialog in another folder, where it opens, moves the current
    // directory; the manual is found in the start-up folder all the same.
    PostMessageW(first, WM_COMMAND, 101, 0);  // ファイルＡを開く(&F)
    const HWND dialog =
        WaitFor([&] { return TopWindow(L"#32770", L"ファイルＡの選択", ProcessOf(first)); });
    const HWND field = GetDlgItem(dialog, 0x47c);  // the file-name field on Windows, else Wine's
    SendMessageW(field ? field : GetDlgItem(dialog, 0x480), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"util.h"));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(first, 3001)).ends_with(u"util.h"); }));
    ExpectManual(first, 122, "Kestrel_manual.pdf");  // Kestrel's ドキュメント(&D)
    ExpectManual(osprey, IDM_MANUAL, "Osprey_manual.pdf");
    // Row 1: util.h, the same on both sides, in a second Kestrel beside the first.
    const HWND second = Launch(VK_DOWN);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(outcome, u"一致しました");
    EXPECT_EQ(TextOf(GetDlgItem(second, 3001)), ShortForm(old_folder / "util.h"));
    EXPECT_EQ(TextOf(GetDlgItem(second, 3002)), ShortForm(new_folder / "util.h"));
    // Each program closes on its own. Osprey keeps no handle of a file comparer it started,
    // whose process is gone once it ends, and the file comparers run on without Osprey.
    const DWORD first_process = ProcessOf(first);
    EXPECT_TRUE(CloseAndWait(first));
    EXPECT_TRUE(WaitFor([&] {
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, first_process);
        if (process) CloseHandle(process);
        return process == nullptr;
    }));
    EXPECT_TRUE(CloseAndWait(osprey));
    EXPECT_TRUE(CloseAndWait(second));
}

// Each difftool script hands the caller's relative paths whole, bare and quoted (as Explorer
// does), to its program started in the script's folder, and waits for it.
TEST_F(Programs, TheDifftoolScriptsHandWholeBarePathsToTheProgramStartedInItsFolder) {
    const fs::path caller = temp.path() / u"呼ぶ 側";
    for (const char* name : {"旧 版/a.cpp", "新 版/a.cpp", "旧 版.txt", "新 版.txt"}) {
        fs::create_directories((caller / ko::Utf8ToUtf16(name)).parent_path());
        // ASCII text, which reads the same in every code page (no decoding note comes first).
        temp.Write(std::string("呼ぶ 側/") + name,
                   std::string_view(name).starts_with("旧") ? "old" : "new");
    }
    for (const std::string program : {"kestrel", "osprey"}) {
        const bool folders = program == "osprey";
        const fs::path a = folders ? u"旧 版" : u"旧 版.txt", b = folders ? u"新 版" : u"新 版.txt",
                       settings = start / (folders ? "Osprey.ini" : "kestrel.ini");
        fs::remove(settings);
        std::wstring line = L"cmd.exe /c \"\"" + (start / (program + "-difftool.cmd")).wstring() +
                            L"\" \"" + a.wstring() + L"\" \"" + b.wstring() + L"\"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION script{};
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                   nullptr, caller.c_str(), &startup, &script));
        CloseHandle(script.hThread);
        const HWND window =
            folders ? WaitFor([&] { return TopWindow(L"Main Window", L"Osprey Ver1.00", 0); })
                    : AwaitKestrel();
        ASSERT_NE(window, nullptr);
        met.push_back(window);
        const auto rows = [&](int id) { return Ask(GetDlgItem(window, id), LVM_GETITEMCOUNT); };
        EXPECT_TRUE(folders ? WaitFor([&] { return rows(IDC_LIST_A) + rows(IDC_LIST_B) == 2; })
                            : outcome == u"不一致です");  // a row on each side, or the outcome
        EXPECT_EQ(fs::path(TextOf(GetDlgItem(window, 3001))), caller / a);
        EXPECT_EQ(fs::path(TextOf(GetDlgItem(window, 3002))), caller / b);
        EXPECT_EQ(WaitForSingleObject(script.hProcess, 500), WAIT_TIMEOUT);  // the script waits
        EXPECT_TRUE(CloseAndWait(window));
        EXPECT_EQ(WaitForSingleObject(script.hProcess, 30000), WAIT_OBJECT_0);
        CloseHandle(script.hProcess);
        EXPECT_TRUE(fs::exists(settings));
        EXPECT_FALSE(fs::exists(caller / settings.filename()));
    }
}

}  // namespace
