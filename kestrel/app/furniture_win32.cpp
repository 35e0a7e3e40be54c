#include "kestrel/app/furniture_win32.h"

#include <commctrl.h>

#include <string>

#include "common/dialog_text_win32.h"
#include "common/program_shell_win32.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/status_bar_texts.h"
#include "kestrel/app/view_win32.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

namespace {

// Buttons and path boxes side by side across the screen's width, side A in the left half.
// Their creation is not checked: a missing control only shows as a gap.
void CreateControls(HWND window) {
    WindowParts& parts = App().window;
    ko::CreateSideRows(window, App().instance, parts.screenWidth,
                       {{IDC_SELECT_A, IDC_SELECT_B}, {IDC_PATH_A, IDC_PATH_B}}, parts.selectButton,
                       parts.pathBox);
}

// The status bar is a common control: its class exists only once COMCTL32 has registered it,
// which Windows does not promise before InitCommonControlsEx asks for it.
void CreateStatusBar(HWND window) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    WindowParts& parts = App().window;
    parts.statusBar = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), App().instance,
        nullptr);
    int edges[kStatusFieldCount];
    for (int i = 0; i < kStatusFieldCount; ++i)
        edges[i] = kStatusFieldEdges[i];
    SendMessageW(parts.statusBar, SB_SETPARTS, kStatusFieldCount, reinterpret_cast<LPARAM>(edges));
}

// `face` at the set height, Shift-JIS, normal weight, asked for with a fixed pitch; the face is
// proportional all the same, so widths are always measured.
HFONT CreateFaceFont(const wchar_t* face) {
    return CreateFontW(App().settings.draw_font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH, face);
}

// The name of the face the font mapper gives `font`.
std::wstring FaceOf(HFONT font) {
    wchar_t face[LF_FACESIZE] = {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return face;
}

// The view's face is asked for as "ＭＳＰゴシック", a name no Windows font carries: MS PGothic is
// "ＭＳ Ｐゴシック". When the mapper stands another face in for the first name, the view asks for
// the real one, so it gets MS PGothic wherever that is installed.
HFONT CreateViewFont() {
    constexpr const wchar_t* kAskedFace = L"ＭＳＰゴシック";
    HFONT font = CreateFaceFont(kAskedFace);
    if (font == nullptr || FaceOf(font) == kAskedFace) return font;
    DeleteObject(font);
    return CreateFaceFont(L"ＭＳ Ｐゴシック");
}

// Both back buffers draw opaque black text in the view font.
void PrepareBackBuffers() {
    KestrelApp& app = App();
    for (int side = 0; side < 2; ++side) {
        HDC dc = app.view.backDc[side];
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, kBlack);
        app.view.previousFont[side] = SelectObject(dc, app.window.viewFont);
    }
}

}  // namespace

bool CreateFurniture(HWND window) {
    KestrelApp& app = App();
    app.restartFlag = 0;
    app.engine.compareState = kNotCompared;
    CreateControls(window);
    CreateStatusBar(window);
    app.window.viewFont = CreateViewFont();
    app.engine.grids.set_reporter(app.services.reporter);
    if (!app.engine.Allocate(app.settings.dtxlength_max, app.settings.dtylength_max,
                             *app.services.reporter, window))
        return false;
    if (!CreateView(window)) return false;
    PrepareBackBuffers();
    app.restartFlag = 0;
    app.engine.compareState = kNotCompared;
    return true;
}

void UpdateStatusBar() {
    const KestrelApp& app = App();
    HWND bar = app.window.statusBar;
    const StatusValues values{app.engine.compareState,
                              app.settings.dtxlength_max,
                              app.settings.dtylength_max,
                              app.settings.draw_font_height,
                              app.view.topRow,
                              app.view.geometry.scrollStep};
    ko::SetStatusBarColour(bar, StatusBarColour(values.compareState), app.services.highContrast());
    for (int field = 0; field < kStatusFieldCount; ++field) {
        const std::u16string text = StatusFieldText(field, values);
        SendMessageW(bar, SB_SETTEXTW, field, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::u16string ReadPathBox(int side) {
    HWND box = App().window.pathBox[side];
    return ko::DialogItemText(GetParent(box), GetDlgCtrlID(box));
}

}  // namespace kestrel::app
