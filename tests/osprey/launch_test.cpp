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

TEST(BuildLaunchCommand, NamesTheExecutableQuotedOnlyWithABlankAndHandsBothPathsAsTheyAre) {
    const auto plain = app::BuildLaunchCommand(u"C:" + kSeparator + u"tools", u"Kestrel.exe",
                                               u"D:\\old dir\\main.cpp", u"D:\\new\\main.cpp");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->applicationName, u"C:" + kSeparator + u"tools" + kSeparator + u"Kestrel.exe");
    EXPECT_EQ(plain->commandLine,
              plain->applicationName + u" /A:D:\\old dir\\main.cpp /B:D:\\new\\main.cpp");
    const std::u16string directory = u"C:" + kSeparator + u"Program Files";
    const auto quoted = app::BuildLaunchCommand(directory, u"Kestrel.exe", u"a", u"b");
    EXPECT_EQ(quoted->commandLine, u"\"" + quoted->applicationName + u"\" /A:a /B:b");
}

TEST(BuildLaunchCommand, RefusesAPartLongerThanItsRoomInsteadOfCuttingIt) {
    const std::u16string folder(259 - 13, u'd');  // + separator + "Kes trel.exe" = 259
    const std::u16string longest(519, u'p');
    const auto fits = app::BuildLaunchCommand(folder, u"Kes trel.exe", longest, longest);
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->commandLine.size(), 2u + 259 + 4 + 519 + 4 + 519);
    EXPECT_EQ(fits->commandLine[260], u'"');
    EXPECT_FALSE(app::BuildLaunchCommand(folder + u"d", u"Kes trel.exe", u"a", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", longest + u"p", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", u"a", longest + u"p"));
}

TEST(HandedOverPath, TakesTheShortFormOnlyForAPathWithABlankWhoseShortFormHasNone) {
    const struct {
        const char16_t *path, *short_form, *handed_over;
    } cases[] = {
        {u"C:\\src\\a.cpp", u"C:\\SRC\\A.CPP", u"C:\\src\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"C:\\MYSRC~1\\a.cpp", u"C:\\MYSRC~1\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"", u"C:\\my src\\a.cpp"},  // no short form
        {u"C:\\my src\\a.cpp", u"C:\\my src\\a.cpp", u"C:\\my src\\a.cpp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::HandedOverPath(c.path, c.short_form), c.handed_over);
}

}  // namespace
}  // namespace osprey
