// Text as the programs handle it: formats, encodings, numbers from a box, an INI file's lines.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "common/code_page_932.h"
#include "common/ini_file.h"
#include "common/number_reading.h"
#include "common/text.h"
#include "tests/common/ini_bytes.h"

namespace ko {
namespace {

using testing::kSettingCp932;
using testing::kSourceFilesCp932;
using testing::Utf16File;
using namespace std::string_literals;

TEST(Format, WritesTheConversionsTheProgramsUse) {
    const struct {
        std::u16string_view pattern;
        std::initializer_list<FormatArg> args;
        std::u16string_view expected;
    } cases[] = {{u"%06d|%06d|%d|%d", {42, 1234567, 0, 99}, u"000042|1234567|0|99"},
                 {u"%04d|%4d|%d|%5d", {-12, -12, -1, 100}, u"-012| -12|-1|  100"},
                 {u"%I64u %u", {18446744073709551615ULL, -1}, u"18446744073709551615 4294967295"},
                 {{u"%10d|%9s|%059", 12}, {5, u"ab", 1}, u"         5|       ab|"},
                 // A conversion without an argument prints nothing, a lone last % itself.
                 {u"100%% %d and %d %", {7}, u"100% 7 and  %"}};
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.pattern, c.args), c.expected) << Utf16ToUtf8(c.pattern);
    EXPECT_EQ(CutText(u"abc", 2) + CutText(u"abc", 0), u"ab");
}

TEST(Utf8AndCodePage932, EachEndOfEachRangeBothWaysAndWhatCountsAsLost) {
    // Both ends of each length of sequence, and of the surrogates, both ways.
    const std::string utf8 =
        "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xF0\x90\x80\x80\xEE\x80\x80"
        "\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xF0\x9F\x98\x80";
    const std::u16string utf16 =
        u"\x7F\x80\u07FF\u0800\uD7FF\U00010000\uE000\uFFFF\U0010FFFF\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    // Surrogates alone and the units beside their ranges; the first 8 end on a high one, alone.
    const char16_t* lone = u"\xD7FF\xDC00\xDC00\xD800\xDBFF\xE000\xDFFF\xD800\xDC00";
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8({lone, 8}), "\xED\x9F\xBF" + r + r + r + r + "\xEE\x80\x80" + r + r);
    // A U+FFFD the text holds is no loss; one for a sequence the end cuts short or a lone byte is.
    const auto* marks =
        reinterpret_cast<const std::uint8_t*>("\xEF\xBF\xBD\xEF\xBF\xBF!\xEF\xBF\xBD\xBD");
    EXPECT_TRUE(!LostInUtf8(marks, 10, u"\uFFFD\uFFFF!\uFFFD", 4) &&
                LostInUtf8(marks, 9, u"\uFFFD\uFFFF!\uFFFD", 4) &&
                LostInUtf8(marks, 11, u"\uFFFD\uFFFF!\uFFFD\uFFFD", 5));
    // Code page 932: single bytes, lone lead bytes, undefined pairs, surrogates, second codes.
    EXPECT_EQ(DecodeCodePage932("\x81\0"s), u"\u30FB\0"s);
    EXPECT_EQ(EncodeCodePage932(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
    EXPECT_EQ(EncodeCodePage932({lone, 8}), "?????\xF0\x40??");
    const auto* b =
        reinterpret_cast<const std::uint8_t*>("x\x81\x45\0\x85\x45\xED\x40\xFC\xFC\x81\0\xFA\x40");
    EXPECT_FALSE(LostInCodePage932(b, 4, u"x\u30FB\0", 3));  // 81 45 is that character
    EXPECT_TRUE(LostInCodePage932(b, 2, u"x\u30FB", 2) &&
                LostInCodePage932(b + 4, 2, u"\u30FB", 1) &&
                LostInCodePage932(b + 6, 2, nullptr, 0) &&
                SecondCodeInCodePage932(b + 5, 3, u"E\u7E8A", 2) &&
                !SecondCodeInCodePage932(b + 8, 6, u"\u30FB\u30FB\0\u2170", 4) &&
                !SecondCodeInCodePage932(b + 6, 2, nullptr, 0));
}

// The boxes read a number as _wtoi does, from the characters the box holds.
TEST(NumberReading, ReadsBlanksASignAndDigitsWithinTheFirstCharactersOnly) {
    const struct {
        std::u16string_view text;
        std::size_t characters;
        int expected;
    } cases[] = {{u"", 4, 0},      {u"0512", 4, 512}, {u"10240", 4, 1024}, {u"655360", 5, 65536},
                 {u"  42", 4, 42}, {u"   42", 4, 4},  {u"\t7", 2, 7},      {u"\r\n\v\f9", 5, 9},
                 {u"-5", 4, -5},   {u"+5", 4, 5},     {u"- 5", 4, 0},      {u"--5", 4, 0},
                 {u"12ab", 4, 12}, {u"ab12", 4, 0},   {u"2_CR", 1, 2},     {u"９", 4, 0},
                 {u"99", 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingNumber(c.text, c.characters), c.expected)
            << Utf16ToUtf8(c.text) << " first " << c.characters;
    EXPECT_EQ(ReadLeadingNumber(std::u16string_view(u"12\0 34", 6), 6), 12);
    EXPECT_EQ(ReadLeadingNumber(u"2147483648", 10), INT_MAX);
    EXPECT_EQ(ReadLeadingNumber(u"-2147483648", 11), INT_MIN);
    EXPECT_EQ(ReadLeadingNumber(std::u16string(5000, u'9'), 5000), INT_MAX);
}

constexpr char16_t kSection[] = u"Setting";

// Only a mark decides: bytes without one are code page 932 even where they are valid UTF-8. A file
// nothing was set in is written back byte for byte, whatever it holds.
TEST(IniFile, TheMarkAloneDecidesTheEncodingAndUnchangedFilesKeepTheirBytes) {
    const std::tuple<std::string, IniEncoding, std::optional<std::u16string>> files[] = {
        {Utf16File(u"[Setting]\r\nk=ソースファイル\r\n"), IniEncoding::kUtf16Le, u"ソースファイル"},
        {"\xEF\xBB\xBF[Setting]\r\nk=ソースファイル", IniEncoding::kUtf8WithBom, u"ソースファイル"},
        {"[Setting]\n  k = " + kSourceFilesCp932 + " \n\n\n", IniEncoding::kCodePage932,
         u"ソースファイル"},
        {"[Setting]\r\nk=C:\\\xC3\xA9\\\r\n", IniEncoding::kCodePage932, u"C:\\ﾃｩ\\"},
        {"x=\x80\xFF\x00\x01\r\n\x00\xFE\xFD"s, IniEncoding::kCodePage932, std::nullopt}};
    for (const auto& [bytes, encoding, value] : files) {
        const IniFile ini = IniFile::Parse(bytes);
        EXPECT_EQ(ini.encoding(), encoding);
        EXPECT_EQ(ini.Value(kSection, u"k"), value);
        EXPECT_EQ(ini.Serialize(), bytes);
    }
}

TEST(IniFile, ReadsKeysAsTheProfileFunctionsDo) {
    const IniFile file = IniFile::Parse(
        "[Setting\r\na=outside\r\n[setting] trailing words\r\n;a=commented\r\n \t;b=too\r\n"
        "just words\r\n=no key\r\n\tPlain\v=\f a b\r\r\ndouble=\"  quoted \"\r\nsingle=''\r\n"
        "half=\"open\r\nmixed=\"a'\r\nzone=\"\r\nempty=\r\nequals=]a=b]\r\nplain=second\r\n"
        " [Other]\r\nlater=1\r\n[SETTING]\r\nlater=2\r\n");
    const std::pair<std::u16string_view, std::optional<std::u16string>> keys[] = {
        {u"PLAIN", u"a b"},       {u"double", u"  quoted "}, {u"single", u""},
        {u"half", u"\"open"},     {u"mixed", u"\"a'"},       {u"ZONE", u"\""},
        {u"empty", u""},          {u"equals", u"]a=b]"},     {u"a", std::nullopt},
        {u"later", std::nullopt}, {u"zones", std::nullopt}};
    for (const auto& [key, value] : keys)
        EXPECT_EQ(file.Value(u"SETTING", key), value) << Utf16ToUtf8(key);
    EXPECT_TRUE(file.Number(u"SETTING", u"empty") == 0 && !file.Number(u"SETTING", u"a"));
    EXPECT_EQ(file.Keys(kSection),
              (std::vector<std::u16string>{u"Plain", u"double", u"single", u"half", u"mixed",
                                           u"zone", u"empty", u"equals", u"plain"}));
    EXPECT_TRUE(file.Keys(u"Missing").empty() && !file.Section(u"Missing").Find(u"a"));
}

// A key is set where it first stands in its file's encoding and line break; a new key follows the
// section's last line before the blank lines, a new section ends the file.
TEST(IniFile, SettingAKeyChangesOnlyItsLine) {
    const std::tuple<std::string, std::u16string_view, std::u16string_view, std::string> cases[] = {
        {"; note\r\n[Setting]\r\nx=0\r\n  K = 3 \r\nk=4\r\n", u"k", u"7",
         "; note\r\n[Setting]\r\nx=0\r\nK=7\r\nk=4\r\n"},
        {"[Setting]\nk=1\n; last\n\n\n[Other]\n", u"n", u"2",
         "[Setting]\nk=1\n; last\nn=2\n\n\n[Other]\n"},
        {"[Setting]\r\nx=0\n", u"a", u"1", "[Setting]\r\nx=0\na=1\r\n"},  // the first break
        {"[Other]\r\nx=1", u"a", u"1", "[Other]\r\nx=1\r\n[Setting]\r\na=1\r\n"},
        {"", u"k", u"D:\\作業\\", Utf16File(u"[Setting]\r\nk=D:\\作業\\\r\n")},
        {"\xEF\xBB\xBF[Setting]\na=1\n", u"a", u"設定Ω", "\xEF\xBB\xBF[Setting]\na=設定Ω\n"},
        {"[Setting]\r\nx=" + kSourceFilesCp932 + "\r\n", u"a", u"設定설€\U00010000\U0010FFFF",
         "[Setting]\r\nx=" + kSourceFilesCp932 + "\r\na=" + kSettingCp932 + "??????\r\n"},
        {Utf16File(u"[Setting]\nx=1\n"), u"x", u"😀", Utf16File(u"[Setting]\nx=😀\n")},
        // The odd last byte of UTF-16 stays last, so no unit after it shifts.
        {Utf16File(u"[Setting]\r\nk=1") + "X", u"j", u"2",
         Utf16File(u"[Setting]\r\nk=1\r\nj=2\r\n") + "X"},
        // A value never breaks into several lines; a new key goes before blank lines, even all.
        {"[Setting]\r\n\r\n", u"a", u"one\r\n[Evil]\r\nb=2", "[Setting]\r\na=one\r\n\r\n"},
        {"[Setting]\r\n", u"a", std::u16string_view(u"x\0y", 3), "[Setting]\r\na=x\r\n"},
        {"\x00\xFF\x81\n\x9F\x0D\x00[Setting\xFE"s, u"a", u"1",
         "\x00\xFF\x81\n\x9F\x0D\x00[Setting\xFE\n[Setting]\na=1\n"s},
    };
    for (const auto& [before, key, value, after] : cases) {
        IniFile file = IniFile::Parse(before);
        file.SetValue(kSection, key, value);
        EXPECT_EQ(file.Serialize(), after) << before;
    }
}

}  // namespace
}  // namespace ko
