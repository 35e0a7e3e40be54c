// Matching names the way the system does, scanning two folders into file lists, pairing them
// into rows, comparing each row's files byte for byte (on Windows also under the real sharing
// rules), restoring the rows, and starting the file comparer for a row.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <tuple>

#include "common/extension_groups.h"
#include "common/paths.h"
#include "osprey/app/launch_command.h"
#include "osprey/folder_comparison.h"
#include "osprey/folder_scan.h"
#include "osprey/launch.h"
#include "osprey/name_matching.h"
#include "osprey/pair_comparison.h"
#include "osprey/pairing.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace osprey {
namespace {

using ::testing::ElementsAre;

constexpr int kEverythingGroup = 104;  // "*.*" among the default extension groups

// Two real folders, side A and side B, and the comparison state that lists and pairs them.
struct TwoFolders {
    ko::testing::TempDir folder[2];
    ko::ExtensionGroupTable groups = ko::DefaultExtensionGroups();
    FolderComparison comparison;

    std::u16string PathOf(int side) const { return ko::testing::PathText(folder[side].path()); }
    void Scan(int side, int group, bool details = true) {
        ScanFolder(comparison, side, PathOf(kSideA), PathOf(kSideB), groups, group, details);
    }
    void ScanBothAndPair(int group, bool details = true) {
        Scan(kSideA, group, details);
        Scan(kSideB, group, details);
        PairFiles(comparison);
    }
    // The first row whose side-A half is named `nameA`, or the row count; and its status.
    std::size_t RowOf(std::u16string_view nameA) const {
        const std::vector<FileEntry>& pairs = comparison.pairs[kSideA];
        return std::find_if(pairs.begin(), pairs.end(), [&](auto& e) { return e.name == nameA; }) -
               pairs.begin();
    }
    int StatusOf(std::u16string_view nameA) const {
        return comparison.pairs[kSideA].at(RowOf(nameA)).status;
    }
};

FileEntry Entry(std::u16string name, std::u16string pattern = u"*.txt") {
    return {kOneSided, std::move(name), std::move(pattern), u"1", u"2023/11/07 09:52"};
}

// Each entry of a file list as "status name", or each row of the pair lists as
// "status nameA|status nameB".
std::vector<std::string> Marks(const std::vector<FileEntry>& a,
                               const std::vector<FileEntry>& b = {}) {
    auto mark = [](const FileEntry& e) {
        return std::to_string(e.status) + " " + ko::Utf16ToUtf8(e.name);
    };
    std::vector<std::string> marks;
    for (std::size_t i = 0; i < a.size(); ++i)
        marks.push_back(b.empty() ? mark(a[i]) : mark(a[i]) + '|' + mark(b[i]));
    return marks;
}

// The rules taken literally, with an upper-casing of their own for the letters the random
// patterns use: try every way the wildcards can split the name.
char16_t Upper(char16_t c) {
    const std::u16string_view lower = u"abcäσς÷", upper = u"ABCÄΣΣ÷";
    const std::size_t at = lower.find(c);
    return at == std::u16string_view::npos ? c : upper[at];
}
bool LiteralMatch(std::u16string_view p, std::u16string_view n, std::size_t pi, std::size_t ni) {
    if (pi == p.size()) return ni == n.size();
    const char16_t c = p[pi];
    const char16_t next = pi + 1 < p.size() ? p[pi + 1] : u'\0';
    const bool end = ni == n.size();
    if (c == u'*') {
        for (std::size_t k = ni;; ++k) {
            if (LiteralMatch(p, n, pi + 1, k)) return true;
            if (k == n.size() || (next == u'.' && k == n.rfind(u'.'))) return false;
        }
    }
    if (c == u'?')
        return (!end && n[ni] != u'.' && LiteralMatch(p, n, pi + 1, ni + 1)) ||
               ((end || n[ni] == u'.') && LiteralMatch(p, n, pi + 1, ni));
    if (c == u'.' && (next == u'?' || next == u'*' || next == u'\0'))
        return (!end && n[ni] == u'.' && LiteralMatch(p, n, pi + 1, ni + 1)) ||
               (end && LiteralMatch(p, n, pi + 1, ni));
    return !end && Upper(n[ni]) == Upper(c) && LiteralMatch(p, n, pi + 1, ni + 1);
}

TEST(SearchPattern, FollowsTheWindowsRulesForWildcardsDotsAndCaseAsTheyReadLiterally) {
    const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
        // clang-format off
        {u"*.*", u"Makefile", true},      {u"*.*", u"..", true},            {u"*.cpp", u"a.b.cpp", true},
        {u"*.cpp", u"a.cpp.bak", false},  {u"???.txt", u"a.txt", true},     {u"a?c", u"a.c", false},
        {u"readme.*", u"readme", true},   {u"*.", u"a.txt", false},         {u"ΣΟΦΙΑ.*", u"σοφια.txt", true},
        {u"ЖУК.txt", u"жук.TXT", true},   {u"ＡＢ.txt", u"ａｂ.txt", true}, {u"Ŀ*", u"ŀx", true},
        {u"ÿ*", u"Ÿ", true},              {u"あ.txt", u"ア.txt", false},    {u"*.÷", u"x.×", false},
        // clang-format on
    };
    for (const auto& [pattern, name, matches] : cases)
        EXPECT_EQ(SearchPattern(pattern).Matches(name), matches)
            << ko::Utf16ToUtf8(pattern) << " / " << ko::Utf16ToUtf8(name);

    // Case folds the letters of each range from its first to its last, and nothing beside them.
    const std::u16string lower =
        u"`az{ßàö÷þÿ\u0100\u0101\u012F\u0130\u0131\u0137\u0138\u013A\u0148\u0149\u014A\u014B"
        u"\u0177\u0178\u017A\u017E\u017F\u0180\u03B0\u03B1\u03C2\u03CB\u03CC\u042F\u0430\u044F"
        u"\u0450\u045F\u0460\uFF40\uFF41\uFF5A\uFF5B";
    const std::u16string upper =
        u"`AZ{ßÀÖ÷ÞŸ\u0100\u0100\u012E\u0130\u0131\u0136\u0138\u0139\u0147\u0149\u014A\u014A"
        u"\u0176\u0178\u0179\u017D\u017F\u0180\u03B0\u0391\u03A3\u03AB\u03CC\u042F\u0410\u042F"
        u"\u0400\u040F\u0460\uFF40\uFF21\uFF3A\uFF5B";
    std::u16string upcased;
    for (const char16_t c : lower)
        upcased += UpcaseUnit(c);
    EXPECT_EQ(upcased, upper);

    // And agrees with the rules taken literally on many small patterns.
    std::mt19937 random(12345);
    auto text = [&](std::u16string_view alphabet, int most) {
        std::u16string s(random() % (most + 1), u' ');
        std::generate(s.begin(), s.end(), [&] { return alphabet[random() % alphabet.size()]; });
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::u16string pattern = text(u"aBÄσ÷.*?", 6);
        const std::u16string name = text(u"abAäΣς×.", 7);
        ASSERT_EQ(SearchPattern(pattern).Matches(name), LiteralMatch(pattern, name, 0, 0))
            << ko::Utf16ToUtf8(pattern) << " / " << ko::Utf16ToUtf8(name);
    }
}

TEST(ListingKey, DotEntriesComeFirstThenNamesByTheirUpcasedUnits) {
    std::vector<std::u16string> names = {u"_x", u"b", u"..", u"a", u"A", u".", u"B2", u"!"};
    std::sort(names.begin(), names.end(), [](const auto& left, const auto& right) {
        std::string keys[2];
        AppendListingKey(left, keys[0]);
        AppendListingKey(right, keys[1]);
        return keys[0] < keys[1];
    });
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u".", u"..", u"!", u"A", u"a", u"b", u"B2", u"_x"}));
}

TEST(ScanFolder, ListsEachPatternsEntriesInRowOrderWithTheirSizesAndLocalWriteTimes) {
    EXPECT_EQ(DateText({2023, 11, 7, 9, 52}) + DateText({-5, 1, 2, 3, 4}),
              u"2023/11/07 09:52-05/01/02 03:04");
    TwoFolders folders;
    folders.groups[4].groupNo = 0;                      // group 0: *.cpp, *.h, *.rc and now *.*
    const std::time_t before = std::time(nullptr) - 1;  // file times may lag the clock
    for (const char* name : {"x.h", "main.cpp", ".hidden", "b.rc"})
        folders.folder[kSideA].Write(name, name);
    std::filesystem::create_directory(folders.folder[kSideA].path() / "sub");
    const std::filesystem::path big = folders.folder[kSideA].Write("big.txt", "");
    std::filesystem::resize_file(big, (std::uintmax_t{5} << 30) + 7);  // sparse, over 4 GiB
    // A folder path ending with a separator finds the same.
    ScanFolder(folders.comparison, kSideA, ko::JoinPath(folders.PathOf(kSideA), u""), u"",
               folders.groups, 0);
    const std::time_t after = std::time(nullptr);
    std::vector<std::string> listed;  // the entries of "*.*" sorted, as the search order varies
    for (const FileEntry& e : folders.comparison.files[kSideA])
        listed.push_back(ko::Utf16ToUtf8(e.pattern + u" " + e.name + u" " + e.sizeText));
    std::sort(listed.begin() + 3, listed.end());
    EXPECT_THAT(listed,
                ElementsAre("*.cpp main.cpp 8", "*.h x.h 3", "*.rc b.rc 4", "*.* . 0", "*.* .. 0",
                            "*.* .hidden 7", "*.* b.rc 4", "*.* big.txt 5368709127",
                            "*.* main.cpp 8", "*.* sub 0", "*.* x.h 3"));
    auto text_at = [](std::time_t when) {
        const std::tm t = *std::localtime(&when);
        return DateText({t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min});
    };
    const std::u16string& date = folders.comparison.files[kSideA][0].dateText;
    EXPECT_TRUE(date == text_at(before) || date == text_at(after)) << ko::Utf16ToUtf8(date);

    // Every one of many files; the path boxes are taken, the other side's list stays.
    for (int i = 0; i < 300; ++i)
        folders.folder[kSideB].Write(std::to_string(i) + ".txt", "x");
    folders.Scan(kSideB, 1);  // *.txt
    EXPECT_EQ(folders.comparison.files[kSideB].size(), 300u);
    EXPECT_EQ(folders.comparison.folderPath[kSideA], folders.PathOf(kSideA));
    EXPECT_EQ(folders.comparison.files[kSideA].size(), listed.size());
    // A group without rows or a missing folder lists nothing; the path boxes are taken whole,
    // a folder past 259 units never as the folder its first 259 units name.
    ScanFolder(folders.comparison, kSideA, folders.PathOf(kSideA), u"typed", folders.groups, 77);
    EXPECT_TRUE(folders.comparison.files[kSideA].empty());
    EXPECT_EQ(folders.comparison.folderPath[kSideB], u"typed");
    const std::string cut(258 - folders.PathOf(kSideB).size(), 'c');
    std::filesystem::create_directories(folders.folder[kSideB].path() / cut / "deep");
    folders.folder[kSideB].Write(cut + "/cut.txt", "");
    const std::u16string deep = ko::testing::PathText(
        folders.folder[kSideB].Write(cut + "/deep/deep.txt", "").parent_path());
    ScanFolder(folders.comparison, kSideB, u"", deep, folders.groups, 1);
    EXPECT_THAT(Marks(folders.comparison.files[kSideB]), ElementsAre("0 deep.txt"));
    EXPECT_EQ(folders.comparison.folderPath[kSideB], deep);
}

TEST(PairFiles, RowsArePairsThenSideAOnlyThenSideBOnlyWithMarksOnTheFileListsInListOrder) {
    FolderComparison c;
    c.files[kSideA] = {Entry(u"only-a1"), Entry(u"same"), Entry(u"Readme.txt"), Entry(u"only-a2"),
                       Entry(u"")};
    c.files[kSideB] = {Entry(u"README.TXT"), Entry(u"only-b"), Entry(u"same")};
    c.compareFlag = 1;
    PairFiles(c);
    EXPECT_THAT(Marks(c.pairs[kSideA], c.pairs[kSideB]),
                ElementsAre("1 same|1 same", "13 only-a1|13 ", "13 Readme.txt|13 ",
                            "13 only-a2|13 ", "13 |13 README.TXT", "13 |13 only-b"));
    EXPECT_THAT(Marks(c.files[kSideA]),
                ElementsAre("13 only-a1", "1 same", "13 Readme.txt", "13 only-a2", "0 "));
    EXPECT_THAT(Marks(c.files[kSideB]), ElementsAre("13 README.TXT", "13 only-b", "1 same"));
    EXPECT_EQ(c.pairs[kSideB][1].sizeText, u"");  // the empty half of a one-sided row
    EXPECT_EQ(c.compareFlag, 1);                  // a new pairing keeps the compare flag
    c.pairs[kSideA][0].status = c.pairs[kSideB][0].status = kPairedEqual;
    PairFiles(c);  // and forgets what was compared
    EXPECT_EQ(c.pairs[kSideA][0].status, kPairedNotCompared);

    // Names listed twice on both sides pair every way, in list order, beyond 512 rows.
    c = FolderComparison{};
    for (int i = 0; i < 200; ++i)
        for (const char16_t* pattern : {u"*.txt", u"*.*"})
            for (auto& files : c.files)
                files.push_back(Entry(ko::Format(u"f%d.txt", {i}), pattern));
    c.files[kSideB].push_back(Entry(u"extra.txt"));
    PairFiles(c);
    ASSERT_EQ(c.pairs[kSideA].size(), 801u);
    std::u16string patterns;  // of the first four rows, A's beside B's
    for (int row = 0; row < 4; ++row)
        patterns += c.pairs[kSideA][row].pattern + c.pairs[kSideB][row].pattern + u" ";
    EXPECT_EQ(patterns, u"*.txt*.txt *.txt*.* *.**.txt *.**.* ");
    EXPECT_EQ(c.pairs[kSideA][799].name, u"f199.txt");
    EXPECT_EQ(c.pairs[kSideB][800].name, u"extra.txt");
    EXPECT_EQ(CountRows(c.pairs[kSideA]).target, 800);
}

// From the last row up, a row's files are equal exactly when their lengths and all their bytes
// agree; a row whose files cannot be opened (folders among them) stays before comparison and is
// reported. A second run opens only rows still before comparison, and after a restore every
// paired row again.
TEST(CompareAllPairs, ComparesEachRowOnceByItsBytesAndReportsWhatCannotBeOpened) {
    TwoFolders folders;
    const std::string block(256 * 1024, 'x');
    // Many blocks of reading, with a difference deep inside or at the very end.
    const std::string big(5 << 20, 'm');
    std::string late = big;
    late[(3 << 20) + 5] = 'n';
    // clang-format off
    const std::tuple<const char*, std::string, std::string, int> cases[] = {
        {"empty.txt", "", "", kPairedEqual},              {"same.txt", "same", "same", kPairedEqual},
        {"oneblock.txt", block, block, kPairedEqual},     {"prefix.txt", "abc", "abcd", kPairedDiffer},
        {"longer.txt", block + "y", block, kPairedDiffer}, {"lastbyte.txt", "abcd", "abce", kPairedDiffer},
        {"late.txt", block + block + "tail", block + block + "tall", kPairedDiffer},
        {"zero.txt", "", std::string(1, '\0'), kPairedDiffer},
        {"big.txt", big, big, kPairedEqual}, {"big-late.txt", big, late, kPairedDiffer},
        {"big-longer.txt", big + "z", big, kPairedDiffer},
        {"gone.txt", "1", "1", kPairedNotCompared}};  // removed from side B after the scan
    // clang-format on
    for (const auto& [name, a, b, status] : cases) {
        folders.folder[kSideA].Write(name, a);
        folders.folder[kSideB].Write(name, b);
    }
    for (int side : {kSideA, kSideB})
        std::filesystem::create_directory(folders.folder[side].path() / "sub");
    folders.folder[kSideA].Write("only-a.txt", "");
    folders.ScanBothAndPair(kEverythingGroup);
    std::filesystem::remove(folders.folder[kSideB].path() / "gone.txt");
    ko::testing::RecordingReporter reporter;
    const auto owner = reinterpret_cast<ko::OwnerWindow>(0x1234);
    CompareAllPairs(folders.comparison, reporter, owner);
    for (const auto& [name, a, b, status] : cases)
        EXPECT_EQ(folders.StatusOf(ko::Utf8ToUtf16(name)), status) << name;
    std::size_t shown = 0;  // messages come from the last row up
    const std::vector<FileEntry>& pairsA = folders.comparison.pairs[kSideA];
    for (std::size_t row = pairsA.size(); row-- > 0;) {
        const std::u16string& name = pairsA[row].name;
        EXPECT_EQ(folders.comparison.pairs[kSideB][row].status, pairsA[row].status);
        if (name != u"." && name != u".." && name != u"sub" && name != u"gone.txt") continue;
        EXPECT_EQ(pairsA[row].status, kPairedNotCompared);
        const int side = name == u"gone.txt" ? kSideB : kSideA;
        ASSERT_LT(shown, reporter.shown.size());
        const ko::testing::ShownMessage& message = reporter.shown[shown++];
        EXPECT_TRUE(message.text.starts_with(
            u"Can't open " + FilePathOf(folders.comparison, side, row) + u" file\r\nErrCode="));
        EXPECT_FALSE(message.text.ends_with(u"=0"));
        EXPECT_EQ(message.caption, side == kSideA ? u"FileOpenError1" : u"FileOpenError2");
        EXPECT_TRUE(message.owner == owner && message.style == ko::box::kIconWarning);
    }
    EXPECT_EQ(std::pair(shown, reporter.shown.size()), std::pair(std::size_t{4}, std::size_t{4}));

    // Changed contents are not seen by rows compared before: they are not opened again.
    for (const char* name : {"same.txt", "prefix.txt", "gone.txt"})  // prefix.txt now equal
        folders.folder[kSideB].Write(name, "abc");
    reporter.shown.clear();
    CompareAllPairs(folders.comparison, reporter, owner);
    EXPECT_EQ(reporter.shown.size(), 3u);  // the folders again
    EXPECT_EQ(folders.StatusOf(u"same.txt"), kPairedEqual);
    EXPECT_EQ(folders.StatusOf(u"prefix.txt"), kPairedDiffer);
    EXPECT_EQ(folders.StatusOf(u"gone.txt"), kPairedDiffer);
    RestorePairs(folders.comparison);
    CompareAllPairs(folders.comparison, reporter, owner);
    EXPECT_EQ(folders.StatusOf(u"same.txt"), kPairedDiffer);
    EXPECT_EQ(folders.StatusOf(u"prefix.txt"), kPairedEqual);
    EXPECT_EQ(folders.StatusOf(u"only-a.txt"), kOneSided);
    EXPECT_THAT(StatusBarTexts(folders.comparison),
                ElementsAre(u"照合前", u"Aファイル数=16", u"Bファイル数=15", u"対象ファイル数=15",
                            u"ファイル一致数=4", u"ファイル不一致数=8"));
    folders.comparison.compareFlag = 1;
    EXPECT_EQ(StatusBarTexts(folders.comparison)[0], u"照合後");
#ifndef _WIN32
    // A listed file that a device replaced after the scan is refused as Open refuses it.
    for (const std::string name : {"listed.txt", "unlisted.txt"}) {  // a listed size or none
        const std::filesystem::path swapped = folders.folder[kSideA].Write(name, "x");
        folders.folder[kSideB].Write(name, "x");
        folders.ScanBothAndPair(kEverythingGroup, name == "listed.txt");
        std::filesystem::remove(swapped);
        std::filesystem::create_symlink("/dev/zero", swapped);
        reporter.shown.clear();
        ComparePair(folders.comparison, folders.RowOf(ko::Utf8ToUtf16(name)), reporter, nullptr);
        EXPECT_EQ(reporter.Texts(), std::vector{ko::Format(u"Can't open %s file\r\nErrCode=%d",
                                                           {ko::testing::PathText(swapped),
                                                            ko::FileReader::kNotRegularFile})});
    }
#endif
}

#ifdef _WIN32
TEST(ComparePairOnWindows, AFileLockedForWritingOrAFolderIsReportedWithTheSystemsCode) {
    TwoFolders folders;
    for (int side : {kSideA, kSideB})
        folders.folder[side].Write("locked.txt", "1");
    folders.ScanBothAndPair(kEverythingGroup);
    // Held open for writing while others may read: a reader that does not share writing is
    // refused with ERROR_SHARING_VIOLATION, after file A was opened and closed again.
    const HANDLE lock =
        CreateFileW((folders.folder[kSideB].path() / "locked.txt").c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ko::testing::RecordingReporter reporter;
    for (const char16_t* name : {u"locked.txt", u"."}) {
        ComparePair(folders.comparison, folders.RowOf(name), reporter, nullptr);
        EXPECT_EQ(folders.StatusOf(name), kPairedNotCompared);
    }
    CloseHandle(lock);
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0].text,
              u"Can't open " +
                  FilePathOf(folders.comparison, kSideB, folders.RowOf(u"locked.txt")) +
                  u" file\r\nErrCode=32");
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError2");
    EXPECT_TRUE(reporter.shown[1].text.ends_with(u"ErrCode=5"));  // access denied
    const HANDLE exclusive = CreateFileW((folders.folder[kSideA].path() / "locked.txt").c_str(),
                                         GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);  // nobody holds file A any longer
    CloseHandle(exclusive);
}
#endif

TEST(FailedLaunchCheck, ChecksRowsThenSelectionsThenEmptyHalvesInThatOrder) {
    // Rows: 0 a pair, 1 only on side A, 2 only on side B.
    FolderComparison c;
    c.pairs[kSideA] = {Entry(u"main.cpp"), Entry(u"old.cpp"), Entry(u"")};
    c.pairs[kSideB] = {Entry(u"main.cpp"), Entry(u""), Entry(u"new.cpp")};
    c.pairs[kSideA][0].status = c.pairs[kSideB][0].status = kPairedNotCompared;
    const char16_t* no_pair = u"選択のファイルは個別照合出来ません";
    // clang-format off
    const std::pair<ListSelection, const char16_t*> cases[] = {
        {{0, 0, -1, -1}, u"Ａ側ファイルがありません"}, {{3, 0, -1, -1}, u"Ｂ側ファイルがありません"},
        {{3, 3, -1, -1}, u"Ａ側ファイルが選択していません"},
        {{3, 3, 0, -1}, u"Ｂ側ファイルが選択していません"},
        {{3, 3, 2, 0}, no_pair}, {{3, 3, 0, 1}, no_pair}, {{3, 3, 0, 3}, no_pair},
        {{3, 3, 1, 2}, u"ok"}, {{3, 3, 0, 0}, u"ok"}};  // any listed file of A goes with any of B
    // clang-format on
    for (const auto& [selection, expected] : cases)
        EXPECT_EQ(FailedLaunchCheck(selection, c).value_or(u"ok"), expected);
}

// Path A as the file comparer receives it, given the short form the system answered with: empty
// when the query failed, still with a blank where a folder or the volume keeps no short names.
TEST(BuildLaunchCommand,
     QuotesEachPartWithABlankUnlessAShortFormWithoutOneStandsInAndNeverCutsOne) {
    std::u16string folder = u"C:" + std::u16string(1, ko::kPathSeparator) + u"tools";
    const std::tuple<std::u16string, std::u16string, std::u16string> cases[] = {
        {u"C:\\src\\a.cpp", u"C:\\SRC\\A.CPP", u"C:\\src\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"C:\\MYSRC~1\\a.cpp", u"C:\\MYSRC~1\\a.cpp"},
        {u"C:\\my src\\a.cpp", u"", u"\"C:\\my src\\a.cpp\""},
        {u"C:\\my src\\a b.cpp", u"C:\\MYSRC~1\\a b.cpp", u"\"C:\\my src\\a b.cpp\""},
    };
    for (const auto& [path, short_form, on_the_line] : cases) {
        const auto command = app::BuildLaunchCommand(
            folder, u"Kestrel.exe", app::HandedOverPath(path, short_form), u"D:\\b c\\x.cpp");
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->applicationName, ko::JoinPath(folder, u"Kestrel.exe"));
        EXPECT_EQ(command->commandLine,
                  command->applicationName + u" /A:" + on_the_line + u" /B:\"D:\\b c\\x.cpp\"");
    }
    // A part longer than its room is refused instead of cut.
    folder = std::u16string(259 - 13, u'd');  // + separator + "Kes trel.exe" = 259
    const std::u16string longest = u"p " + std::u16string(517, u'p');
    const auto fits = app::BuildLaunchCommand(folder, u"Kes trel.exe", longest, longest);
    ASSERT_TRUE(fits.has_value());  // the line has room for the quotes of every part
    EXPECT_EQ(fits->commandLine.size(), 2u + 259 + 4 + 2 + 519 + 4 + 2 + 519);
    EXPECT_FALSE(app::BuildLaunchCommand(folder + u"d", u"Kes trel.exe", u"a", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", longest + u"p", u"b"));
    EXPECT_FALSE(app::BuildLaunchCommand(folder, u"Kes trel.exe", u"a", longest + u"p"));
}

}  // namespace
}  // namespace osprey
