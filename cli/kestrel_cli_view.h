// The two forms of kestrel-cli's result: the side-by-side view for people and the JSON object
// for programs. Both read the engine after a comparison.
#pragma once

#include <string>

#include "kestrel/engine/comparison.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/file_loader.h"

namespace ko::cli {

struct ComparisonReport {
    const kestrel::Engine& engine;
    kestrel::AlignedCounts aligned;
    int newline;
    kestrel::LoadCuts cuts[2];  // what of each side's file did not fit
};

// The rows a report shows: 0 .. max(nA, nB) - 1, the aligned lines of the longer side; every
// row past them is empty on both sides.
int ShownRows(const ComparisonReport& report);

// Rows 0 .. max(nA, nB) - 1 as "NNNNNN text | NNNNNN text" lines, ending with the outcome text.
// With `colour`, backgrounds as in the window: light red for "1", light green for "2", and
// the row number of a differing row in the colour of its last run that is not "0".
std::string SideBySideView(const ComparisonReport& report, bool colour);

std::string JsonReport(const ComparisonReport& report);

// The outcome as the comparison's box words it: "一致しました" or "不一致です".
std::u16string_view OutcomeText(const ComparisonReport& report);

// "utf-16le", "utf-16be", "utf-8" or "ansi".
const char* EncodingName(kestrel::Encoding encoding);

}  // namespace ko::cli
