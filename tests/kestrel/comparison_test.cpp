#include "kestrel/engine/comparison.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "tests/kestrel/engine_fixture.h"
#include "tests/kestrel/literal_engine.h"

namespace kestrel {
namespace {

using testing::EngineFixture;
using Lines = std::vector<std::string>;

// Each working row as "text A:codes A|text B:codes B", up to the larger aligned count.
std::vector<std::string> AlignedRows(const EngineFixture& f, const AlignedCounts& counts) {
    std::vector<std::string> rows;
    for (int row = 0; row < std::max(counts.a, counts.b); ++row) {
        std::string text;
        for (int side = 0; side < 2; ++side) {
            const std::u16string units = f.RowText(WorkingGrid(side), row);
            text += std::string(units.begin(), units.end()) + ":" + f.Codes(side, row);
            if (side == 0) text += "|";
        }
        rows.push_back(text);
    }
    return rows;
}

TEST(Comparison, LinesUpEqualLinesWithFillerLinesAndMarksEveryCharacter) {
    const struct {
        const char* what;
        Lines a, b;
        std::vector<std::string> rows;
        int rows_of_grid = 8192;
    } cases[] = {
        {"identical",
         {"abc", "", "de"},
         {"abc", "", "de"},
         {"abc:000|abc:000", ":|:", "de:00|de:00"}},
        {"a line of B's own",
         {"a", "b", "c"},
         {"a", "x", "b", "c"},
         {"a:0|a:0", " :2|x:1", "b:0|b:0", "c:0|c:0"}},
        {"a line of A's own: the filler is as wide",
         {"a", "xyz", "b"},
         {"a", "b"},
         {"a:0|a:0", "xyz:111|   :222", "b:0|b:0"}},
        {"a filler opposite an empty line is one blank",
         {"a", "b"},
         {"a", "", "b"},
         {"a:0|a:0", " :2|:", "b:0|b:0"}},
        {"unmatched lines are marked column by column",
         {"abc", "abc"},
         {"abd", "abcde"},
         {"abc:001|abd:001", "abc:000|abcde:00011"}},
        {"on a tie the filler lines go into side A",
         {"a", "y", "x", "q"},
         {"a", "x", "y", "q"},
         {"a:0|a:0", " :2|x:1", "y:0|y:0", "x:1| :2", "q:0|q:0"}},
        // Side A fills all four rows (count 3 = rows - 1): the window is 1, nothing is searched,
        // and the last row keeps the file's final line.
        {"no look-ahead once a side is full",
         {"a", "b", "c", "d", "e"},
         {"x", "a", "b"},
         {"a:1|x:1", "b:1|a:1", "c:1|b:1"},
         4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineFixture f(8, c.rows_of_grid);
        const AlignedCounts counts = f.CompareLines(c.a, c.b);
        EXPECT_EQ(AlignedRows(f, counts), c.rows);
        const bool equal = c.a == c.b;
        EXPECT_EQ(f.engine.compareState, equal ? kMatched : kDiffered);
        EXPECT_EQ(
            f.reporter.shown,
            (std::vector<ko::testing::ShownMessage>{
                {nullptr, equal ? u"一致しました" : u"不一致です", u"比較完了", ko::box::kOk}}));
    }
}

TEST(Comparison, AgainAfterRestoreGivesTheSameColoursAndALoadClearsOnlyItsSide) {
    EngineFixture f;
    f.CompareLines({"a", "b", "c"}, {"a", "x", "c", "d"});
    const std::vector<std::uint8_t> colours(
        f.engine.grids.Bytes(kColourA),
        f.engine.grids.Bytes(kColourA) + f.engine.grids.grid_bytes());
    f.engine.compareState = kNotCompared;  // what the restore command does
    CompareSides(f.engine, f.reporter);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), f.engine.grids.Bytes(kColourA)));
    // Loading one side clears that side's working grid only.
    f.Load(0, "zzz");
    EXPECT_EQ(f.RowText(kWorkingA, 0), u"");
    EXPECT_EQ(f.RowText(kWorkingB, 0), u"a");
    EXPECT_EQ(f.engine.compareState, kNotCompared);
}

TEST(Comparison, AHashCollisionNeverMakesDifferentLinesEqual) {
    EngineFixture f;
    f.Load(0, "same\ncd\nzz\ntail", 1);
    f.Load(1, "same\nxy\ncd\ntail", 1);
    // Pretend "xy" hashes like "cd": only the text may decide that they differ.
    f.engine.sides[1].rowHash[1] = f.engine.sides[0].rowHash[1];
    EXPECT_EQ(AlignedRows(f, CompareSides(f.engine, f.reporter)),
              (std::vector<std::string>{"same:0000|same:0000", "  :22|xy:11", "cd:00|cd:00",
                                        "zz:11|  :22", "tail:0000|tail:0000"}));
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
        // kestrel-cli --quiet: the same state and counts without the working and colour grids.
        const AlignedCounts quiet = CompareSides(f.engine, f.reporter, CompareOutput::kStateOnly);
        const int quiet_state = std::exchange(f.engine.compareState, kNotCompared);
        const AlignedCounts counts_seen = CompareSides(f.engine, f.reporter);
        const literal::Comparison expected =
            literal::Compare(loaded[0], counts[0], loaded[1], counts[1], 0);
        SCOPED_TRACE("round " + std::to_string(round) + "\nA:\n" + files[0] + "\nB:\n" + files[1]);
        ASSERT_EQ(f.engine.compareState, expected.state);
        ASSERT_EQ(counts_seen.a, expected.nA);
        ASSERT_EQ(counts_seen.b, expected.nB);
        ASSERT_EQ(quiet_state, expected.state);
        ASSERT_TRUE(quiet.a == expected.nA && quiet.b == expected.nB);
        const std::size_t units = static_cast<std::size_t>(rows) * columns;
        for (int side = 0; side < 2; ++side) {
            const literal::Grid* literal_grids[] = {&expected.working[side],
                                                    &expected.colour[side]};
            const Grid grids[] = {WorkingGrid(side), ColourGrid(side)};
            for (int g = 0; g < 2; ++g) {
                const auto* cells =
                    reinterpret_cast<const char16_t*>(f.engine.grids.Bytes(grids[g]));
                ASSERT_TRUE(std::equal(cells, cells + units, literal_grids[g]->cells.begin()))
                    << "grid " << grids[g];
                // The spare bytes behind the last row stay zero.
                ASSERT_TRUE(std::all_of(cells + units, cells + units + kSpareBytes / 2,
                                        [](char16_t unit) { return unit == 0; }));
            }
        }
    }
}

}  // namespace
}  // namespace kestrel
