#include "osprey/folder_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>

#include "common/paths.h"
#include "tests/osprey/folder_fixture.h"

namespace osprey {
namespace {

using ::testing::ElementsAre;
using testing::NamesOf;
using testing::TwoFolders;
using ::testing::UnorderedElementsAre;

TEST(ScanFolder, ListsPatternAfterPatternInRowOrderAndTakesBothPathBoxes) {
    TwoFolders folders;
    folders.Write(kSideA, "b.rc", "r");
    folders.Write(kSideA, "a.cpp", "c");
    folders.Write(kSideA, "notes.txt", "t");
    folders.Write(kSideA, "x.h", "h");
    folders.Scan(kSideA, testing::kSourceGroup);
    const std::vector<FileEntry>& files = folders.comparison.files[kSideA];
    EXPECT_THAT(NamesOf(files), ElementsAre("a.cpp", "x.h", "b.rc"));
    EXPECT_EQ(files[1].pattern, u"*.h");
    EXPECT_EQ(files[2].status, kFreeRow);
    EXPECT_EQ(folders.comparison.folderPath[kSideA], folders.PathOf(kSideA));
    EXPECT_EQ(folders.comparison.folderPath[kSideB], folders.PathOf(kSideB));
    EXPECT_TRUE(folders.comparison.files[kSideB].empty());
}

TEST(ScanFolder, AllPatternListsDotEntriesSubfoldersAndFilesFoundEarlierAgain) {
    TwoFolders folders;
    folders.groups[4].groupNo = testing::kSourceGroup;  // *.cpp, *.h, *.rc, *.*
    folders.Write(kSideA, "main.cpp", "int main;");
    folders.Write(kSideA, ".hidden", "");
    folders.MakeSubfolder(kSideA, "sub");
    folders.Scan(kSideA, testing::kSourceGroup);
    const std::vector<FileEntry>& files = folders.comparison.files[kSideA];
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files[0].name, u"main.cpp");
    EXPECT_EQ(files[0].pattern, u"*.cpp");
    EXPECT_THAT(NamesOf({files.begin() + 1, files.end()}),
                UnorderedElementsAre(".", "..", "sub", ".hidden", "main.cpp"));
    for (std::size_t i = 1; i < files.size(); ++i) {
        EXPECT_EQ(files[i].pattern, u"*.*");
        if (files[i].name == u"sub" || files[i].name == u".") {
            EXPECT_EQ(files[i].sizeText, u"0");
        }
        if (files[i].name == u"main.cpp") {
            EXPECT_EQ(files[i].sizeText, u"9");
        }
        EXPECT_EQ(files[i].dateText.size(), 16u);
    }
}

TEST(ScanFolder, GroupWithoutRowsOrMissingFolderListsNothingButPathBoxesAreTakenCut) {
    TwoFolders folders;
    folders.Write(kSideA, "a.cpp", "c");
    folders.Scan(kSideA, testing::kSourceGroup);
    ScanFolder(folders.comparison, kSideA, folders.PathOf(kSideA), u"typed", folders.groups, 77);
    EXPECT_TRUE(folders.comparison.files[kSideA].empty());
    EXPECT_EQ(folders.comparison.folderPath[kSideB], u"typed");

    const std::u16string longText(300, u'x');
    ScanFolder(folders.comparison, kSideB, u"", longText, folders.groups, 104);
    EXPECT_TRUE(folders.comparison.files[kSideB].empty());
    EXPECT_EQ(folders.comparison.folderPath[kSideB], longText.substr(0, kFolderPathMax));
}

TEST(ScanFolder, ListsEveryOneOfManyMatchingFiles) {
    TwoFolders folders;
    for (int i = 0; i < 300; ++i)
        folders.Write(kSideA, std::to_string(i).append(".txt"), "x");
    folders.Scan(kSideA, testing::kTextGroup);
    const std::vector<std::string> names = NamesOf(folders.comparison.files[kSideA]);
    ASSERT_EQ(names.size(), 300u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 300u);
}

TEST(ScanFolder, FolderPathEndingWithASeparatorFindsTheSameSizes) {
    TwoFolders folders;
    folders.Write(kSideA, "a.txt", "12345");
    const std::u16string withSeparator = ko::JoinPath(folders.PathOf(kSideA), u"");
    ScanFolder(folders.comparison, kSideA, withSeparator, u"", folders.groups, testing::kTextGroup);
    ASSERT_EQ(folders.comparison.files[kSideA].size(), 1u);
    EXPECT_EQ(folders.comparison.files[kSideA][0].sizeText, u"5");
}

TEST(ScanFolder, SparseFileOverFourGibibytesShowsItsFullSize) {
    TwoFolders folders;
    const std::filesystem::path big = folders.folder[kSideA].Write("big.txt", "");
    std::filesystem::resize_file(big, (std::uintmax_t{5} << 30) + 7);
    folders.Scan(kSideA, testing::kTextGroup);
    ASSERT_EQ(folders.comparison.files[kSideA].size(), 1u);
    EXPECT_EQ(folders.comparison.files[kSideA][0].sizeText, u"5368709127");
}

TEST(ScanFolder, DateTextIsTheLastWriteInLocalTimeToTheMinute) {
    EXPECT_EQ(DateText({2023, 11, 7, 9, 52}), u"2023/11/07 09:52");
    EXPECT_EQ(SizeText(18446744073709551615ull), u"18446744073709551615");

    TwoFolders folders;
    const std::time_t before = std::time(nullptr) - 1;  // file times may lag the clock
    folders.Write(kSideA, "now.txt", "x");
    folders.Scan(kSideA, testing::kTextGroup);
    const std::time_t after = std::time(nullptr);
    auto textAt = [](std::time_t when) {
        const std::tm local = *std::localtime(&when);
        return DateText(
            {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min});
    };
    ASSERT_EQ(folders.comparison.files[kSideA].size(), 1u);
    const std::u16string& date = folders.comparison.files[kSideA][0].dateText;
    EXPECT_TRUE(date == textAt(before) || date == textAt(after)) << ko::Utf16ToUtf8(date);
}

}  // namespace
}  // namespace osprey
