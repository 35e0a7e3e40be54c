// Kestrel's shell without its windows: the command line, the status bar's texts and the
// choice of a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "kestrel/app/command_line.h"
#include "kestrel/app/status_bar_texts.h"
#include "tests/kestrel/scripted_file_dialog.h"
#include "tests/support/recording_reporter.h"

namespace kestrel::app {
namespace {

TEST(CommandLine, TokensNameThePathsUpToTheNextBlankOrInQuotesUpToTheNextQuote) {
    const std::u16string long_path(400, u'p'), cut(259, u'p');
    // Units 259 and 260 form one character.
    const std::u16string surrogate_at_cut = std::u16string(258, u'p') + u"\U0001F600rest";
    const struct {
        std::u16string line, a, b;
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
        {u"/A:\"" + long_path + u" /B:q", cut, u""},  // no closing quote: to the end, cut
        {u"/A:a\tb /B:c", u"a\tb", u"c"},
        {u"x /A:", u"", u""},
        {u"/A: /B:y", u"", u"y"},
        {u"/A:long_first_name.txt /A:b.txt", u"b.txt", u""},  // the later wins, no leftovers
        {u"/A:" + long_path + u" /B:y.txt", cut, u"y.txt"},
        {u"/A:" + surrogate_at_cut, std::u16string(258, u'p'), u""},
    };
    for (const auto& c : cases) {
        CommandLinePaths paths;
        ParseCommandLine(c.line, paths);
        EXPECT_EQ(std::u16string(paths.a), c.a) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(std::u16string(paths.b), c.b) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(StatusBarTexts, FieldsShowTheStateTheDimensionsAndTheTopRowEvenAtTheExtremes) {
    const std::u16string fields[] = {u"照合不一致",        u"MemorySize_W=512",
                                     u"MemorySize_H=8192", u"表示フォントの高さ=12",
                                     u"行数=7/8192",       u"スクロール数=31"};
    for (int field = 0; field < kStatusFieldCount; ++field)
        EXPECT_EQ(StatusFieldText(field, {2, 512, 8192, 12, 7, 31}), fields[field]);
    const int low = std::numeric_limits<int>::min();  // still fits the field's buffer
    EXPECT_EQ(StatusFieldText(4, {0, 0, low, 0, low}), u"行数=-2147483648/-2147483648");
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

    // A folder of 260 units with its backslash does not fit; one of 259 does.
    const std::u16string too_long = u"C:\\" + std::u16string(256, u'd') + u"\\";
    EXPECT_EQ(Select(0, too_long + u"x.txt"), std::nullopt);
    EXPECT_EQ(Remembered(0), u"C:\\s\\");
    const std::u16string fits = too_long.substr(0, 258) + u"\\";
    EXPECT_EQ(Select(0, fits + u"x.txt"), fits + u"x.txt");
    EXPECT_EQ(Remembered(0), fits);

    EXPECT_EQ(SelectFile(owner, 2, settings, dialog, reporter), std::nullopt);  // no such side
    EXPECT_EQ(dialog.shown, 6);
    EXPECT_EQ(reporter.shown,
              (std::vector<ko::testing::ShownMessage>{
                  {owner, u"Wrong mode selection", u"Failure", ko::box::kIconError}}));

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
