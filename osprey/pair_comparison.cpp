#include "osprey/pair_comparison.h"

#include <string>

#include "osprey/messages.h"

namespace osprey {

namespace {

void ReportFailure(ko::Reporter& reporter, ko::OwnerWindow owner, const ko::Message& message,
                   std::u16string_view path, int errorCode) {
    ko::ShowMessage(reporter, owner, message, ko::box::kIconWarning, {path, errorCode});
}

}  // namespace

void ComparePair(FolderComparison& comparison, std::size_t row, ko::Reporter& reporter,
                 ko::OwnerWindow owner) {
    const std::u16string pathA = FilePathOf(comparison, kSideA, row);
    const std::u16string pathB = FilePathOf(comparison, kSideB, row);

    ko::FileReader fileA;
    if (const int error = fileA.Open(pathA); error != 0) {
        ReportFailure(reporter, owner, messages::kFileOpenError1, pathA, error);
        return;
    }
    ko::FileReader fileB;
    if (const int error = fileB.Open(pathB); error != 0) {
        fileA.Close();
        ReportFailure(reporter, owner, messages::kFileOpenError2, pathB, error);
        return;
    }
    const bool equal = ko::SameContents(fileA, fileB, comparison.compareBuffer);
    if (const int error = fileA.Close(); error != 0)
        ReportFailure(reporter, owner, messages::kFileCloseError1, pathA, error);
    if (const int error = fileB.Close(); error != 0)
        ReportFailure(reporter, owner, messages::kFileCloseError2, pathB, error);
    comparison.pairs[kSideA][row].status = comparison.pairs[kSideB][row].status =
        equal ? kPairedEqual : kPairedDiffer;
}

void CompareAllPairs(FolderComparison& comparison, ko::Reporter& reporter, ko::OwnerWindow owner) {
    for (std::size_t row = comparison.pairs[kSideA].size(); row-- > 0;)
        if (comparison.pairs[kSideA][row].status == kPairedNotCompared &&
            comparison.pairs[kSideB][row].status == kPairedNotCompared)
            ComparePair(comparison, row, reporter, owner);
}

}  // namespace osprey
