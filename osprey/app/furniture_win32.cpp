#include "osprey/app/furniture_win32.h"

#include <commctrl.h>

#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/window_layout.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

constexpr int kControlHeight = 22;
constexpr int kButtonWidth = 30;
constexpr int kImageSize = 12;
constexpr COLORREF kMaskColour = RGB(255, 255, 255);  // no picture holds a white pixel

HWND CreateChild(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style, int x,
                 int width, int id) {
    return CreateWindowExW(
        0, window_class, text, WS_CHILD | WS_VISIBLE | style, x, 0, width, kControlHeight, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App().instance, nullptr);
}

// A "選" button and a path box per side, side A in the left half of the screen's width.
bool CreateFolderRows(HWND window) {
    WindowParts& parts = App().window;
    const int half = parts.screenWidth / 2;
    const DWORD button_style = BS_DEFPUSHBUTTON | WS_TABSTOP;
    const DWORD box_style = WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    const int select_ids[2] = {IDC_SELECT_A, IDC_SELECT_B};
    const int box_ids[2] = {IDC_PATH_A, IDC_PATH_B};
    for (int side = 0; side < 2; ++side) {
        const int x = side * half;
        parts.selectButton[side] =
            CreateChild(window, L"BUTTON", L"選", button_style, x, kButtonWidth, select_ids[side]);
        parts.pathBox[side] = CreateChild(window, L"EDIT", L"", box_style, x + kButtonWidth,
                                          half - kButtonWidth, box_ids[side]);
        if (!parts.selectButton[side] || !parts.pathBox[side]) return false;
    }
    return true;
}

// The four status pictures, loaded from their 16x16 bitmaps scaled to 12x12.
HIMAGELIST CreateStatusImages() {
    HIMAGELIST images =
        ImageList_Create(kImageSize, kImageSize, ILC_MASK | ILC_COLOR24, kImageCount, 0);
    if (!images) return nullptr;
    const int bitmaps[kImageCount] = {IDB_NOT_COMPARED, IDB_MATCH, IDB_MISMATCH, IDB_ONE_SIDED};
    for (const int id : bitmaps) {
        HBITMAP bitmap =
            static_cast<HBITMAP>(LoadImageW(App().instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                            kImageSize, kImageSize, LR_CREATEDIBSECTION));
        if (bitmap) ImageList_AddMasked(images, bitmap, kMaskColour);
        if (bitmap) DeleteObject(bitmap);
    }
    return images;
}

bool CreateStatusBar(HWND window) {
    WindowParts& parts = App().window;
    parts.statusBar = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), App().instance, nullptr);
    if (!parts.statusBar) return false;
    int edges[kStatusFieldCount];
    for (int i = 0; i < kStatusFieldCount; ++i)
        edges[i] = kStatusFieldEdges[i];
    SendMessageW(parts.statusBar, SB_SETPARTS, kStatusFieldCount, reinterpret_cast<LPARAM>(edges));
    return true;
}

}  // namespace

bool CreateFurniture(HWND window) {
    OspreyApp& app = App();
    if (!CreateFolderRows(window)) return false;
    app.window.images = CreateStatusImages();
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    if (!CreateListViews(window) || !CreateStatusBar(window)) return false;
    for (int side = 0; side < 2; ++side)
        SetWindowTextW(app.window.pathBox[side],
                       ko::AsWide(app.comparison.folderPath[side].c_str()));
    return true;
}

void UpdateStatusBar() {
    HWND bar = App().window.statusBar;
    SendMessageW(bar, SB_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(255, 255, 255)));
    const std::vector<std::u16string> texts = StatusBarTexts(App().comparison);
    for (int field = 0; field < kStatusFieldCount; ++field) {
        const std::u16string text = ko::CutText(texts[field], kStatusTextUnits - 1);
        SendMessageW(bar, SB_SETTEXTW, field, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::u16string ReadPathBox(int side) {
    HWND box = App().window.pathBox[side];
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return ko::ToU16(text);
}

void ReleaseFurniture() {
    WindowParts& parts = App().window;
    if (parts.images) ImageList_Destroy(parts.images);
    parts.images = nullptr;
}

}  // namespace osprey::app
