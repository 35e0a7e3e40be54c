#include "osprey/pairing.h"

#include <string_view>
#include <unordered_map>

namespace osprey {

namespace {

void AddRow(FolderComparison& comparison, const FileEntry* a, const FileEntry* b,
            std::int32_t status) {
    FileEntry& halfA = comparison.pairs[kSideA].emplace_back(a ? *a : FileEntry{});
    FileEntry& halfB = comparison.pairs[kSideB].emplace_back(b ? *b : FileEntry{});
    halfA.status = halfB.status = status;
}

}  // namespace

void PairFiles(FolderComparison& comparison) {
    std::vector<FileEntry>& filesA = comparison.files[kSideA];
    std::vector<FileEntry>& filesB = comparison.files[kSideB];
    for (std::vector<FileEntry>* files : {&filesA, &filesB})
        for (FileEntry& entry : *files)
            entry.status = kFreeRow;
    // Without names repeated on both sides the rows are at most the entries of both lists.
    for (std::vector<FileEntry>& pairs : comparison.pairs) {
        pairs.clear();
        pairs.reserve(filesA.size() + filesB.size());
    }

    // Every A entry meets the B entries of its name in B's order, as a walk over all of list B
    // would find them, without comparing each A name with each B name (10,000 x 10,000): the
    // table leads to the first B entry of a name, `nextOfName` on to the next of that name.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::unordered_map<std::u16string_view, std::size_t> firstOfName;
    firstOfName.reserve(filesB.size());
    std::vector<std::size_t> nextOfName(filesB.size(), kNone);
    for (std::size_t j = filesB.size(); j-- > 0;) {
        if (filesB[j].name.empty()) continue;
        auto [slot, added] = firstOfName.try_emplace(filesB[j].name, j);
        if (!added) {
            nextOfName[j] = slot->second;
            slot->second = j;
        }
    }

    for (FileEntry& a : filesA) {
        if (a.name.empty()) continue;
        const auto match = firstOfName.find(a.name);
        if (match == firstOfName.end()) continue;
        for (std::size_t j = match->second; j != kNone; j = nextOfName[j]) {
            AddRow(comparison, &a, &filesB[j], kPairedNotCompared);
            a.status = filesB[j].status = kPairedNotCompared;
        }
    }
    for (FileEntry& a : filesA) {
        if (a.status != kFreeRow || a.name.empty()) continue;
        AddRow(comparison, &a, nullptr, kOneSided);
        a.status = kOneSided;
    }
    for (FileEntry& b : filesB) {
        if (b.status != kFreeRow || b.name.empty()) continue;
        AddRow(comparison, nullptr, &b, kOneSided);
        b.status = kOneSided;
    }
}

void RestorePairs(FolderComparison& comparison) {
    for (std::vector<FileEntry>& pairs : comparison.pairs)
        for (FileEntry& half : pairs)
            if (half.status == kPairedEqual || half.status == kPairedDiffer)
                half.status = kPairedNotCompared;
}

}  // namespace osprey
