#include "kestrel/app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::app {
namespace {

TEST(CommandLine, TokensNameThePathsUpToTheNextBlank) {
    const std::u16string long_path(400, u'p');
    std::u16string surrogate_at_cut(258, u'p');
    surrogate_at_cut += u"\U0001F600rest";  // units 259 and 260 form one character
    const struct {
        std::u16string line, a, b;
    } cases[] = {
        {u" /A:C:\\a\\x.cpp /B:D:\\b\\x.cpp", u"C:\\a\\x.cpp", u"D:\\b\\x.cpp"},
        {u"", u"", u""},
        {u"/A:x.txt", u"x.txt", u""},
        {u" /a:x.txt", u"", u""},          // tokens are case-sensitive
        {u"word/A:x.txt", u"x.txt", u""},  // but count inside words
        {u"/A:x.txt/B:y.txt", u"x.txt/B:y.txt", u""},
        {u"/A:C:\\My\"Files x.txt", u"C:\\My\"Files", u""},  // a quote inside stays
        // A path opening with a quote runs to the next quote, without them, or to the end.
        {u"/A:\"C:\\My Files\\a.txt\" /B:\"D:\\b c\\x.txt\"", u"C:\\My Files\\a.txt",
         u"D:\\b c\\x.txt"},
        {u"/A:\"\" /B:y.txt", u"", u"y.txt"},
        {u" /A:\"D:\\プロジェクト\\Order System\\main.cpp\" /B:y",
         u"D:\\プロジェクト\\Order System\\main.cpp", u"y"},
        {u"/A:\"C:\\a b /B:y.txt", u"C:\\a b /B:y.txt", u""},
        {u"/A:\"" + long_path + u" q", std::u16string(259, u'p'), u""},
        {u"/B:x /A:\"a b\" /B:\"c d\"", u"a b", u"c d"},
        {u"/A:a\tb /B:c", u"a\tb", u"c"},
        {u"x /A:", u"", u""},
        {u"/A: /B:y", u"", u"y"},
        {u"/A:long_first_name.txt /A:b.txt", u"b.txt", u""},  // the later wins, no leftovers
        {u"/A:" + long_path + u" /B:y.txt", std::u16string(259, u'p'), u"y.txt"},
        {u"/A:" + surrogate_at_cut, std::u16string(258, u'p'), u""},
    };
    for (const auto& c : cases) {
        CommandLinePaths paths;
        ParseCommandLine(c.line, paths);
        EXPECT_EQ(std::u16string(paths.a), c.a) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(std::u16string(paths.b), c.b) << std::string(c.line.begin(), c.line.end());
    }
}

}  // namespace
}  // namespace kestrel::app
