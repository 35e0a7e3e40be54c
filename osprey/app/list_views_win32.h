// The two list views: side A's pair list on the left (3010), side B's on the right (3011),
// row r of each showing row r of the pair lists.
#pragma once

#include <windows.h>

namespace osprey::app {

// Creates both list views below the folder rows, each half the client area wide, in report
// mode with grid lines, full-row selection, the status pictures and the five columns. They
// share the image list and leave its release to the main window. False on failure.
bool CreateListViews(HWND window);

// Rebuilds the rows of both list views from the pair lists: every row whose status is above 0,
// in ascending order, each carrying its row index as item data.
void RefillListViews();

// After a click into the list view of `side`: every focused or selected row becomes focused,
// selected and drop-highlighted, every other row loses all three, so the row chosen in one
// list stays marked while the user chooses in the other. The other list is left alone.
void MarkSelection(int side);

// The number of rows of the list view of `side`.
int ListRowCount(int side);

// The pair-list row of the first selected list-view row from the top, or -1 when none is.
int FirstSelectedRow(int side);

}  // namespace osprey::app
