// Kestrel without its windows: the text grids the view reads, their colour runs and the view's
// geometry; the command line, the status bar's texts and the choice of a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/handed_paths.h"
#include "common/work_area.h"
#include "kestrel/app/command_line.h"
#include "kestrel/app/load_warning.h"
#include "kestrel/app/status_bar_texts.h"
#include "kestrel/engine/text_grids.h"
#include "kestrel/engine/view_geometry.h"
#include "tests/kestrel/scripted_file_dialog.h"
#include "tests/support/recording_reporter.h"

namespace kestrel::app {
namespace {

TEST(TextGrids, RowsReadAsColourRunsNumbersTakeTheirLastMarkAndReadsOutsideAreReported) {
    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    ASSERT_TRUE(grids.Allocate(8, 4, reporter, nullptr));
    grids.set_reporter(&reporter);
    auto row = [&](int side, int y, std::u16string_view text, std::u16string_view codes) {
        grids.StoreRow(WorkingGrid(side), y, text.data(), static_cast<int>(text.size()));
        grids.StoreRow(ColourGrid(side), y, codes.data(), static_cast<int>(codes.size()));
    };
    auto runs = [&](int side, int y) {
        std::string text;
        ForEachColourRun(grids, side, y, [&](const ColourRun& run) {
            text += std::to_string(run.column) + ':' + std::to_string(run.length) + ':' +
                    static_cast<char>(run.code) + ' ';
        });
        return text;
    };
    row(0, 1, u"abcdef", u"001112");
    row(1, 3, u"abcdefgh", u"11111111");
    EXPECT_EQ(runs(0, 1), "0:2:0 2:3:1 5:1:2 ");
    EXPECT_EQ(runs(1, 3), "0:8:1 ");  // a full row has no terminator: it ends at the grid's width
    EXPECT_EQ(runs(0, 0), "");
    row(1, 1, u"ab", u"222");
    int code = -5;
    EXPECT_EQ(grids.memcolorlen(0, kColourB, 1, &code), 2);  // a 0 character ends the run
    EXPECT_EQ(grids.memcolorlen(7, kColourA, 1, &code), 1);  // the last column
    EXPECT_EQ(code, 0);
    EXPECT_EQ(grids.memcolorlen(0, kWorkingB, 1, &code), 0);  // no codes: silently nothing
    // A line number takes the colour of its row's last mark that is not "0"; a foreign one
    // clears it.
    const struct {
        std::u16string_view text, codes;
        std::optional<std::uint32_t> highlight;
    } numbers[] = {{u"ab", u"10", kLightRed},     {u"  ", u"22", kLightGreen}, {u"abc", u"000", {}},
                   {u"abc", u"102", kLightGreen}, {u"abc", u"1x0", {}},        {u"", u"", {}}};
    for (const auto& n : numbers) {
        row(0, 2, n.text, n.codes);
        EXPECT_EQ(NumberHighlight(grids, 0, 2), n.highlight);
    }
    EXPECT_EQ((std::array{kWhite, kBlack, kLightRed, kLightGreen, kGrey}),
              (std::array<std::uint32_t, 5>{0xFFFFFF, 0, 0x6464FF, 0x80FF80, 0xC8C8C8}));  // BGR
    EXPECT_TRUE(reporter.shown.empty());

    EXPECT_EQ(grids.memwcslen(kLoadedA, 4) + grids.memwcslen(kLoadedA, -1), 0);
    const std::tuple<int, int, int> outside[] = {{8, 4, 0}, {0, 6, 0}, {0, -1, 0}, {0, 5, 4}};
    code = -5;
    for (const auto& [x, mode, y] : outside)
        EXPECT_EQ(grids.memcolorlen(x, mode, y, &code), 0);
    EXPECT_EQ(code, -5);
    EXPECT_EQ(reporter.Texts(),
              (std::vector<std::u16string>{
                  u"iy value is over iy=4:4", u"iy value is over iy=-1:4",
                  u"ix value is over ix=8:8", u"mode value is over mode=6:0-5",
                  u"mode value is over mode=-1:0-5", u"iy value is over iy=4:4"}));
}

TEST(GridShape, AbsurdDimensionsAreRaisedOrRefusedLikeAFailedAllocation) {
    GridShape shape;
    ASSERT_TRUE(GridShapeFor(0, -5, shape));
    EXPECT_EQ(std::make_pair(shape.columns, shape.rows), std::make_pair(1, 1));
    EXPECT_FALSE(GridShapeFor(1 << 20, 1 << 20, shape));  // 2 TiB per grid
    EXPECT_FALSE(GridShapeFor(2147483647LL, 2147483647LL, shape));
    EXPECT_TRUE(GridShapeFor(1024, 65536, shape));

    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    EXPECT_FALSE(grids.Allocate(70000, 70000, reporter, nullptr) || grids.allocated());
    EXPECT_EQ(reporter.Texts(),
              std::vector<std::u16string>{
                  u"Failed to allocate the specified number of bytes from the heap."});
}

TEST(ViewGeometry, RowsFollowTheClientAreaAndAPitchOfZeroOrLessCountsAsOne) {
    const struct {
        int width, height, pitch, half, visible, numbered;
    } cases[] = {
        {1264, 940, 14, 632, 62, 63},    {1263, 940, 18, 631, 49, 49}, {800, 600, 0, 400, 296, 552},
        {1000, 608, 14, 500, 40, 40},    {1000, 607, 14, 500, 39, 39},  // exact, one short
        {800, 600, -100, 400, 296, 552}, {10, 5, 14, 5, 0, 0},          // never negative
    };
    for (const auto& c : cases) {
        const ViewGeometry g = MakeViewGeometry(c.width, c.height, c.pitch);
        EXPECT_EQ(std::tuple(g.half, g.visibleRows, g.scrollStep, NumberedRows(c.height, c.pitch)),
                  std::tuple(c.half, c.visible, c.visible / 2, c.numbered))
            << c.pitch;
    }
    // The top row stays within 0 and rows - visible rows, at 0 when fewer rows than fit.
    EXPECT_EQ((std::vector{ClampTopRow(-31, 8192, 62), ClampTopRow(31, 8192, 62),
                           ClampTopRow(8200, 8192, 62), ClampTopRow(5, 20, 62)}),
              (std::vector{0, 31, 8130, 0}));
    const PixelRect none = PaneOf(MakeViewGeometry(10, 5, 14), 1);
    EXPECT_EQ(
        std::vector({none.width, none.height, BackBufferWidth(-5, 512), BackBufferWidth(7, -1)}),
        (std::vector{0, 0, 512, 7}));
    EXPECT_EQ(BackBufferWidth(48, 100000000), 2147483647);  // never wraps

    // A mouse's notch is a step; a touchpad's small distances add up to one (a turn starts anew).
    WheelSteps wheel;
    std::vector<int> steps;
    for (const int distance :
         {120, -120, -1200, 240, 0, -30, -50, -40, -119, -1, 60, 120, 60, 50, -20, 119, 1, 121})
        steps.push_back(wheel.Take(distance));
    EXPECT_EQ(steps, (std::vector{-1, 1, 1, -1, 0, 0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, -1, -1}));
}

TEST(ViewGeometry, PanesNumberCellsAndUncoveredAreasTileTheViewWithoutOverlap) {
    const ViewGeometry g = MakeViewGeometry(1000, 700, 14);
    // Every pixel from y = 22 down is covered exactly once, except the three rules.
    const int pitch = 14, numbered = NumberedRows(g.height, pitch);
    std::vector<PixelRect> rects = {PaneOf(g, 0), PaneOf(g, 1)};
    for (int i = 0; i < 2 * numbered; ++i)
        rects.push_back(NumberCellOf(g, i % 2, i / 2, pitch));
    for (const PixelRect& r : UncoveredAreas(g, numbered, pitch))
        rects.push_back(r);
    std::vector<int> cover(static_cast<std::size_t>(g.width) * g.height, 0);
    for (const PixelRect& r : rects)
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                ++cover[static_cast<std::size_t>(y) * g.width + x];
    for (int y = kControlsHeight; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const bool rule = y >= 30 && (x == 45 || x == 500 || x == 545);
            ASSERT_EQ(cover[static_cast<std::size_t>(y) * g.width + x], rule ? 0 : 1)
                << "x=" << x << " y=" << y;
        }
}

// Kestrel's rectangle on a 1280 x 1024 screen (30 pixels less high) fitted into the work area a
// taskbar leaves at each edge; Osprey's (48 less) fits above a bottom one, moves below a top one.
TEST(WorkArea, AWindowIsMovedAndShrunkOnlyAsFarAsTheTaskbarDemands) {
    using Rect = ko::ScreenRect;
    const Rect kestrel{0, 0, 1280, 994}, osprey{0, 0, 1280, 976};
    const Rect cases[][2] = {// clang-format off
        {{0, 0, 1280, 1024}, kestrel}, {{0, 0, 1280, 976}, {0, 0, 1280, 976}},
        {{0, 40, 1280, 1024}, {0, 40, 1280, 1024}}, {{48, 0, 1280, 1024}, {48, 0, 1280, 994}},
        {{0, 0, 1232, 1024}, {0, 0, 1232, 994}}};  // clang-format on
    for (const auto& [work, fitted] : cases)
        EXPECT_TRUE(ko::FitIntoWorkArea(kestrel, work) == fitted) << work.left << " " << work.top;
    EXPECT_TRUE(ko::FitIntoWorkArea(osprey, cases[1][0]) == osprey &&
                ko::FitIntoWorkArea(osprey, cases[2][0]) == (Rect{0, 40, 1280, 1016}));
}

TEST(CommandLine,
     TokensOrElseBarePathsNameThePathsUpToTheNextBlankOrInQuotesAndAreHandedToTheirSides) {
    const std::u16string long_path(400, u'p');  // kept whole: cut, it would name another file
    const struct {
        std::u16string line, a, b;
        bool refused = false;
    } cases[] = {
        {u" /A:C:\\a\\x.cpp /B:D:\\b\\x.cpp", u"C:\\a\\x.cpp", u"D:\\b\\x.cpp"},
        {u" /a:x.txt", u"", u""},          // tokens are case-sensitive
        {u"word/A:x.txt", u"x.txt", u""},  // but count inside words
        {u"/A:x.txt/B:y.txt", u"x.txt/B:y.txt", u""},
        {u"/A:C:\\My\"Files x.txt", u"C:\\My\"Files", u""},  // a quote inside stays
        {u"/A:\"C:\\My Files\\a.txt\" /B:\"D:\\b c\\x.txt\"", u"C:\\My Files\\a.txt",
         u"D:\\b c\\x.txt"},
        {u"/A:\"\" /B:y.txt", u"", u"y.txt"},
        {u" /A:\"D:\\プロジェクト\\Order System\\main.cpp\" /B:y",
         u"D:\\プロジェクト\\Order System\\main.cpp", u"y"},
        {u"/A:\"" + long_path + u" /B:q", long_path + u" /B:q", u""},  // no closing quote
        {u"/A:a\tb /B:c", u"a\tb", u"c"},
        {u"x /A:", u"", u""},
        {u"/A: /B:y", u"", u"y"},
        {u"/A:long_first_name.txt /A:b.txt", u"b.txt", u""},  // the later wins, no leftovers
        {u"/A:" + long_path + u" /B:y.txt", long_path, u"y.txt"},
        // Without a token the paths come bare, as Explorer passes them; a token anywhere keeps
        // the token rules, and more than two bare paths are refused.
        {u"\"C:\\比較 前\\a.txt\"  b.txt", u"C:\\比較 前\\a.txt", u"b.txt"},
        {u" \"D:\\left\\\"", u"D:\\left\\", u""},
        {u"\"\" b.txt \"\"", u"b.txt", u""},  // empty quotes name nothing
        {u"a.txt " + long_path + u" c", u"", u"", true},
        {u"a.txt /B:b.txt c.txt", u"", u"b.txt"},
    };
    for (const auto& c : cases) {
        CommandLinePaths paths;
        ParseCommandLine(c.line, paths);
        EXPECT_EQ(std::u16string(paths.a), c.a) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(std::u16string(paths.b), c.b) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(paths.refused, c.refused);
    }
    // Handed paths: one goes to the side it was dropped on, two to A and B; anything else is
    // refused whole.
    const std::u16string p259(259, u'p');
    const std::tuple<std::vector<ko::HandedPath>, bool, int, std::optional<ko::SidePaths>>
        handed[] = {// clang-format off
        {{{u"a"}}, false, 1, ko::SidePaths{u"", u"a"}}, {{{p259}}, false, 0, ko::SidePaths{p259, u""}},
        {{{u"d", true}, {u"e", true}}, true, 1, ko::SidePaths{u"d", u"e"}}, {{}, false, 0, {}},
        {{{u"a"}, {u"b"}, {u"c"}}, false, 0, {}}, {{{u"a"}}, false, 2, {}}, {{{u"a"}}, false, -1, {}},
        {{{u"a"}, {u"d", true}}, false, 0, {}}, {{{u"a"}}, true, 0, {}}, {{{u""}}, false, 0, {}},
        {{{p259 + u"p"}}, false, 0, {}}};
    // clang-format on
    for (const auto& [paths, folders, side, placed] : handed)
        EXPECT_EQ(ko::PlaceHandedPaths(paths, folders, side), placed);
}

TEST(StatusTexts, FieldsShowTheStateTheDimensionsAndTheTopRowEvenAtTheExtremesAndLoadNotesTheSide) {
    const std::u16string fields[] = {u"照合不一致",        u"MemorySize_W=512",
                                     u"MemorySize_H=8192", u"表示フォントの高さ=12",
                                     u"行数=7/8192",       u"スクロール数=31"};
    for (int field = 0; field < kStatusFieldCount; ++field)
        EXPECT_EQ(StatusFieldText(field, {2, 512, 8192, 12, 7, 31}), fields[field]);
    const int low = std::numeric_limits<int>::min();  // still fits the field's buffer
    EXPECT_EQ(StatusFieldText(4, {0, 0, low, 0, low}), u"行数=-2147483648/-2147483648");
    std::u16string states;  // and the bar's colour (0x00BBGGRR) for each state and for others
    for (const int state : {0, 1, 2, 3, -1})
        states += StatusFieldText(kStateField, {state}) +
                  ko::Format(u"%d ", {static_cast<int>(StatusBarColour(state))});
    EXPECT_EQ(states, u"照合前16777215 照合一致65280 照合不一致255 不明13158600 不明13158600 ");
    EXPECT_EQ(StatusFieldText(kStatusFieldCount, {}), u"");
    EXPECT_EQ(std::vector(std::begin(kStatusFieldEdges), std::end(kStatusFieldEdges)),
              (std::vector{70, 200, 330, 470, 590, 730}));

    // The note after a load with bytes that read as no character names the side and the lines.
    ko::testing::RecordingReporter reporter;
    const auto owner = reinterpret_cast<ko::OwnerWindow>(0x1234);
    for (const long long lines : {0, 3})
        for (const int side : {0, 1})
            WarnIfUndecodable({.undecodable = lines}, side, u"b.txt", reporter, owner);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_TRUE(reporter.shown[0].text.starts_with(u"ファイルＡ（b.txt）の 3 行に"));
    EXPECT_TRUE(reporter.shown[1].text.starts_with(u"ファイルＢ（b.txt）の 3 行に"));
    EXPECT_TRUE(reporter.shown[1].owner == owner &&
                reporter.shown[1].style == (ko::box::kOk | ko::box::kIconWarning));
}

void SetText(char16_t* field, std::size_t units, std::u16string_view text) {
    std::fill_n(field, units, u'\0');
    std::copy(text.begin(), text.end(), field);
}

// A list of file types as the dialog takes it: pairs of 0-terminated texts, a final 0 unit, the
// rest 0.
std::u16string FilterOf(std::initializer_list<std::u16string> parts) {
    std::u16string list;
    for (const std::u16string& part : parts)
        list += part + u'\0';
    list.resize(kFilterUnits, u'\0');
    return list;
}

TEST(FileSelection, OpensInTheSidesFolderWithTheGroupsTypesThatFitAndRemembersTheFolderChosen) {
    ko::Settings settings;
    testing::ScriptedFileDialog dialog;
    ko::testing::RecordingReporter reporter;
    const auto owner = reinterpret_cast<ko::OwnerWindow>(0x1234);
    SetText(settings.fileA_folder_select, ko::kPathUnits, u"C:\\work\\");
    SetText(settings.fileB_folder_select, ko::kPathUnits, u"D:\\b");  // no backslash yet
    // Selects for `side` with the dialog confirming `answer`, or cancelling when it is empty.
    auto Select = [&](int side, std::u16string answer = u"") {
        dialog.Choose(answer);
        dialog.confirm = !answer.empty();
        return SelectFile(owner, side, settings, dialog, reporter);
    };
    auto Asked = [&] { return std::u16string(dialog.asked.file); };
    auto Filter = [&] { return std::u16string(dialog.asked.filter, kFilterUnits); };
    auto Remembered = [&](int side) {
        return std::u16string(side == 0 ? settings.fileA_folder_select
                                        : settings.fileB_folder_select);
    };

    EXPECT_EQ(Select(0, u"C:\\src\\x.cpp"), u"C:\\src\\x.cpp");
    EXPECT_EQ(Asked(), u"C:\\work\\*.cpp");
    EXPECT_EQ(Filter(), FilterOf({u"cppFile(*.cpp)", u"*.cpp", u"hFile(*.h)", u"*.h",
                                  u"rcFile(*.rc)", u"*.rc"}));
    EXPECT_EQ(std::u16string(dialog.asked.title), u"ファイルＡの選択");
    EXPECT_TRUE(dialog.asked.owner == owner && dialog.asked.flags == 0x00080200u);
    EXPECT_EQ(Remembered(0), u"C:\\src\\");

    EXPECT_EQ(Select(1, u"C:\\x.txt"), u"C:\\x.txt");
    EXPECT_EQ(Asked(), u"D:\\b\\*.cpp");
    EXPECT_EQ(std::u16string(dialog.asked.title), u"ファイルＢの選択");
    EXPECT_EQ(Remembered(1), u"C:\\");   // a root: one backslash
    EXPECT_EQ(Select(0), std::nullopt);  // cancelled: nothing changes
    EXPECT_EQ(Remembered(0), u"C:\\src\\");

    // Several files: the answer is the folder, then each name, each ending with a 0 unit.
    dialog.Choose(std::u16string(u"C:\\s\0a.cpp\0b.cpp\0", 17));
    dialog.offset = 5;
    EXPECT_EQ(SelectFile(owner, 0, settings, dialog, reporter), u"C:\\s");
    EXPECT_EQ(Remembered(0), u"C:\\s\\");

    // A folder of 260 units with its backslash does not fit, nor one of 259 without; one of 259
    // with it does.
    const std::u16string too_long = u"C:\\" + std::u16string(256, u'd') + u"\\";
    EXPECT_EQ(Select(0, too_long + u"x.txt"), std::nullopt);
    dialog.Choose(too_long.substr(0, 259) + std::u16string(u"\0x\0", 3));
    dialog.offset = 260;
    EXPECT_EQ(SelectFile(owner, 0, settings, dialog, reporter), std::nullopt);
    EXPECT_EQ(Remembered(0), u"C:\\s\\");
    const std::u16string fits = too_long.substr(0, 258) + u"\\";
    EXPECT_EQ(Select(0, fits + u"x.txt"), fits + u"x.txt");
    EXPECT_EQ(Remembered(0), fits);
    // A dropped file counts as chosen, when it names a folder and fits the dialog's buffer.
    for (const std::u16string& dropped :
         {u"E:\\" + std::u16string(776, u'x'), u"F:\\" + std::u16string(777, u'x'),
          std::u16string(u"G.txt")})
        RememberFolderOf(dropped, 0, settings);
    EXPECT_EQ(Remembered(0), u"E:\\");
    EXPECT_EQ(SelectFile(owner, 2, settings, dialog, reporter), std::nullopt);
    EXPECT_EQ(reporter.Texts(), std::vector<std::u16string>{u"Wrong mode selection"});

    settings.failExt_no = 50;  // no row carries it: no types, no pattern
    Select(1);
    EXPECT_EQ(Asked(), u"C:\\");  // side B's folder by now
    EXPECT_EQ(Filter(), FilterOf({}));

    // Group 0 on rows 0-3 and 9. Entries of 60 units: four and the final 0 take 241 units. A
    // fifth of 60 would overflow the 260 units; one of 19 fills them exactly.
    const std::u16string d(29, u'd'), p(29, u'p');
    for (int row = 0; row < ko::kExtensionGroupRows; ++row) {
        settings.groups[row].groupNo = row < 4 || row == 9 ? 0 : 1;
        SetText(settings.groups[row].displayText, 32, row < 4 ? d : u"dddddddddd");
        SetText(settings.groups[row].searchPattern, 32, row < 4 ? p : u"ppppppp");
    }
    settings.failExt_no = 0;
    Select(1);
    EXPECT_EQ(Asked(), u"C:\\" + p);
    EXPECT_EQ(Filter(), FilterOf({d, p, d, p, d, p, d, p, u"dddddddddd", u"ppppppp"}));
    SetText(settings.groups[9].displayText, 32, u"ddddddddddd");  // one unit more
    Select(0);
    EXPECT_EQ(Filter(), FilterOf({d, p, d, p, d, p, d, p}));
}

}  // namespace
}  // namespace kestrel::app
