#include "tests/support/win32_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/current_directory.h"
#include "common/dialog_text_win32.h"
#include "common/text.h"
#include "common/win32_text.h"

namespace ko::testing {

namespace {

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ToU16(name);
}

// The script of the one WithDialog running: what it waits for and the steps still to come.
struct Script {
    HWND owner;
    std::vector<Step> steps;
    std::size_t next = 0;
    int idle_ticks = 0;
};
Script* g_script = nullptr;
constexpr UINT kTickMs = 20;
constexpr int kPatienceTicks = 500;  // ten seconds

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script == nullptr) return;
    Script& script = *g_script;
    const std::vector<HWND> dialogs = DialogsOwnedBy(script.owner);
    if (!dialogs.empty() && script.next < script.steps.size()) {
        script.idle_ticks = 0;
        script.steps[script.next++](dialogs.front());
    } else if (++script.idle_ticks > kPatienceTicks && !dialogs.empty()) {
        ADD_FAILURE() << "the dialog outlived its steps";
        script.idle_ticks = 0;
        PostMessageW(dialogs.front(), WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace

int Picture::Count(int x, int y, int w, int h, std::uint32_t colour) const {
    int n = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            n += At(column, row) == colour;
    return n;
}

Picture Capture(HWND window, UINT message) {
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
    SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
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

std::u16string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return ToU16(text);
}

std::u16string ItemText(HWND dialog, int id) {
    return DialogItemText(dialog, id);
}

std::vector<std::u16string> EntriesOf(HWND dialog, int id) {
    const HWND combo = GetDlgItem(dialog, id);
    std::vector<std::u16string> entries;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring entry(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                           L'\0');
        entry.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()))));
        entries.push_back(ToU16(entry));
    }
    return entries;
}

std::vector<std::u16string> StatusFields(HWND status_bar) {
    std::vector<std::u16string> fields;
    const int parts = static_cast<int>(SendMessageW(status_bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        std::wstring text(LOWORD(SendMessageW(status_bar, SB_GETTEXTLENGTHW, part, 0)) + 1u, L'\0');
        SendMessageW(status_bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.size() - 1);
        fields.push_back(ToU16(text));
    }
    return fields;
}

void Type(HWND dialog, int id, std::u16string_view text) {
    const HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    SetDialogItemText(dialog, id, text);
    const WORD code = ClassOf(control) == u"ComboBox" ? CBN_EDITCHANGE : EN_CHANGE;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void Choose(HWND dialog, int id, int index) {
    const HWND combo = GetDlgItem(dialog, id);
    ASSERT_NE(combo, nullptr) << "no combo box " << id;
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void Press(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressKey(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    MSG message{};
    message.hwnd = focus && IsChild(dialog, focus) ? focus : dialog;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    EXPECT_TRUE(IsDialogMessageW(dialog, &message));
}

void CloseBox(HWND window) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<HWND> DialogsOwnedBy(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    // Enumeration runs from the top of the z-order, where the newest dialog is.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->owner &&
                ClassOf(window) == u"#32770")
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

INT_PTR WithDialog(HWND owner, const std::function<INT_PTR()>& open, std::vector<Step> steps) {
    Script script{owner, std::move(steps)};
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, OnTick);
    const INT_PTR result = open();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    if (script.next < script.steps.size())
        ADD_FAILURE() << "the dialog ran " << script.next << " of " << script.steps.size()
                      << " steps";
    return result;
}

void ProgramWindowTest::SetUp() {
    previous_directory_ = ReadCurrentDirectory();
    ASSERT_TRUE(ChangeCurrentDirectory(Folder()));
}

void ProgramWindowTest::TearDown() {
    Destroy();
    ChangeCurrentDirectory(previous_directory_);
}

void ProgramWindowTest::Destroy() {
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
    window = nullptr;
    // A later modal loop would end on the quit message the destruction posted.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

LRESULT ProgramWindowTest::Command(int id) const {
    const LRESULT result = SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
    return result;
}

void ProgramWindowTest::SetItem(int id, std::u16string_view text) const {
    SetDialogItemText(window, id, text);
}

std::u16string ProgramWindowTest::SettingsText(std::string_view name) const {
    std::ifstream in(dir.path() / name, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (!bytes.starts_with("\xFF\xFE")) return Utf8ToUtf16(bytes);  // an ASCII file stays one
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

}  // namespace ko::testing
