// What the console programs' exit status says about inputs nobody expected: files that did not
// fit the grid are never "equal", devices are refused, folders paired with folders count
// neither way.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/kestrel_cli.h"
#include "cli/osprey_cli.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/text.h"
#include "kestrel/app/load_warning.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::cli {
namespace {

// Runs the console programs in a temporary current directory.
class ConsoleOutcome : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = ReadCurrentDirectory();
        ASSERT_TRUE(ChangeCurrentDirectory(testing::PathText(dir_.path())));
    }
    void TearDown() override { ChangeCurrentDirectory(previous_); }

    int Kestrel(const std::vector<std::u16string>& arguments) {
        out_.clear();
        messages_.shown.clear();
        return RunKestrelCli(arguments, false, out_, messages_);
    }

    testing::TempDir dir_;
    testing::RecordingReporter messages_;
    std::string out_;
    std::u16string previous_;
};

// `count` lines "line N", line `changed` reading "other N" instead.
std::string Lines(int count, int changed = 0) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += (n == changed ? "other " : "line ") + std::to_string(n) + "\r\n";
    return text;
}

std::string ChangedAt(std::string text, std::size_t at) {
    text[at] = 'Y';
    return text;
}

TEST_F(ConsoleOutcome, KestrelCliNeverCallsFilesEqualThatDidNotFit) {
    const std::string unbroken(std::size_t{256} << 10, 'x');  // 512 pieces of 512 bytes
    const struct {
        const char* what;
        std::string a, b;
        const char16_t* flag;
        int status;
    } cases[] = {
        {"lines past the last row differ", Lines(300), Lines(300, 280), u"--rows=256", 2},
        {"no line break, differs in the middle", unbroken, ChangedAt(unbroken, 128 << 10),
         u"--rows=256", 2},
        {"one long line differs in the middle", unbroken + "\r\n",
         ChangedAt(unbroken + "\r\n", 200 << 10), u"--rows=256", 2},
        {"lines differ past the last column", "abcdefX", "abcdefY", u"--columns=5", 2},
        {"lines differ after a NUL", std::string("ab\0cd", 5), std::string("ab\0XX", 5),
         u"--rows=256", 2},
        {"what was loaded differs", Lines(300, 3), Lines(300, 280), u"--rows=256", 1},
        {"both fit and are equal", Lines(255), Lines(255), u"--rows=256", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::u16string a = dir_.WriteU16("a.txt", c.a), b = dir_.WriteU16("b.txt", c.b);
        EXPECT_EQ(Kestrel({u"--quiet", c.flag, a, b}), c.status);
        EXPECT_EQ(messages_.shown.size(), c.status == 0 ? 0u : 2u);  // one warning per side
    }
}

TEST_F(ConsoleOutcome, KestrelCliReportsWhatWasCutOnStderrAndInJson) {
    const std::u16string a = dir_.WriteU16("a.txt", std::string("abcdefX\nq\0r\nz\nw", 15));
    const std::u16string b = dir_.WriteU16("b.txt", "abcdefY");
    EXPECT_EQ(Kestrel({u"--json", u"--newline=1", u"--rows=2", u"--columns=5", a, b}), 1);
    EXPECT_NE(
        out_.find("\"fits\": {\"a\": false, \"b\": false}, \"cut\": {\"a\": {\"pastLastRow\": "
                  "2, \"atColumns\": 1, \"atNul\": 1}, \"b\": {\"pastLastRow\": 0, "
                  "\"atColumns\": 1, \"atNul\": 0}}"),
        std::string::npos)
        << out_;
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0],
              (testing::ShownMessage{nullptr, Format(kestrel::app::kCutLoadText, {a, 2, 5}),
                                     u"読込注意", box::kIconWarning}));
}

TEST_F(ConsoleOutcome, DevicesAreRefusedLikeFilesThatCannotBeOpened) {
#ifdef _WIN32
    const std::u16string device = u"NUL";
#else
    const std::u16string device = u"/dev/null";
#endif
    const std::u16string a = dir_.WriteU16("a.txt", "");
    EXPECT_EQ(Kestrel({device, a}), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              Format(u"Can't open %s file\r\nErrCode=%d", {device, FileReader::kNotRegularFile}));
}

TEST_F(ConsoleOutcome, OspreyCliCountsFoldersNeitherWayUnlessPairedWithAFile) {
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
        messages_.shown.clear();
        EXPECT_EQ(RunOspreyCli({u"--group=104", testing::PathText(root / "a"),
                                testing::PathText(root / "b")},
                               out_, messages_),
                  c.status);
        EXPECT_TRUE(messages_.shown.empty());
    }
}

}  // namespace
}  // namespace ko::cli
