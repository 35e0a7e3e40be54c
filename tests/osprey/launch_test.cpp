#include "osprey/launch.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "osprey/app/launch_command.h"

namespace osprey {
namespace {

const std::u16string kSeparator(1, ko::kPathSeparator);

TEST(FailedLaunchCheck, ChecksRowsThenSelectionsThenEmptyHalvesInThatOrder) {
    // Rows: 0 a pair, 1 only on side A, 2 only on side B.
    FolderComparison comparison;
    comparison.pairs[kSideA] = {
        {1, u"main.cpp", u"", u"", u""}, {13, u"old.cpp", u"", u"", u""}, {13, u"", u"", u"", u""}};
    comparison.pairs[kSideB] = {
        {1, u"main.cpp", u"", u"", u""}, {13, u"", u"", u"", u""}, {13, u"new.cpp", u"", u"", u""}};
    const std::pair<ListSelection, const char16_t*> cases[] = {
        {{0, 0, -1, -1}, u"Ａ側ファイルがありません"},
        {{3, 0, -1, -1}, u"Ｂ側ファイルがありません"},
        {{3, 3, -1, -1}, u"Ａ側ファイルが選択していません"},
        {{3, 3, 0, -1}, u"Ｂ側ファイルが選択していません"},
        {{3, 3, 2, 0}, u"選択のファイルは個別照合出来ません"},
        {{3, 3, 0, 1}, u"選択のファイルは個別照合出来ません"},
        {{3, 3, 0, 3}, u"選択のファイルは個別照合出来ません"},
        {{3, 3, 1, 2}, u"ok"},  // any listed file of side A goes with any of side B
        {{3, 3, 0, 0}, u"ok"},
    };
    for (const auto& [selection, expected] : cases)
        EXPECT_EQ(FailedLaunchCheck(selection, comparison).value_or(u"ok"), expected);
}

TEST(BuildLaunchCommand, NamesTheExecutableAndQuotesEachPartThatHoldsABlank) {
    const auto plain = app::BuildLaunchCommand(u"C:" + kSeparator + u"tools", u"Kestrel.exe",
                                               u"D:\\old\\main.cpp", u"D:\\new\\main.cpp");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->applicationName, u"C:" + kSeparator + u"tools" + kSeparator + u"Kestrel.exe");
    EXPECT_EQ(plain->commandLine,
              plain->applicationName + u" /A:D:\\old\\main.cpp /B:D:\\new\\main.cpp");
    const std::u16string directory = u"C:" + kSeparator + u"Program Files";
    const auto quoted =
        app::BuildLaunchCommand(directory, u"Kestrel.exe", u"D:\\my old\\a.cpp", u"b");
    EXPECT_EQ(quoted->commandLine,
              u"\"" + quoted->applicationName + u"\" /A:\"D:\\my old\\a.cpp\" /B:b");
}

TEST(BuildLaunchCommand, RefusesAPartLongerThanItsRoomInsteadOfCuttingIt) {
    const std::u16string folder(259 - 13, u'd');  // + separator + "Kes trel.exe" = 259
    const std::u16string longest = u"p " + std::u16string(517, u'p');
    const auto fits = app::BuildLaunchCommand(folder, u"Kes trel.exe", longest, longest);
    ASSERT_TRUE(fits.has_value());  // the line has room for the quotes of every part
    EXPECT_EQ(fits->commandLine.size(), 2u + 259 + 4 + 2 + 519 + 4 + 2 + 519);
    EXPECT_EQ(fits->commandLine[260], u'"');
    EXPECT_FALSE(app::BuildLaunchCommand(folder + u"d", u"Kes trel.exe", u"a", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", longest + u"p", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", u"a", longest + u"p"));
}

// Path A as the file comparer receives it, given the short form the system answered with: empty
// when the query failed, the long path again where the volume keeps no short names.
TEST(HandedOverPath, TakesAShortFormWithoutBlanksOrElseThePathInQuotes) {
    const struct {
        std::u16string path, short_form, on_the_line;
    } cases[] = {
        {u"C:\\src\\a.cpp", u"C:\\SRC\\A.CPP", u"C:\\src\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"C:\\MYSRC~1\\a.cpp", u"C:\\MYSRC~1\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"", u"\"C:\\my src\\a.cpp\""},
        {u"D:\\プロジェクト\\Order System\\main.cpp", u"D:\\プロジェクト\\Order System\\main.cpp",
         u"\"D:\\プロジェクト\\Order System\\main.cpp\""},
    };
    for (const auto& c : cases) {
        const auto command = app::BuildLaunchCommand(
            u"C:", u"K.exe", app::HandedOverPath(c.path, c.short_form), u"b");
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->commandLine,
                  command->applicationName + u" /A:" + c.on_the_line + u" /B:b");
    }
}

}  // namespace
}  // namespace osprey
