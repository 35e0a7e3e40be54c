// Osprey's window at scale, timed under Wine or on Windows (no Google Benchmark there):
//
//   osprey_window_timing.exe FOLDER_A FOLDER_B [ROUNDS]
//
// Makes the real main window inside this process with the program's resources and a folder
// browser that answers with the two folders, then times, each round, what a user waits for:
// "選" of folder A, of folder B (choice to both lists filled and painted), "比較" (to the
// counts in the status bar, lists refilled) and, alone, the list views' own refill. Prints
// milliseconds per step and round; compare the sum with the console program's whole run. Like
// Osprey it writes Osprey.ini into the folder it was started in.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/main_window_win32.h"
#include "resources/osprey_resource.h"

namespace {

using namespace osprey::app;

class Answers final : public FolderBrowser, public ProcessStarter, public ko::Reporter {
  public:
    std::u16string folder[2];
    int next = 0;
    std::optional<std::u16string> Browse(std::u16string_view) override { return folder[next]; }
    bool Start(const LaunchCommand&) override { return false; }
    int Show(ko::OwnerWindow, std::u16string_view text, std::u16string_view, unsigned) override {
        std::fprintf(stderr, "message: %s\n", ko::Utf16ToUtf8(text).c_str());
        return IDOK;
    }
};

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Milliseconds that `step` and the messages it leaves behind (the repaint) take.
template <typename Step>
double Time(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    Pump();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: osprey_window_timing FOLDER_A FOLDER_B [ROUNDS]\n");
        return 2;
    }
    static Answers answers;
    answers.folder[0] = ko::AsU16(argv[1]);
    answers.folder[1] = ko::AsU16(argv[2]);
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 3;
    OspreyApp& app = App();
    app.services = Services{&answers, &answers, &answers};
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterMainWindowClass(instance)) return 2;
    const HWND window = CreateMainWindow(instance);
    if (window == nullptr) return 2;
    ShowWindow(window, SW_SHOWNORMAL);
    Pump();
    std::printf("round  選A ms  選B ms  比較 ms  refill ms  rows\n");
    for (int round = 1; round <= rounds; ++round) {
        const double chooseA = Time([&] {
            answers.next = 0;
            SendMessageW(window, WM_COMMAND, IDM_FOLDER_A, 0);
        });
        const double chooseB = Time([&] {
            answers.next = 1;
            SendMessageW(window, WM_COMMAND, IDM_FOLDER_B, 0);
        });
        const double compare = Time([&] { SendMessageW(window, WM_COMMAND, IDM_COMPARE, 0); });
        const double refill = Time([] { RefillListViews(); });
        std::printf("%5d  %6.0f  %6.0f  %7.0f  %9.0f  %d\n", round, chooseA, chooseB, compare,
                    refill, ListRowCount(0));
        std::fflush(stdout);
    }
    DestroyWindow(window);
    Pump();
    return 0;
}
