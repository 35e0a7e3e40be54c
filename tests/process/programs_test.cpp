// Kestrel.exe and Osprey.exe as the user meets them: programs in a start-up directory, started as
// processes of their own and driven from outside through their window messages.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

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

// Both programs copied into a start-up directory whose name holds a blank; every process a test
// started or met is ended when it is over, so the folders can be removed.
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
    // Starts `program` of the start-up directory with `arguments`; returns its process id.
    DWORD Start(const wchar_t* program, const std::wstring& arguments) {
        const std::wstring path = (start / program).wstring();
        std::wstring command_line = L"\"" + path + L"\"" + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, start.c_str(), &startup, &info));
        CloseHandle(info.hThread);
        processes.push_back(info.hProcess);
        return info.dwProcessId;
    }
    // The text of the "比較完了" box of process `pid`, which is then answered.
    static std::u16string Outcome(DWORD pid) {
        const HWND box = WaitFor([&] { return TopWindowOf(pid, L"#32770", u"比較完了"); });
        if (!box) return u"no outcome";
        const std::u16string text = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return text;
    }

    ko::testing::TempDir temp;
    fs::path start;
    std::vector<HANDLE> processes;
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
    const std::wstring ini = (start / "Osprey.ini").wstring();
    WritePrivateProfileStringW(L"Setting", L"fileA_folder_select", old_folder.c_str(), ini.c_str());
    WritePrivateProfileStringW(L"Setting", L"fileB_folder_select", new_folder.c_str(), ini.c_str());

    const DWORD osprey = Start(L"Osprey.exe", L"");
    const HANDLE osprey_process = processes.back();
    const HWND window =
        WaitFor([&] { return TopWindowOf(osprey, L"Main Window", u"Osprey Ver1.00"); });
    ASSERT_NE(window, nullptr);
    // The folder sequence of a side, answered in the real browser, which opens on the side's
    // folder.
    auto answer_browser = [&](int button, int answer) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const HWND browser = WaitFor([&] { return TopWindowOf(osprey, L"#32770", u""); });
        ASSERT_NE(browser, nullptr);
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
        Ask(window, WM_NULL);  // the sequence runs to its end inside that one message
    };
    const HWND list_a = GetDlgItem(window, IDC_LIST_A);
    answer_browser(IDC_SELECT_A, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);
    answer_browser(IDM_FOLDER_B, IDCANCEL);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_PATH_B)), new_folder.u16string() + u"\\");
    answer_browser(IDM_FOLDER_B, IDOK);
    EXPECT_EQ(Ask(list_a, LVM_GETITEMCOUNT), 3);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_PATH_B)), new_folder.u16string());
    PostMessageW(window, WM_COMMAND, IDM_COMPARE, 0);
    // A status bar answers WM_GETTEXT with its first field.
    EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(window, IDC_STATUS_BAR)) == u"照合後"; }));

    std::vector<HWND> kestrels;
    // Moves both lists' selection with `key` and starts the file comparer; returns its window.
    auto launch = [&](WPARAM key, std::u16string& outcome) -> HWND {
        for (const int id : {IDC_LIST_A, IDC_LIST_B})
            PostMessageW(GetDlgItem(window, id), WM_KEYDOWN, key, 0);
        PostMessageW(window, WM_COMMAND, IDM_LAUNCH, 0);
        DWORD pid = 0;
        const HWND kestrel = WaitFor([&] {
            return TopWindow(L"Main Window", u"Kestrel Ver1.00", [&](HWND found, DWORD owner) {
                pid = owner;
                return owner != osprey &&
                       std::find(kestrels.begin(), kestrels.end(), found) == kestrels.end();
            });
        });
        if (!kestrel) return nullptr;
        kestrels.push_back(kestrel);
        processes.push_back(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        outcome = Outcome(pid);
        return kestrel;
    };
    // Row 0: "calc main.cpp" differs; its path holds blanks and goes in its short form.
    std::u16string outcome;
    const HWND first = launch(VK_HOME, outcome);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_EQ(TextOf(GetDlgItem(first, 3001)), ShortForm(old_folder / "calc main.cpp"));
    EXPECT_EQ(TextOf(GetDlgItem(first, 3002)), ShortForm(new_folder / "calc main.cpp"));
    // Row 1: util.h, the same on both sides, in a second Kestrel beside the first, from a volume
    // without short names: the whole paths go over in quotes.
    ASSERT_TRUE(WithoutShortNames(osprey_process));
    const HWND second = launch(VK_DOWN, outcome);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(outcome, u"一致しました");
    EXPECT_EQ(TextOf(GetDlgItem(second, 3001)), (old_folder / "util.h").u16string());
    EXPECT_EQ(TextOf(GetDlgItem(second, 3002)), (new_folder / "util.h").u16string());
    // Each program closes on its own; the file comparers run on without Osprey.
    EXPECT_TRUE(CloseAndWait(window));
    EXPECT_TRUE(CloseAndWait(first));
    EXPECT_TRUE(CloseAndWait(second));
}

}  // namespace
