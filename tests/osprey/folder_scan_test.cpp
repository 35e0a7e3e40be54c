#include "osprey/folder_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "common/paths.h"
#include "tests/osprey/folder_fixture.h"

namespace osprey {
namespace {

using ::testing::ElementsAre;
using testing::NamesOf;
using testing::TwoFolders;

TEST(ScanFolder, ListsPatternAfterPatternInRowOrderAndTakesBothPathBoxes) {
    TwoFolders folders;
    for (const char* name : {"b.rc", "a.cpp", "notes.txt", "x.h"})
        folders.Write(kSideA, name, "r");
    for (int i = 0; i < 300; ++i)
        folders.Write(kSideB, std::to_string(i) + ".txt", "x");
    folders.Scan(kSideA, testing::kSourceGroup);
    const std::vector<FileEntry>& files = folders.comparison.files[kSideA];
    EXPECT_THAT(NamesOf(files), ElementsAre("a.cpp", "x.h", "b.rc"));
    EXPECT_EQ(files[1].pattern, u"*.h");
    EXPECT_EQ(files[2].status, kFreeRow);
    EXPECT_EQ(folders.comparison.folderPath[kSideB], folders.PathOf(kSideB));
    EXPECT_TRUE(folders.comparison.files[kSideB].empty());
    folders.Scan(kSideB, testing::kTextGroup);  // every one of many files
    const std::vector<std::string> names = NamesOf(folders.comparison.files[kSideB]);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 300u);

    // A group without rows or a missing folder lists nothing; the path boxes are taken cut.
    ScanFolder(folders.comparison, kSideA, folders.PathOf(kSideA), u"typed", folders.groups, 77);
    EXPECT_TRUE(folders.comparison.files[kSideA].empty());
    EXPECT_EQ(folders.comparison.folderPath[kSideB], u"typed");
    const std::u16string long_text(300, u'x');
    ScanFolder(folders.comparison, kSideB, u"", long_text, folders.groups, 104);
    EXPECT_TRUE(folders.comparison.files[kSideB].empty());
    EXPECT_EQ(folders.comparison.folderPath[kSideB], long_text.substr(0, kFolderPathMax));
}

TEST(ScanFolder, AnAllPatternListsDotEntriesSubfoldersAndEarlierFilesAgainWithTheirSizes) {
    TwoFolders folders;
    folders.groups[4].groupNo = testing::kSourceGroup;  // *.cpp, *.h, *.rc, *.*
    folders.Write(kSideA, "main.cpp", "int main;");
    folders.Write(kSideA, ".hidden", "");
    folders.MakeSubfolder(kSideA, "sub");
    const std::filesystem::path big = folders.folder[kSideA].Write("big.txt", "");
    std::filesystem::resize_file(big, (std::uintmax_t{5} << 30) + 7);  // sparse, over 4 GiB
    // A folder path ending with a separator finds the same.
    ScanFolder(folders.comparison, kSideA, ko::JoinPath(folders.PathOf(kSideA), u""), u"",
               folders.groups, testing::kSourceGroup);
    std::map<std::string, std::u16string> sizes;
    for (const FileEntry& entry : folders.comparison.files[kSideA]) {
        EXPECT_EQ(entry.dateText.size(), 16u);
        if (entry.pattern == u"*.*") sizes[ko::Utf16ToUtf8(entry.name)] = entry.sizeText;
    }
    EXPECT_EQ(folders.comparison.files[kSideA][0].name, u"main.cpp");
    EXPECT_EQ(sizes, (std::map<std::string, std::u16string>{{".", u"0"},
                                                            {"..", u"0"},
                                                            {".hidden", u"0"},
                                                            {"big.txt", u"5368709127"},
                                                            {"main.cpp", u"9"},
                                                            {"sub", u"0"}}));
}

TEST(ScanFolder, DateTextIsTheLastWriteInLocalTimeToTheMinute) {
    EXPECT_EQ(DateText({2023, 11, 7, 9, 52}), u"2023/11/07 09:52");
    EXPECT_EQ(DateText({99, 1, 2, 3, 4}), u"99/01/02 03:04");
    EXPECT_EQ(SizeText(18446744073709551615ull), u"18446744073709551615");
    TwoFolders folders;
    const std::time_t before = std::time(nullptr) - 1;  // file times may lag the clock
    folders.Write(kSideA, "now.txt", "x");
    folders.Scan(kSideA, testing::kTextGroup);
    const std::time_t after = std::time(nullptr);
    auto text_at = [](std::time_t when) {
        const std::tm local = *std::localtime(&when);
        return DateText(
            {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min});
    };
    ASSERT_EQ(folders.comparison.files[kSideA].size(), 1u);
    const std::u16string& date = folders.comparison.files[kSideA][0].dateText;
    EXPECT_TRUE(date == text_at(before) || date == text_at(after)) << ko::Utf16ToUtf8(date);
}

}  // namespace
}  // namespace osprey
