// Fitting a main window's rectangle into the work area of its monitor: the screen less the
// taskbar (and any other bar docked to an edge), which stays on top of every window.
#pragma once

#include <algorithm>

namespace ko {

// Left, top, right and bottom edges in screen pixels, right and bottom exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

// `wanted` unchanged when it lies inside `work_area`; otherwise as much of it as fits, moved
// inside: each side no longer than the work area's, and shifted so that it starts at the work
// area's left or top edge at the earliest and ends at its right or bottom edge at the latest.
constexpr ScreenRect FitIntoWorkArea(const ScreenRect& wanted, const ScreenRect& work_area) {
    auto fit = [](int start, int end, int area_start, int area_end, int& out_start, int& out_end) {
        const int length = std::min(end - start, area_end - area_start);
        out_start = std::clamp(start, area_start, area_end - length);
        out_end = out_start + length;
    };
    ScreenRect fitted;
    fit(wanted.left, wanted.right, work_area.left, work_area.right, fitted.left, fitted.right);
    fit(wanted.top, wanted.bottom, work_area.top, work_area.bottom, fitted.top, fitted.bottom);
    return fitted;
}

}  // namespace ko
