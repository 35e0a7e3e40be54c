#include "tests/osprey_app/osprey_window_fixture.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "common/current_directory.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/main_window_win32.h"
#include "resources/osprey_resource.h"

namespace osprey::app::testing {

namespace {

std::u16string WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return ko::ToU16(text);
}

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ko::ToU16(name);
}

struct DialogScript {
    HWND owner = nullptr;
    const std::function<void(HWND)>* action = nullptr;
    bool done = false;
    UINT_PTR timer = 0;
};
DialogScript g_script;

HWND FindOwnedDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            if (IsWindowVisible(candidate) && GetWindow(candidate, GW_OWNER) == s->owner &&
                ClassOf(candidate) == u"#32770") {
                s->found = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script.done) return;
    const HWND dialog = FindOwnedDialog(g_script.owner);
    if (!dialog) return;
    g_script.done = true;
    KillTimer(nullptr, g_script.timer);
    (*g_script.action)(dialog);
}

}  // namespace

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

INT_PTR WhenDialogShows(HWND owner, const std::function<INT_PTR()>& open,
                        const std::function<void(HWND dialog)>& action) {
    g_script = DialogScript{owner, &action, false, 0};
    g_script.timer = SetTimer(nullptr, 0, 20, OnScriptTimer);
    const INT_PTR result = open();
    if (!g_script.done) {
        KillTimer(nullptr, g_script.timer);
        ADD_FAILURE() << "no dialog came up";
    }
    g_script = DialogScript{};
    return result;
}

std::vector<std::u16string> StaticTexts(HWND dialog) {
    std::vector<std::u16string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == u"Static") texts.push_back(WindowText(child));
    return texts;
}

void OspreyWindowTest::SetUp() {
    startupDirectory = temp.path() / "start";
    std::filesystem::create_directories(startupDirectory);
    previousDirectory_ = ko::ReadCurrentDirectory();
    ASSERT_TRUE(ko::ChangeCurrentDirectory(startupDirectory.u16string()));
    OspreyApp& app = App();
    app.services = Services{&reporter, &browser, &starter};
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
}

void OspreyWindowTest::TearDown() {
    CloseWindow();
    ko::ChangeCurrentDirectory(previousDirectory_);
}

void OspreyWindowTest::OpenWindow() {
    window = CreateMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpMessages();
}

void OspreyWindowTest::CloseWindow() {
    if (window && IsWindow(window)) DestroyWindow(window);
    window = nullptr;
    // The window's destruction posted the quit message; a later modal loop would end on it.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void OspreyWindowTest::WriteSettings(const ko::Settings& settings) const {
    ko::SaveSettings(ko::Program::kOsprey, startupDirectory.u16string(), settings);
}

std::u16string OspreyWindowTest::SettingsFileText() const {
    std::ifstream in(startupDirectory / "Osprey.ini", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    std::u16string text(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                        static_cast<unsigned char>(data[2 * i + 1]) << 8);
    return text;
}

void OspreyWindowTest::AppendSettingsLine(std::u16string_view line) const {
    std::ofstream out(startupDirectory / "Osprey.ini", std::ios::binary | std::ios::app);
    for (const char16_t unit : std::u16string(line) + u"\r\n")
        out.put(static_cast<char>(unit & 0xFF)).put(static_cast<char>(unit >> 8));
}

std::u16string OspreyWindowTest::MakeFolder(
    const std::string& name, const std::vector<std::pair<std::string, std::string>>& files) const {
    const std::filesystem::path folder = temp.path() / std::filesystem::path(ko::Utf8ToUtf16(name));
    std::filesystem::create_directories(folder);
    for (const auto& [file, content] : files)
        temp.Write(name + "/" + file, content);
    return folder.u16string();
}

void OspreyWindowTest::Command(int id) const {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

void OspreyWindowTest::ChooseFolder(int side, const std::u16string& folder) {
    browser.answers.push_back(folder);
    Command(side == kSideA ? IDM_FOLDER_A : IDM_FOLDER_B);
}

HWND OspreyWindowTest::ListView(int side) const {
    return GetDlgItem(window, side == kSideA ? IDC_LIST_A : IDC_LIST_B);
}

int OspreyWindowTest::RowCount(int side) const {
    return static_cast<int>(SendMessageW(ListView(side), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::u16string> OspreyWindowTest::RowTexts(int side, int row) const {
    std::vector<std::u16string> texts;
    for (int column = 0; column < 5; ++column) {
        wchar_t text[520] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 520;
        SendMessageW(ListView(side), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(ko::ToU16(text));
    }
    return texts;
}

std::vector<std::u16string> OspreyWindowTest::Column(int side, int column) const {
    std::vector<std::u16string> cells;
    for (int row = 0; row < RowCount(side); ++row)
        cells.push_back(RowTexts(side, row)[column]);
    return cells;
}

std::vector<int> OspreyWindowTest::Images(int side) const {
    std::vector<int> images;
    for (int row = 0; row < RowCount(side); ++row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(ListView(side), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        images.push_back(item.iImage);
    }
    return images;
}

std::vector<LPARAM> OspreyWindowTest::ItemData(int side) const {
    std::vector<LPARAM> data;
    for (int row = 0; row < RowCount(side); ++row) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageW(ListView(side), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        data.push_back(item.lParam);
    }
    return data;
}

UINT OspreyWindowTest::State(int side, int row, UINT mask) const {
    return static_cast<UINT>(SendMessageW(ListView(side), LVM_GETITEMSTATE, row, mask));
}

std::vector<std::u16string> OspreyWindowTest::StatusFields() const {
    const HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
    std::vector<std::u16string> fields;
    const int parts = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        wchar_t text[256] = {};
        SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        fields.push_back(ko::ToU16(text));
    }
    return fields;
}

std::u16string OspreyWindowTest::PathBoxText(int side) const {
    return WindowText(GetDlgItem(window, side == kSideA ? IDC_PATH_A : IDC_PATH_B));
}

void OspreyWindowTest::ClickRow(int side, int row) const {
    const HWND list = ListView(side);
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds)));
    const LPARAM point =
        MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    PumpMessages();
}

void OspreyWindowTest::PressKeyInList(int side, WPARAM key) const {
    SendMessageW(ListView(side), WM_KEYDOWN, key, 0);
    SendMessageW(ListView(side), WM_KEYUP, key, 0);
    PumpMessages();
}

}  // namespace osprey::app::testing
