#include "osprey/app/furniture_win32.h"

#include <commctrl.h>

#include "common/program_shell_win32.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/window_layout.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

constexpr int kImageSize = 12;
constexpr COLORREF kMaskColour = RGB(255, 255, 255);  // no picture holds a white pixel

// A "選" button and a path box per side, side A in the left half of the screen's width.
bool CreateFolderRows(HWND window) {
    WindowParts& parts = App().window;
    return ko::CreateSideRows(window, App().instance, parts.screenWidth,
                              {{IDC_SELECT_A, IDC_SELECT_B}, {IDC_PATH_A, IDC_PATH_B}},
                              parts.selectButton, parts.pathBox);
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
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), App().instance,
        nullptr);
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
    ko::SetStatusBarColour(bar, RGB(255, 255, 255), App().services.highContrast());
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
