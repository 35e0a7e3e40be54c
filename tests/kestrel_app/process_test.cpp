// Kestrel.exe as its own process, started the way the folder comparer starts it: the window
// appears, the comparison's result box shows up with the right text, and closing the window
// ends the program and leaves the settings file behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/text.h"
#include "common/win32_text.h"
#include "tests/support/temp_dir.h"

namespace {

std::wstring KestrelExe() {
    std::wstring path = ko::ToWide(ko::Utf8ToUtf16(KESTREL_EXE));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// A window's text as the window itself tells it (GetWindowText would only read the caption
// stored for a window of another process, which an edit box does not keep).
std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        &length);
    return text;
}

// A started Kestrel.exe; ended by force if a test left it running.
class KestrelProcess {
  public:
    KestrelProcess(const std::wstring& arguments, const std::filesystem::path& folder) {
        std::wstring command = L"Kestrel.exe" + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        started_ = CreateProcessW(KestrelExe().c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.wstring().c_str(), &startup, &info_);
    }
    ~KestrelProcess() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    bool started() const { return started_; }

    // The process's visible top-level window of `window_class` titled `title`, waiting up to
    // `ms` milliseconds for it.
    HWND WaitForWindow(const wchar_t* window_class, const wchar_t* title, DWORD ms) const {
        const DWORD start = GetTickCount();
        do {
            for (HWND window = FindWindowExW(nullptr, nullptr, window_class, title);
                 window != nullptr; window = FindWindowExW(nullptr, window, window_class, title)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == info_.dwProcessId && IsWindowVisible(window)) return window;
            }
            Sleep(50);
        } while (GetTickCount() - start < ms);
        return nullptr;
    }

    // Waits for the end of the process and returns its exit code (or -1 after 10 s).
    long Finish() const {
        if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

  private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// The settings file as text; the profile functions keep it in UTF-16.
std::wstring ReadSettingsFile(const std::filesystem::path& folder) {
    std::ifstream file(folder / "kestrel.ini", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string raw = bytes.str();
    std::wstring text;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(raw[i]) |
                                     static_cast<unsigned char>(raw[i + 1]) << 8);
    return text;
}

class KestrelProgram : public ::testing::Test {
  protected:
    std::wstring Write(std::string_view name, std::string_view bytes) {
        return ko::ToWide(dir_.WriteU16(name, bytes));
    }
    // Starts Kestrel with both files, reads the result box and answers it, then closes the
    // window; returns the box's text.
    std::wstring CompareAndClose(const std::wstring& a, const std::wstring& b) {
        KestrelProcess kestrel(L" /A:" + a + L" /B:" + b, dir_.path());
        EXPECT_TRUE(kestrel.started());
        HWND window = kestrel.WaitForWindow(L"Main Window", L"Kestrel Ver1.00", 15000);
        EXPECT_NE(window, nullptr);
        HWND box = kestrel.WaitForWindow(L"#32770", L"比較完了", 15000);
        EXPECT_NE(box, nullptr);
        if (window == nullptr || box == nullptr) return L"";
        const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
        EXPECT_EQ(WindowText(GetDlgItem(window, 3001)), a);
        EXPECT_EQ(WindowText(GetDlgItem(window, 3002)), b);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(kestrel.Finish(), 0);
        return text;
    }

    ko::testing::TempDir dir_;
};

TEST_F(KestrelProgram, ComparesTheFilesOfItsCommandLineAndShowsTheOutcome) {
    const std::wstring a = Write("a.txt", "a\r\nb\r\nc\r\n");
    const std::wstring b = Write("b.txt", "a\r\nx\r\nb\r\nc\r\n");
    EXPECT_EQ(CompareAndClose(a, b), L"不一致です");
    EXPECT_EQ(CompareAndClose(a, Write("same.txt", "a\r\nb\r\nc\r\n")), L"一致しました");
}

TEST_F(KestrelProgram, StartedWithoutArgumentsItWaitsAndWritesItsSettingsWhenClosed) {
    KestrelProcess kestrel(L"", dir_.path());
    ASSERT_TRUE(kestrel.started());
    HWND window = kestrel.WaitForWindow(L"Main Window", L"Kestrel Ver1.00", 15000);
    ASSERT_NE(window, nullptr);
    Sleep(400);  // long past the start-up timer
    EXPECT_EQ(kestrel.WaitForWindow(L"#32770", nullptr, 0), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(window, 3001)), L"");
    EXPECT_EQ(WindowText(GetDlgItem(window, 3002)), L"");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(kestrel.Finish(), 0);

    const std::wstring settings = ReadSettingsFile(dir_.path());
    EXPECT_EQ(std::count(settings.begin(), settings.end(), L'='), 135);
    const std::wstring folder = ko::ToWide(ko::testing::PathText(dir_.path()));
    EXPECT_NE(settings.find(L"fileA_folder_select=" + folder + L"\\\r\n"), std::wstring::npos);
    EXPECT_NE(settings.find(L"draw_font_height=12\r\n"), std::wstring::npos);
}

}  // namespace
