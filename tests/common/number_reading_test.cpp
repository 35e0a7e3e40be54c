#include "common/number_reading.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace ko {
namespace {

struct Reading {
    std::u16string text;
    std::size_t characters;
    int expected;
};

TEST(NumberReading, ReadsLikeWtoiWithinTheFirstCharactersOnly) {
    const Reading table[] = {
        {u"", 4, 0},          {u"512", 4, 512},      {u"0512", 4, 512},
        {u"1024", 4, 1024},   {u"10240", 4, 1024},  // the fifth character is never looked at
        {u"65536", 5, 65536}, {u"655360", 5, 65536}, {u"12", 2, 12},
        {u"123", 2, 12},      {u"  42", 4, 42},  // leading blanks count against the characters read
        {u"   42", 4, 4},     {u"\t7", 2, 7},        {u"-5", 4, -5},
        {u"+5", 4, 5},        {u"- 5", 4, 0},  // a sign must touch its digits
        {u"--5", 4, 0},       {u"12ab", 4, 12},      {u"ab12", 4, 0},
        {u"0104", 4, 104},    {u"2_CR", 1, 2},  // the newline box: only its digit counts
        {u"1_LF", 1, 1},      {u"0_CR+LF", 1, 0},    {u"_", 1, 0},
        {u"９", 4, 0},  // full-width digits are not digits
        {u"99", 0, 0},
    };
    for (const Reading& r : table)
        EXPECT_EQ(ReadLeadingNumber(r.text, r.characters), r.expected)
            << "text \"" << std::string(r.text.begin(), r.text.end()) << "\" first "
            << r.characters;
}

TEST(NumberReading, TextEndsAtItsFirstZeroUnit) {
    EXPECT_EQ(ReadLeadingNumber(std::u16string(u"12\0"
                                               u"34",
                                               5),
                                5),
              12);
    EXPECT_EQ(ReadLeadingNumber(std::u16string(u"\0"
                                               u"9",
                                               2),
                                2),
              0);
}

TEST(NumberReading, ValuesBeyondThirtyTwoBitsSaturate) {
    EXPECT_EQ(ReadLeadingNumber(u"2147483647", 10), INT_MAX);
    EXPECT_EQ(ReadLeadingNumber(u"2147483648", 10), INT_MAX);
    EXPECT_EQ(ReadLeadingNumber(u"-2147483648", 11), INT_MIN);
    EXPECT_EQ(ReadLeadingNumber(u"-99999999999999999999", 21), INT_MIN);
    EXPECT_EQ(ReadLeadingNumber(std::u16string(5000, u'9'), 5000), INT_MAX);
}

}  // namespace
}  // namespace ko
