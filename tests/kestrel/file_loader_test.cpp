#include "kestrel/engine/file_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/kestrel/engine_fixture.h"
#include "tests/kestrel/literal_engine.h"

namespace kestrel {
namespace {

using testing::EngineFixture;

// The rows of side A up to its line count, plus the last row when it is in use.
std::vector<std::u16string> Lines(const EngineFixture& f, int side = 0) {
    std::vector<std::u16string> lines;
    for (int r = 0; r < f.engine.sides[side].lineCount; ++r)
        lines.push_back(f.RowText(LoadedGrid(side), r));
    return lines;
}

using Rows = std::vector<std::u16string>;

TEST(FileLoader, EmptyFilesAndBareSignaturesLoadAsOneEmptyLine) {
    for (const std::string& bytes : {std::string(), std::string("\xFF\xFE"),
                                     std::string("\xFE\xFF"), std::string("\xEF\xBB\xBF")}) {
        EngineFixture f;
        ASSERT_EQ(f.Load(0, bytes), LoadOutcome::kLoaded);
        EXPECT_EQ(f.engine.sides[0].lineCount, 1);
        EXPECT_EQ(f.RowText(kLoadedA, 0), u"");
    }
}

TEST(FileLoader, SplitsByEachNewlineCode) {
    EngineFixture f;
    f.Load(0, "a\r\nb\r\n", 0);
    EXPECT_EQ(Lines(f), (Rows{u"a", u"b", u""}));
    f.Load(0, "a\r\nb\r\n", 1);
    EXPECT_EQ(Lines(f), (Rows{u"a\r", u"b\r", u""}));
    f.Load(0, "a\r\nb\r\n", 2);
    EXPECT_EQ(Lines(f), (Rows{u"a", u"\nb", u"\n"}));
    f.Load(0, "a\n\nb", 1);
    EXPECT_EQ(Lines(f), (Rows{u"a", u"", u"b"}));
    f.Load(0, "a\r\nb\n", 7);  // no unit ends a line under any other code
    EXPECT_EQ(Lines(f), (Rows{u"a\r\nb\n"}));
}

TEST(FileLoader, UnderCrLfLoneCrAndLfStayInTheLine) {
    EngineFixture f;
    f.Load(0, "\r\nx\ry\nz", 0);
    EXPECT_EQ(Lines(f), (Rows{u"", u"x\ry\nz"}));
}

TEST(FileLoader, LongLinesAreCutInto512UnitPieces) {
    EngineFixture f;
    f.Load(0, std::string(1000, 'q'));
    EXPECT_EQ(Lines(f), (Rows{std::u16string(512, u'q'), std::u16string(488, u'q')}));
    // A full piece ends the line even when the file ends right after it.
    f.Load(0, std::string(512, 'q'));
    EXPECT_EQ(Lines(f), (Rows{std::u16string(512, u'q'), u""}));
    // A CR LF split by the piece boundary is no line end: the LF starts the next line.
    f.Load(0, std::string(511, 'q') + "\r\nz", 0);
    EXPECT_EQ(Lines(f), (Rows{std::u16string(511, u'q') + u"\r", u"\nz"}));
}

TEST(FileLoader, RecognisesEachSignature) {
    EngineFixture f;
    f.Load(0, std::string("\xFE\xFF\x00\x41\x00\x0A", 6), 1);
    EXPECT_EQ(Lines(f), (Rows{u"A", u""}));
    EXPECT_EQ(f.engine.sides[0].encoding, Encoding::kUtf16Be);
    f.Load(0, std::string("\xFF\xFE\x42\x30\x0D\x00\x0A\x00\x43", 9), 0);  // odd last byte dropped
    EXPECT_EQ(Lines(f), (Rows{u"あ", u""}));
    EXPECT_EQ(f.engine.sides[0].encoding, Encoding::kUtf16Le);
    f.Load(0, "\xEF\xBB\xBF\xE6\xBC\xA2\xE5\xAD\x97\r\nx", 0);
    EXPECT_EQ(Lines(f), (Rows{u"漢字", u"x"}));
    EXPECT_EQ(f.engine.sides[0].encoding, Encoding::kUtf8);
}

TEST(FileLoader, UnmarkedFilesDecodeAsCodePage932) {
    EngineFixture f;
    f.Load(0, "\x8A\xBF\x8E\x9A\xB1\r\nplain", 0);  // 漢字 and a half-width ｱ
    EXPECT_EQ(Lines(f), (Rows{u"漢字ｱ", u"plain"}));
    EXPECT_EQ(f.engine.sides[0].encoding, Encoding::kAnsi);
    // UTF-8 without a signature is read as code page 932 too.
    f.Load(0, "\xE6\xBC\xA2", 0);
    EXPECT_NE(Lines(f)[0], u"漢");
}

TEST(FileLoader, InvalidUtf8BecomesReplacementCharacters) {
    EngineFixture f;
    f.Load(0,
           "\xEF\xBB\xBF"
           "a\xFF"
           "b\xE6\xBC",
           0);
    EXPECT_EQ(Lines(f), (Rows{u"a\uFFFDb\uFFFD"}));
}

TEST(FileLoader, ANulCutsTheLine) {
    EngineFixture f;
    f.Load(0, std::string("ab\0cd\r\nef", 9), 0);
    EXPECT_EQ(Lines(f), (Rows{u"ab", u"ef"}));
    f.Load(0,
           std::string("\xFF\xFE"
                       "a\0\0\0b\0\n\0c\0",
                       12),
           1);
    EXPECT_EQ(Lines(f), (Rows{u"a", u"c"}));
}

TEST(FileLoader, LinesBeyondTheLastRowReplaceIt) {
    EngineFixture f(512, 8192);
    std::string text;
    for (int i = 1; i <= 10000; ++i)
        text += "line" + std::to_string(i) + (i < 10000 ? "\r\n" : "");
    f.Load(0, text);
    EXPECT_EQ(f.engine.sides[0].lineCount, 8191);
    EXPECT_EQ(f.RowText(kLoadedA, 8190), u"line8191");
    EXPECT_EQ(f.RowText(kLoadedA, 8191), u"line10000");
    f.Load(0, text + "\r\n");
    EXPECT_EQ(f.RowText(kLoadedA, 8191), u"");
}

TEST(FileLoader, LinesAreCutToTheGridWidth) {
    EngineFixture f(100, 256);
    f.Load(0, std::string(150, 'w') + "\r\nnext");
    EXPECT_EQ(Lines(f), (Rows{std::u16string(100, u'w'), u"next"}));
}

TEST(FileLoader, MissingFilesAreReportedAndChangeNothing) {
    EngineFixture f;
    f.Load(0, "keep");
    f.engine.compareState = kDiffered;
    const std::u16string missing = ko::testing::PathText(f.dir.path() / "missing.txt");
    EXPECT_EQ(LoadSide(f.engine, 0, missing, 0, f.reporter, reinterpret_cast<void*>(7)),
              LoadOutcome::kOpenFailed);
    EXPECT_EQ(f.reporter.shown,
              (std::vector<ko::testing::ShownMessage>{
                  {reinterpret_cast<void*>(7), u"Can't open " + missing + u" file\r\nErrCode=2",
                   u"FileOpenError", ko::box::kIconWarning}}));
    EXPECT_EQ(Lines(f), (Rows{u"keep"}));
    EXPECT_EQ(f.engine.compareState, kDiffered);
}

TEST(FileLoader, AnEmptyPathAsksForAFileName) {
    EngineFixture f;
    EXPECT_EQ(LoadSide(f.engine, 1, u"", 0, f.reporter, nullptr), LoadOutcome::kNoPath);
    EXPECT_EQ(f.reporter.Texts(), (std::vector<std::u16string>{u"Please set the file name"}));
    EXPECT_EQ(f.reporter.shown[0].caption, u"Failure");
}

TEST(FileLoader, AFolderCannotBeLoaded) {
    EngineFixture f;
    EXPECT_EQ(LoadSide(f.engine, 0, ko::testing::PathText(f.dir.path()), 0, f.reporter, nullptr),
              LoadOutcome::kOpenFailed);
    EXPECT_EQ(f.reporter.shown.at(0).caption, u"FileOpenError");
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
