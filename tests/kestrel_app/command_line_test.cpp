#include "kestrel/app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::app {
namespace {

std::u16string A(const CommandLinePaths& paths) {
    return paths.a;
}
std::u16string B(const CommandLinePaths& paths) {
    return paths.b;
}

CommandLinePaths Parse(std::u16string_view text) {
    CommandLinePaths paths;
    ParseCommandLine(text, paths);
    return paths;
}

TEST(CommandLine, TheFolderComparersLineYieldsBothPaths) {
    const CommandLinePaths paths = Parse(u" /A:C:\\a\\x.cpp /B:D:\\b\\x.cpp");
    EXPECT_EQ(A(paths), u"C:\\a\\x.cpp");
    EXPECT_EQ(B(paths), u"D:\\b\\x.cpp");
}

TEST(CommandLine, NothingOrOnlyOneTokenLeavesTheOtherPathEmpty) {
    EXPECT_EQ(A(Parse(u"")), u"");
    EXPECT_EQ(B(Parse(u"")), u"");
    const CommandLinePaths only_a = Parse(u"/A:x.txt");
    EXPECT_EQ(A(only_a), u"x.txt");
    EXPECT_EQ(B(only_a), u"");
}

TEST(CommandLine, TokensAreCaseSensitiveButCountInsideWords) {
    EXPECT_EQ(A(Parse(u" /a:x.txt")), u"");
    EXPECT_EQ(A(Parse(u"word/A:x.txt")), u"x.txt");
    // The path runs to the next blank, so a token right behind a path belongs to the path.
    const CommandLinePaths glued = Parse(u"/A:x.txt/B:y.txt");
    EXPECT_EQ(A(glued), u"x.txt/B:y.txt");
    EXPECT_EQ(B(glued), u"");
}

TEST(CommandLine, APathEndsAtABlankOnlyAndKeepsQuotesAndTabs) {
    EXPECT_EQ(A(Parse(u"/A:C:\\My\"Files x.txt")), u"C:\\My\"Files");
    EXPECT_EQ(A(Parse(u"/A:a\tb /B:c")), u"a\tb");
}

TEST(CommandLine, ATokenAtTheVeryEndOrBeforeABlankGivesAnEmptyPath) {
    EXPECT_EQ(A(Parse(u"x /A:")), u"");
    const CommandLinePaths paths = Parse(u"/A: /B:y");
    EXPECT_EQ(A(paths), u"");
    EXPECT_EQ(B(paths), u"y");
}

TEST(CommandLine, TheLaterOfTwoEqualTokensWinsWithoutLeftovers) {
    EXPECT_EQ(A(Parse(u"/A:long_first_name.txt /A:b.txt")), u"b.txt");
}

TEST(CommandLine, OverlongPathsAreCutTo259UnitsAndTheRestSkipped) {
    const std::u16string long_path(400, u'p');
    const CommandLinePaths paths = Parse(u"/A:" + long_path + u" /B:y.txt");
    EXPECT_EQ(A(paths), std::u16string(259, u'p'));
    EXPECT_EQ(paths.a[259], u'\0');
    EXPECT_EQ(B(paths), u"y.txt");
}

TEST(CommandLine, ACutNeverSplitsASurrogatePair) {
    std::u16string path(258, u'p');
    path += u"\U0001F600";  // units 259 and 260
    path += u"rest";
    const CommandLinePaths paths = Parse(u"/A:" + path);
    EXPECT_EQ(A(paths), std::u16string(258, u'p'));
}

// What a user types and what the folder comparer hands over for a path with a blank.
TEST(CommandLine, APathOpeningWithAQuoteRunsToTheNextQuoteWithoutThem) {
    const struct {
        std::u16string text, a, b;
    } cases[] = {
        {u"/A:\"C:\\My Files\\a.txt\" /B:\"D:\\b c\\x.txt\"", u"C:\\My Files\\a.txt",
         u"D:\\b c\\x.txt"},
        {u"/A:\"\" /B:y.txt", u"", u"y.txt"},
        {u" /A:\"D:\\プロジェクト\\Order System\\main.cpp\" /B:y",
         u"D:\\プロジェクト\\Order System\\main.cpp", u"y"},
        // Without a closing quote the path runs to the end of the line, tokens and all.
        {u"/A:\"C:\\a b /B:y.txt", u"C:\\a b /B:y.txt", u""},
        {u"/A:\"" + std::u16string(300, u'p') + u" q", std::u16string(259, u'p'), u""},
        {u"/B:x /A:\"a b\" /B:\"c d\"", u"a b", u"c d"},  // the later token still wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const CommandLinePaths paths = Parse(c.text);
        EXPECT_EQ(A(paths), c.a);
        EXPECT_EQ(B(paths), c.b);
    }
}

}  // namespace
}  // namespace kestrel::app
