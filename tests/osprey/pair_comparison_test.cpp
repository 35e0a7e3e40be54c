#include "osprey/pair_comparison.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/paths.h"
#include "tests/osprey/folder_fixture.h"
#include "tests/support/recording_reporter.h"

namespace osprey {
namespace {

using ::testing::ElementsAre;
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
        EXPECT_EQ(folders.StatusOf(ko::Utf8ToUtf16(c.name)), c.status) << c.name;
    }
    for (std::size_t row = 0; row < folders.comparison.pairs[kSideA].size(); ++row)
        EXPECT_EQ(folders.comparison.pairs[kSideB][row].status,
                  folders.comparison.pairs[kSideA][row].status);
}

TEST(CompareAllPairs, DotEntriesAndSubfoldersFailToOpenLastRowFirstAndStayNotCompared) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB}) {
        folders.MakeSubfolder(side, "sub");
        folders.Write(side, "same.txt", "1");
    }
    folders.Write(kSideB, "only-b.txt", "1");
    folders.ScanBothAndPair(testing::kEverythingGroup);
    ko::testing::RecordingReporter reporter;
    CompareAllPairs(folders.comparison, reporter, kOwner);

    std::vector<std::u16string> unreadable;
    for (std::size_t row = folders.comparison.pairs[kSideA].size(); row-- > 0;) {
        const std::u16string& name = folders.comparison.pairs[kSideA][row].name;
        if (name == u"." || name == u".." || name == u"sub") {
            EXPECT_EQ(folders.StatusOf(name), kPairedNotCompared);
            unreadable.push_back(FilePathOf(folders.comparison, kSideA, row));
        }
    }
    ASSERT_EQ(reporter.shown.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const ko::testing::ShownMessage& message = reporter.shown[i];
        EXPECT_TRUE(testing::TextStartsWith(message.text,
                                            u"Can't open " + unreadable[i] + u" file\r\nErrCode="));
        EXPECT_NE(message.text.substr(message.text.find(u'=') + 1), u"0");
        EXPECT_EQ(message.caption, u"FileOpenError1");
        EXPECT_EQ(message.style, ko::box::kIconWarning);
        EXPECT_EQ(message.owner, kOwner);
    }
    EXPECT_EQ(folders.StatusOf(u"same.txt"), kPairedEqual);
    const RowCounts counts = CountRows(folders.comparison.pairs[kSideA]);
    EXPECT_EQ(counts.target, 4);
    EXPECT_EQ(counts.equal, 1);
}

TEST(CompareAllPairs, SecondRunOpensOnlyRowsStillNotComparedAndRestoreOpensAllAgain) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB}) {
        folders.Write(side, "equal.txt", "1");
        folders.Write(side, "differ.txt", side == kSideA ? "1" : "2");
    }
    folders.ScanBothAndPair(testing::kTextGroup);
    std::filesystem::remove(folders.folder[kSideB].path() / "differ.txt");
    ko::testing::RecordingReporter reporter;
    CompareAllPairs(folders.comparison, reporter, kOwner);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError2");
    EXPECT_TRUE(testing::TextStartsWith(
        reporter.shown[0].text,
        u"Can't open " + FilePathOf(folders.comparison, kSideB, folders.RowOf(u"differ.txt"))));
    EXPECT_EQ(folders.StatusOf(u"differ.txt"), kPairedNotCompared);

    // Changed contents are not seen by rows compared before: they are not opened again.
    folders.Write(kSideB, "equal.txt", "changed");
    folders.Write(kSideB, "differ.txt", "2");
    CompareAllPairs(folders.comparison, reporter, kOwner);
    EXPECT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedEqual);
    EXPECT_EQ(folders.StatusOf(u"differ.txt"), kPairedDiffer);

    RestorePairs(folders.comparison);
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedNotCompared);
    CompareAllPairs(folders.comparison, reporter, kOwner);
    EXPECT_EQ(folders.StatusOf(u"equal.txt"), kPairedDiffer);
}

TEST(ComparePair, MessageCarriesTheWholePathHoweverLong) {
    FolderComparison comparison;
    comparison.folderPath[kSideA] = std::u16string(kFolderPathMax, u'd');
    comparison.pairs[kSideA] = {{kPairedNotCompared, std::u16string(259, u'n'), u"", u"", u""}};
    comparison.pairs[kSideB] = comparison.pairs[kSideA];
    ko::testing::RecordingReporter reporter;
    ComparePair(comparison, 0, reporter, kOwner);
    ASSERT_EQ(reporter.shown.size(), 1u);
    const std::u16string path = FilePathOf(comparison, kSideA, 0);
    EXPECT_EQ(path.size(), 519u);
    EXPECT_TRUE(testing::TextStartsWith(reporter.shown[0].text,
                                        u"Can't open " + path + u" file\r\nErrCode="));
    EXPECT_EQ(comparison.pairs[kSideA][0].status, kPairedNotCompared);
}

}  // namespace
}  // namespace osprey
