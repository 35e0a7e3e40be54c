// Kestrel.exe and Osprey.exe as the user meets them: programs in a start-up directory, started as
// processes of their own and driven from outside through their window messages.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <tuple>
#include <vector>

#include "common/text.h"
#include "common/win32_text.h"
#include "resources/osprey_resource.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Polls `find` until it yields something or 30 s have passed.
template <typename Find>
auto WaitFor(Find find) -> decltype(find()) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
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
    return ko::AsU16(text);
}

// The first visible top-level window of `class_name` titled `title` (any title when empty) for
// which `wanted` holds, given the id of its process.
HWND TopWindow(const wchar_t* class_name, std::u16string_view title,
               const std::function<bool(HWND, DWORD)>& wanted) {
    for (HWND w = FindWindowExW(nullptr, nullptr, class_name, nullptr); w;
         w = FindWindowExW(nullptr, w, class_name, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (IsWindowVisible(w) && (title.empty() || TextOf(w) == title) && wanted(w, pid)) return w;
    }
    return nullptr;
}
HWND TopWindowOf(DWORD pid, const wchar_t* class_name, std::u16string_view title) {
    return TopWindow(class_name, title, [pid](HWND, DWORD owner) { return owner == pid; });
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wparam, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// Closes a window of another process and waits for that process to end.
bool CloseAndWait(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
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

// Makes the short-name lookup of `process` answer as on a volume that keeps no short names,
// where GetShortPathNameW gives the long path back: its import slot is pointed at
// GetLongPathNameW, which takes the same arguments. Wine makes a short name for every long one,
// so no folder here can lack one. System DLLs lie at the same address in every process.
bool WithoutShortNames(HANDLE process) {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto short_lookup =
        reinterpret_cast<ULONG_PTR>(GetProcAddress(kernel32, "GetShortPathNameW"));
    const auto long_lookup =
        reinterpret_cast<ULONG_PTR>(GetProcAddress(kernel32, "GetLongPathNameW"));
    HMODULE image = nullptr;
    DWORD needed = 0;
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!EnumProcessModules(process, &image, sizeof image, &needed)) return false;
    auto* const base = reinterpret_cast<unsigned char*>(image);
    if (!ReadProcessMemory(process, base, &dos, sizeof dos, nullptr) ||
        !ReadProcessMemory(process, base + dos.e_lfanew, &nt, sizeof nt, nullptr))
        return false;
    const IMAGE_DATA_DIRECTORY table = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    std::vector<ULONG_PTR> slots(table.Size / sizeof(ULONG_PTR));
    unsigned char* const first = base + table.VirtualAddress;
    if (!ReadProcessMemory(process, first, slots.data(), table.Size, nullptr)) return false;
    const auto found = std::find(slots.begin(), slots.end(), short_lookup);
    if (found == slots.end()) return false;
    void* const slot = first + (found - slots.begin()) * sizeof(ULONG_PTR);
    DWORD protection = 0;
    return VirtualProtectEx(process, slot, sizeof long_lookup, PAGE_READWRITE, &protection) &&
           WriteProcessMemory(process, slot, &long_lookup, sizeof long_lookup, nullptr);
}

// Registers the recorder (open_recorder.cpp) as the "open" handler of .pdf in the project's own
// test prefix while it lives; the programs started meanwhile inherit the name of its record.
// Wine's shell reads the machine's classes, not the user's.
class OpenRecorder {
  public:
    explicit OpenRecorder(fs::path record) : record_(std::move(record)) {
        SetEnvironmentVariableW(L"KO_OPEN_RECORD", record_.c_str());
        const std::wstring recorder = fs::path(OPEN_RECORDER_EXE).make_preferred().wstring();
        SetDefault(L".pdf", L"KoTest.OpenRecorder");
        SetDefault(L"KoTest.OpenRecorder\\shell\\open\\command", L"\"" + recorder + L"\" \"%1\"");
    }
    ~OpenRecorder() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"KoTest.OpenRecorder");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
        SetEnvironmentVariableW(L"KO_OPEN_RECORD", nullptr);
    }
    // The files the recorder was asked to open so far, in order (UTF-16 lines).
    std::vector<fs::path> Opened() const {
        std::ifstream file(record_, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        std::wstring text(bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * 2);
        std::vector<fs::path> opened;
        for (std::size_t from = 0, end; (end = text.find(L'\n', from)) != std::wstring::npos;
             from = end + 1)
            opened.emplace_back(text.substr(from, end - from));
        return opened;
    }

  private:
    static void SetDefault(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    fs::path record_;
};

// Whether the status bar (id 1) of `window` shows red on the screen, as Kestrel paints it after
// a comparison that found differences: most pixels of its middle row.
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

constexpr WPARAM kKestrelManual = 122;  // Kestrel's ドキュメント(&D)

// Both programs in a start-up directory whose name holds a blank (or in the unpacked release
// package); every process a test started or met is ended when it is over.
class Programs : public ::testing::Test {
  protected:
    void SetUp() override {
        start = temp.path() / "start here";
        fs::create_directories(start);
        fs::copy_file(OSPREY_EXE, start / "Osprey.exe");
        fs::copy_file(KESTREL_EXE, start / "Kestrel.exe");
    }
    void TearDown() override {
        for (HANDLE process : processes) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
    }
    // Starts `program` of the start-up directory and returns its main window titled `title`.
    HWND Start(const wchar_t* program, std::u16string_view title) {
        const std::wstring path = (start / program).wstring();
        std::wstring command_line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            start.c_str(), &startup, &info))
            return nullptr;
        CloseHandle(info.hThread);
        processes.push_back(info.hProcess);
        return WaitFor([&] { return TopWindowOf(info.dwProcessId, L"Main Window", title); });
    }
    // Starts Osprey with `folder_a` and `folder_b` remembered as the sides' folders.
    void StartOsprey(const fs::path& folder_a, const fs::path& folder_b) {
        const std::wstring ini = (start / "Osprey.ini").wstring();
        WritePrivateProfileStringW(L"Setting", L"fileA_folder_select", folder_a.c_str(),
                                   ini.c_str());
        WritePrivateProfileStringW(L"Setting", L"fileB_folder_select", folder_b.c_str(),
                                   ini.c_str());
        osprey = Start(L"Osprey.exe", u"Osprey Ver1.00");
        ASSERT_NE(osprey, nullptr);
        GetWindowThreadProcessId(osprey, &osprey_pid);
    }
    // The folder sequence of a side, answered in the real browser, which opens on the side's
    // folder.
    void AnswerBrowser(int button, int answer) {
        PostMessageW(osprey, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const HWND browser = WaitFor([&] { return TopWindowOf(osprey_pid, L"#32770", u""); });
        ASSERT_NE(browser, nullptr);
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
        Ask(osprey, WM_NULL);  // the sequence runs to its end inside that one message
    }
    void CompareInOsprey() {
        PostMessageW(osprey, WM_COMMAND, IDM_COMPARE, 0);
        // A status bar answers WM_GETTEXT with its first field.
        EXPECT_TRUE(
            WaitFor([&] { return TextOf(GetDlgItem(osprey, IDC_STATUS_BAR)) == u"照合後"; }));
    }
    // Moves both lists' selection with `key`, starts the file comparer and returns its window
    // once it showed its outcome, whose text goes to `outcome`.
    HWND Launch(WPARAM key, std::u16string& outcome) {
        for (const int id : {IDC_LIST_A, IDC_LIST_B})
            PostMessageW(GetDlgItem(osprey, id), WM_KEYDOWN, key, 0);
        PostMessageW(osprey, WM_COMMAND, IDM_LAUNCH, 0);
        DWORD pid = 0;
        const HWND kestrel = WaitFor([&] {
            return TopWindow(L"Main Window", u"Kestrel Ver1.00", [&](HWND found, DWORD owner) {
                pid = owner;
                return owner != osprey_pid &&
                       std::find(kestrels.begin(), kestrels.end(), found) == kestrels.end();
            });
        });
        if (!kestrel) return nullptr;
        kestrels.push_back(kestrel);
        processes.push_back(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        const HWND box = WaitFor([&] { return TopWindowOf(pid, L"#32770", u"比較完了"); });
        if (!box) return nullptr;
        outcome = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return kestrel;
    }

    ko::testing::TempDir temp;
    fs::path start;
    std::vector<HANDLE> processes;
    HWND osprey = nullptr;
    DWORD osprey_pid = 0;
    std::vector<HWND> kestrels;  // every file comparer window met so far
};

// Osprey scans both folders in the real folder browser, compares them and starts Kestrel for a
// differing and then for an equal pair; each Kestrel shows the paths it was handed.
TEST_F(Programs, OspreyStartsKestrelForTheSelectedPairWhichShowsBothPathsAndItsOutcome) {
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
    CompareInOsprey();

    // Row 0: "calc main.cpp" differs; its path holds blanks and goes in its short form.
    std::u16string outcome;
    const HWND first = Launch(VK_HOME, outcome);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_EQ(TextOf(GetDlgItem(first, 3001)), ShortForm(old_folder / "calc main.cpp"));
    EXPECT_EQ(TextOf(GetDlgItem(first, 3002)), ShortForm(new_folder / "calc main.cpp"));
    // Row 1: util.h, the same on both sides, in a second Kestrel beside the first, from a volume
    // without short names: the whole paths go over in quotes.
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, osprey_pid);
    ASSERT_TRUE(WithoutShortNames(process));
    CloseHandle(process);
    const HWND second = Launch(VK_DOWN, outcome);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(outcome, u"一致しました");
    EXPECT_EQ(TextOf(GetDlgItem(second, 3001)), (old_folder / "util.h").u16string());
    EXPECT_EQ(TextOf(GetDlgItem(second, 3002)), (new_folder / "util.h").u16string());
    // Each program closes on its own; the file comparers run on without Osprey.
    EXPECT_TRUE(CloseAndWait(osprey));
    EXPECT_TRUE(CloseAndWait(first));
    EXPECT_TRUE(CloseAndWait(second));
}

// The manual command with the shell's "open" verb: the manual beside the program opens in the
// registered viewer without a message; a missing one is reported.
TEST_F(Programs, EachProgramOpensItsManualBesideItAndSaysSoWhenItIsMissing) {
    const std::tuple<const wchar_t*, std::u16string_view, WPARAM, const char*> programs[] = {
        {L"Kestrel.exe", u"Kestrel Ver1.00", kKestrelManual, "Kestrel_manual.pdf"},
        {L"Osprey.exe", u"Osprey Ver1.00", IDM_MANUAL, "Osprey_manual.pdf"},
    };
    for (const auto& [exe, title, command, name] : programs) {
        const fs::path manual = temp.Write(std::string("start here/") + name, "%PDF-1.4\n");
        OpenRecorder recorder(temp.path() / (std::string(name) + ".opened"));
        const HWND main = Start(exe, title);
        ASSERT_NE(main, nullptr);
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        PostMessageW(main, WM_COMMAND, command, 0);
        ASSERT_TRUE(WaitFor([&] { return !recorder.Opened().empty(); }));
        EXPECT_TRUE(fs::equivalent(recorder.Opened().front(), manual));
        Ask(main, WM_NULL);  // the command has run to its end
        EXPECT_EQ(TopWindowOf(pid, L"#32770", u""), nullptr) << "a message came up";

        fs::remove(manual);
        PostMessageW(main, WM_COMMAND, command, 0);
        const HWND box = WaitFor([&] { return TopWindowOf(pid, L"#32770", u"残念！"); });
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), ko::Utf8ToUtf16(name) + u"が見つかりません。");
        EXPECT_EQ(recorder.Opened().size(), 1u);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(CloseAndWait(main));
    }
}

// The release package unzipped by scripts/test into the folder KO_PACKAGE_DIR names (a path
// with a blank and Japanese characters), used on the sample folders. Skipped without it, under
// ctest: the package is made after the build.
TEST_F(Programs, TheReleasePackageComparesTheSamplesStartsKestrelAndOpensBothManuals) {
    wchar_t folder[MAX_PATH] = {}, source[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KO_PACKAGE_DIR", folder, MAX_PATH) == 0)
        GTEST_SKIP() << "no unpacked release package (KO_PACKAGE_DIR)";
    ASSERT_NE(GetEnvironmentVariableW(L"KO_SOURCE_DIR", source, MAX_PATH), 0u);
    start = folder;
    OpenRecorder recorder(temp.path() / "opened");
    StartOsprey((fs::path(source) / "samples/folder-a").make_preferred(),
                (fs::path(source) / "samples/folder-b").make_preferred());
    AnswerBrowser(IDC_SELECT_A, IDOK);
    AnswerBrowser(IDC_SELECT_B, IDOK);
    CompareInOsprey();
    std::u16string outcome;
    const HWND kestrel = Launch(VK_HOME, outcome);  // row 0: inventory.cpp, which differs
    ASSERT_NE(kestrel, nullptr);
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_TRUE(WaitFor([&] { return StatusBarIsRed(kestrel); }));
    PostMessageW(kestrel, WM_COMMAND, kKestrelManual, 0);
    ASSERT_TRUE(WaitFor([&] { return recorder.Opened().size() == 1; }));
    PostMessageW(osprey, WM_COMMAND, IDM_MANUAL, 0);
    ASSERT_TRUE(WaitFor([&] { return recorder.Opened().size() == 2; }));
    EXPECT_TRUE(fs::equivalent(recorder.Opened()[0], start / "Kestrel_manual.pdf"));
    EXPECT_TRUE(fs::equivalent(recorder.Opened()[1], start / "Osprey_manual.pdf"));
    EXPECT_TRUE(CloseAndWait(kestrel));
    EXPECT_TRUE(CloseAndWait(osprey));
}

}  // namespace
