#include "kestrel/engine/comparison.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/kestrel/engine_fixture.h"
#include "tests/kestrel/literal_engine.h"

namespace kestrel {
namespace {

using testing::EngineFixture;

TEST(Comparison, IdenticalFilesMatchEverywhereAndSayThey) {
    EngineFixture f;
    const AlignedCounts counts = f.CompareLines({"abc", "", "de"}, {"abc", "", "de"});
    EXPECT_EQ(f.engine.compareState, kMatched);
    EXPECT_EQ(counts.a, 3);
    EXPECT_EQ(counts.b, 3);
    EXPECT_EQ(f.Codes(0, 0), "000");
    EXPECT_EQ(f.Codes(1, 2), "00");
    ASSERT_EQ(f.reporter.shown.size(), 1u);
    EXPECT_EQ(f.reporter.shown[0].text, u"一致しました");
    EXPECT_EQ(f.reporter.shown[0].caption, u"比較完了");
    EXPECT_EQ(f.reporter.shown[0].owner, nullptr);
}

TEST(Comparison, ALineOnlyOnSideBGetsAFillerLineOnSideA) {
    EngineFixture f;
    const AlignedCounts counts = f.CompareLines({"a", "b", "c"}, {"a", "x", "b", "c"});
    EXPECT_EQ(counts.a, 4);
    EXPECT_EQ(counts.b, 4);
    EXPECT_EQ(f.RowText(kWorkingA, 1), u" ");
    EXPECT_EQ(f.Codes(0, 1), "2");
    EXPECT_EQ(f.Codes(1, 1), "1");
    EXPECT_EQ(f.RowText(kWorkingA, 2), u"b");
    EXPECT_EQ(f.Codes(0, 2), "0");
    EXPECT_EQ(f.Codes(1, 3), "0");
    EXPECT_EQ(f.engine.compareState, kDiffered);
    EXPECT_EQ(f.reporter.shown.back().text, u"不一致です");
}

TEST(Comparison, ALineOnlyOnSideAGetsAFillerLineOnSideB) {
    EngineFixture f;
    f.CompareLines({"a", "xyz", "b", "c"}, {"a", "b", "c"});
    EXPECT_EQ(f.RowText(kWorkingB, 1), u"   ");  // as long as the line opposite
    EXPECT_EQ(f.Codes(1, 1), "222");
    EXPECT_EQ(f.Codes(0, 1), "111");
    EXPECT_EQ(f.RowText(kWorkingB, 2), u"b");
}

TEST(Comparison, SingleUnmatchedLinesAreMarkedColumnByColumn) {
    EngineFixture f;
    f.CompareLines({"abc"}, {"abd"});
    EXPECT_EQ(f.Codes(0, 0), "001");
    EXPECT_EQ(f.Codes(1, 0), "001");
    EngineFixture g;
    g.CompareLines({"abc"}, {"abcde"});
    EXPECT_EQ(g.Codes(0, 0), "000");
    EXPECT_EQ(g.Codes(1, 0), "00011");
}

TEST(Comparison, OnATieTheFillerLinesGoIntoSideA) {
    EngineFixture f;
    // At row 1 both "side B has x" and "side A has y" are one row away.
    f.CompareLines({"a", "y", "x", "q"}, {"a", "x", "y", "q"});
    EXPECT_EQ(f.Codes(0, 1), "2");
    EXPECT_EQ(f.RowText(kWorkingA, 2), u"y");
}

TEST(Comparison, AFillerOppositeAnEmptyLineIsOneBlankWide) {
    EngineFixture f;
    f.CompareLines({"a", "b"}, {"a", "", "b"});
    EXPECT_EQ(f.RowText(kWorkingA, 1), u" ");
    EXPECT_EQ(f.Codes(0, 1), "2");
}

TEST(Comparison, NoLookAheadWhenALineCountReachesTheLastRow) {
    EngineFixture f(8, 4);
    // Side A fills all four rows (count 3 = rows - 1): the window is 1, nothing is searched.
    f.CompareLines({"a", "b", "c", "d", "e"}, {"x", "a", "b"});
    EXPECT_EQ(f.engine.sides[0].lineCount, 3);
    EXPECT_EQ(f.RowText(kWorkingA, 3), u"e");  // the last row keeps the final line
    EXPECT_EQ(f.Codes(0, 0), "1");
    EXPECT_EQ(f.Codes(0, 1), "1");
}

TEST(Comparison, RestoreThenCompareGivesTheSameColours) {
    EngineFixture f;
    f.CompareLines({"a", "b", "c"}, {"a", "x", "c", "d"});
    const std::vector<std::uint8_t> colours(
        f.engine.grids.Bytes(kColourA),
        f.engine.grids.Bytes(kColourA) + f.engine.grids.grid_bytes());
    f.engine.compareState = kNotCompared;  // what the restore command does
    CompareSides(f.engine, f.reporter);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), f.engine.grids.Bytes(kColourA)));
}

TEST(Comparison, LoadingOneSideClearsOnlyThatSidesWorkingGrids) {
    EngineFixture f;
    f.CompareLines({"a"}, {"b"});
    f.Load(0, "zzz");
    EXPECT_EQ(f.RowText(kWorkingA, 0), u"");
    EXPECT_EQ(f.RowText(kWorkingB, 0), u"b");
    EXPECT_EQ(f.engine.compareState, kNotCompared);
}

TEST(Comparison, AHashCollisionNeverMakesDifferentLinesEqual) {
    EngineFixture f;
    f.Load(0, "same\ncd\nzz\ntail", 1);
    f.Load(1, "same\nxy\ncd\ntail", 1);
    // Pretend "xy" hashes like "cd": only the text may decide that they differ.
    f.engine.sides[1].rowHash[1] = f.engine.sides[0].rowHash[1];
    CompareSides(f.engine, f.reporter);
    EXPECT_EQ(f.engine.compareState, kDiffered);
    // "cd" reappears one row further down on side B: one filler line goes into side A.
    EXPECT_EQ(f.Codes(0, 1), "22");
    EXPECT_EQ(f.RowText(kWorkingA, 2), u"cd");
    EXPECT_EQ(f.Codes(0, 2), "00");
    // "tail" comes one row later on side A: a filler line as wide as "zz" goes into side B.
    EXPECT_EQ(f.Codes(1, 3), "22");
    EXPECT_EQ(f.RowText(kWorkingA, 4), u"tail");
    EXPECT_EQ(f.Codes(1, 4), "0000");
}

// Random small pairs over a tiny alphabet of lines, so lines repeat, the window bound bites,
// lines get cut to the grid's width and files overflow the rows: the engine must agree with
// the literal step-by-step comparison on every cell of all four result grids.
TEST(Comparison, AgreesWithTheLiteralAlgorithmOnRandomPairs) {
    std::mt19937 random(20261207);
    const std::vector<std::string> alphabet = {"", "a", "b", "ab", "abc", "ba", "abcdefg", "c"};
    for (int round = 0; round < 1500; ++round) {
        const int rows = std::uniform_int_distribution<int>(1, 12)(random);
        const int columns = std::uniform_int_distribution<int>(1, 6)(random);
        EngineFixture f(columns, rows);
        std::string files[2];
        for (std::string& file : files) {
            const int lines = std::uniform_int_distribution<int>(0, rows + 3)(random);
            for (int i = 0; i < lines; ++i)
                file += alphabet[random() % alphabet.size()] +
                        (i + 1 < lines || random() % 2 ? "\n" : "");
        }
        if (round % 2 == 1) {
            // An earlier comparison of other text must leave no trace in the next one.
            f.Load(0, "abcdefg\nba\nab\nabc\nc\nc\nc\nc\nc\nc\nc\nc\nc\nc", 1);
            f.Load(1, "x\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg", 1);
            CompareSides(f.engine, f.reporter);
            f.engine.compareState = kNotCompared;
        }
        int counts[2];
        literal::Grid loaded[2] = {literal::LoadBytes(files[0], 1, rows, columns, counts[0]),
                                   literal::LoadBytes(files[1], 1, rows, columns, counts[1])};
        f.Load(0, files[0], 1);
        f.Load(1, files[1], 1);
        const AlignedCounts counts_seen = CompareSides(f.engine, f.reporter);
        const literal::Comparison expected =
            literal::Compare(loaded[0], counts[0], loaded[1], counts[1], 0);
        SCOPED_TRACE("round " + std::to_string(round) + " rows " + std::to_string(rows) +
                     " columns " + std::to_string(columns) + "\nA:\n" + files[0] + "\nB:\n" +
                     files[1]);
        ASSERT_EQ(f.engine.compareState, expected.state);
        ASSERT_EQ(counts_seen.a, expected.nA);
        ASSERT_EQ(counts_seen.b, expected.nB);
        for (int side = 0; side < 2; ++side) {
            const std::size_t units = static_cast<std::size_t>(rows) * columns;
            const auto* working =
                reinterpret_cast<const char16_t*>(f.engine.grids.Bytes(WorkingGrid(side)));
            const auto* colour =
                reinterpret_cast<const char16_t*>(f.engine.grids.Bytes(ColourGrid(side)));
            ASSERT_TRUE(std::equal(working, working + units, expected.working[side].cells.begin()))
                << "side " << side;
            ASSERT_TRUE(std::equal(colour, colour + units, expected.colour[side].cells.begin()))
                << "side " << side;
            // The spare bytes behind the last row stay zero.
            const std::uint8_t* spare = f.engine.grids.Bytes(ColourGrid(side)) + units * 2;
            ASSERT_TRUE(
                std::all_of(spare, spare + kSpareBytes, [](std::uint8_t b) { return b == 0; }));
        }
    }
}

}  // namespace
}  // namespace kestrel
