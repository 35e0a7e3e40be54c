// Byte-for-byte comparison of the two files of a row, and of every row still waiting for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/file_reader.h"
#include "common/report.h"
#include "osprey/folder_comparison.h"

namespace osprey {

// Compares the files of row `row`: each side's folder path joined with the name of its half.
// Sets both halves to kPairedEqual or kPairedDiffer. When a file cannot be opened the row
// keeps its status and the user sees "Can't open %s file\r\nErrCode=%d" under "FileOpenError1"
// (side A; nothing was opened) or "FileOpenError2" (side B; file A is closed again); a failing
// close shows "Can't close %s file\r\nErrCode=%d" under "FileCloseError1" or "FileCloseError2"
// and the outcome still counts. Messages carry the warning icon and belong to `owner`.
void ComparePair(FolderComparison& comparison, std::size_t row, ko::Reporter& reporter,
                 ko::OwnerWindow owner);

// ComparePair for every row whose two halves are both kPairedNotCompared, from the last row to
// the first, so a second run only retries the rows that could not be opened.
void CompareAllPairs(FolderComparison& comparison, ko::Reporter& reporter, ko::OwnerWindow owner);

}  // namespace osprey
