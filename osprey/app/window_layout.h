// What the main window shows, apart from the platform: the list views' columns, the picture of
// each row status and the status bar's fields.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "osprey/folder_comparison.h"

namespace osprey::app {

struct ListColumn {
    std::u16string_view title;
    int width;  // pixels
};

constexpr int kListColumnCount = 5;
inline constexpr ListColumn kListColumns[kListColumnCount] = {
    {u"ファイル名", 400}, {u"拡張子", 80}, {u"サイズ", 150}, {u"日時", 200}, {u"比較", 60},
};

// Indices into the image list: the pictures of bitmaps 21 to 24, in that order.
constexpr int kImageNotCompared = 0;
constexpr int kImageMatch = 1;
constexpr int kImageMismatch = 2;
constexpr int kImageOneSided = 3;
constexpr int kImageCount = 4;
// A row whose status has no picture shows none (the platform's "no image" index).
constexpr int kNoImage = -2;

int StatusImage(std::int32_t status);

// The texts of columns 0 to 4 for one half of a row: name, pattern, size, date, status text.
std::array<std::u16string_view, kListColumnCount> RowTexts(const FileEntry& half);

constexpr int kStatusFieldCount = 6;
// Right edges of the six status-bar fields in pixels; right of the last belongs to none.
inline constexpr int kStatusFieldEdges[kStatusFieldCount] = {70, 220, 370, 520, 670, 820};
// Each field's text is formatted into a buffer of this many units, the terminator included.
constexpr std::size_t kStatusTextUnits = 64;

}  // namespace osprey::app
