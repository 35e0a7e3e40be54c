#include "tests/kestrel_app/window_fixture.h"

#include <commctrl.h>

#include <fstream>

#include "common/current_directory.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app::testing {

int Picture::Count(int x, int y, int w, int h, std::uint32_t colour) const {
    int n = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            n += At(column, row) == colour;
    return n;
}

int Picture::CountOther(int x, int y, int w, int h, std::uint32_t colour) const {
    return w * h - Count(x, y, w, h, colour);
}

void KestrelWindowTest::SetUp() {
    previous_directory_ = ko::ReadCurrentDirectory();
    ASSERT_TRUE(ko::ChangeCurrentDirectory(Folder()));
    KestrelApp& app = App();
    app.commandLine = CommandLinePaths{};
    app.settings = ko::Settings{};
    app.services.reporter = &reporter_;
    app.services.fileDialog = &dialog_;
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
}

void KestrelWindowTest::TearDown() {
    Destroy();
    ko::ChangeCurrentDirectory(previous_directory_);
}

void KestrelWindowTest::WriteSettings(std::string_view lines) const {
    std::ofstream file(dir_.path() / "kestrel.ini", std::ios::binary);
    file << "[Setting]\r\n" << lines;
}

std::u16string KestrelWindowTest::WriteFile(std::string_view name, std::string_view bytes) const {
    return dir_.WriteU16(name, bytes);
}

HWND KestrelWindowTest::Create() {
    window_ = CreateMainWindow(GetModuleHandleW(nullptr));
    if (window_ != nullptr) KillTimer(window_, IDT_STARTUP);
    return window_;
}

void KestrelWindowTest::Destroy() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
    // The window's destruction posts the quit message; a later modal loop must not see it.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void KestrelWindowTest::LoadBoth(const std::u16string& a, const std::u16string& b) {
    SetPathBox(0, a);
    SetPathBox(1, b);
    dialog_.confirm = false;  // the dialog is cancelled: each side loads what its box holds
    Command(IDM_OPEN_FILE_A);
    Command(IDM_OPEN_FILE_B);
    Command(IDM_COMPARE);
}

std::u16string KestrelWindowTest::PathBox(int side) const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(window_, side == 0 ? IDC_PATH_A : IDC_PATH_B, text, 1024);
    return ko::ToU16(text);
}

void KestrelWindowTest::SetPathBox(int side, const std::u16string& text) const {
    SetDlgItemTextW(window_, side == 0 ? IDC_PATH_A : IDC_PATH_B, ko::AsWide(text.c_str()));
}

std::u16string KestrelWindowTest::StatusText(int field) const {
    HWND bar = GetDlgItem(window_, IDC_STATUS_BAR);
    wchar_t text[256] = {};
    SendMessageW(bar, SB_GETTEXTW, field, reinterpret_cast<LPARAM>(text));
    return ko::ToU16(text);
}

std::uint32_t KestrelWindowTest::StatusColour() const {
    // The bar tells its colour only by handing back the old one when given a new one.
    HWND bar = GetDlgItem(window_, IDC_STATUS_BAR);
    const LRESULT colour = SendMessageW(bar, SB_SETBKCOLOR, 0, RGB(1, 2, 3));
    SendMessageW(bar, SB_SETBKCOLOR, 0, colour);
    return static_cast<std::uint32_t>(colour);
}

namespace {

Picture RenderWindow(HWND window, UINT message, LPARAM flags) {
    RECT client = {};
    GetClientRect(window, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, picture.width, picture.height, BLACKNESS);
    SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), flags);
    GdiFlush();
    const auto* source = static_cast<const std::uint8_t*>(bits);
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint8_t* p = source + 4 * i;  // blue, green, red, unused
        picture.pixels[i] = RGB(p[2], p[1], p[0]);
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return picture;
}

std::function<bool()> g_modal_step;
int g_modal_ticks = 0;

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    if (++g_modal_ticks > 200 || (g_modal_step && g_modal_step())) {
        KillTimer(nullptr, timer);
        g_modal_step = nullptr;
    }
}

}  // namespace

Picture KestrelWindowTest::Render() const {
    return RenderWindow(window_, WM_PRINTCLIENT, PRF_CLIENT);
}

Picture KestrelWindowTest::RenderStatusBar() const {
    // The status bar paints into a device context handed with WM_PAINT, and only while it is
    // visible.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    Picture picture = RenderWindow(GetDlgItem(window_, IDC_STATUS_BAR), WM_PAINT, 0);
    ShowWindow(window_, SW_HIDE);
    return picture;
}

std::uint32_t KestrelWindowTest::BackBufferPixel(int side, int x, int y) const {
    return GetPixel(App().view.backDc[side], x, y);
}

std::vector<std::u16string> KestrelWindowTest::Texts() const {
    std::vector<std::u16string> texts;
    for (const auto& shown : reporter_.shown)
        texts.push_back(shown.text);
    return texts;
}

void DriveModalLoop(std::function<bool()> step) {
    g_modal_step = std::move(step);
    g_modal_ticks = 0;
    SetTimer(nullptr, 0, 50, ModalTimer);
}

HWND FindDialog(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        HWND found;
    } search = {title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (IsWindowVisible(window) && std::wstring(text) == s->title) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace kestrel::app::testing
