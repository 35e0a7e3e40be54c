// Osprey.exe and Kestrel.exe as the user meets them: two programs in a start-up directory,
// Osprey driven from outside through its window messages, Kestrel started by it for a pair.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
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

class OspreyProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        start = temp.path() / "start here";
        std::filesystem::create_directories(start);
        std::filesystem::copy_file(OSPREY_EXE, start / "Osprey.exe");
        std::filesystem::copy_file(KESTREL_EXE, start / "Kestrel.exe");
        // Rows: "calc main.cpp" differs, util.h is equal, then one file of each side alone.
        old_folder = temp.path() / "old version";
        new_folder = temp.path() / "new version";
        std::filesystem::create_directories(old_folder);
        std::filesystem::create_directories(new_folder);
        temp.Write("old version/calc main.cpp",
                   "int Add(int a, int b) {\r\n    return a + b;\r\n}\r\n");
        temp.Write("new version/calc main.cpp",
                   "int Add(int a, int b) {\r\n    return b + a;\r\n}\r\n");
        temp.Write("old version/util.h", "#pragma once\r\nint Add(int a, int b);\r\n");
        temp.Write("new version/util.h", "#pragma once\r\nint Add(int a, int b);\r\n");
        temp.Write("old version/old.rc", "// old\r\n");
        temp.Write("new version/new.rc", "// new\r\n");

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

    // Row 0 of both lists: "calc main.cpp", which differs. The start-up directory, the folders
    // and the file's name hold a blank; the file reaches Kestrel in its short form.
    std::u16string outcome;
    const HWND first = LaunchKestrel(VK_HOME, outcome);
    ASSERT_NE(first, nullptr) << "Kestrel did not come up with its outcome";
    EXPECT_EQ(outcome, u"不一致です");
    EXPECT_EQ(TextOf(GetDlgItem(first, 3001)), ShortForm(old_folder / "calc main.cpp"));
    EXPECT_EQ(TextOf(GetDlgItem(first, 3002)), ShortForm(new_folder / "calc main.cpp"));
    EXPECT_EQ(ShortForm(old_folder / "calc main.cpp").find(u' '), std::u16string::npos);

    // Row 1: util.h, the same on both sides, in a second Kestrel beside the first, from a
    // volume without short names: the whole paths go over in quotes.
    ASSERT_TRUE(WithoutShortNames(osprey.hProcess));
    const HWND second = LaunchKestrel(VK_DOWN, outcome);
    ASSERT_NE(second, nullptr) << "the second Kestrel did not come up with its outcome";
    EXPECT_NE(second, first);
    EXPECT_EQ(outcome, u"一致しました");
    EXPECT_EQ(TextOf(GetDlgItem(second, 3001)), (old_folder / "util.h").u16string());
    EXPECT_EQ(TextOf(GetDlgItem(second, 3002)), (new_folder / "util.h").u16string());

    // Each program closes on its own; Osprey first, the file comparers run on without it.
    EXPECT_TRUE(CloseAndWait(window));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(CloseAndWait(first));
    EXPECT_TRUE(CloseAndWait(second));
}

}  // namespace
