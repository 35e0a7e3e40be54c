#include "osprey/folder_comparison.h"

#include "common/paths.h"
#include "common/text.h"

namespace osprey {

std::u16string FilePathOf(const FolderComparison& comparison, int side, std::size_t row) {
    return ko::JoinPath(comparison.folderPath[side], comparison.pairs[side][row].name);
}

RowCounts CountRows(const std::vector<FileEntry>& pairsA) {
    RowCounts counts;
    for (const FileEntry& half : pairsA) {
        if (half.status == kPairedNotCompared || half.status == kPairedEqual ||
            half.status == kPairedDiffer)
            ++counts.target;
        if (half.status == kPairedEqual) ++counts.equal;
        if (half.status == kPairedDiffer) ++counts.differ;
    }
    return counts;
}

std::u16string_view StatusText(std::int32_t status) {
    switch (status) {
        case kFreeRow:
            return u"";
        case kPairedNotCompared:
            return u"比較前";
        case kPairedEqual:
            return u"一致";
        case kPairedDiffer:
            return u"不一致";
        case kOneSided:
            return u"非対称";
        default:
            return u"エラー";
    }
}

std::vector<std::u16string> StatusBarTexts(const FolderComparison& comparison) {
    const RowCounts counts = CountRows(comparison.pairs[kSideA]);
    return {
        comparison.compareFlag == 0 ? u"照合前" : u"照合後",
        ko::Format(u"Aファイル数=%d", {static_cast<int>(comparison.files[kSideA].size())}),
        ko::Format(u"Bファイル数=%d", {static_cast<int>(comparison.files[kSideB].size())}),
        ko::Format(u"対象ファイル数=%d", {counts.target}),
        ko::Format(u"ファイル一致数=%d", {counts.equal}),
        ko::Format(u"ファイル不一致数=%d", {counts.differ}),
    };
}

}  // namespace osprey
