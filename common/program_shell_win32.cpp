#include "common/program_shell_win32.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "common/messages.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/win32_text.h"

namespace ko {

namespace {

struct AboutBox {
    const AboutBoxIds* ids;
    std::u16string file_name;
};

INT_PTR OnAboutInit(HWND dialog, const AboutBox* box) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(box));
    SetDlgItemTextW(dialog, box->ids->file_name, AsWide(box->file_name.c_str()));
    return TRUE;  // the platform sets the focus
}

// Only the close button ends the box by command; Enter and Esc arrive as IDOK and IDCANCEL
// and are left alone.
INT_PTR OnAboutCommand(HWND dialog, WPARAM wparam) {
    const auto* box = reinterpret_cast<const AboutBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!box || LOWORD(wparam) != box->ids->close) return FALSE;
    EndDialog(dialog, 1);
    return TRUE;
}

INT_PTR OnAboutPaint(HWND dialog) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnAboutInit(dialog, reinterpret_cast<const AboutBox*>(lparam));
        case WM_COMMAND:
            return OnAboutCommand(dialog, wparam);
        case WM_CLOSE:  // the close box and the system menu's Close
            EndDialog(dialog, 0);
            return TRUE;
        case WM_PAINT:
            return OnAboutPaint(dialog);
        default:
            return FALSE;
    }
}

}  // namespace

std::optional<ScreenSize> RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure,
                                                  int icon_id, int menu_id,
                                                  const char16_t* class_name) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_id),
                                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszMenuName = MAKEINTRESOURCEW(menu_id);
    window_class.lpszClassName = AsWide(class_name);
    if (RegisterClassExW(&window_class) == 0) {
        const DWORD error = GetLastError();
        // The icons belong to the class only when it was registered here.
        if (window_class.hIcon) DestroyIcon(window_class.hIcon);
        if (window_class.hIconSm) DestroyIcon(window_class.hIconSm);
        if (error != ERROR_CLASS_ALREADY_EXISTS) return std::nullopt;
    }
    HDC screen = GetDC(nullptr);
    const ScreenSize size{GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
    ReleaseDC(nullptr, screen);
    return size;
}

ScreenRect FitIntoMonitorWorkArea(const ScreenRect& wanted) {
    const RECT rect = {wanted.left, wanted.top, wanted.right, wanted.bottom};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor)) return wanted;
    const RECT& work = monitor.rcWork;
    return FitIntoWorkArea(wanted, {work.left, work.top, work.right, work.bottom});
}

bool CreateSideRows(HWND parent, HINSTANCE instance, int screen_width, const SideRowIds& ids,
                    HWND (&select_buttons)[2], HWND (&path_boxes)[2]) {
    constexpr int kHeight = 22, kButtonWidth = 30;
    const int half = screen_width / 2;
    auto child = [&](const wchar_t* window_class, const wchar_t* text, DWORD style, int x,
                     int width, int id) {
        return CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, x, 0, width,
                               kHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               instance, nullptr);
    };
    bool made = true;
    for (int side = 0; side < 2; ++side) {
        const int x = side * half;
        select_buttons[side] = child(L"BUTTON", L"選", BS_DEFPUSHBUTTON | WS_TABSTOP, x,
                                     kButtonWidth, ids.select[side]);
        path_boxes[side] =
            child(L"EDIT", L"", WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                  x + kButtonWidth, half - kButtonWidth, ids.path_box[side]);
        made = made && select_buttons[side] && path_boxes[side];
    }
    return made;
}

ComApartment::ComApartment()
    : initialised_(
          SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

// S_FALSE (already initialised on this thread) counts as success and needs its own call too.
ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

LRESULT DefaultMainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_QUIT:
        case WM_INITMENUPOPUP:
        case WM_QUERYNEWPALETTE:
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

LRESULT OnMainWindowActivate(HWND window, WPARAM wparam, HWND& focused_child) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        focused_child = focus != nullptr && IsChild(window, focus) ? focus : nullptr;
    } else if (HIWORD(wparam) == 0) {
        const bool child_left = focused_child != nullptr && IsChild(window, focused_child);
        SetFocus(child_left ? focused_child : window);
    }
    return 0;
}

void RepaintNow(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void SetStatusBarColour(HWND bar, COLORREF colour, bool high_contrast) {
    SendMessageW(bar, SB_SETBKCOLOR, 0, static_cast<LPARAM>(high_contrast ? CLR_DEFAULT : colour));
}

int RunMessageLoop() {
    MSG message;
    for (;;) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 0;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int ShowAndRun(HWND window, int show_command) {
    if (window == nullptr) return 0;
    ShowWindow(window, show_command);
    UpdateWindow(window);
    return RunMessageLoop();
}

void OpenManual(HWND window, std::u16string_view startup_dir, std::u16string_view manual,
                Reporter& reporter) {
    const std::wstring path = ToWide(JoinPath(startup_dir, manual));
    const HINSTANCE result =
        ShellExecuteW(window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Success is a value above 32; 32 itself is SE_ERR_DLLNOTFOUND.
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        ShowMessage(reporter, window, messages::kManualNotFound, box::kOk, {manual});
}

INT_PTR RunAboutBox(HINSTANCE instance, HWND owner, const AboutBoxIds& ids,
                    std::u16string_view program_title) {
    const AboutBox box{&ids, Format(u"ファイル名：%s", {program_title})};
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(ids.template_id), owner, AboutBoxProc,
                           reinterpret_cast<LPARAM>(&box));
}

}  // namespace ko
