#include "kestrel/engine/view_geometry.h"

#include <limits>

#include "common/text.h"

namespace kestrel {

ViewGeometry MakeViewGeometry(int width, int height, int pitch) {
    ViewGeometry geometry;
    geometry.width = width;
    geometry.height = height;
    geometry.half = width / 2;
    geometry.visibleRows = std::max(0, (height - kVisibleRowsAllowance) / (UsablePitch(pitch) + 1));
    geometry.scrollStep = geometry.visibleRows / 2;
    return geometry;
}

int NumberedRows(int height, int pitch) {
    return std::max(0, (height - kNumberedRowsAllowance) / UsablePitch(pitch));
}

int ClampTopRow(int top, int rows, int visibleRows) {
    if (top > rows - visibleRows) top = rows - visibleRows;
    if (top < 0) top = 0;
    return top;
}

int WheelSteps::Take(int distance) {
    if (distance <= -kNotch || distance >= kNotch) {
        pending_ = 0;
        return distance < 0 ? 1 : -1;
    }
    if ((pending_ < 0 && distance > 0) || (pending_ > 0 && distance < 0)) pending_ = 0;
    pending_ += distance;
    if (pending_ <= -kNotch || pending_ >= kNotch) {
        const int step = pending_ < 0 ? 1 : -1;
        pending_ += step * kNotch;
        return step;
    }
    return 0;
}

PixelRect PaneOf(const ViewGeometry& geometry, int side) {
    const int left = (side == 0 ? 0 : geometry.half) + kPaneIndent;
    const int right = side == 0 ? geometry.half : geometry.width;
    return {left, kViewTop, std::max(0, right - left),
            std::max(0, geometry.height - kPaneBottomGap - kViewTop)};
}

PixelRect NumberCellOf(const ViewGeometry& geometry, int side, int i, int pitch) {
    const int left = side == 0 ? 0 : geometry.half + 1;
    const int right = (side == 0 ? 0 : geometry.half) + kNumberRule;
    return {left, kViewTop + pitch * i, right - left, pitch};
}

std::array<PixelRect, kUncoveredAreaCount> UncoveredAreas(const ViewGeometry& geometry,
                                                          int numberedRows, int pitch) {
    const int w = geometry.width, h = geometry.height, half = geometry.half;
    const int numbers_end = std::min(h, kViewTop + pitch * numberedRows);
    const int pane_end = h - kPaneBottomGap;
    const int gutter = kPaneIndent - kNumberRule - 1;
    auto rect = [](int left, int top, int right, int bottom) {
        return PixelRect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
    };
    return {
        rect(0, kControlsHeight, w, kViewTop),
        rect(0, numbers_end, kNumberRule, h),
        rect(half + 1, numbers_end, half + kNumberRule, h),
        rect(kNumberRule + 1, kViewTop, kNumberRule + 1 + gutter, h),
        rect(half + kNumberRule + 1, kViewTop, half + kNumberRule + 1 + gutter, h),
        rect(kPaneIndent, pane_end, half, h),
        rect(half + kPaneIndent, pane_end, w, h),
    };
}

int BackBufferWidth(int fontHeight, int columns) {
    const long long width = static_cast<long long>(std::max(fontHeight, 1)) * std::max(columns, 1);
    return static_cast<int>(std::min<long long>(width, std::numeric_limits<int>::max()));
}

std::uint32_t CodeBackground(int code) {
    switch (code) {
        case kCodeEqual:
            return kWhite;
        case kCodeDifferent:
            return kLightRed;
        case kCodeFiller:
            return kLightGreen;
        default:
            return kGrey;
    }
}

std::u16string LineNumberText(int row) {
    return ko::Format(u"%06d", {row});
}

std::optional<std::uint32_t> NumberHighlight(const TextGrids& grids, int side, int row) {
    std::optional<std::uint32_t> highlight;
    ForEachColourRun(grids, side, row, [&](const ColourRun& run) {
        if (run.code == kCodeEqual) return;
        if (run.code == kCodeDifferent || run.code == kCodeFiller)
            highlight = CodeBackground(run.code);
        else
            highlight.reset();
    });
    return highlight;
}

}  // namespace kestrel
