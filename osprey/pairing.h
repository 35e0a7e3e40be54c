// Turning the two file lists into rows: entries of the same name on both sides become pairs,
// the rest one-sided rows.
#pragma once

#include "osprey/folder_comparison.h"

namespace osprey {

// Rebuilds both pair lists from both file lists and rewrites the entries' pairing marks.
// Rows come in this order: every pair, in the order of file list A and, for one A entry, in the
// order of file list B (a name listed twice on both sides gives four pairs); then the entries
// found only on side A; then those found only on side B, each in list order. Names pair when
// they are identical unit for unit (case matters). Pairs start at kPairedNotCompared, one-sided
// rows at kOneSided with an empty other half. The compare flag is left alone.
void PairFiles(FolderComparison& comparison);

// Every compared row (equal or differing) goes back to kPairedNotCompared.
void RestorePairs(FolderComparison& comparison);

}  // namespace osprey
