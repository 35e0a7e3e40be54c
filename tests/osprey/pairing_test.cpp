#include "osprey/pairing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/osprey/folder_fixture.h"

namespace osprey {
namespace {

using ::testing::ElementsAre;
using testing::NamesOf;

FileEntry Entry(std::u16string name, std::u16string pattern = u"*.txt") {
    return {kOneSided, std::move(name), std::move(pattern), u"1", u"2023/11/07 09:52"};
}

std::vector<std::int32_t> StatusesOf(const std::vector<FileEntry>& entries) {
    std::vector<std::int32_t> statuses;
    for (const FileEntry& entry : entries)
        statuses.push_back(entry.status);
    return statuses;
}

TEST(PairFiles, RowsArePairsThenSideAOnlyThenSideBOnlyWithMarksOnTheFileLists) {
    FolderComparison comparison;
    comparison.files[kSideA] = {Entry(u"only-a1"), Entry(u"same"), Entry(u"Readme.txt"),
                                Entry(u"only-a2"), Entry(u"")};
    comparison.files[kSideB] = {Entry(u"README.TXT"), Entry(u"only-b"), Entry(u"same")};
    comparison.compareFlag = 1;
    PairFiles(comparison);
    EXPECT_THAT(NamesOf(comparison.pairs[kSideA]),
                ElementsAre("same", "only-a1", "Readme.txt", "only-a2", "", ""));
    EXPECT_THAT(NamesOf(comparison.pairs[kSideB]),
                ElementsAre("same", "", "", "", "README.TXT", "only-b"));
    EXPECT_THAT(StatusesOf(comparison.pairs[kSideA]), ElementsAre(1, 13, 13, 13, 13, 13));
    EXPECT_EQ(StatusesOf(comparison.pairs[kSideB]), StatusesOf(comparison.pairs[kSideA]));
    EXPECT_THAT(StatusesOf(comparison.files[kSideA]), ElementsAre(13, 1, 13, 13, 0));
    EXPECT_THAT(StatusesOf(comparison.files[kSideB]), ElementsAre(13, 13, 1));
    EXPECT_EQ(comparison.pairs[kSideB][1].sizeText, u"");
    EXPECT_EQ(comparison.pairs[kSideA][0].dateText, u"2023/11/07 09:52");
    EXPECT_EQ(comparison.compareFlag, 1);  // a new pairing keeps the compare flag

    comparison.pairs[kSideA][0].status = comparison.pairs[kSideB][0].status = kPairedEqual;
    PairFiles(comparison);  // and forgets what was compared
    EXPECT_EQ(comparison.pairs[kSideA][0].status, kPairedNotCompared);
}

TEST(PairFiles, NamesListedTwiceOnBothSidesPairEveryWayInListOrderBeyond512Rows) {
    FolderComparison comparison;
    for (int i = 0; i < 200; ++i)
        for (const char16_t* pattern : {u"*.txt", u"*.*"})
            for (auto& files : comparison.files)
                files.push_back(Entry(ko::Format(u"f%d.txt", {i}), pattern));
    comparison.files[kSideB].push_back(Entry(u"extra.txt"));
    PairFiles(comparison);
    ASSERT_EQ(comparison.pairs[kSideA].size(), 801u);
    const char16_t* expectedA[] = {u"*.txt", u"*.txt", u"*.*", u"*.*"};
    const char16_t* expectedB[] = {u"*.txt", u"*.*", u"*.txt", u"*.*"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(comparison.pairs[kSideA][row].pattern, expectedA[row]);
        EXPECT_EQ(comparison.pairs[kSideB][row].pattern, expectedB[row]);
    }
    EXPECT_EQ(comparison.pairs[kSideA][799].name, u"f199.txt");
    EXPECT_EQ(comparison.pairs[kSideB][800].name, u"extra.txt");
    EXPECT_EQ(CountRows(comparison.pairs[kSideA]).target, 800);
}

TEST(RestorePairs, ComparedRowsGoBackToNotComparedAndTheStatusBarFollows) {
    FolderComparison comparison;
    comparison.files[kSideA].resize(3);
    for (std::vector<FileEntry>& pairs : comparison.pairs)
        for (std::int32_t status : {1, 2, 3, 13})
            pairs.push_back({status, u"n", u"", u"", u""});
    comparison.compareFlag = 1;
    EXPECT_THAT(StatusBarTexts(comparison),
                ElementsAre(u"照合後", u"Aファイル数=3", u"Bファイル数=0", u"対象ファイル数=3",
                            u"ファイル一致数=1", u"ファイル不一致数=1"));
    RestorePairs(comparison);
    EXPECT_THAT(StatusesOf(comparison.pairs[kSideA]), ElementsAre(1, 1, 1, 13));
    EXPECT_THAT(StatusesOf(comparison.pairs[kSideB]), ElementsAre(1, 1, 1, 13));
    comparison.compareFlag = 0;
    EXPECT_THAT(StatusBarTexts(comparison),
                ElementsAre(u"照合前", u"Aファイル数=3", u"Bファイル数=0", u"対象ファイル数=3",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
}

}  // namespace
}  // namespace osprey
