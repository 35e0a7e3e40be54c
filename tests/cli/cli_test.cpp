#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/console.h"
#include "cli/html_text.h"
#include "cli/kestrel_cli.h"
#include "cli/osprey_cli.h"
#include "cli/osprey_cli_html.h"
#include "cli/osprey_cli_report.h"
#include "cli/terminal_text.h"
#include "common/current_directory.h"
#include "common/file_reader.h"
#include "common/native_name.h"
#include "common/settings.h"
#include "osprey/app/window_layout.h"
#include "tests/common/ini_bytes.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ko::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using Arguments = std::vector<std::u16string>;
using namespace std::string_literals;

// Runs the console programs in a temporary current directory holding folders a and b, so a
// settings file there is the one read.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(dir_.path() / "a");
        fs::create_directory(dir_.path() / "b");
        ASSERT_TRUE(ChangeCurrentDirectory(testing::PathText(dir_.path())));
    }
    void TearDown() override { ChangeCurrentDirectory(previous_); }

    int Kestrel(const Arguments& arguments, bool terminal = false) {
        out_.clear();
        messages_.shown.clear();
        return RunKestrelCli(arguments, terminal, out_, messages_);
    }
    int Osprey(const Arguments& arguments) {
        out_.clear();
        messages_.shown.clear();
        return RunOspreyCli(arguments, out_, messages_);
    }
    void File(const std::string& name, const std::string& bytes) { dir_.Write(name, bytes); }

    std::u16string previous_ = ReadCurrentDirectory();
    testing::TempDir dir_;
    testing::RecordingReporter messages_;
    std::string out_;
};

// `count` lines "line N", line `changed` reading "other N" instead.
std::string Lines(int count, int changed = 0) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += (n == changed ? "other " : "line ") + std::to_string(n) + "\r\n";
    return text;
}

// A file that does not fit (more lines than rows, a line longer than the columns, a NUL in a
// line, half a UTF-16 unit at its end) is compared only as far as it was loaded, so it never
// passes as equal: what was not compared may differ. Each side that did not fit gets a
// warning. Neither do files that read the same only where they could not be decoded.
TEST_F(CliTest, KestrelExitsZeroOnlyForEqualFilesThatFitOneWhenTheyDifferAndTwoOnTrouble) {
    std::string line(std::size_t{256} << 10, 'x');  // 512 pieces of 512 bytes
    File("long.txt", line + "\r\n");
    line[200 << 10] = 'Y';
    File("long-Y.txt", line + "\r\n");
    File("e.txt", "");
    const std::pair<const char*, std::string> files[] = {
        {"x.txt", "x\r\ny\r\n"},      {"z.txt", "x\r\nz\r\n"},
        {"300.txt", Lines(300)},      {"255.txt", Lines(255)},
        {"300-3.txt", Lines(300, 3)}, {"300-280.txt", Lines(300, 280)},
        {"X.txt", "abcdefX"},         {"Y.txt", "abcdefY"},
        {"5.txt", "abcde"},           {"6.txt", "abcdeY"},
        {"cd.txt", "ab\0cd"s},        {"XX.txt", "ab\0XX"s},
        {"8540.txt", "x\x85\x40"},    {"8640.txt", "x\x86\x40"},
        {"ED40.txt", "\xED\x40"},     {"FA5C.txt", "\xFA\x5C"},
        {"A0.txt", "x\xA0"},          {"FD.txt", "x\xFD"},
        {"u16.txt", "\xFF\xFEx\0"s},  {"u16-odd.txt", "\xFF\xFEx\0\n"s},
        {"u8.txt", "\xEF\xBB\xBFx"},  {"30FB.txt", "\xEF\xBB\xBFx\xE3\x83\xBB"}};
    for (const auto& [name, bytes] : files)
        File(name, bytes);
    const struct {
        Arguments arguments;
        int status;
        std::size_t messages;
        std::string out;  // a piece of stdout, or "" for nothing at all
    } runs[] = {
        {{u"e.txt", u"e.txt"}, 0, 0, "000000   | 000000 \n一致しました\n"},
        {{u"--help", u"x.txt"}, 0, 0, "usage: kestrel-cli [--newline=N]"},
        {{u"x.txt", u"z.txt"}, 1, 0, "\n不一致です\n"},
        {{u"--quiet", u"x.txt", u"z.txt"}, 1, 0, ""},
        {{u"--html", u"x.txt", u"x.txt"}, 0, 0, "<p class=\"outcome\">一致しました</p>"},
        {{u"--html", u"--rows=256", u"255.txt", u"300.txt"},
         2,
         1,
         "<p class=\"warning\">読込注意: 300.txt<br>は一部しか読み込めませんでした。行数 256"
         "・桁数 512 を超えた部分、NUL より後ろ、UTF-16 の最後の半端な 1 バイトは比較されません。"
         "</p>\n<table"},
        {{u"x.txt", u"missing.txt"}, 2, 1, ""},
        {{u"--rows=many", u"x.txt", u"z.txt"}, 2, 1, ""},
        {{u"--quiet", u"--rows=256", u"300.txt", u"300-280.txt"}, 2, 2, ""},
        {{u"--quiet", u"--rows=256", u"300-3.txt", u"300-280.txt"}, 1, 2, ""},
        {{u"--quiet", u"--rows=256", u"255.txt", u"255.txt"}, 0, 0, ""},
        {{u"--quiet", u"--rows=256", u"long.txt", u"long-Y.txt"}, 2, 2, ""},
        {{u"--quiet", u"--columns=5", u"X.txt", u"Y.txt"}, 2, 2, ""},
        {{u"--quiet", u"--columns=5", u"5.txt", u"6.txt"}, 2, 1, ""},
        {{u"--quiet", u"--columns=5", u"6.txt", u"5.txt"}, 2, 1, ""},
        {{u"--quiet", u"--rows=1000000000", u"--columns=1000", u"x.txt", u"x.txt"}, 2, 1, ""},
        {{u"--quiet", u"cd.txt", u"XX.txt"}, 2, 2, ""},
        // Bytes that could not be decoded and read the same are compared as bytes.
        {{u"--quiet", u"8540.txt", u"8540.txt"}, 0, 0, ""},
        {{u"--quiet", u"8540.txt", u"8640.txt"}, 2, 1, ""},
        {{u"--quiet", u"30FB.txt", u"8540.txt"}, 2, 1, ""},  // "x・" read and written alike
        {{u"--quiet", u"u8.txt", u"u16.txt"}, 0, 0, ""},     // bytes that decode are not compared
        {{u"--quiet", u"A0.txt", u"FD.txt"}, 1, 0, ""},
        {{u"--quiet", u"ED40.txt", u"ED40.txt"}, 0, 0, ""},  // one character, two codes
        {{u"--quiet", u"ED40.txt", u"FA5C.txt"}, 2, 1, ""},
        {{u"--quiet", u"u16.txt", u"u16-odd.txt"}, 2, 1, ""}};
    for (const auto& run : runs) {
        SCOPED_TRACE(Utf16ToUtf8(run.arguments.back()));
        EXPECT_EQ(Kestrel(run.arguments), run.status);
        EXPECT_EQ(messages_.shown.size(), run.messages);
        EXPECT_TRUE(run.out.empty() ? out_.empty() : out_.find(run.out) != out_.npos) << out_;
    }
}

TEST(CliArguments, FlagsTakeTheirValuesUpToTheDoubleDashAndEachMistakeIsNamed) {
    const std::pair<Arguments, std::string> cases[] = {
        {{u"--rows=12x", u"a", u"b"}, "--rows needs a decimal number, as in --rows=1"},
        {{u"--columns", u"a", u"b"}, "--columns needs a decimal number, as in --columns=1"},
        {{u"--json=1", u"a", u"b"}, "unknown option --json=1"},
        {{u"--json", u"--quiet", u"a", u"b"}, "--json and --quiet exclude each other"},
        {{u"--html", u"--json", u"a", u"b"}, "--html cannot be combined with --json or --quiet"},
        {{u"a"}, "two files are needed, FILE_A and FILE_B"},
        {{u"--rows=-3", u"--", u"--json", u"b"}, ""}};
    for (const auto& [arguments, expected] : cases) {
        KestrelCliOptions options;
        std::string error;
        EXPECT_EQ(ParseKestrelCliArguments(arguments, options, error), expected.empty());
        EXPECT_EQ(error, expected);
        EXPECT_TRUE(!expected.empty() ||
                    (options.rows == -3 && options.file_a == u"--json" && !options.json));
    }
}

TEST_F(CliTest, KestrelReportsWhatWasCutOnStderrAndInJson) {
    File("a.txt", std::string("abcdefX\nq\0r\n\x81\nw", 15));
    File("b.txt", testing::Utf16File(u"abcdefY") + "\x85");
    EXPECT_EQ(Kestrel({u"--json", u"--newline=1", u"--rows=2", u"--columns=5", u"a.txt", u"b.txt"}),
              1);
    EXPECT_THAT(out_, HasSubstr("\"fits\": {\"a\": false, \"b\": false}, \"cut\": {\"a\": "
                                "{\"pastLastRow\": 2, \"atColumns\": 1, \"atNul\": 1, "
                                "\"oddLastByte\": 0, \"undecodable\": 1}, \"b\": {\"pastLastRow\": "
                                "0, \"atColumns\": 1, \"atNul\": 0, \"oddLastByte\": 1, "
                                "\"undecodable\": 0}}"));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0],
              (testing::ShownMessage{nullptr,
                                     u"a.txt\r\nは一部しか読み込めませんでした。行数 2・桁数 5 "
                                     u"を超えた部分、NUL より後ろ、UTF-16 の最後の半端な 1 "
                                     u"バイトは比較されません。",
                                     u"読込注意", box::kIconWarning}));
}

TEST_F(CliTest, FlagsOverrideTheSettingsFile) {
    File("kestrel.ini", "[Setting]\r\nkaimode=1\r\ndtxlength_max=3\r\n");
    File("a.txt", "abc\n");
    File("b.txt", "abcxyz\r\n");
    EXPECT_EQ(Kestrel({u"--json", u"a.txt", u"b.txt"}), 2);  // LF ends lines, B is cut to "abc"
    EXPECT_THAT(out_, HasSubstr("\"columns\": 3, \"rows\": 8192, \"newline\": 1"));
    EXPECT_THAT(out_, HasSubstr("\"fits\": {\"a\": true, \"b\": false}"));
    EXPECT_EQ(
        Kestrel({u"--json", u"--columns=8", u"--newline=7", u"--rows=300", u"a.txt", u"b.txt"}), 1);
    EXPECT_THAT(out_, HasSubstr("\"columns\": 8, \"rows\": 300, \"newline\": 7"));

    File("Osprey.ini", "[Setting]\r\nfailExt_no=1\r\n");
    File("a/notes.txt", "n");
    File("b/notes.txt", "n");
    File("a/main.cpp", "c");
    EXPECT_EQ(Osprey({u"--json", u"a", u"b"}), 0);  // group 1 lists *.txt only
    EXPECT_EQ(Osprey({u"--json", u"--group=0", u"--", u"a", u"b"}), 1);
    EXPECT_THAT(out_, HasSubstr("\"name\": \"main.cpp\", \"pattern\": \"*.cpp\""));
}

TEST_F(CliTest, KestrelShowsEveryUnitWithItsCodeInJsonAndTheWindowsColoursOnATerminal) {
    // UTF-16LE with controls, a quote, a backslash, DEL, a lone surrogate and a Japanese
    // character; a blank and a tilde as they are; an odd last byte, so side A alone is cut.
    File("a.txt", testing::Utf16File(u"a\t\x1F ~\x7F\"\\\xD800\x3042") + "\x01");
    File("b.txt", "a\r\n");
    EXPECT_EQ(Kestrel({u"--json", u"a.txt", u"b.txt"}), 1);
    EXPECT_EQ(out_,
              "{\"state\": 2, \"columns\": 512, \"rows\": 8192, \"newline\": 0,\n \"a\": "
              "{\"lines\": 1, \"encoding\": \"utf-16le\"},\n \"b\": {\"lines\": 2, \"encoding\": "
              "\"ansi\"},\n \"fits\": {\"a\": false, \"b\": true}, \"cut\": {\"a\": "
              "{\"pastLastRow\": 0, \"atColumns\": 0, \"atNul\": 0, \"oddLastByte\": 1, "
              "\"undecodable\": 0}, \"b\": {\"pastLastRow\": 0, \"atColumns\": 0, \"atNul\": 0, "
              "\"oddLastByte\": 0, \"undecodable\": 0}},\n \"aligned\": {\"a\": 1, \"b\": 2},\n "
              "\"grid\": [\n  {\"a\": \"a\\u0009\\u001f ~\\u007f\\u0022\\u005c\\ud800\\u3042\", "
              "\"ca\": \"0111111111\", \"b\": \"a\", \"cb\": \"0\"},\n  {\"a\": \"\", \"ca\": \"\","
              " \"b\": \"\", \"cb\": \"\"}]}\n");
    // On a terminal: red for differing characters and their rows' numbers, green for filler.
    File("k.txt", "k\r\nqzzzz\r\n");
    File("n.txt", "k\r\nyzz\r\nnew\r\n");
    EXPECT_EQ(Kestrel({u"k.txt", u"n.txt"}, true), 1);
    const std::string red = "\x1b[30;48;2;255;100;100m", green = "\x1b[30;48;2;128;255;128m";
    auto on = [](const std::string& c, const std::string& s) { return c + s + "\x1b[0m"; };
    EXPECT_EQ(out_, "000000 k     | 000000 k\n" + on(red, "000001") + " " + on(red, "q") + "zz" +
                        on(red, "zz") + " | " + on(red, "000001") + " " + on(red, "y") + "zz\n" +
                        on(green, "000002") + " " + on(green, "   ") + "   | " + on(red, "000002") +
                        " " + on(red, "new") + "\n000003       | 000003 \n不一致です\n");
    // Side A's column is as wide as its longest line up to 80 cells, where a character that
    // does not fit whole is left out.
    const std::string x(79, 'x');
    File("k.txt", "\xEF\xBB\xBFk\r\nab\r\n" + x + "\xF0\x90\x80\x80\r\n" + x + "yz\r\n" + x +
                      "\xF4\x8F\xBF\xBF");  // U+10000, U+10FFFF
    File("n.txt", "k\r\nnew\r\naX\r\n");
    EXPECT_EQ(Kestrel({u"k.txt", u"n.txt"}), 1);
    auto row = [](char n, const std::string& a, int cells, const std::string& b) {
        return "00000" + (n + (" " + a)) + std::string(80 - cells, ' ') + " | 00000" + n + " " + b +
               "\n";
    };
    EXPECT_EQ(out_, row('0', "k", 1, "k") + row('1', "ab", 2, "new") + row('2', x, 79, "aX") +
                        row('3', x + "y", 80, std::string(81, ' ')) +
                        row('4', x, 79, std::string(81, ' ')) + row('5', " ", 1, "") +
                        "不一致です\n");
}

TEST(ConsoleText, MarkupStaysTextControlsShowAsPicturesAndWideCharactersTakeTwoCells) {
    std::string out;
    AppendHtmlText(out, u"</pre><script>&\"'a\tb\r\n\x7f\xd800x\xdc00\xd83d\xde00");
    EXPECT_EQ(out, "&lt;/pre&gt;&lt;script&gt;&amp;&quot;&#39;a␉b␍␊␡\xef\xbf\xbdx\xef\xbf\xbd😀");
    // The first and last unit of each wide range against the units just outside it.
    const std::u16string wide =
        u"\u1100\u115F\u2E80\uA4CF\uAC00\uD7A3\uF900\uFAFF\uFE30\uFE4F"
        u"\uFF00\uFF60\uFFE0\uFFE6\U0001F600\xD800\u3042\xDC00";  // lone halves take one each
    const std::u16string narrow =
        u"\u10FF\u1160\u2E7F\uA4D0\uABFF\uD7A4\uF8FF\uFB00\uFE2F"
        u"\uFE50\uFEFF\uFF61\uFFDF\uFFE7\xDC00\xD800";
    EXPECT_EQ(std::pair(TerminalCells(wide), TerminalCells(narrow)),
              std::pair(34, static_cast<int>(narrow.size())));
    EXPECT_EQ(VisibleText(std::u16string(u"\0\x1F\x20\x7E\x7F\x80", 6)),
              u"\u2400\u241F ~\u2421\x80");
}

// The page shows the rows as the view draws them; what comes from a file stays text; the page
// grows with the rows shown, not with the grid.
TEST_F(CliTest, KestrelHtmlShowsTheViewsRunsFillerLinesAndNumbersWithFileTextEscaped) {
    File("a.txt", "k\r\n<script>document.title=1</script>\r\nq");
    File("b.txt", "\xEF\xBB\xBFk\r\nnew\r\n<img src=x onerror=alert(1)>\r\nq");
    EXPECT_EQ(Kestrel({u"--html", u"--rows=300", u"a.txt", u"b.txt"}), 1);
    const std::size_t size = out_.size();
    EXPECT_THAT(out_, HasSubstr("<title>Kestrel: a.txt ⇔ b.txt</title>"));
    EXPECT_THAT(out_, HasSubstr("background:#ff0000}\n"));  // the status bar's red
    EXPECT_THAT(out_, HasSubstr(".d{background:#ff6464}\n.f{background:#80ff80}\n"
                                ".g{background:#c8c8c8}\n</style>"));
    EXPECT_THAT(
        out_,
        EndsWith(
            "<body>\n<table class=\"files\">\n<tr><th></th><th>ファイル</th><th>文字コード</th><th>"
            "行数</th></tr>\n<tr><th>A</th><td>a.txt</td><td>ansi</td><td>3</td></tr>\n<tr><th>"
            "B</th><td>b.txt</td><td>utf-8</td><td>4</td></tr>\n</table>\n<div class=\"bar\"><span>"
            "照合不一致</span><span>MemorySize_W=512</span><span>MemorySize_H=300</span></div>\n<p "
            "class=\"outcome\">不一致です</p>\n<table class=\"view\"><colgroup><col class=\"n\">"
            "<col><col class=\"n\"><col></colgroup>\n<tr><td>000000</td><td>k</td><td>000000</td>"
            "<td>k</td></tr>\n<tr><td><span style=\"background:#ff6464\">000001</span></td><td>"
            "<span class=\"d\">&lt;script&gt;document.title=1&lt;/script&gt;</span></td><td><span "
            "style=\"background:#ff6464\">000001</span></td><td><span class=\"d\">new</span></td>"
            "</tr>\n<tr><td><span style=\"background:#80ff80\">000002</span></td><td><span "
            "class=\"f\">                            </span></td><td><span "
            "style=\"background:#ff6464\">000002</span></td><td><span class=\"d\">&lt;img src=x "
            "onerror=alert(1)&gt;</span></td></tr>\n<tr><td>000003</td><td>q</td><td>000003</td>"
            "<td>q</td></tr>\n</table>\n</body>\n</html>\n"));
    EXPECT_EQ(Kestrel({u"--html", u"--rows=60000", u"a.txt", u"b.txt"}), 1);
    EXPECT_EQ(out_.size(), size + 2);  // "MemorySize_H=60000" instead of "=300"
    // Side A's cells: a pair stays whole in the code of the half that differs; a unit outside the
    // ranges is no half; a full row's lone high surrogate ends there, whatever follows.
    const std::string d = "<span class=\"d\">", e = "</span>", x = "\uFFFD", p = "\uE000";
    const std::tuple<std::u16string, std::u16string, std::string> rows[] = {
        {u"あいうえお", u"あいうえお", "あいうえお"},
        {u"ab\xD7FF", u"ay\xD7FF", "a" + d + "b" + e + "\uD7FF"},
        {u"\xD7FF\xDC00", u"\xD7FF\xDC01", "\uD7FF" + d + x + e},
        {u"\xDC00\xDC00", u"\xDC00\xDC01", x + d + x + e},
        {u"\xD800\xDBFF", u"\xD800\xDBFE", x + d + x + e},
        {u"\xD800\xE000", u"\xD800\xE001", x + d + p + e},
        {u"𐀀\xE000𐀀", u"𐀁\xE000𐀁", d + "𐀀" + e + p + d + "𐀀" + e},
        {u"😀\U0010FFFF", u"\U0001FA00\xDBFF\xDFFE", d + "😀\xf4\x8f\xbf\xbf" + e},
        {u"abcd\xD800", u"abcd\xD800", "abcd" + x},
        {u"\xDC00y", u"\xDC01y", d + x + e + "y"},
        {u"", u"", ""}};
    std::u16string u, v;
    for (const auto& [a, b, html] : rows)
        u += a + u"\r\n", v += b + u"\r\n";
    File("u.txt", testing::Utf16File(u));
    File("v.txt", testing::Utf16File(v));
    const Arguments uv = {u"--html", u"--columns=5", u"--rows=13", u"u.txt", u"v.txt"};
    EXPECT_EQ(Kestrel(uv), 1);
    std::size_t at = 0;  // side A's cells (side B's number follows) in the rows' order
    for (const auto& [a, b, html] : rows)
        EXPECT_NE(at = out_.find("<td>" + html + "</td><td>", at + 1), out_.npos) << html;
    EXPECT_EQ(Kestrel(Arguments(uv.begin() + 1, uv.end())), 1);
    EXPECT_THAT(out_, ::testing::StartsWith("000000 あいうえお | 000000 あいうえお\n000001 ab\uD7FF"
                                            "        | 000001 ay\uD7FF\n000002 \uD7FF\uFFFD"));
}

// Rows that pair two folders ("." and ".." of *.*, subfolders of the same name) count neither
// way; a folder paired with a file is a difference.
TEST_F(CliTest, OspreyExitsZeroOnlyWhenEveryFileHasAnEqualPartner) {
    const Arguments all_files = {u"--quiet", u"--group=104", u"a", u"b"};
    File("a/x.txt", "1");
    File("b/x.txt", "1");
    fs::create_directory(dir_.path() / "a/sub");
    fs::create_directory(dir_.path() / "b/sub");
    EXPECT_EQ(Osprey(all_files), 0);
    std::u16string a259 = u"a";  // a path of 259 characters is the longest taken
    for (int n = 0; n < 129; ++n)
        a259 += u"/.";
    EXPECT_EQ(Osprey({u"--quiet", u"--group=104", a259, u"b"}), 0);
    EXPECT_EQ(Osprey({u"--group=104", u"a", u"b"}), 0);
    EXPECT_THAT(out_, HasSubstr("\n\n照合後  Aファイル数=4  Bファイル数=4  対象ファイル数=4"));
    EXPECT_EQ(Osprey({u"--help", u"a"}), 0);
    EXPECT_EQ(out_, kOspreyCliUsage);
    File("b/x.txt", "12");  // a longer file that starts alike
    EXPECT_EQ(Osprey(all_files), 1);
    EXPECT_EQ(out_, "");
    File("b/x.txt", "1");
    File("b/y.txt", "1");
    EXPECT_EQ(Osprey(all_files), 1);
    fs::remove(dir_.path() / "b/y.txt");
    fs::create_directory(dir_.path() / "a/d");
    File("b/d", "1");
    File("a/e", "1");
    fs::create_directory(dir_.path() / "b/e");
    EXPECT_EQ(Osprey(all_files), 1);
    EXPECT_TRUE(messages_.shown.empty());
    const Arguments bad[] = {{u"a", u"missing"},          {u"--group=x", u"a", u"b"},
                             {u"--group=77", u"a", u"b"}, {u"a", a259 + u"/."},
                             {a259 + u"/", u"b"},         {u"a"}};
    for (const Arguments& arguments : bad) {
        EXPECT_EQ(Osprey(arguments), 2);
        EXPECT_EQ(out_, "");
        EXPECT_EQ(messages_.shown.size(), 1u);
    }
    EXPECT_TRUE(messages_.Texts()[0].starts_with(u"two folders are needed, DIR_A and DIR_B\n"));
}

TEST(OspreyCliReport, JsonAndTableShowEveryRowWithEscapedNamesAndEmptyHalves) {
    osprey::FolderComparison comparison;
    comparison.files[0].resize(1);
    comparison.pairs[0] = {{13, u"日本 \"\\\n\x1F.txt", u"*.*", u"12", u"2023/11/07 09:53"}};
    comparison.pairs[1] = {{0, u"", u"", u"", u""}};
    comparison.compareFlag = 1;
    comparison.folderPath[1] = u"B<";
    EXPECT_EQ(
        JsonReport(comparison),
        "{\"countA\": 1, \"countB\": 0, \"target\": 0, \"equal\": 0, \"differ\": 0,\n"
        " \"rows\": [\n  {\"status\": 13, \"a\": {\"name\": \"日本 \\\"\\\\\\u000a\\u001f.txt\", "
        "\"pattern\": \"*.*\", \"size\": \"12\", \"date\": \"2023/11/07 09:53\"}, "
        "\"b\": {\"name\": \"\", \"pattern\": \"\", \"size\": \"\", \"date\": \"\"}}]}\n");
    // Columns line up by terminal cells, two for a Japanese character.
    EXPECT_EQ(RowTable(comparison),
              "比較   | ファイル名     拡張子  サイズ  日時             | ファイル名  拡張子  "
              "サイズ  日時\n"
              "非対称 | 日本 \"\\␊␟.txt  *.*     12      2023/11/07 09:53 |\n\n"
              "照合後  Aファイル数=1  Bファイル数=0  対象ファイル数=0  ファイル一致数=0  "
              "ファイル不一致数=0\n");
    // The list views' columns, and no picture (the platform's "none", -2) for a row not paired.
    for (int c = 0; c < osprey::app::kListColumnCount; ++c)
        EXPECT_EQ(osprey::app::kListColumns[c].width, (std::array{400, 80, 150, 200, 60})[c]);
    EXPECT_EQ(osprey::app::StatusImage(0), -2);
    // A half without a status has no picture; a group not in the table shows as its number.
    EXPECT_THAT(HtmlReport(comparison, DefaultExtensionGroups(), 77), HasSubstr("<td>77</td>"));
    EXPECT_THAT(
        HtmlReport(comparison, DefaultExtensionGroups(), 0),
        EndsWith(
            ".m0{color:#000;background:#00ffff}\n.m1{color:#00f;background:#0f0}\n.m2{color:#f00;"
            "background:#c0c0c0}\n.m3{color:#000;background:#ff0}\n</style>\n</head>\n<body>\n"
            "<table class=\"folders\">\n<tr><th>フォルダＡ</th><td></td></tr>\n<tr><th>"
            "フォルダＢ</th><td>B&lt;</td></tr>\n<tr><th>拡張子グループ</th><td>0 ソースファイル "
            "*.cpp *.h *.rc</td></tr>\n</table>\n<table class=\"lists\">\n<tr><th>ファイル名</th>"
            "<th>拡張子</th><th>サイズ</th><th>日時</th><th>比較</th><th class=\"b\">"
            "ファイル名</th><th>拡張子</th><th>サイズ</th><th>日時</th><th>比較</th></tr>\n<tr><td "
            "class=\"name\"><span class=\"m m3\">非</span>日本 &quot;\\␊␟.txt</td><td>*.*</td><td>"
            "12</td><td>2023/11/07 09:53</td><td>非対称</td><td class=\"name b\"></td><td></td><td>"
            "</td><td></td><td></td></tr>\n</table>\n<div class=\"bar\"><span>照合後</span><span>"
            "Aファイル数=1</span><span>Bファイル数=0</span><span>対象ファイル数=0</span><span>"
            "ファイル一致数=0</span><span>ファイル不一致数=0</span></div>\n</body>\n</html>\n"));
}

// A device, a pipe or an endless file is refused like a file that cannot be opened, at once.
TEST_F(CliTest, OnlyRegularFilesAreRead) {
    File("x.txt", "x");
#ifdef _WIN32
    const std::u16string devices[] = {u"NUL"};
#else
    alarm(60);  // a program that blocks in open or reads forever ends the run here
    for (const char* fifo : {"a/p.txt", "b/p.txt", "kestrel.ini", "Osprey.ini"})
        EXPECT_EQ(::mkfifo((dir_.path() / fifo).c_str(), 0600), 0);
    const std::u16string devices[] = {u"a/p.txt", u"/dev/null", u"/dev/zero", u"/dev/urandom"};
#endif
    for (const std::u16string& device : devices) {
        EXPECT_EQ(Kestrel({device, u"x.txt"}), 2);
        EXPECT_EQ(messages_.Texts(), (std::vector{Format(u"Can't open %s file\r\nErrCode=%d",
                                                         {device, FileReader::kNotRegularFile})}));
    }
#ifndef _WIN32
    EXPECT_EQ(Osprey({u"--quiet", u"--group=1", u"a", u"b"}), 2);
    EXPECT_EQ(messages_.shown.at(0).caption, u"FileOpenError1");
    // A settings file that is a pipe counts as absent and is never written.
    Settings settings;
    LoadSettings(Program::kKestrel, testing::PathText(dir_.path()), settings);
    EXPECT_EQ(settings.dtxlength_max, 512);
    SaveSettings(Program::kKestrel, testing::PathText(dir_.path()), settings);
    EXPECT_TRUE(fs::is_fifo(dir_.path() / "kestrel.ini"));
    alarm(0);
#endif
}

#ifndef _WIN32
// git difftool runs kestrel-cli on the old and the new version of each changed file; with
// --trust-exit-code git fails as soon as one differs.
TEST_F(CliTest, GitDifftoolRunsKestrelCliOnTheChangedFileAndFailsWithIt) {
    const std::string git =
        "GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL=/dev/null git -c user.name=t "
        "-c user.email=t@t ";
    const std::string difftool =
        git + "difftool --no-prompt --trust-exit-code --extcmd=" KESTREL_CLI_EXE " >out 2>&1";
    File("changed.txt", "x\r\ny\r\n");
    if (std::system((git + "init -q && " + git + "add *.txt && " + git + "commit -qm 1").c_str()))
        GTEST_SKIP() << "git is not at hand";
    EXPECT_EQ(std::system(difftool.c_str()), 0);
    File("changed.txt", "x\r\nz\r\n");
    EXPECT_NE(std::system(difftool.c_str()), 0);
    std::ifstream file("out");
    const std::string out{std::istreambuf_iterator<char>(file), {}};
    EXPECT_THAT(out, HasSubstr("000001 y | 000001 z\n000002   | 000002 \n不一致です"));
}

TEST_F(CliTest, NamesThatAreNotUtf8OrHoldMarkupOpenAgainAndShowAsText) {
    const std::string folder = dir_.path().string() + "/caf\xe9";
    fs::create_directories(folder + "/a");
    fs::create_directories(folder + "/b");
    for (const auto& [name, bytes] : {std::pair{"a/caf\xe9.txt", "1"},
                                      {"b/caf\xe9.txt", "1"},
                                      {"a/<img src=x onerror=alert(1)>.txt", "1"},
                                      {"b/<img src=x onerror=alert(1)>.txt", "2"},
                                      {"Osprey.ini", "[Setting]\nfailExt_no=1\n"},
                                      {"kestrel.ini", "[Setting]\ndtxlength_max=3\n"}})
        std::ofstream(folder + "/" + name) << bytes;
    ASSERT_TRUE(ChangeCurrentDirectory(NativeNameToText(folder)));
    std::string argv[] = {"osprey-cli", "--json", "a", "b"};
    char* pointers[] = {argv[0].data(), argv[1].data(), argv[2].data(), argv[3].data()};
    EXPECT_EQ(Osprey(ArgumentsFromUtf8(4, pointers)), 1);  // group 1: *.txt
    EXPECT_THAT(out_, HasSubstr("\"name\": \"caf\xef\xbf\xbd.txt\""));
    EXPECT_EQ(Osprey({u"--html", u"a", u"b"}), 1);
    EXPECT_EQ(out_.find("<img"), out_.npos);
    EXPECT_THAT(out_, HasSubstr("<td class=\"name\"><span class=\"m m2\">×</span>&lt;img src=x "
                                "onerror=alert(1)&gt;.txt</td>"));
    EXPECT_THAT(out_, HasSubstr("<span class=\"m m1\">○</span>caf\xef\xbf\xbd.txt</td>"));
    EXPECT_THAT(out_, HasSubstr("<td>1 テキスト *.txt</td>"));
    const std::u16string file = NativeNameToText(folder + "/a/caf\xe9.txt");
    EXPECT_EQ(Kestrel({u"--json", file, file}), 0);
    EXPECT_THAT(out_, HasSubstr("\"columns\": 3"));
}
#endif

// Messages go to stderr on lines of their own, questions answered No; a job that runs out of
// memory ends with status 2 and none of its output.
TEST(ConsoleProgram, WritesTheJobsOutputAndStatusOrOnlyStatus2WhenMemoryRunsOut) {
    auto job = [](const Arguments& arguments, std::string& out, Reporter& messages) {
        out = "out";
        if (arguments.empty()) throw std::bad_alloc();
        return messages.Show(nullptr, u"a\r\nb", u"c", box::kYesNo | box::kIconWarning) +
               messages.Show(nullptr, u"d", u"e", box::kOk);
    };
#ifndef _WIN32
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
#endif
    EXPECT_EQ(RunConsoleProgram({u"x"}, job) + RunConsoleProgram({}, job),
              box::kAnswerNo + box::kAnswerOk + 2);
#ifndef _WIN32
    EXPECT_EQ(::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr(),
              "outc: a\nb\ne: d\nFailure: Failed to allocate the specified number of bytes from "
              "the heap.\n");
#endif
}

}  // namespace
}  // namespace ko::cli
