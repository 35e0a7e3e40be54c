#include "osprey/app/list_views_win32.h"

#include <commctrl.h>

#include <string>

#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/window_layout.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

constexpr int kListTop = 25;
constexpr int kRoomBelowLists = 50;  // the folder rows above and the status bar below
constexpr UINT kMarkStates = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;

HWND CreateListView(HWND window, int id, int x, int width, int height) {
    HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, x, kListTop, width, height,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App().instance, nullptr);
    if (!list) return nullptr;
    const LPARAM extended = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(App().window.images));
    for (int column = 0; column < kListColumnCount; ++column) {
        std::wstring title = ko::ToWide(kListColumns[column].title);
        LVCOLUMNW format{};
        format.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        format.fmt = LVCFMT_LEFT;
        format.cx = kListColumns[column].width;
        format.pszText = title.data();
        format.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&format));
    }
    return list;
}

void SetCellText(HWND list, int row, int column, std::u16string_view text) {
    std::wstring cell = ko::ToWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = cell.data();
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

// Every row goes in at the top while the index runs down, so the list ends up ascending.
void FillList(HWND list, const std::vector<FileEntry>& pairs) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = pairs.size(); i-- > 0;) {
        const FileEntry& half = pairs[i];
        if (half.status <= kFreeRow) continue;
        const auto texts = RowTexts(half);
        std::wstring name = ko::ToWide(texts[0]);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = 0;
        item.pszText = name.data();
        item.iImage = StatusImage(half.status);
        item.lParam = static_cast<LPARAM>(i);
        const int row = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (int column = 1; column < kListColumnCount; ++column)
            SetCellText(list, row, column, texts[column]);
    }
}

}  // namespace

bool CreateListViews(HWND window) {
    WindowParts& parts = App().window;
    RECT client{};
    GetClientRect(window, &client);
    const int width = (client.right - client.left) / 2;
    const int height = (client.bottom - client.top) - kRoomBelowLists;
    parts.listView[kSideA] = CreateListView(window, IDC_LIST_A, 0, width, height);
    parts.listView[kSideB] = CreateListView(window, IDC_LIST_B, width, width, height);
    return parts.listView[kSideA] && parts.listView[kSideB];
}

// Both lists are emptied and filled anew from the pair lists, free rows left out, every row
// carrying the index of its pair row as item data.
void RefillListViews() {
    const OspreyApp& app = App();
    for (int side = 0; side < 2; ++side) {
        HWND list = app.window.listView[side];
        // One repaint for the whole list instead of one per inserted row.
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        FillList(list, app.comparison.pairs[side]);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

void MarkSelection(int side) {
    HWND list = App().window.listView[side];
    const int rows = ListRowCount(side);
    for (int row = 0; row < rows; ++row) {
        const UINT state = static_cast<UINT>(
            SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_FOCUSED | LVIS_SELECTED));
        LVITEMW item{};
        item.stateMask = kMarkStates;
        item.state = state != 0 ? kMarkStates : 0;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

int ListRowCount(int side) {
    return static_cast<int>(SendMessageW(App().window.listView[side], LVM_GETITEMCOUNT, 0, 0));
}

int FirstSelectedRow(int side) {
    HWND list = App().window.listView[side];
    const int row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    if (row < 0) return -1;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(item.lParam);
}

}  // namespace osprey::app
