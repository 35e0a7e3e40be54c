#include "kestrel/app/view_win32.h"

#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/messages.h"

namespace kestrel::app {

namespace {

void FillWhite(HDC dc, int width, int height) {
    PatBlt(dc, 0, 0, width, height, WHITENESS);
}

void DrawRule(HDC dc, int x, int top, int bottom) {
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);  // the end point itself stays undrawn
}

void FillWhite(HDC dc, const PixelRect& area) {
    PatBlt(dc, area.x, area.y, area.width, area.height, WHITENESS);
}

void DrawLineNumber(HDC dc, int x, int y, int row) {
    const std::u16string text = LineNumberText(row);
    TextOutW(dc, x, y, ko::AsWide(text.c_str()), static_cast<int>(text.size()));
}

// The number of `row` on a white cell that spans the whole row of the column, or the bare
// cell for a row at or beyond the grid's end.
void DrawNumberCell(HDC dc, const PixelRect& cell, int x, int row, bool numbered) {
    const RECT area = {cell.x, cell.y, cell.x + cell.width, cell.y + cell.height};
    const std::u16string text = numbered ? LineNumberText(row) : std::u16string();
    ExtTextOutW(dc, x, cell.y, ETO_OPAQUE, &area, ko::AsWide(text.c_str()),
                static_cast<UINT>(text.size()), nullptr);
}

// The numbers of the N rows at the current pitch; rows at or beyond the grid's end get no
// number.
void DrawNumberColumns(HDC dc, const KestrelApp& app, int pitch) {
    const ViewGeometry& g = app.view.geometry;
    const int rows = app.engine.grids.rows();
    const int numbered = NumberedRows(g.height, pitch);
    for (const PixelRect& area : UncoveredAreas(g, numbered, pitch))
        FillWhite(dc, area);
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < numbered; ++i) {
            const int row = app.view.topRow + i;
            DrawNumberCell(dc, NumberCellOf(g, side, i, pitch), NumberLeftOf(g, side), row,
                           row < rows);
        }
    }
}

// The three rules, drawn last: a face whose digits are wider than the column's 40 pixels would
// otherwise cover them with the numbers' background.
void DrawRules(HDC dc, const ViewGeometry& g) {
    HGDIOBJ previous_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    DrawRule(dc, kNumberRule, kViewTop, g.height);
    DrawRule(dc, g.half, kViewTop, g.height);
    DrawRule(dc, g.half + kNumberRule, kViewTop, g.height);
    SelectObject(dc, previous_pen);
}

// Before a comparison: each loaded row in black on white, one call per row. Rows from the
// grid's end on stay white.
void DrawLoadedRows(const KestrelApp& app, int side, int pitch) {
    HDC dc = app.view.backDc[side];
    const TextGrids& grids = app.engine.grids;
    SetBkColor(dc, kWhite);
    for (int i = 0; i < app.view.geometry.visibleRows; ++i) {
        const int row = app.view.topRow + i;
        if (row >= grids.rows()) break;
        const int length = grids.memwcslen(LoadedGrid(side), row);
        TextOutW(dc, 0, pitch * i, ko::AsWide(grids.Row(LoadedGrid(side), row)), length);
    }
}

// After a comparison: each working row run by run, each run over the background of its code.
void DrawColouredRows(const KestrelApp& app, int side, int pitch) {
    HDC dc = app.view.backDc[side];
    const TextGrids& grids = app.engine.grids;
    for (int i = 0; i < app.view.geometry.visibleRows; ++i) {
        const int row = app.view.topRow + i;
        if (row >= grids.rows()) break;
        const wchar_t* text = ko::AsWide(grids.Row(WorkingGrid(side), row));
        int x = 0;
        ForEachColourRun(grids, side, row, [&](const ColourRun& run) {
            SetBkColor(dc, CodeBackground(run.code));
            SIZE extent = {};
            GetTextExtentPoint32W(dc, text + run.column, run.length, &extent);
            TextOutW(dc, x, pitch * i, text + run.column, run.length);
            x += extent.cx;
        });
    }
}

// After a comparison with differences: the numbers of rows holding a different or filler
// run are written again in the colour of the row's last such run.
void HighlightNumbers(HDC dc, const KestrelApp& app, int side, int pitch) {
    const TextGrids& grids = app.engine.grids;
    for (int i = 0; i < app.view.geometry.visibleRows; ++i) {
        const int row = app.view.topRow + i;
        if (row >= grids.rows()) break;
        if (const auto colour = NumberHighlight(grids, side, row)) {
            SetBkColor(dc, *colour);
            DrawLineNumber(dc, NumberLeftOf(app.view.geometry, side), kViewTop + pitch * i, row);
        }
    }
}

// Copies a back buffer into its pane from the buffer's top-left corner. A buffer narrower
// than the pane leaves the rest of the pane white.
void CopyPane(HDC dc, const KestrelApp& app, int side) {
    const PixelRect pane = PaneOf(app.view.geometry, side);
    const int copied = pane.width < app.view.backWidth ? pane.width : app.view.backWidth;
    BitBlt(dc, pane.x, pane.y, copied, pane.height, app.view.backDc[side], 0, 0, SRCCOPY);
    if (copied < pane.width)
        PatBlt(dc, pane.x + copied, pane.y, pane.width - copied, pane.height, WHITENESS);
}

}  // namespace

bool CreateView(HWND window) {
    KestrelApp& app = App();
    ViewState& view = app.view;
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    view.backWidth = BackBufferWidth(app.settings.draw_font_height, app.engine.grids.columns());

    HDC screen = GetDC(window);
    bool ok = true;
    for (int side = 0; side < 2 && ok; ++side) {
        view.backDc[side] = CreateCompatibleDC(screen);
        ok = view.backDc[side] != nullptr;
    }
    if (!ok) {
        ReleaseDC(window, screen);
        ko::ShowMessage(*app.services.reporter, window, messages::kNoMemoryDc, ko::box::kIconError);
        return false;
    }
    for (int side = 0; side < 2 && ok; ++side) {
        view.backBitmap[side] = CreateCompatibleBitmap(screen, view.backWidth, height);
        ok = view.backBitmap[side] != nullptr;
    }
    ReleaseDC(window, screen);
    if (!ok) {
        ko::ShowMessage(*app.services.reporter, window, messages::kNoBitmap, ko::box::kIconError);
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        view.previousBitmap[side] = SelectObject(view.backDc[side], view.backBitmap[side]);
        FillWhite(view.backDc[side], view.backWidth, height);
    }
    view.geometry = MakeViewGeometry(width, height, app.settings.rowPitch);
    view.topRow = 0;
    return true;
}

void PaintView(HDC dc) {
    const KestrelApp& app = App();
    const ViewState& view = app.view;
    if (view.backBitmap[0] == nullptr || view.backBitmap[1] == nullptr) return;
    const int pitch = UsablePitch(app.settings.rowPitch);

    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, kBlack);
    SetBkColor(dc, kWhite);
    HGDIOBJ previous_font = SelectObject(dc, app.window.viewFont);

    DrawNumberColumns(dc, app, pitch);
    for (int side = 0; side < 2; ++side)
        FillWhite(view.backDc[side], view.backWidth, view.geometry.height);
    for (int side = 0; side < 2; ++side) {
        if (app.engine.compareState == kNotCompared)
            DrawLoadedRows(app, side, pitch);
        else
            DrawColouredRows(app, side, pitch);
    }
    if (app.engine.compareState == kDiffered) {
        for (int side = 0; side < 2; ++side)
            HighlightNumbers(dc, app, side, pitch);
    }
    for (int side = 0; side < 2; ++side)
        CopyPane(dc, app, side);
    DrawRules(dc, view.geometry);

    SelectObject(dc, previous_font);
}

void ClearBackBuffer(int side) {
    const ViewState& view = App().view;
    if (view.backDc[side] != nullptr)
        FillWhite(view.backDc[side], view.geometry.width, view.geometry.height);
}

void ReleaseView() {
    ViewState& view = App().view;
    for (int side = 0; side < 2; ++side) {
        if (view.backDc[side] != nullptr) {
            if (view.previousFont[side] != nullptr)
                SelectObject(view.backDc[side], view.previousFont[side]);
            if (view.previousBitmap[side] != nullptr)
                SelectObject(view.backDc[side], view.previousBitmap[side]);
            DeleteDC(view.backDc[side]);
        }
        if (view.backBitmap[side] != nullptr) DeleteObject(view.backBitmap[side]);
    }
    view = ViewState{};
}

}  // namespace kestrel::app
