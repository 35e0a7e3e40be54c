#include "cli/kestrel_cli.h"

#include <gtest/gtest.h>

#include "cli/console.h"
#include "cli/json_text.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/text.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::cli {
namespace {

constexpr char16_t kCutLoadText[] =
    u"%s\r\nは一部しか読み込めませんでした。行数 %d・桁数 %d を超えた部分と NUL "
    u"より後ろは比較されません。";

// Runs kestrel-cli in a temporary current directory, so a kestrel.ini there is the one read.
class KestrelCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = ReadCurrentDirectory();
        ASSERT_TRUE(ChangeCurrentDirectory(testing::PathText(dir_.path())));
    }
    void TearDown() override { ChangeCurrentDirectory(previous_); }

    int Run(std::vector<std::u16string> arguments, bool terminal = false) {
        out_.clear();
        return RunKestrelCli(arguments, terminal, out_, messages_);
    }
    std::u16string File(const char* name, const std::string& bytes) {
        return dir_.WriteU16(name, bytes);
    }

    testing::TempDir dir_;
    testing::RecordingReporter messages_;
    std::string out_;
    std::u16string previous_;
};

TEST_F(KestrelCliTest, ExitStatusTellsEqualDifferentAndTrouble) {
    const std::u16string a = File("a.txt", "x\r\ny\r\n"), b = File("b.txt", "x\r\nz\r\n");
    EXPECT_EQ(Run({a, a}), 0);
    EXPECT_EQ(out_.substr(out_.size() - 19), "一致しました\n");
    EXPECT_EQ(Run({a, b}), 1);
    EXPECT_EQ(out_.substr(out_.size() - 16), "不一致です\n");
    EXPECT_EQ(Run({u"--quiet", a, b}), 1);
    EXPECT_EQ(out_, "");
    EXPECT_TRUE(messages_.shown.empty());  // the outcome is the result, not a message
    EXPECT_EQ(Run({a, testing::PathText(dir_.path() / "missing.txt")}), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, u"FileOpenError");
    for (const auto& bad : std::vector<std::vector<std::u16string>>{
             {a}, {u"--rows=many", a, b}, {u"--json", u"--quiet", a, b}, {u"--colour", a, b}}) {
        EXPECT_EQ(Run(bad), 2);
        EXPECT_EQ(out_, "");
    }
}

TEST_F(KestrelCliTest, FlagsOverrideTheSettingsFile) {
    File("kestrel.ini", "[Setting]\r\nkaimode=1\r\ndtxlength_max=3\r\n");
    const std::u16string a = File("a.txt", "abcdef\r\n"), b = File("b.txt", "abcxyz\r\n");
    EXPECT_EQ(Run({u"--json", a, b}), 2);  // LF ends lines, both cut to "abc": equal so far
    EXPECT_NE(out_.find("\"columns\": 3"), std::string::npos);
    EXPECT_NE(out_.find("\"newline\": 1"), std::string::npos);
    EXPECT_EQ(Run({u"--json", u"--columns=8", u"--newline=7", u"--rows=300", a, b}), 1);
    EXPECT_NE(out_.find("\"columns\": 8, \"rows\": 300, \"newline\": 7"), std::string::npos);
    EXPECT_NE(out_.find("\"a\": {\"lines\": 1, \"encoding\": \"ansi\"}"), std::string::npos);
}

TEST_F(KestrelCliTest, JsonCarriesEveryUnitAndItsCode) {
    // UTF-16LE with a tab, a quote, a backslash, a lone surrogate and a Japanese character.
    const std::string a_bytes(
        "\xFF\xFE"
        "a\0\t\0\"\0\\\0\x00\xD8\x42\x30",
        14);
    const std::u16string a = File("a.txt", a_bytes), b = File("b.txt", "a\r\n");
    EXPECT_EQ(Run({u"--json", a, b}), 1);
    EXPECT_NE(out_.find("\"a\": {\"lines\": 1, \"encoding\": \"utf-16le\"}"), std::string::npos);
    EXPECT_NE(out_.find("\"aligned\": {\"a\": 1, \"b\": 2}"), std::string::npos) << out_;
    EXPECT_NE(out_.find("{\"a\": \"a\\u0009\\u0022\\u005c\\ud800\\u3042\", \"ca\": \"011111\", "
                        "\"b\": \"a\", \"cb\": \"0\"}"),
              std::string::npos)
        << out_;
}

TEST_F(KestrelCliTest, TerminalViewUsesTheWindowsBackgrounds) {
    const std::u16string a = File("a.txt", "k\r\nq\r\n"), b = File("b.txt", "k\r\nnew\r\nq\r\n");
    EXPECT_EQ(Run({a, b}, true), 1);
    EXPECT_NE(out_.find("\x1b[30;48;2;128;255;128m"), std::string::npos);  // filler line
    EXPECT_NE(out_.find("\x1b[30;48;2;255;100;100m"), std::string::npos);  // differing line
    EXPECT_EQ(Run({a, b}, false), 1);
    EXPECT_EQ(out_.find('\x1b'), std::string::npos);
    EXPECT_NE(out_.find("000001"), std::string::npos);
}

TEST(JsonText, EscapesAsTheFormatsSay) {
    EXPECT_EQ(JsonUnitString(u"a\"\\\u00e9\x7f"), "\"a\\u0022\\u005c\\u00e9\\u007f\"");
    EXPECT_EQ(JsonString(u"a\"\\\n漢"), "\"a\\\"\\\\\\u000a漢\"");
}

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

TEST_F(KestrelCliTest, NeverCallsFilesEqualThatDidNotFit) {
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
        messages_.shown.clear();
        EXPECT_EQ(Run({u"--quiet", c.flag, File("a.txt", c.a), File("b.txt", c.b)}), c.status);
        EXPECT_EQ(messages_.shown.size(), c.status == 0 ? 0u : 2u);  // one warning per side
    }
}

TEST_F(KestrelCliTest, ReportsWhatWasCutOnStderrAndInJson) {
    const std::u16string a = File("a.txt", std::string("abcdefX\nq\0r\nz\nw", 15));
    const std::u16string b = File("b.txt", "abcdefY");
    EXPECT_EQ(Run({u"--json", u"--newline=1", u"--rows=2", u"--columns=5", a, b}), 1);
    EXPECT_NE(
        out_.find("\"fits\": {\"a\": false, \"b\": false}, \"cut\": {\"a\": {\"pastLastRow\": "
                  "2, \"atColumns\": 1, \"atNul\": 1}, \"b\": {\"pastLastRow\": 0, "
                  "\"atColumns\": 1, \"atNul\": 0}}"),
        std::string::npos)
        << out_;
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0], (testing::ShownMessage{nullptr, Format(kCutLoadText, {a, 2, 5}),
                                                         u"読込注意", box::kIconWarning}));
}

TEST_F(KestrelCliTest, DevicesAreRefusedLikeFilesThatCannotBeOpened) {
#ifdef _WIN32
    const std::u16string device = u"NUL";
#else
    const std::u16string device = u"/dev/null";
#endif
    EXPECT_EQ(Run({device, File("a.txt", "")}), 2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              Format(u"Can't open %s file\r\nErrCode=%d", {device, FileReader::kNotRegularFile}));
}

TEST(ConsoleProgram, RunningOutOfMemoryEndsWithStatus2) {
    EXPECT_EQ(RunConsoleProgram({}, [](auto&, auto&, auto&) -> int { throw std::bad_alloc(); }), 2);
}

}  // namespace
}  // namespace ko::cli
