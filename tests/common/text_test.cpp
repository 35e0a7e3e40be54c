#include "common/text.h"

#include <gtest/gtest.h>

namespace ko {
namespace {

TEST(Format, WritesTheConversionsTheProgramsUse) {
    struct Case {
        std::u16string_view pattern;
        std::initializer_list<FormatArg> args;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"iy value is over iy=%d:%d", {-1, 8192}, u"iy value is over iy=-1:8192"},
        {u"%06d", {42}, u"000042"},
        {u"%06d", {1234567}, u"1234567"},
        {u"%04d", {-12}, u"-012"},
        {u"%4d|", {-12}, u" -12|"},
        {u"%02d/32", {1}, u"01/32"},
        {u"%I64u", {18446744073709551615ULL}, u"18446744073709551615"},
        {u"%u", {-1}, u"4294967295"},
        {u"%02d/%02d/%02d %02d:%02d", {2023, 11, 7, 9, 5}, u"2023/11/07 09:05"},
        {u"Can't open %s file\r\nErrCode=%d",
         {u"C:\\x.txt", 2},
         u"Can't open C:\\x.txt file\r\nErrCode=2"},
        {u"100%% %s", {u"done"}, u"100% done"},
        {u"%d and %d", {7}, u"7 and "},  // a conversion without an argument prints nothing
    };
    for (const Case& c : cases)
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

}  // namespace
}  // namespace ko
