// What only the real Windows calls can show: sharing violations and the entries FindFirstFileW
// itself returns.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "osprey/directory_search.h"
#include "osprey/pair_comparison.h"
#include "tests/osprey/folder_fixture.h"
#include "tests/support/recording_reporter.h"

namespace osprey {
namespace {

using testing::TwoFolders;

TEST(ComparePairOnWindows, AFileLockedForWritingIsReportedWithItsCodeAndTheOtherIsClosedAgain) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB})
        for (const char* name : {"locked-a.txt", "locked-b.txt"})
            folders.Write(side, name, "1");
    folders.ScanBothAndPair(testing::kTextGroup);
    // Held open for writing while others may read: a reader that does not share writing is
    // refused with ERROR_SHARING_VIOLATION.
    auto lock = [&](int side, const char* name) {
        return CreateFileW((folders.folder[side].path() / name).c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE locks[] = {lock(kSideA, "locked-a.txt"), lock(kSideB, "locked-b.txt")};
    ko::testing::RecordingReporter reporter;
    for (const char16_t* name : {u"locked-a.txt", u"locked-b.txt"}) {
        ComparePair(folders.comparison, folders.RowOf(name), reporter, nullptr);
        EXPECT_EQ(folders.StatusOf(name), kPairedNotCompared);
    }
    for (const HANDLE held : locks)
        CloseHandle(held);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0].text,
              u"Can't open " +
                  FilePathOf(folders.comparison, kSideA, folders.RowOf(u"locked-a.txt")) +
                  u" file\r\nErrCode=32");
    EXPECT_EQ(reporter.shown[1].caption, u"FileOpenError2");
    EXPECT_TRUE(reporter.shown[1].text.ends_with(u"ErrCode=32"));
    // File A of the second row was closed again: nobody else holds it now.
    const HANDLE exclusive = CreateFileW((folders.folder[kSideA].path() / "locked-b.txt").c_str(),
                                         GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
}

TEST(SearchDirectoryOnWindows, DotEntriesAreListedWithTheSearchSizeOfZeroAndRefusedAsFiles) {
    TwoFolders folders;
    folders.MakeSubfolder(kSideA, "sub");
    const std::vector<std::vector<FoundEntry>> found =
        SearchDirectory(folders.PathOf(kSideA), {u"*.*"});
    ASSERT_EQ(found.size(), 1u);
    std::vector<std::u16string> names;
    for (const FoundEntry& entry : found[0]) {
        names.push_back(entry.name);
        EXPECT_EQ(entry.size, 0u);
        EXPECT_GE(entry.lastWrite.year, 2000);
    }
    EXPECT_THAT(names, ::testing::UnorderedElementsAre(u".", u"..", u"sub"));
    folders.ScanBothAndPair(testing::kEverythingGroup);
    ko::testing::RecordingReporter reporter;
    ComparePair(folders.comparison, folders.RowOf(u"."), reporter, nullptr);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_TRUE(reporter.shown[0].text.ends_with(u"ErrCode=5"));
}

}  // namespace
}  // namespace osprey
