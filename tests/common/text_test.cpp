#include "common/text.h"

#include <gtest/gtest.h>

#include <climits>

#include "common/number_reading.h"

namespace ko {
namespace {

TEST(Format, WritesTheConversionsTheProgramsUse) {
    const struct {
        std::u16string_view pattern;
        std::initializer_list<FormatArg> args;
        std::u16string_view expected;
    } cases[] = {{u"iy=%d:%d", {-1, 8192}, u"iy=-1:8192"},
                 {u"%06d|%06d", {42, 1234567}, u"000042|1234567"},
                 {u"%04d|%4d", {-12, -12}, u"-012| -12"},
                 {u"%I64u %u", {18446744073709551615ULL, -1}, u"18446744073709551615 4294967295"},
                 {u"Can't open %s file", {u"C:\\x.txt"}, u"Can't open C:\\x.txt file"},
                 // A conversion without an argument prints nothing.
                 {u"100%% %d and %d", {7}, u"100% 7 and "}};
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.pattern, c.args), c.expected) << Utf16ToUtf8(c.pattern);
}

TEST(Utf8, DecodesValidTextAndReplacesEachInvalidSubpart) {
    EXPECT_EQ(Utf8ToUtf16("a\xE6\xBC\xA2\xF0\x9F\x98\x80"), u"a漢😀");
    // A lone continuation byte, a truncated sequence, an overlong form and a surrogate.
    EXPECT_EQ(Utf8ToUtf16("\x80"
                          "b\xE6\xBC"
                          "c\xC0\xAF"
                          "\xED\xA0\x80"),
              u"\uFFFDb\uFFFDc\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"a漢😀"), "a\xE6\xBC\xA2\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
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
    EXPECT_EQ(ReadLeadingNumber(u"-99999999999999999999", 21), INT_MIN);
    EXPECT_EQ(ReadLeadingNumber(std::u16string(5000, u'9'), 5000), INT_MAX);
}

}  // namespace
}  // namespace ko
