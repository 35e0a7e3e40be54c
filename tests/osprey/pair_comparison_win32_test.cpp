// What only the real Windows calls can show: sharing violations and the entries
// FindFirstFileW itself returns.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/win32_text.h"
#include "osprey/directory_search.h"
#include "osprey/pair_comparison.h"
#include "tests/osprey/folder_fixture.h"
#include "tests/support/recording_reporter.h"

namespace osprey {
namespace {

using testing::TwoFolders;

// Holds `path` open for writing while letting others read it, so a reader that does not share
// writing is refused with ERROR_SHARING_VIOLATION.
class WriteLock {
  public:
    explicit WriteLock(const std::filesystem::path& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~WriteLock() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

TEST(ComparePairOnWindows, FileLockedForWritingIsReportedWithItsErrorCode) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB}) {
        folders.Write(side, "locked-a.txt", "1");
        folders.Write(side, "locked-b.txt", "1");
    }
    folders.ScanBothAndPair(testing::kTextGroup);
    const WriteLock lockA(folders.folder[kSideA].path() / "locked-a.txt");
    const WriteLock lockB(folders.folder[kSideB].path() / "locked-b.txt");
    ASSERT_TRUE(lockA.held() && lockB.held());

    ko::testing::RecordingReporter reporter;
    ComparePair(folders.comparison, folders.RowOf(u"locked-a.txt"), reporter, nullptr);
    ComparePair(folders.comparison, folders.RowOf(u"locked-b.txt"), reporter, nullptr);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError1");
    EXPECT_EQ(reporter.shown[0].text,
              u"Can't open " +
                  FilePathOf(folders.comparison, kSideA, folders.RowOf(u"locked-a.txt")) +
                  u" file\r\nErrCode=32");
    EXPECT_EQ(reporter.shown[1].caption, u"FileOpenError2");
    EXPECT_TRUE(reporter.shown[1].text.ends_with(u"ErrCode=32"));
    EXPECT_EQ(folders.StatusOf(u"locked-a.txt"), kPairedNotCompared);
    EXPECT_EQ(folders.StatusOf(u"locked-b.txt"), kPairedNotCompared);

    // File A of the second row was closed again: nobody else holds it now.
    const HANDLE exclusive =
        CreateFileW((folders.folder[kSideA].path() / "locked-b.txt").c_str(), GENERIC_READ, 0,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
}

TEST(SearchDirectoryOnWindows, FindFirstFileListsDotEntriesWithTheSearchSizeOfZero) {
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
}

TEST(ComparePairOnWindows, DotEntryIsRefusedWithAccessDenied) {
    TwoFolders folders;
    folders.ScanBothAndPair(testing::kEverythingGroup);
    ko::testing::RecordingReporter reporter;
    ComparePair(folders.comparison, folders.RowOf(u"."), reporter, nullptr);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_TRUE(reporter.shown[0].text.ends_with(u"ErrCode=5"));
}

}  // namespace
}  // namespace osprey
