#include "kestrel/engine/file_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/kestrel/engine_fixture.h"
#include "tests/kestrel/literal_engine.h"

namespace kestrel {
namespace {

using testing::EngineFixture;
using Rows = std::vector<std::u16string>;

// The rows of a side up to its line count.
Rows Lines(const EngineFixture& f, int side = 0) {
    Rows lines;
    for (int r = 0; r < f.engine.sides[side].lineCount; ++r)
        lines.push_back(f.RowText(LoadedGrid(side), r));
    return lines;
}

std::string Bytes(std::initializer_list<int> values) {
    return std::string(values.begin(), values.end());
}

// Each signature decides the encoding only when it is there whole; a file one byte away from
// one is an unmarked file and keeps all its bytes (how the code page shows them varies).
TEST(FileLoader, RecognisesEachSignatureOnlyWhole) {
    const struct {
        std::string bytes;
        Encoding encoding;
        Rows lines;  // none: only the last byte ("a") is looked at
    } cases[] = {
        {"", Encoding::kAnsi, {u""}},
        {Bytes({0xFF, 0xFE}), Encoding::kUtf16Le, {u""}},
        {Bytes({0xFE, 0xFF}), Encoding::kUtf16Be, {u""}},
        {Bytes({0xEF, 0xBB, 0xBF}), Encoding::kUtf8, {u""}},
        {Bytes({0xFF, 0xFE, 0x42, 0x30, 0x0A, 0x00, 0x43}), Encoding::kUtf16Le, {u"あ", u""}},
        {Bytes({0xFE, 0xFF, 0x30, 0x42, 0x00, 0x0A}), Encoding::kUtf16Be, {u"あ", u""}},
        {Bytes({0xEF, 0xBB, 0xBF, 0xE6, 0xBC, 0xA2, 0x0A, 0x78}), Encoding::kUtf8, {u"漢", u"x"}},
        {Bytes({0xBB, 0xBF, 'a'}), Encoding::kAnsi, {u"ｻｿa"}},
        {Bytes({0xFE, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xFF, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xFE, 0xFE, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xFF, 0xFF, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xEF, 0xBB, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xEF, 0xBF, 0xBF, 'a'}), Encoding::kAnsi, {}},
        {Bytes({0xEF, 0xBB}), Encoding::kAnsi, {}},
    };
    for (const auto& c : cases) {
        EngineFixture f;
        ASSERT_EQ(f.Load(0, c.bytes, 1), LoadOutcome::kLoaded);
        EXPECT_EQ(f.engine.sides[0].encoding, c.encoding) << c.bytes;
        if (!c.lines.empty()) {
            EXPECT_EQ(Lines(f), c.lines) << c.bytes;
        } else if (c.bytes.back() == 'a') {
            EXPECT_EQ(Lines(f).at(0).back(), u'a');
        }
    }
}

TEST(FileLoader, SplitsByEachNewlineCodeIntoPiecesOf512Units) {
    EngineFixture f;
    const struct {
        std::string bytes;
        int kaimode;
        Rows lines;
    } cases[] = {
        {"a\r\nb\r\n", 0, {u"a", u"b", u""}},
        {"a\r\nb\r\n", 1, {u"a\r", u"b\r", u""}},
        {"a\r\nb\r\n", 2, {u"a", u"\nb", u"\n"}},
        {"a\r\nb\n", 7, {u"a\r\nb\n"}},  // no unit ends a line under any other code
        {"\r\nx\ry\nz", 0, {u"", u"x\ry\nz"}},
        {std::string(1000, 'q'), 0, {Rows::value_type(512, u'q'), Rows::value_type(488, u'q')}},
        // A full piece ends the line even when the file ends right after it.
        {std::string(512, 'q'), 0, {Rows::value_type(512, u'q'), u""}},
        // A CR LF split by the piece boundary is no line end: the LF starts the next line.
        {std::string(511, 'q') + "\r\nz", 0, {Rows::value_type(511, u'q') + u"\r", u"\nz"}},
        {std::string("ab\0cd\r\nef", 9), 0, {u"ab", u"ef"}},  // a NUL cuts the line
        {std::string("\xFF\xFE"
                     "a\0\0\0b\0\n\0c\0",
                     12),
         1,
         {u"a", u"c"}},
        {"\x8A\xBF\x8E\x9A\xB1\r\nplain", 0, {u"漢字ｱ", u"plain"}},  // code page 932
        {"\xEF\xBB\xBF"
         "a\xFF"
         "b\xE6\xBC",
         0,
         {u"a\uFFFDb\uFFFD"}},  // invalid UTF-8
        {"\xEF\xBB\xBF\x80\r\n\x80\x80", 0, {u"\uFFFD", u"\uFFFD\uFFFD"}},
    };
    for (const auto& c : cases) {
        f.Load(0, c.bytes, c.kaimode);
        EXPECT_EQ(Lines(f), c.lines) << c.bytes.substr(0, 20) << " under " << c.kaimode;
    }
}

TEST(FileLoader, LinesBeyondTheLastRowReplaceItAndLongLinesAreCutToTheWidth) {
    EngineFixture f(100, 8192);
    std::string text;
    for (int i = 1; i <= 10000; ++i)
        text += "line" + std::to_string(i) + (i < 10000 ? "\r\n" : "");
    f.Load(0, text);
    EXPECT_EQ(f.engine.sides[0].lineCount, 8191);
    EXPECT_EQ(f.RowText(kLoadedA, 8190), u"line8191");
    EXPECT_EQ(f.RowText(kLoadedA, 8191), u"line10000");
    f.Load(0, text + "\r\n");
    EXPECT_EQ(f.RowText(kLoadedA, 8191), u"");
    f.Load(0, std::string(150, 'w') + "\r\nnext");
    EXPECT_EQ(Lines(f), (Rows{Rows::value_type(100, u'w'), u"next"}));
}

TEST(FileLoader, WhatCannotBeLoadedIsReportedAndChangesNothing) {
    EngineFixture f;
    f.Load(0, "keep");
    f.engine.compareState = kDiffered;
    const std::u16string missing = ko::testing::PathText(f.dir.path() / "missing.txt");
    const std::u16string folder = ko::testing::PathText(f.dir.path());
    void* owner = reinterpret_cast<void*>(7);
    EXPECT_EQ(LoadSide(f.engine, 0, missing, 0, f.reporter, owner), LoadOutcome::kOpenFailed);
    EXPECT_EQ(LoadSide(f.engine, 0, folder, 0, f.reporter, owner), LoadOutcome::kOpenFailed);
    EXPECT_EQ(LoadSide(f.engine, 1, u"", 0, f.reporter, owner), LoadOutcome::kNoPath);
    ASSERT_EQ(f.reporter.shown.size(), 3u);
    EXPECT_EQ(f.reporter.shown[0],
              (ko::testing::ShownMessage{owner, u"Can't open " + missing + u" file\r\nErrCode=2",
                                         u"FileOpenError", ko::box::kIconWarning}));
    EXPECT_EQ(f.reporter.shown[1].caption, u"FileOpenError");
    EXPECT_EQ(f.reporter.shown[2], (ko::testing::ShownMessage{owner, u"Please set the file name",
                                                              u"Failure", ko::box::kIconWarning}));
    EXPECT_EQ(Lines(f), (Rows{u"keep"}));
    EXPECT_EQ(f.engine.compareState, kDiffered);
}

// Random files of a few megabytes (so lines straddle the read blocks) in every encoding and
// under every newline code: the block reader must store exactly what reading one unit at a
// time stores.
TEST(FileLoader, AgreesWithUnitByUnitReadingOnRandomFiles) {
    std::mt19937 random(7);
    const std::string signatures[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    const std::string pieces[] = {"a",
                                  "bc",
                                  "\r",
                                  "\n",
                                  "\r\n",
                                  std::string(1, '\0'),
                                  "\xE3\x81\x82",
                                  "\x82\xA0",
                                  "\x80",
                                  std::string(300, 'z'),
                                  std::string(600, 'y')};
    for (int round = 0; round < 24; ++round) {
        const int rows = round % 3 == 0 ? 64 : 8192;
        const int columns = round % 2 == 0 ? 512 : 7;
        EngineFixture f(columns, rows);
        std::string bytes = signatures[round % 4];
        const std::size_t size = round < 4 ? (std::size_t{3} << 20) + 1 : 20000;
        while (bytes.size() < size)
            bytes += pieces[random() % std::size(pieces)];
        const int kaimode = round % 4 == 3 ? 5 : round % 3;
        f.Load(0, bytes, kaimode);
        int count = 0;
        const literal::Grid expected = literal::LoadBytes(bytes, kaimode, rows, columns, count);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(f.engine.sides[0].lineCount, count);
        const auto* cells = reinterpret_cast<const char16_t*>(f.engine.grids.Bytes(kLoadedA));
        ASSERT_TRUE(std::equal(expected.cells.begin(), expected.cells.end(), cells));
    }
}

}  // namespace
}  // namespace kestrel
