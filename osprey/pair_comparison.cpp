#include "osprey/pair_comparison.h"

#include <string>

#include "osprey/messages.h"

namespace osprey {

namespace {

void ReportFailure(ko::Reporter& reporter, ko::OwnerWindow owner, const ko::Message& message,
                   std::u16string_view path, int errorCode) {
    ko::ShowMessage(reporter, owner, message, ko::box::kIconWarning, {path, errorCode});
}

// Opens the file of one half: one the scan saw as a regular file without asking its type again.
int OpenHalf(ko::FileReader& file, const FileEntry& half, const std::u16string& path) {
    return half.kind == EntryKind::kFile ? file.OpenListed(path, half.bytes) : file.Open(path);
}

}  // namespace

void ComparePair(FolderComparison& comparison, std::size_t row, ko::Reporter& reporter,
                 ko::OwnerWindow owner) {
    const std::u16string pathA = FilePathOf(comparison, kSideA, row);
    const std::u16string pathB = FilePathOf(comparison, kSideB, row);

    ko::FileReader fileA;
    if (const int error = OpenHalf(fileA, comparison.pairs[kSideA][row], pathA); error != 0) {
        ReportFailure(reporter, owner, messages::kFileOpenError1, pathA, error);
        return;
    }
    ko::FileReader fileB;
    if (const int error = OpenHalf(fileB, comparison.pairs[kSideB][row], pathB); error != 0) {
        fileA.Close();
        ReportFailure(reporter, owner, messages::kFileOpenError2, pathB, error);
        return;
    }
    const bool equal = ko::SameContents(fileA, fileB, comparison.compareBuffer);
    // A listed file that something else replaced since the scan (a device, a pipe) is reported
    // as Open would have refused it.
    if (fileA.Refused() != 0 || fileB.Refused() != 0) {
        fileA.Close();
        fileB.Close();
        const bool sideA = fileA.Refused() != 0;
        ReportFailure(reporter, owner,
                      sideA ? messages::kFileOpenError1 : messages::kFileOpenError2,
                      sideA ? pathA : pathB, ko::FileReader::kNotRegularFile);
        return;
    }
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
