#include "osprey/pair_comparison.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/osprey/folder_fixture.h"
#include "tests/support/recording_reporter.h"

namespace osprey {
namespace {

using testing::TwoFolders;

ko::OwnerWindow const kOwner = reinterpret_cast<ko::OwnerWindow>(0x1234);

TEST(ComparePair, EqualExactlyWhenTheLengthsAndAllBytesAgree) {
    TwoFolders folders;
    const std::string block(256 * 1024, 'x');
    const struct {
        const char* name;
        std::string a, b;
        int status;
    } cases[] = {
        {"empty.txt", "", "", kPairedEqual},
        {"same.txt", "same bytes", "same bytes", kPairedEqual},
        {"oneblock.txt", block, block, kPairedEqual},
        {"prefix.txt", "abc", "abcd", kPairedDiffer},
        {"longer.txt", block + "y", block, kPairedDiffer},
        {"lastbyte.txt", "abcd", "abce", kPairedDiffer},
        {"late.txt", block + block + "tail", block + block + "tall", kPairedDiffer},
        {"empty-vs-zero.txt", "", std::string(1, '\0'), kPairedDiffer},
    };
    for (const auto& c : cases) {
        folders.Write(kSideA, c.name, c.a);
        folders.Write(kSideB, c.name, c.b);
    }
    folders.ScanBothAndPair(testing::kTextGroup);
    ko::testing::RecordingReporter reporter;
    CompareAllPairs(folders.comparison, reporter, kOwner);
    EXPECT_TRUE(reporter.shown.empty());
    for (const auto& c : cases) {
        const std::size_t row = folders.RowOf(ko::Utf8ToUtf16(c.name));
        EXPECT_EQ(folders.comparison.pairs[kSideA].at(row).status, c.status) << c.name;
        EXPECT_EQ(folders.comparison.pairs[kSideB].at(row).status, c.status) << c.name;
    }
}

// Rows that cannot be read stay before comparison, reported from the last row up; a second run
// opens only rows still before comparison, and after a restore every row again.
TEST(CompareAllPairs, ComparesOnlyRowsBeforeComparisonAndReportsWhatCannotBeOpened) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB}) {
        folders.MakeSubfolder(side, "sub");
        folders.Write(side, "equal.txt", "1");
        folders.Write(side, "differ.txt", side == kSideA ? "1" : "2");
    }
    folders.ScanBothAndPair(testing::kEverythingGroup);
    std::filesystem::remove(folders.folder[kSideB].path() / "differ.txt");
    ko::testing::RecordingReporter reporter;
    CompareAllPairs(folders.comparison, reporter, kOwner);
    std::vector<std::u16string> expected;
    for (std::size_t row = folders.comparison.pairs[kSideA].size(); row-- > 0;) {
        const std::u16string& name = folders.comparison.pairs[kSideA][row].name;
        if (name == u"equal.txt") continue;
        EXPECT_EQ(folders.StatusOf(name), kPairedNotCompared) << ko::Utf16ToUtf8(name);
        const int side = name == u"differ.txt" ? kSideB : kSideA;
        expected.push_back(u"Can't open " + FilePathOf(folders.comparison, side, row) + u" file");
    }
    ASSERT_EQ(reporter.shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ko::testing::ShownMessage& message = reporter.shown[i];
        EXPECT_TRUE(testing::TextStartsWith(message.text, expected[i] + u"\r\nErrCode="));
        EXPECT_FALSE(message.text.ends_with(u"=0"));
        EXPECT_EQ(message.caption, expected[i].find(folders.PathOf(kSideB)) != std::u16string::npos
                                       ? u"FileOpenError2"
                                       : u"FileOpenError1");
        EXPECT_EQ(message.owner, kOwner);
        EXPECT_EQ(message.style, ko::box::kIconWarning);
    }
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedEqual);

    // Changed contents are not seen by rows compared before: they are not opened again.
    folders.Write(kSideB, "equal.txt", "changed");
    folders.Write(kSideB, "differ.txt", "2");
    reporter.shown.clear();
    CompareAllPairs(folders.comparison, reporter, kOwner);
    EXPECT_EQ(reporter.shown.size(), expected.size() - 1);
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedEqual);
    EXPECT_EQ(folders.StatusOf(u"differ.txt"), kPairedDiffer);
    RestorePairs(folders.comparison);
    CompareAllPairs(folders.comparison, reporter, kOwner);
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedDiffer);
}

TEST(ComparePair, AMessageCarriesTheWholePathHoweverLong) {
    FolderComparison comparison;
    comparison.folderPath[kSideA] = std::u16string(kFolderPathMax, u'd');
    comparison.pairs[kSideA] = {{kPairedNotCompared, std::u16string(259, u'n'), u"", u"", u""}};
    comparison.pairs[kSideB] = comparison.pairs[kSideA];
    ko::testing::RecordingReporter reporter;
    ComparePair(comparison, 0, reporter, kOwner);
    ASSERT_EQ(reporter.shown.size(), 1u);
    const std::u16string path = FilePathOf(comparison, kSideA, 0);
    EXPECT_EQ(path.size(), 519u);
    EXPECT_TRUE(testing::TextStartsWith(reporter.shown[0].text, u"Can't open " + path + u" file"));
}

}  // namespace
}  // namespace osprey
