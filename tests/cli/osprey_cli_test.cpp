#include "cli/osprey_cli.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/osprey_cli_report.h"
#include "common/current_directory.h"
#include "common/text.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::cli {
namespace {

using osprey::FileEntry;

// Runs osprey-cli in a temporary current directory holding folders a and b, so an Osprey.ini
// there is the one read.
class OspreyCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = ReadCurrentDirectory();
        std::filesystem::create_directory(dir_.path() / "a");
        std::filesystem::create_directory(dir_.path() / "b");
        ASSERT_TRUE(ChangeCurrentDirectory(testing::PathText(dir_.path())));
    }
    void TearDown() override { ChangeCurrentDirectory(previous_); }

    int Run(std::vector<std::u16string> arguments) {
        out_.clear();
        messages_.shown.clear();
        return RunOspreyCli(arguments, out_, messages_);
    }
    void File(const std::string& name, const std::string& bytes) { dir_.Write(name, bytes); }

    testing::TempDir dir_;
    testing::RecordingReporter messages_;
    std::string out_;
    std::u16string previous_;
};

TEST_F(OspreyCliTest, ExitStatusTellsAllEqualSomethingElseAndTrouble) {
    File("a/same.cpp", "1");
    File("b/same.cpp", "1");
    EXPECT_EQ(Run({u"a", u"b"}), 0);
    EXPECT_NE(out_.find("一致"), std::string::npos);
    File("b/extra.h", "");
    EXPECT_EQ(Run({u"--quiet", u"a", u"b"}), 1);
    EXPECT_EQ(out_, "");
    File("b/extra.h", "");
    File("a/extra.h", "x");
    EXPECT_EQ(Run({u"a", u"b"}), 1);
    EXPECT_TRUE(messages_.shown.empty());

    EXPECT_EQ(Run({u"a", u"missing"}), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, u"FolderError");
    for (const auto& bad :
         std::vector<std::vector<std::u16string>>{{u"a"},
                                                  {u"--group=x", u"a", u"b"},
                                                  {u"--json", u"--quiet", u"a", u"b"},
                                                  {u"--colour", u"a", u"b"},
                                                  {u"--group=77", u"a", u"b"},
                                                  {u"a", std::u16string(260, u'b')}}) {
        EXPECT_EQ(Run(bad), 2);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(messages_.shown.size(), 1u);
    }
    EXPECT_EQ(Run({u"--help"}), 0);
    EXPECT_EQ(out_.rfind("usage: osprey-cli", 0), 0u);
}

TEST_F(OspreyCliTest, GroupFlagOverridesTheSettingsFile) {
    File("Osprey.ini", "[Setting]\r\nfailExt_no=1\r\n");
    File("a/notes.txt", "n");
    File("b/notes.txt", "n");
    File("a/main.cpp", "c");
    EXPECT_EQ(Run({u"--json", u"a", u"b"}), 0);  // group 1 lists *.txt only
    EXPECT_NE(out_.find("\"countA\": 1, \"countB\": 1, \"target\": 1, \"equal\": 1"),
              std::string::npos);
    EXPECT_EQ(Run({u"--json", u"--group=0", u"--", u"a", u"b"}), 1);
    EXPECT_NE(out_.find("\"name\": \"main.cpp\", \"pattern\": \"*.cpp\""), std::string::npos);
}

TEST_F(OspreyCliTest, FoldersCountNeitherWayUnlessPairedWithAFile) {
    const struct {
        const char* what;
        std::vector<std::string> entries;  // "side/name=content", or "side/name/" for a folder
        int status;
    } cases[] = {
        {"identical folders", {"a/x.txt=1", "b/x.txt=1"}, 0},
        {"same-named subfolders", {"a/x.txt=1", "b/x.txt=1", "a/sub/", "b/sub/"}, 0},
        {"a subfolder beside a file of its name", {"a/sub/", "b/sub=1"}, 1},
        {"files that differ", {"a/x.txt=1", "b/x.txt=2", "a/sub/", "b/sub/"}, 1},
    };
    int folder = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path root = dir_.path() / std::to_string(folder++);
        std::filesystem::create_directories(root / "a");
        std::filesystem::create_directories(root / "b");
        for (const std::string& entry : c.entries) {
            const std::size_t equals = entry.find('=');
            if (equals == std::string::npos)
                std::filesystem::create_directory(root / entry);
            else
                dir_.Write(root.filename().string() + "/" + entry.substr(0, equals),
                           entry.substr(equals + 1));
        }
        EXPECT_EQ(
            Run({u"--group=104", testing::PathText(root / "a"), testing::PathText(root / "b")}),
            c.status);
        EXPECT_TRUE(messages_.shown.empty());
    }
}

osprey::FolderComparison TwoRows() {
    osprey::FolderComparison comparison;
    comparison.files[0].resize(2);
    comparison.files[1].resize(1);
    comparison.pairs[0] = {{2, u"日本.txt", u"*.txt", u"12", u"2023/11/07 09:52"},
                           {13, u"q\"b\\\n.txt", u"*.*", u"0", u"2023/11/07 09:53"}};
    comparison.pairs[1] = {{2, u"日本.txt", u"*.*", u"12", u"2023/11/08 10:00"},
                           {13, u"", u"", u"", u""}};
    comparison.compareFlag = 1;
    return comparison;
}

TEST(OspreyCliReport, JsonHasCountsRowsEscapedNamesAndEmptyHalves) {
    EXPECT_EQ(
        JsonReport(TwoRows()),
        "{\"countA\": 2, \"countB\": 1, \"target\": 1, \"equal\": 1, \"differ\": 0,\n"
        " \"rows\": [\n"
        "  {\"status\": 2, \"a\": {\"name\": \"日本.txt\", \"pattern\": \"*.txt\", \"size\": "
        "\"12\", \"date\": \"2023/11/07 09:52\"}, \"b\": {\"name\": \"日本.txt\", \"pattern\": "
        "\"*.*\", \"size\": \"12\", \"date\": \"2023/11/08 10:00\"}},\n"
        "  {\"status\": 13, \"a\": {\"name\": \"q\\\"b\\\\\\u000a.txt\", \"pattern\": \"*.*\", "
        "\"size\": \"0\", \"date\": \"2023/11/07 09:53\"}, \"b\": {\"name\": \"\", \"pattern\": "
        "\"\", \"size\": \"\", \"date\": \"\"}}]}\n");
}

TEST(OspreyCliReport, TableAlignsColumnsByTerminalCellsAndEndsWithTheStatusBar) {
    EXPECT_EQ(RowTable(TwoRows()),
              "比較   | ファイル名  拡張子  サイズ  日時             | ファイル名  拡張子  "
              "サイズ  日時\n"
              "一致   | 日本.txt    *.txt   12      2023/11/07 09:52 | 日本.txt    *.*     12"
              "      2023/11/08 10:00\n"
              "非対称 | q\"b\\␊.txt   *.*     0       2023/11/07 09:53 |\n"
              "\n"
              "照合後  Aファイル数=2  Bファイル数=1  対象ファイル数=1  ファイル一致数=1  "
              "ファイル不一致数=0\n");
}

}  // namespace
}  // namespace ko::cli
