#include "osprey/launch.h"

#include <gtest/gtest.h>

#include "common/paths.h"

namespace osprey {
namespace {

// Rows: 0 a pair, 1 only on side A, 2 only on side B.
FolderComparison ThreeRows() {
    FolderComparison comparison;
    comparison.pairs[kSideA] = {
        {1, u"main.cpp", u"", u"", u""}, {13, u"old.cpp", u"", u"", u""}, {13, u"", u"", u"", u""}};
    comparison.pairs[kSideB] = {
        {1, u"main.cpp", u"", u"", u""}, {13, u"", u"", u"", u""}, {13, u"new.cpp", u"", u"", u""}};
    return comparison;
}

TEST(FailedLaunchCheck, ChecksRowsThenSelectionsThenEmptyHalvesInThatOrder) {
    const FolderComparison comparison = ThreeRows();
    auto check = [&](ListSelection selection) {
        return std::u16string(FailedLaunchCheck(selection, comparison).value_or(u"ok"));
    };
    EXPECT_EQ(check({0, 0, -1, -1}), u"Ａ側ファイルがありません");
    EXPECT_EQ(check({3, 0, -1, -1}), u"Ｂ側ファイルがありません");
    EXPECT_EQ(check({3, 3, -1, -1}), u"Ａ側ファイルが選択していません");
    EXPECT_EQ(check({3, 3, 0, -1}), u"Ｂ側ファイルが選択していません");
    EXPECT_EQ(check({3, 3, 2, 0}), u"選択のファイルは個別照合出来ません");
    EXPECT_EQ(check({3, 3, 0, 1}), u"選択のファイルは個別照合出来ません");
    EXPECT_EQ(check({3, 3, 0, 7}), u"選択のファイルは個別照合出来ません");
    // Any listed file of side A goes with any listed file of side B.
    EXPECT_EQ(check({3, 3, 1, 2}), u"ok");
    EXPECT_EQ(check({3, 3, 0, 0}), u"ok");
    EXPECT_EQ(kSelectionCaption, u"選択ミス");
}

TEST(BuildLaunchCommandLine, JoinsTheExecutableAndBothPathsQuotingAPathWithABlank) {
    const std::u16string separator(1, ko::kPathSeparator);
    EXPECT_EQ(BuildLaunchCommandLine(u"C:" + separator + u"tools", u"Kestrel.exe",
                                     u"D:\\old dir\\main.cpp", u"D:\\new\\main.cpp"),
              u"C:" + separator + u"tools" + separator +
                  u"Kestrel.exe /A:\"D:\\old dir\\main.cpp\" /B:D:\\new\\main.cpp");
    EXPECT_EQ(BuildLaunchCommandLine(u"C:" + separator, u"K.exe", u"a", u"b"),
              u"C:" + separator + u"K.exe /A:a /B:b");
}

TEST(BuildLaunchCommandLine, RefusesAPartLongerThanItsRoomInsteadOfCuttingIt) {
    const std::u16string folder(259 - 12, u'd');  // + separator + "Kestrel.exe" = 259
    const std::u16string longest(519, u'p');
    const auto fits = BuildLaunchCommandLine(folder, u"Kestrel.exe", longest, longest);
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->size(), 259u + 4 + 519 + 4 + 519);
    EXPECT_FALSE(BuildLaunchCommandLine(folder + u"d", u"Kestrel.exe", u"a", u"b"));
    EXPECT_FALSE(BuildLaunchCommandLine(folder, u"Kestrel.exe", longest + u"p", u"b"));
    EXPECT_FALSE(BuildLaunchCommandLine(folder, u"Kestrel.exe", u"a", longest + u"p"));
}

}  // namespace
}  // namespace osprey
