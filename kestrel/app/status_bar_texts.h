// What the main window's status bar says: the compare state in field 0 and the view's
// dimensions in fields 1 to 5, over a background that follows the compare state.
#pragma once

#include <cstdint>
#include <string>

#include "kestrel/engine/engine.h"

namespace kestrel::app {

// The fields in their order on the bar.
enum StatusField : int {
    kStateField,       // the compare state
    kColumnsField,     // MemorySize_W
    kRowsField,        // MemorySize_H
    kFontHeightField,  // the view's font height
    kTopRowField,      // the top row and the rows
    kScrollStepField,  // the rows a page key moves
    kStatusFieldCount
};
// Right edges of the six fields in pixels.
constexpr int kStatusFieldEdges[kStatusFieldCount] = {70, 200, 330, 470, 590, 730};
// Each text is formatted into a buffer of this many units, the terminator included.
constexpr int kStatusTextUnits = 64;

struct StatusValues {
    int compareState = kNotCompared;  // a CompareState; any other value shows as unknown
    int columns = 0;                  // dtxlength_max
    int rows = 0;                     // dtylength_max
    int fontHeight = 0;               // draw_font_height
    int topRow = 0;
    int scrollStep = 0;
};

// The text of `field`, at most 63 units.
std::u16string StatusFieldText(int field, const StatusValues& values);

// The bar's background for `compareState` as 0x00BBGGRR: white before comparison, green when
// equal, red with differences, grey for anything else.
std::uint32_t StatusBarColour(int compareState);

}  // namespace kestrel::app
