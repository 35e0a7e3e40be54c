#include "osprey/name_matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/text.h"

namespace osprey {
namespace {

bool Matches(std::u16string_view pattern, std::u16string_view name) {
    return SearchPattern(pattern).Matches(name);
}

TEST(SearchPattern, FollowsTheWindowsRulesForStarsQuestionMarksDotsAndCase) {
    const struct {
        const char16_t* pattern;
        const char16_t* name;
        bool matches;
    } cases[] = {
        // clang-format off
        {u"*.*", u"Makefile", true},      {u"*.*", u".", true},             {u"*.*", u"..", true},
        {u"*.cpp", u"MAIN.CPP", true},    {u"*.cpp", u"a.b.cpp", true},     {u"*.cpp", u".cpp", true},
        {u"*.cpp", u"a.cppx", false},     {u"*.cpp", u"a.cpp.bak", false},  {u"*.cpp", u"acpp", false},
        {u"???.txt", u"a.txt", true},     {u"???.txt", u"abcd.txt", false}, {u"a?c", u"a.c", false},
        {u"ab??", u"ab", true},           {u"?", u".", false},              {u"readme.*", u"readme", true},
        {u"readme.*", u"readme2", false}, {u"*.", u"Makefile", true},       {u"*.", u"a.txt", false},
        {u"a*.*", u"abc", true},          {u"*.ÄÖ", u"x.äö", true},         {u"ΣΟΦΙΑ.*", u"σοφια.txt", true},
        {u"*.Σ", u"x.ς", true},           {u"ЖУК.txt", u"жук.TXT", true},   {u"ＡＢ.txt", u"ａｂ.txt", true},
        {u"Ŀ*", u"ŀx", true},             {u"ÿ*", u"Ÿ", true},              {u"あ.txt", u"ア.txt", false},
        {u"*.÷", u"x.×", false},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(Matches(c.pattern, c.name), c.matches)
            << ko::Utf16ToUtf8(c.pattern) << " / " << ko::Utf16ToUtf8(c.name);
}

// The rules taken literally, with an upper-casing of their own for the letters the random
// patterns use: try every way the wildcards can split the name.
char16_t Upper(char16_t c) {
    const std::u16string_view lower = u"abcäσς÷", upper = u"ABCÄΣΣ÷";
    const std::size_t at = lower.find(c);
    return at == std::u16string_view::npos ? c : upper[at];
}
bool LiteralMatch(std::u16string_view p, std::u16string_view n, std::size_t pi, std::size_t ni) {
    if (pi == p.size()) return ni == n.size();
    const char16_t c = p[pi];
    const char16_t next = pi + 1 < p.size() ? p[pi + 1] : u'\0';
    const bool end = ni == n.size();
    if (c == u'*') {
        for (std::size_t k = ni;; ++k) {
            if (LiteralMatch(p, n, pi + 1, k)) return true;
            if (k == n.size() || (next == u'.' && k == n.rfind(u'.'))) return false;
        }
    }
    if (c == u'?')
        return (!end && n[ni] != u'.' && LiteralMatch(p, n, pi + 1, ni + 1)) ||
               ((end || n[ni] == u'.') && LiteralMatch(p, n, pi + 1, ni));
    if (c == u'.' && (next == u'?' || next == u'*' || next == u'\0'))
        return (!end && n[ni] == u'.' && LiteralMatch(p, n, pi + 1, ni + 1)) ||
               (end && LiteralMatch(p, n, pi + 1, ni));
    return !end && Upper(n[ni]) == Upper(c) && LiteralMatch(p, n, pi + 1, ni + 1);
}

TEST(SearchPattern, AgreesWithTheLiteralRulesOnManySmallPatterns) {
    std::mt19937 random(12345);
    auto text = [&](std::u16string_view alphabet, int most) {
        std::u16string s(random() % (most + 1), u' ');
        for (char16_t& c : s)
            c = alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::u16string pattern = text(u"aBÄσ÷.*?", 6);
        const std::u16string name = text(u"abAäΣς×.", 7);
        ASSERT_EQ(Matches(pattern, name), LiteralMatch(pattern, name, 0, 0))
            << ko::Utf16ToUtf8(pattern) << " / " << ko::Utf16ToUtf8(name);
    }
}

TEST(ListingKey, DotEntriesComeFirstThenNamesByTheirUpcasedUnits) {
    std::vector<std::u16string> names = {u"_x", u"b", u"..", u"a", u"A", u".", u"B2", u"!"};
    auto key = [](std::u16string_view name) {
        std::string k;
        AppendListingKey(name, k);
        return k;
    };
    std::sort(names.begin(), names.end(),
              [&](const auto& left, const auto& right) { return key(left) < key(right); });
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u".", u"..", u"!", u"A", u"a", u"b", u"B2", u"_x"}));
}

}  // namespace
}  // namespace osprey
