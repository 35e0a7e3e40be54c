#include "osprey/app/launch_command.h"

#include <gtest/gtest.h>

#include "common/paths.h"

namespace osprey::app {
namespace {

const std::u16string kSeparator(1, ko::kPathSeparator);

TEST(BuildLaunchCommand, NamesTheExecutableAsTheApplicationAndKeepsAPlainLineAsItIs) {
    const auto command = BuildLaunchCommand(u"C:" + kSeparator + u"tools", u"Kestrel.exe",
                                            u"D:\\old\\main.cpp", u"D:\\new\\main.cpp");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->applicationName,
              u"C:" + kSeparator + u"tools" + kSeparator + u"Kestrel.exe");
    EXPECT_EQ(command->commandLine,
              command->applicationName + u" /A:D:\\old\\main.cpp /B:D:\\new\\main.cpp");
}

TEST(BuildLaunchCommand, QuotesEachPartThatHoldsABlank) {
    const std::u16string directory = u"C:" + kSeparator + u"Program Files" + kSeparator + u"ko";
    const auto command =
        BuildLaunchCommand(directory, u"Kestrel.exe", u"D:\\my old\\a.cpp", u"D:\\new\\a.cpp");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->applicationName, directory + kSeparator + u"Kestrel.exe");
    EXPECT_EQ(command->commandLine,
              u"\"" + command->applicationName + u"\" /A:\"D:\\my old\\a.cpp\" /B:D:\\new\\a.cpp");
}

TEST(BuildLaunchCommand, QuotesAnExecutableNameWithABlankAndStillFitsTheLongestParts) {
    const std::u16string folder(259 - 13, u'd');  // + separator + "Kes trel.exe" = 259
    const std::u16string longest = u"p " + std::u16string(517, u'p');
    const auto command = BuildLaunchCommand(folder, u"Kes trel.exe", longest, longest);
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->commandLine.size(), 2u + 259 + 4 + 2 + 519 + 4 + 2 + 519);
    EXPECT_EQ(command->commandLine.front(), u'"');
    EXPECT_EQ(command->commandLine[260], u'"');
}

TEST(BuildLaunchCommand, RefusesWhatDoesNotFitInsteadOfStartingACutPath) {
    const std::u16string folder(259 - 11, u'd');  // one unit too many for "Kestrel.exe"
    EXPECT_FALSE(BuildLaunchCommand(folder, u"Kestrel.exe", u"a", u"b").has_value());
    EXPECT_FALSE(
        BuildLaunchCommand(u"C:", u"Kestrel.exe", std::u16string(520, u'p'), u"b").has_value());
}

// Path A as the file comparer receives it, given the short form the system answered with: empty
// when the query failed, the long path again where the volume keeps no short names.
TEST(HandedOverPath, TakesAShortFormWithoutBlanksOrElseThePathInQuotes) {
    const struct {
        std::u16string path, shortForm, onTheLine;
    } cases[] = {
        {u"C:\\src\\a.cpp", u"C:\\SRC\\A.CPP", u"C:\\src\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"C:\\MYSRC~1\\a.cpp", u"C:\\MYSRC~1\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"", u"\"C:\\my src\\a.cpp\""},
        {u"D:\\プロジェクト\\Order System\\main.cpp", u"D:\\プロジェクト\\Order System\\main.cpp",
         u"\"D:\\プロジェクト\\Order System\\main.cpp\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto command =
            BuildLaunchCommand(u"C:", u"K.exe", HandedOverPath(c.path, c.shortForm), u"b");
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->commandLine,
                  command->applicationName + u" /A:" + c.onTheLine + u" /B:b");
    }
}

}  // namespace
}  // namespace osprey::app
