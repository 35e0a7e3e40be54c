// The main window as it comes up: its frame, menu, folder rows, list views, pictures and
// status bar.
#include <windows.h>

#include <commctrl.h>

#include <map>

#include <gmock/gmock.h>

#include "common/win32_text.h"
#include "osprey/app/main_window_win32.h"
#include "resources/osprey_resource.h"
#include "tests/osprey_app/osprey_window_fixture.h"

namespace osprey::app::testing {
namespace {

using ::testing::ElementsAre;

std::u16string TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return ko::ToU16(text);
}

RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND child, int x, int y, int width, int height) {
    const RECT rect = RectInParent(child);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

using ColourCounts = std::map<COLORREF, int>;

// Draws `draw` into a white-free square of `size` pixels filled with magenta and counts the
// colours it leaves.
ColourCounts CountColours(int size, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    draw(dc);
    GdiFlush();
    ColourCounts counts;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < size * size; ++i) {
        const DWORD bgr = pixels[i] & 0xFFFFFF;  // 0x00RRGGBB in a DIB
        ++counts[RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF)];
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return counts;
}

COLORREF MostFrequent(const ColourCounts& counts) {
    COLORREF best = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
        if (count > most) best = colour, most = count;
    return best;
}

TEST_F(OspreyWindowTest, StartsWithTheSettingsFoldersEmptyListsAndZeroCounters) {
    ko::Settings settings;
    const std::u16string a = MakeFolder("left", {{"a.cpp", "a"}});
    const std::u16string b = MakeFolder("right", {{"a.cpp", "a"}});
    a.copy(settings.fileA_folder_select, a.size());
    b.copy(settings.fileB_folder_select, b.size());
    WriteSettings(settings);
    OpenWindow();

    // Stored folders come back with a separator at the end.
    EXPECT_EQ(PathBoxText(kSideA), a + u"\\");
    EXPECT_EQ(PathBoxText(kSideB), b + u"\\");
    // Nothing is scanned at start-up.
    EXPECT_EQ(RowCount(kSideA), 0);
    EXPECT_EQ(RowCount(kSideB), 0);
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合前", u"Aファイル数=0", u"Bファイル数=0", u"対象ファイル数=0",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(OspreyWindowTest, IsAFixedWindowAcrossTheScreenWithItsFolderRowsListsAndStatusBar) {
    OpenWindow();
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, 64);
    EXPECT_EQ(ko::ToU16(class_name), u"Main Window");
    EXPECT_EQ(TextOf(window), u"Osprey Ver1.00");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetClassLongW(window, GCL_STYLE), 0x1003);

    HDC screen = GetDC(nullptr);
    const int W = GetDeviceCaps(screen, HORZRES);
    const int H = GetDeviceCaps(screen, VERTRES) - 48;
    ReleaseDC(nullptr, screen);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, W);
    EXPECT_EQ(frame.bottom, H);

    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_SELECT_A)), u"選");
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_SELECT_B)), u"選");
    ExpectRect(GetDlgItem(window, IDC_SELECT_A), 0, 0, 30, 22);
    ExpectRect(GetDlgItem(window, IDC_PATH_A), 30, 0, W / 2 - 30, 22);
    ExpectRect(GetDlgItem(window, IDC_SELECT_B), W / 2, 0, 30, 22);
    ExpectRect(GetDlgItem(window, IDC_PATH_B), W / 2 + 30, 0, W / 2 - 30, 22);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDC_PATH_A), GWL_STYLE) & ES_MULTILINE);

    RECT client{};
    GetClientRect(window, &client);
    ExpectRect(ListView(kSideA), 0, 25, client.right / 2, client.bottom - 50);
    ExpectRect(ListView(kSideB), client.right / 2, 25, client.right / 2, client.bottom - 50);

    const HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
    ASSERT_NE(bar, nullptr);
    int edges[8] = {};
    ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 6);
    EXPECT_THAT(std::vector<int>(edges, edges + 6), ElementsAre(70, 220, 370, 520, 670, 820));
}

TEST_F(OspreyWindowTest, MenuCarriesItsTextsAndCommands) {
    OpenWindow();
    struct Entry {
        std::u16string text;
        int id;  // -1 for a popup
    };
    auto entries = [](HMENU menu) {
        std::vector<Entry> found;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
            found.push_back({ko::ToU16(text), static_cast<int>(GetMenuItemID(menu, i))});
        }
        return found;
    };
    const HMENU menu = GetMenu(window);
    const std::vector<Entry> top = entries(menu);
    ASSERT_EQ(top.size(), 6u);
    const Entry expected_top[] = {{u"ﾌｧｲﾙ(&F)", -1},      {u"比較(&U)", 211},  {u"復元(&F)", 212},
                                  {u"個別比較(&I)", 213}, {u"その他(&W)", -1}, {u"終了(&X)", 291}};
    for (size_t i = 0; i < top.size(); ++i) {
        EXPECT_EQ(top[i].text, expected_top[i].text);
        EXPECT_EQ(top[i].id, expected_top[i].id);
    }
    const std::vector<Entry> file = entries(GetSubMenu(menu, 0));
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[0].text, u"フォルダＡのパスを指定(&A)");
    EXPECT_EQ(file[0].id, 202);  // folder A carries the higher number
    EXPECT_EQ(file[1].text, u"フォルダＢのパスを指定(&B)");
    EXPECT_EQ(file[1].id, 201);
    const std::vector<Entry> other = entries(GetSubMenu(menu, 4));
    ASSERT_EQ(other.size(), 3u);
    EXPECT_EQ(other[0].text, u"環境設定(&T)");
    EXPECT_EQ(other[0].id, 221);
    EXPECT_EQ(other[1].text, u"ドキュメント(&C)");
    EXPECT_EQ(other[1].id, 222);
    EXPECT_EQ(other[2].text, u"このソフトについて(&H)");
    EXPECT_EQ(other[2].id, 223);
}

TEST_F(OspreyWindowTest, ListViewsShowFiveColumnsInReportModeWithGridLinesAndFullRowSelection) {
    OpenWindow();
    for (int side : {kSideA, kSideB}) {
        const HWND list = ListView(side);
        wchar_t class_name[64] = {};
        GetClassNameW(list, class_name, 64);
        EXPECT_EQ(ko::ToU16(class_name), u"SysListView32");
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x21, 0x21);
        const std::u16string titles[] = {u"ファイル名", u"拡張子", u"サイズ", u"日時", u"比較"};
        const int widths[] = {400, 80, 150, 200, 60};
        for (int column = 0; column < 5; ++column) {
            wchar_t title[64] = {};
            LVCOLUMNW format{};
            format.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            format.pszText = title;
            format.cchTextMax = 64;
            ASSERT_TRUE(
                SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&format)));
            EXPECT_EQ(ko::ToU16(title), titles[column]);
            EXPECT_EQ(format.cx, widths[column]);
            EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 5);
    }
}

TEST_F(OspreyWindowTest, StatusPicturesAreOpaqueTwelvePixelSquaresInTheirColours) {
    OpenWindow();
    const auto images = reinterpret_cast<HIMAGELIST>(
        SendMessageW(ListView(kSideA), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images, reinterpret_cast<HIMAGELIST>(
                          SendMessageW(ListView(kSideB), LVM_GETIMAGELIST, LVSIL_SMALL, 0)));
    ASSERT_EQ(ImageList_GetImageCount(images), 4);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(height, 12);

    struct Picture {
        COLORREF ground;
        COLORREF ink;
    };
    const Picture pictures[] = {
        {RGB(0, 255, 255), RGB(0, 0, 0)},      // 未 on cyan
        {RGB(0, 255, 0), RGB(0, 0, 255)},      // blue circle on green
        {RGB(192, 192, 192), RGB(255, 0, 0)},  // red cross on light grey
        {RGB(255, 255, 0), RGB(0, 0, 0)},      // 非 on yellow
    };
    for (int i = 0; i < 4; ++i) {
        const ColourCounts counts =
            CountColours(12, [&](HDC dc) { ImageList_Draw(images, i, dc, 0, 0, ILD_NORMAL); });
        SCOPED_TRACE(i);
        EXPECT_EQ(counts.count(RGB(255, 0, 255)), 0u) << "a transparent pixel";
        EXPECT_EQ(MostFrequent(counts), pictures[i].ground);
        EXPECT_GT(counts.count(pictures[i].ink) ? counts.at(pictures[i].ink) : 0, 8);
    }
}

TEST_F(OspreyWindowTest, WindowCarriesIconElevenInBothSizes) {
    OpenWindow();
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
    for (const int size : {16, 48}) {
        SCOPED_TRACE(size);
        const HICON icon = static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_OSPREY), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        const ColourCounts counts = CountColours(
            size, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
        DestroyIcon(icon);
        EXPECT_EQ(MostFrequent(counts), RGB(255, 255, 0));
        EXPECT_GT(counts.count(RGB(255, 0, 0)), 0u);
        EXPECT_GT(counts.count(RGB(0, 0, 255)), 0u);
    }
}

}  // namespace
}  // namespace osprey::app::testing
