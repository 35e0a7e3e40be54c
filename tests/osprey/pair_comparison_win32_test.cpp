// What only the real Windows calls can show: a sharing violation and a folder refused as a file.
// (The portable tests run here too, over FindFirstFileW.)
#include <windows.h>

#include <gtest/gtest.h>

#include "osprey/pair_comparison.h"
#include "tests/osprey/folder_fixture.h"
#include "tests/support/recording_reporter.h"

namespace osprey {
namespace {

TEST(ComparePairOnWindows, AFileLockedForWritingOrAFolderIsReportedWithTheSystemsCode) {
    testing::TwoFolders folders;
    for (int side : {kSideA, kSideB})
        folders.folder[side].Write("locked.txt", "1");
    folders.ScanBothAndPair(testing::kEverythingGroup);
    // Held open for writing while others may read: a reader that does not share writing is
    // refused with ERROR_SHARING_VIOLATION, after file A was opened and closed again.
    const HANDLE lock =
        CreateFileW((folders.folder[kSideB].path() / "locked.txt").c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ko::testing::RecordingReporter reporter;
    for (const char16_t* name : {u"locked.txt", u"."}) {
        ComparePair(folders.comparison, folders.RowOf(name), reporter, nullptr);
        EXPECT_EQ(folders.StatusOf(name), kPairedNotCompared);
    }
    CloseHandle(lock);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0].text,
              u"Can't open " +
                  FilePathOf(folders.comparison, kSideB, folders.RowOf(u"locked.txt")) +
                  u" file\r\nErrCode=32");
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError2");
    EXPECT_TRUE(reporter.shown[1].text.ends_with(u"ErrCode=5"));  // access denied
    const HANDLE exclusive = CreateFileW((folders.folder[kSideA].path() / "locked.txt").c_str(),
                                         GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);  // nobody holds file A any longer
    CloseHandle(exclusive);
}

}  // namespace
}  // namespace osprey
