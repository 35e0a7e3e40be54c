// The engine: loading, checked against reading one unit at a time, and the comparison, checked
// against its literal step-by-step version; memory that follows the files rather than the grid's
// size, grids that do not fit, and allocations that fail without ending the program. On Windows
// loading also meets the real file-sharing rules and the thread's ANSI code page.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <span>
#include <tuple>

#include "common/code_page_932.h"
#include "common/text.h"
#include "kestrel/engine/compact_lines.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/file_loader.h"
#include "kestrel/engine/grid_memory.h"
#include "kestrel/engine/line_decoder.h"
#include "tests/kestrel/literal_engine.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"
#ifdef _WIN32
#include "common/win32_text.h"
#endif

#ifndef _WIN32
namespace {
std::size_t fail_from = 0;  // while not 0, every allocation of at least this many bytes fails
}
void* operator new(std::size_t bytes) {
    void* block = fail_from != 0 && bytes >= fail_from ? nullptr : std::malloc(bytes ? bytes : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
// Out of line, or g++ 12 at -O3 pairs their free() with the builtin new (mismatched-new-delete).
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#endif

namespace kestrel {
namespace {

// An engine of a chosen size and line storage whose sides are loaded from byte strings written
// to a temporary folder, with every message box recorded.
class EngineFixture {
  public:
    explicit EngineFixture(int columns = 512, int rows = 8192,
                           LineStorage storage = LineStorage::kLoadedGrids) {
        engine.Allocate(columns, rows, reporter, nullptr, storage);
        engine.grids.set_reporter(&reporter);
    }

    LoadOutcome Load(int side, const std::string& bytes, int kaimode = 0) {
        const std::u16string path = dir.WriteU16(side == 0 ? "a.txt" : "b.txt", bytes);
        return LoadSide(engine, side, path, kaimode, reporter, nullptr, cuts[side]);
    }

    std::u16string RowText(int grid, int row) const {
        return std::u16string(engine.grids.Row(grid, row), engine.grids.memwcslen(grid, row));
    }

    // Each working row up to the larger aligned count as "text A:codes A|text B:codes B", the
    // codes over the text's length.
    std::vector<std::string> AlignedRows(const AlignedCounts& counts) const {
        std::vector<std::string> rows;
        for (int row = 0; row < std::max(counts.a, counts.b); ++row) {
            std::string text;
            for (int side = 0; side < 2; ++side) {
                const std::u16string units = RowText(WorkingGrid(side), row);
                text.append(side == 0 ? "" : "|").append(units.begin(), units.end()) += ':';
                for (std::size_t c = 0; c < units.size(); ++c)  // "." for a 0 cell
                    text += static_cast<char>(
                        std::max(engine.grids.Row(ColourGrid(side), row)[c], u'.'));
            }
            rows.push_back(text);
        }
        return rows;
    }

    // Whether side `side`'s loaded lines, wherever they are kept, are the rows of `expected`.
    bool HoldsLines(int side, const literal::Grid& expected) const {
        for (int row = 0; row < expected.rows; ++row)
            if (std::u16string_view(engine.LoadedText(side, row), engine.LoadedLength(side, row)) !=
                std::u16string_view(expected.Row(row), expected.Length(row)))
                return false;
        return true;
    }

    // Whether `grid` holds exactly the cells of `expected`, its spare units still 0.
    bool Holds(int grid, const literal::Grid& expected) const {
        std::vector<char16_t> cells = expected.cells;
        cells.resize(cells.size() + kSpareBytes / 2, u'\0');
        return std::equal(cells.begin(), cells.end(),
                          reinterpret_cast<const char16_t*>(engine.grids.Bytes(grid)));
    }

    ko::testing::RecordingReporter reporter;
    ko::testing::TempDir dir;
    Engine engine;
    LoadCuts cuts[2];  // of each side's last load
};

using Rows = std::vector<std::u16string>;
using namespace std::string_literals;

// The rows of side A up to its line count.
Rows Lines(const EngineFixture& f) {
    Rows lines;
    for (int r = 0; r < f.engine.sides[0].lineCount; ++r)
        lines.push_back(f.RowText(kLoadedA, r));
    return lines;
}

TEST(FileLoader, RecognisesWholeSignaturesAndSplitsByEachNewlineCodeIntoPiecesOf512Units) {
    using enum Encoding;
    const Rows::value_type q512(512, u'q'), q510(510, u'q');
    const std::string b511(511, 'q'), b510(510, 'q');
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E d\xC3\xA9j\xC3\xA0";
    const struct {
        std::string bytes;
        int kaimode;
        Encoding encoding;
        Rows lines;
        long long undecodable = 0, oddLastByte = 0, atNul = 0;
    } cases[] = {
        {""s, 1, kAnsi, {u""}},
        {"\xFF\xFE"s, 1, kUtf16Le, {u""}},
        {"\xFE\xFF"s, 1, kUtf16Be, {u""}},
        {"\xEF\xBB\xBF"s, 1, kUtf8, {u""}},
        {"\xFF\xFE\x42\x30\n\0C"s, 1, kUtf16Le, {u"あ", u""}, 0, 1},  // an odd last byte is cut
        {"\xFE\xFF\x30\x42\0\n"s, 1, kUtf16Be, {u"あ", u""}},
        {"\xEF\xBB\xBF\xE6\xBC\xA2\nx"s, 1, kUtf8, {u"漢", u"x"}},
        {"\xBB\xBFz"s, 1, kAnsi, {u"ｻｿz"}},
        {"a\r\nb\r\n"s, 0, kAnsi, {u"a", u"b", u""}},
        {"a\r\nb\r\n"s, 1, kAnsi, {u"a\r", u"b\r", u""}},
        {"a\r\nb\r\n"s, 2, kAnsi, {u"a", u"\nb", u"\n"}},
        {"a\r\nb\n"s, 7, kAnsi, {u"a\r\nb\n"}},  // no unit ends a line under code 7
        {"\r\nx\ry\nz"s, 0, kAnsi, {u"", u"x\ry\nz"}},
        // A full piece ends the line even when the file ends right after it.
        {std::string(512, 'q'), 0, kAnsi, {q512, u""}},
        // A CR LF split by the piece boundary is no line end: the LF starts the next line.
        {b511 + "\r\nz", 0, kAnsi, {q512.substr(1) + u"\r", u"\nz"}},
        {"ab\0cd\r\nef"s, 0, kAnsi, {u"ab", u"ef"}, 0, 0, 1},  // a NUL ends the line's text
        {"\xFF\xFE\x61\0\0\0b\0\n\0c\0"s, 1, kUtf16Le, {u"a", u"c"}, 0, 0, 1},
        {"\xFE\xFF\0a\0\0\0\n\0\0"s, 1, kUtf16Be, {u"a", u""}, 0, 0, 2},
        {"\x8A\xBF\x8E\x9A\xB1\r\nplain"s, 0, kAnsi, {u"漢字ｱ", u"plain"}},       // code page 932
        {"\xEF\xBB\xBF\x61\xFF\x62\xE6\xBC"s, 0, kUtf8, {u"a\uFFFDb\uFFFD"}, 1},  // invalid
        {"\xEF\xBB\xBF\x80\r\n\x80\x80"s, 0, kUtf8, {u"\uFFFD", u"\uFFFD\uFFFD"}, 2},  // 0x80
        // Each piece is decoded by itself: a character cut by the piece boundary is lost.
        {b511 + "\x82\xA0", 0, kAnsi, {q512.substr(1) + u"\u30FB", u"\uF8F0"}, 1},
        {"\xEF\xBB\xBF" + b510 + "\xE6\xBC\xA2", 0, kUtf8, {q510 + u"\uFFFD", u"\uFFFD"}, 2},
        // UTF-8 without a signature, "日本語 déjà": 9E 20 is no character of code page 932.
        {japanese, 0, kAnsi, {u"譌･譛ｬ隱\u30FBdﾃｩjﾃ\uF8F0"}, 1},
    };
    EngineFixture f;  // one engine for all: each load starts from what the one before left
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20) + " under " + std::to_string(c.kaimode));
        ASSERT_EQ(f.Load(0, c.bytes, c.kaimode), LoadOutcome::kLoaded);
        EXPECT_EQ(f.engine.sides[0].encoding, c.encoding);
        EXPECT_EQ(Lines(f), c.lines);
        EXPECT_EQ(std::tuple(f.cuts[0].undecodable, f.cuts[0].oddLastByte, f.cuts[0].atNul),
                  std::tuple(c.undecodable, c.oddLastByte, c.atNul));
    }
    // One byte away from a signature: an unmarked file that keeps all its bytes (how the code
    // page shows them varies, but the last byte "z" stays itself).
    for (const char* bytes :
         {"\xFEz", "\xFFz", "\xFE\xFEz", "\xFF\xFFz", "\xEF\xBBz", "\xEF\xBF\xBFz", "\xEF\xBB"}) {
        f.Load(0, bytes, 1);
        EXPECT_EQ(f.engine.sides[0].encoding, kAnsi) << bytes;
        EXPECT_EQ(Lines(f).at(0).back() == u'z', std::string_view(bytes).ends_with('z'));
    }
}

// The line decoders: natively our own, on Windows the system's converter. Both builds run
// this table and the digest of every sequence of one or two bytes and of many of three and
// four, so they give the same units for every line; `lost` is whether a line counts as
// undecodable.
TEST(LineDecoder, GivesWhatTheSystemsConverterGivesForEveryByteSequence) {
    const struct {
        bool utf8;
        std::string bytes;
        std::u16string units;
        bool lost;
    } cases[] = {
        // Code page 932: single bytes outside ASCII keep a unit each; a lead byte takes any
        // byte after it, giving the default character when the pair is undefined.
        {false, "\x80\xA0\xFD\xFE\xFF\xA1\xDF", u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3｡ﾟ", false},
        {false, "x\x81", u"x\u30FB", true},
        {false, "\x85\x40\x86\x40\x82 z", u"\u30FB\u30FB\u30FBz", true},
        {false, "\x81\x45\xF0\x40\xF9\xFC\xED\x40\xFA\x5C", u"\u30FB\uE000\uE757\u7E8A\u7E8A",
         false},
        // UTF-8: one U+FFFD for a byte that starts nothing, for a sequence broken by a byte
        // that is no continuation, for an overlong, surrogate or too large start with its
        // second byte, and for all that is left when the end cuts a sequence short.
        {true, "\xE6\xBC\xA2\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBF", u"漢😀\uFFFD\uFFFF", false},
        {true, "\x80\xBF\xC0\xC1\xF5\xFFz\xE6\xBCz",
         u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz\uFFFDz", true},
        {true, "\xE0\x80\xAFz\xED\xA0\x80z\xF4\x90\x80z",
         u"\uFFFD\uFFFDz\uFFFD\uFFFDz\uFFFD\uFFFDz", true},
        {true, "a\xF0\x9F\x98", u"a\uFFFD", true},
        {true, "a\xE6z", u"a\uFFFD", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
        char16_t units[32];
        const std::size_t n =
            (c.utf8 ? DecodeUtf8Piece : DecodeAnsiPiece)(bytes, c.bytes.size(), units);
        EXPECT_EQ(std::u16string(units, n), c.units);
        EXPECT_EQ(
            (c.utf8 ? ko::LostInUtf8 : ko::LostInCodePage932)(bytes, c.bytes.size(), units, n),
            c.lost);
    }
    // A character with two codes in the code page is read alike from both; the one it is not
    // written back as is its second, whichever row it stands in.
    int index = 0;
    for (const std::string bytes : {"\x87\x90", "\xEE\xEF", "\xFA\x54", "\xED\x40", "\x81\xE0",
                                    "\xFA\x40", "\xFA\x5C", "\x87\x54"}) {
        char16_t unit[2];
        const auto* code = reinterpret_cast<const std::uint8_t*>(bytes.data());
        EXPECT_EQ(ko::SecondCodeInCodePage932(code, 2, unit, DecodeAnsiPiece(code, 2, unit)),
                  index++ < 4)
            << bytes;
    }
    // Sums of the units of every sequence of one or two bytes, and of three and four bytes from
    // a byte of 0x80 or above and bytes of each kind: one unit changed anywhere changes them.
    const std::uint8_t kinds[] = {0x0A, 0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                  0xC0, 0xC2, 0xE0, 0xED, 0xF0, 0xF4, 0xFD, 0xFF};
    std::uint64_t sums[2] = {0xCBF29CE484222325, 0xCBF29CE484222325};  // FNV-1a
    for (const bool utf8 : {false, true}) {
        std::uint8_t b[4];
        auto add = [&](std::size_t size) {
            char16_t units[8];
            const std::size_t n = (utf8 ? DecodeUtf8Piece : DecodeAnsiPiece)(b, size, units);
            for (std::size_t i = 0; i <= n; ++i)
                sums[utf8] = (sums[utf8] ^ (i < n ? units[i] : 0x10000 + n)) * 0x100000001B3;
        };
        for (int first = 1; first < 256; ++first) {
            b[0] = static_cast<std::uint8_t>(first);
            add(1);
            for (int second = 1; second < 256; ++second) {
                b[1] = static_cast<std::uint8_t>(second);
                add(2);
            }
            for (const std::uint8_t second : first < 0x80 ? std::span<const std::uint8_t>() : kinds)
                for (const std::uint8_t third : kinds)
                    for (const std::uint8_t fourth : kinds) {
                        std::tie(b[1], b[2], b[3]) = std::tuple(second, third, fourth);
                        add(3);
                        add(4);
                    }
        }
    }
    EXPECT_EQ(sums[0], 9321501938988440812u);
    EXPECT_EQ(sums[1], 3305778425356829003u);
}

TEST(FileLoader, WhatCannotBeLoadedIsReportedAndChangesNothing) {
    EngineFixture f;
    f.Load(0, "keep");
    f.engine.compareState = kDiffered;
    const std::u16string missing = ko::testing::PathText(f.dir.path() / "missing.txt");
    void* owner = reinterpret_cast<void*>(7);
    for (const std::u16string& path : {missing, ko::testing::PathText(f.dir.path())})  // a folder
        EXPECT_EQ(LoadSide(f.engine, 0, path, 0, f.reporter, owner), LoadOutcome::kOpenFailed);
    EXPECT_EQ(LoadSide(f.engine, 1, u"", 0, f.reporter, owner), LoadOutcome::kNoPath);
    ASSERT_EQ(f.reporter.shown.size(), 3u);
    EXPECT_EQ(f.reporter.shown[0],
              (ko::testing::ShownMessage{owner, u"Can't open " + missing + u" file\r\nErrCode=2",
                                         u"FileOpenError", ko::box::kIconWarning}));
    EXPECT_EQ(f.reporter.shown[2], (ko::testing::ShownMessage{owner, u"Please set the file name",
                                                              u"Failure", ko::box::kIconWarning}));
    EXPECT_EQ(Lines(f), (Rows{u"keep"}));
    EXPECT_EQ(f.engine.compareState, kDiffered);
}

#ifdef _WIN32
TEST(FileLoaderOnWindows, RefusesAFileOthersWriteAndReadsUnmarkedFilesInTheThreadsCodePage) {
    EngineFixture f;
    f.Load(0, "before");
    const std::u16string path = f.dir.WriteU16("held.txt", "held text");
    for (const DWORD access : {DWORD{GENERIC_WRITE}, DWORD{GENERIC_READ}}) {
        HANDLE other = CreateFileW(ko::AsWide(path.c_str()), access, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        const LoadOutcome outcome = LoadSide(f.engine, 0, path, 0, f.reporter, nullptr);
        CloseHandle(other);
        const bool readable = access == GENERIC_READ;
        EXPECT_EQ(outcome, readable ? LoadOutcome::kLoaded : LoadOutcome::kOpenFailed);
        EXPECT_EQ(f.RowText(kLoadedA, 0), readable ? u"held text" : u"before");
    }
    EXPECT_EQ(f.reporter.Texts(),
              (std::vector<std::u16string>{u"Can't open " + path + u" file\r\nErrCode=32"}));
    ASSERT_EQ(GetACP(), 932u) << "the tests run with a Japanese locale";
    f.Load(0, "\x93\xFA\x96\x7B\x8C\xEA");  // 日本語 in code page 932
    EXPECT_EQ(f.RowText(kLoadedA, 0), u"日本語");
}
#endif

TEST(Comparison, LinesUpEqualTextsWithFillerLinesAndMarksEveryCharacter) {
    const struct {
        std::string a, b;
        std::vector<std::string> rows;
        int collide = -1;  // B's second line hashes like this line of A: only the text may decide
    } cases[] = {
        {"abc\n\nde", "abc\n\nde", {"abc:000|abc:000", ":|:", "de:00|de:00"}},
        // A filler line is as wide as the line opposite, one blank opposite an empty line; on
        // a tie the filler lines go into side A.
        {"a\ny\nxx", "a\nxx\ny", {"a:0|a:0", "  :22|xx:11", "y:0|y:0", "xx:11|  :22"}},
        // Lines without a partner are marked column by column.
        {"abc\nabc", "abd\nabcde", {"abc:001|abd:001", "abc:000|abcde:00011"}},
        {"s\ncd\nz", "s\nxy\ncd", {"s:0|s:0", "  :22|xy:11", "cd:00|cd:00", "z:1| :2"}, 1},
        {"ab\nxy", "q\nxy", {"ab:11|q:1", "xy:00|xy:00"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + "\nagainst\n" + c.b);
        EngineFixture f(8);
        f.Load(0, c.a, 1);
        f.Load(1, c.b, 1);
        if (c.collide >= 0) f.engine.sides[1].rowHash[1] = f.engine.sides[0].rowHash[c.collide];
        EXPECT_EQ(f.AlignedRows(CompareSides(f.engine, f.reporter)), c.rows);
        const bool equal = c.a == c.b;
        EXPECT_EQ(f.engine.compareState, equal ? kMatched : kDiffered);
        EXPECT_EQ(f.reporter.Texts(),
                  std::vector<std::u16string>{equal ? u"一致しました" : u"不一致です"});
    }
}

// Random pairs of files, loaded and compared: the engine must store exactly what reading one
// unit at a time stores and agree with the literal comparison on every cell of all six grids.
// Most pairs are small grids and files of lines from a tiny alphabet, so lines repeat, the
// window bound bites, lines get cut to the width and files overflow the rows. Every 125th pair
// is of files of pieces, each side in its own encoding and newline code; the first two pairs
// are a few megabytes long, so lines straddle the read blocks.
TEST(Engine, AgreesWithTheLiteralLoaderAndComparisonOnRandomPairs) {
    std::mt19937 random(20261207);
    const std::vector<std::string> lines = {"", "a", "b", "ab", "abc", "ba", "abcdefg", "c"};
    const std::string signatures[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    const std::string z300(300, 'z'), y600(600, 'y');
    const std::string pieces[] = {"a",    "bc",           "\r",       "\n", "\r\n", "\0"s,
                                  "\x80", "\xE3\x81\x82", "\x82\xA0", z300, y600};
    for (int round = 0; round < 1500; ++round) {
        const int big = round % 125 == 0 ? round / 125 : -1;  // a round of pieces
        const int rows = big < 0 ? std::uniform_int_distribution<int>(1, 12)(random)
                                 : (big % 3 == 0 ? 64 : 1024);
        const int columns =
            big < 0 ? std::uniform_int_distribution<int>(1, 6)(random) : (big % 2 == 0 ? 512 : 7);
        std::string files[2];
        int kaimode[2] = {1, 1};
        for (int side = 0; side < 2; ++side) {
            std::string& file = files[side];
            const int count = big < 0 ? std::uniform_int_distribution<int>(0, rows + 3)(random) : 0;
            for (int i = 0; i < count; ++i)
                file +=
                    lines[random() % lines.size()] + (i + 1 < count || random() % 2 ? "\n" : "");
            if (big < 0) continue;
            const int kind = (2 * big + side) % 4;  // the side's encoding and newline code
            kaimode[side] = kind == 3 ? 5 : kind;
            for (file = signatures[kind]; file.size() < (big < 2 ? 3u << 20 : 20000);)
                file += pieces[random() % std::size(pieces)];
        }
        SCOPED_TRACE("round " + std::to_string(round) + "\nA:\n" + files[0].substr(0, 200) +
                     "\nB:\n" + files[1].substr(0, 200));
        // kestrel-cli --quiet keeps the lines in compact stores: `quiet` must load and compare
        // as `f` does, and write no grid.
        EngineFixture f(columns, rows), quiet(columns, rows, LineStorage::kCompact);
        if (round % 2 == 1) {
            // An earlier comparison of other text must leave no trace in the next one, and
            // loading a side clears that side's working rows only.
            for (EngineFixture* e : {&f, &quiet}) {
                e->Load(0, "abcdefg\nba\nab\nabc\nc\nc\nc\nc\nc\nc\nc\nc\nc\nc", 1);
                e->Load(1, "x\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg\nabcdefg", 1);
                CompareSides(e->engine, e->reporter);
                e->Load(0, files[0], kaimode[0]);
            }
            ASSERT_EQ(f.RowText(kWorkingA, 0), u"");
            ASSERT_NE(f.RowText(kWorkingB, 0), u"");
            ASSERT_EQ(f.engine.compareState, kNotCompared);
        }
        int counts[2];
        const literal::Grid loaded[2] = {
            literal::LoadBytes(files[0], kaimode[0], rows, columns, counts[0]),
            literal::LoadBytes(files[1], kaimode[1], rows, columns, counts[1])};
        const literal::Comparison expected =
            literal::Compare(loaded[0], counts[0], loaded[1], counts[1]);
        for (EngineFixture* e : {&f, &quiet}) {
            if (round % 2 == 0) e->Load(0, files[0], kaimode[0]);
            e->Load(1, files[1], kaimode[1]);
        }
        const AlignedCounts compact = CompareSides(quiet.engine, quiet.reporter);
        ASSERT_EQ(std::tuple(quiet.engine.compareState, compact.a, compact.b),
                  std::tuple(expected.state, expected.nA, expected.nB));
        for (int side = 0; side < 2; ++side) {
            ASSERT_TRUE(quiet.HoldsLines(side, loaded[side]));
            ASSERT_EQ(std::tuple(quiet.engine.sides[side].lineCount, quiet.cuts[side]),
                      std::tuple(counts[side], f.cuts[side]));
        }
        for (int grid = 0; grid < kGridCount; ++grid)
            ASSERT_EQ(quiet.engine.grids.UsedRows(grid), 0);
        // Odd rounds compare twice, as after a restore: the second must give the same.
        for (int again = 0; again <= round % 2; ++again) {
            f.engine.compareState = kNotCompared;
            const AlignedCounts seen = CompareSides(f.engine, f.reporter);
            ASSERT_EQ(std::tuple(f.engine.compareState, seen.a, seen.b),
                      std::tuple(expected.state, expected.nA, expected.nB));
            for (int side = 0; side < 2; ++side) {
                ASSERT_EQ(f.engine.sides[side].lineCount, counts[side]);
                ASSERT_TRUE(f.Holds(LoadedGrid(side), loaded[side]));
                ASSERT_TRUE(f.Holds(WorkingGrid(side), expected.working[side]));
                ASSERT_TRUE(f.Holds(ColourGrid(side), expected.colour[side]));
            }
        }
    }
}

const ko::testing::ShownMessage kAllocationFailure{
    nullptr, u"Failed to allocate the specified number of bytes from the heap.", u"Failure",
    ko::box::kIconError};

// What the engine holds beside the grids: compact lines, row hashes and comparison tables.
std::size_t TableBytes(const Engine& engine) {
    const ComparisonScratch& s = engine.scratch;
    std::size_t bytes = s.table.capacity() * sizeof(s.table[0]) + s.rowKind.capacity();
    for (int side = 0; side < 2; ++side)
        bytes += engine.sides[side].compactLines.CapacityBytes() +
                 engine.sides[side].rowHash.capacity() * 8 +
                 4 * (s.classOf[side].capacity() + s.classStart[side].capacity() +
                      s.rowsOf[side].capacity() + s.source[side].capacity());
    return bytes;
}

TEST(MemoryLimits, TablesFollowTheLinesLoadedNotTheGridsRows) {
    std::vector<int> row_counts = {10'000'000};
#ifndef _WIN32
    row_counts.push_back(100'000'000);  // 1.2 GB of grids, of which a few pages are touched
#endif
    for (const int rows : row_counts) {
        for (const LineStorage storage : {LineStorage::kLoadedGrids, LineStorage::kCompact}) {
            EngineFixture f(1, rows, storage);
            ASSERT_TRUE(f.engine.grids.allocated());
            f.Load(0, "a\nb", 1);
            f.Load(1, "a\nc", 1);
            const AlignedCounts counts = CompareSides(f.engine, f.reporter);
            EXPECT_EQ(f.reporter.Texts().back(), u"不一致です");
            if (storage == LineStorage::kLoadedGrids) {
                EXPECT_EQ(f.AlignedRows(counts), (std::vector<std::string>{"a:0|a:0", "b:1|c:1"}));
            }
            EXPECT_LT(TableBytes(f.engine), 4096u) << rows;
        }
    }
    // A short file's first block holds only its bound (here 10 units): a line from an odd
    // position that would end one unit past it starts the next block.
    CompactLines lines;
    lines.Expect(10);
    const std::u16string text = u"abcdefghijk";
    lines.Store(0, text.data(), 5);
    lines.Store(1, text.data() + 5, 6);
    EXPECT_EQ(std::u16string(lines.Text(0), 5) + std::u16string(lines.Text(1), 6), text);
}

TEST(MemoryLimits, GridsThatDoNotFitInPhysicalMemoryAreRefused) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30, kSixGrids = 6 * (512 * 8192 * 2 + 2048);
    const std::tuple<long long, long long, std::uint64_t> cases[] = {
        {512, 8192, kSixGrids},
        {512, 8192, kSixGrids - 1},
        {1, 536870911, 4 * kGiB},    // six grids of 1 GiB
        {1, 1073741823, 8 * kGiB}};  // six grids of 2 GiB
    for (const auto& [columns, rows, memory] : cases) {
        // Compact storage, which never touches the grids, is refused the same grids.
        for (const LineStorage storage : {LineStorage::kLoadedGrids, LineStorage::kCompact}) {
            ko::testing::RecordingReporter reporter;
            Engine engine;
            const bool fits = memory == kSixGrids;
            EXPECT_EQ(engine.Allocate(columns, rows, reporter, nullptr, storage, memory), fits);
            EXPECT_EQ(reporter.shown, std::vector(fits ? 0u : 1u, kAllocationFailure));
        }
    }
}

#ifndef _WIN32
TEST(MemoryLimits, LargeBlocksStartOnA2MiBBoundaryAndHoldEveryByteAskedFor) {
    constexpr std::size_t kHugePage = 2 << 20;  // only a block on its boundary can get them
    for (const std::size_t bytes : {kHugePage, kHugePage + 1}) {
        auto* block = static_cast<unsigned char*>(AllocateZeroedBlock(bytes));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePage, 0u);
        EXPECT_EQ(block[bytes - 1]++, 0);
        ReleaseBlock(block);
    }
    EXPECT_LT(PhysicalMemoryBytes(), UINT64_MAX);  // only Windows reports no limit
}

TEST(MemoryLimits, AFailedAllocationWhileLoadingIsReportedAndTheEngineStaysUsable) {
    for (const LineStorage storage : {LineStorage::kLoadedGrids, LineStorage::kCompact}) {
        EngineFixture f(8, 20000, storage);
        fail_from = 64 << 10;  // the loader's 256 KiB read buffer
        EXPECT_EQ(f.Load(0, "a\nb", 1), LoadOutcome::kOutOfMemory);
        fail_from = 0;
        ASSERT_EQ(f.Load(0, "a\nb", 1), LoadOutcome::kLoaded);
        fail_from = 64 << 10;  // the row hashes of 10,001 lines
        EXPECT_EQ(f.Load(1, std::string(10000, '\n'), 1), LoadOutcome::kOutOfMemory);
        fail_from = 0;
        EXPECT_EQ(f.reporter.shown, (std::vector{kAllocationFailure, kAllocationFailure}));
        ASSERT_EQ(f.Load(1, "a\nc", 1), LoadOutcome::kLoaded);
        const AlignedCounts counts = CompareSides(f.engine, f.reporter);
        EXPECT_EQ(std::pair(counts.a, counts.b), std::pair(2, 2));
        if (storage == LineStorage::kLoadedGrids) {
            EXPECT_EQ(f.AlignedRows(counts), (std::vector<std::string>{"a:0|a:0", "b:1|c:1"}));
        }
    }
}
#endif

}  // namespace
}  // namespace kestrel
