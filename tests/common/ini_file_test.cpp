#include "common/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/common/ini_bytes.h"

namespace ko {
namespace {

using testing::Bytes;
using testing::kSettingCp932;
using testing::kSourceFilesCp932;
using testing::Utf16File;

constexpr char16_t kSection[] = u"Setting";

TEST(IniFile, EncodingComesFromTheMarkAlone) {
    EXPECT_EQ(IniFile().encoding(), IniEncoding::kUtf16Le);
    EXPECT_EQ(IniFile::Parse("").encoding(), IniEncoding::kUtf16Le);
    EXPECT_EQ(IniFile::Parse(Utf16File(u"[Setting]\r\n")).encoding(), IniEncoding::kUtf16Le);
    EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[Setting]\r\n").encoding(), IniEncoding::kUtf8WithBom);
    EXPECT_EQ(IniFile::Parse("[Setting]\r\na=設定\r\n").encoding(), IniEncoding::kCodePage932);
    EXPECT_EQ(IniFile::Parse("[Setting]\r\na=1\r\n").encoding(), IniEncoding::kCodePage932);
    EXPECT_EQ(IniFile::Parse("[Setting]\r\na=" + kSettingCp932 + "\r\n").encoding(),
              IniEncoding::kCodePage932);
}

TEST(IniFile, EveryEncodingReadsTheSameJapaneseValue) {
    const std::u16string expected = u"ソースファイル";
    const std::string files[] = {
        Utf16File(u"[Setting]\r\nfiletype[0].ft0=ソースファイル\r\n"),
        "\xEF\xBB\xBF[Setting]\r\nfiletype[0].ft0=ソースファイル\r\n",
        "[Setting]\r\nfiletype[0].ft0=" + kSourceFilesCp932 + "\r\n",
    };
    for (const std::string& bytes : files)
        EXPECT_EQ(IniFile::Parse(bytes).Value(kSection, u"filetype[0].ft0"), expected);
}

TEST(IniFile, UnchangedFilesSerializeToTheirOwnBytes) {
    const std::string files[] = {
        Utf16File(u"; note\r\n[Other]\r\nx=1\r\n\r\n[Setting]\r\na=Ω€😀\r\n"),
        Utf16File(u"[Setting]\na=1") + "\x41",  // odd trailing byte, no final line break
        "\xEF\xBB\xBF[Setting]\r\na=1",
        "[Setting]\n  a = 1 \n\n\n",
        "[Setting]\r\na=" + kSourceFilesCp932 + Bytes("\r\n\x80\xFF\x00\x01 binary\r\n"),
        Bytes("\x00\x01\x02\x03\xFE\xFD"),
    };
    for (const std::string& bytes : files)
        EXPECT_EQ(IniFile::Parse(bytes).Serialize(), bytes);
}

TEST(IniFile, ValuesAreTrimmedUnquotedAndFoundWithoutRegardToAsciiCase) {
    const IniFile file = IniFile::Parse(
        "[setting]\r\n"
        "  Plain =  a b  \r\n"
        "double=\"  quoted \"\r\n"
        "single='x'\r\n"
        "half=\"open\r\n"
        "mixed=\"a'\r\n"
        "lonequote=\"\r\n"
        "empty=\r\n"
        "equals=a=b\r\n");
    EXPECT_EQ(file.Value(u"SETTING", u"plain"), u"a b");
    EXPECT_EQ(file.Value(kSection, u"double"), u"  quoted ");
    EXPECT_EQ(file.Value(kSection, u"single"), u"x");
    EXPECT_EQ(file.Value(kSection, u"half"), u"\"open");
    EXPECT_EQ(file.Value(kSection, u"mixed"), u"\"a'");
    EXPECT_EQ(file.Value(kSection, u"lonequote"), u"\"");
    EXPECT_EQ(file.Value(kSection, u"empty"), u"");
    EXPECT_EQ(file.Value(kSection, u"equals"), u"a=b");
    EXPECT_EQ(file.Value(kSection, u"missing"), std::nullopt);
    EXPECT_EQ(file.Value(u"Other", u"plain"), std::nullopt);
}

TEST(IniFile, CommentsHeadersAndLinesWithoutEqualsAreNotKeys) {
    const IniFile file = IniFile::Parse(
        "a=outside\r\n"
        "[Setting] trailing words\r\n"
        ";a=commented\r\n"
        "just words\r\n"
        "=no key\r\n"
        "[unclosed\r\n"
        "a=inside\r\n");
    EXPECT_EQ(file.Value(kSection, u"a"), u"inside");
    EXPECT_EQ(file.Keys(kSection), (std::vector<std::u16string>{u"a"}));
}

TEST(IniFile, FirstOfARepeatedSectionOrKeyCounts) {
    IniFile file =
        IniFile::Parse("[Setting]\r\nk=1\r\nk=2\r\n[Other]\r\n[SETTING]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(file.Value(kSection, u"k"), u"1");
    EXPECT_EQ(file.Value(kSection, u"j"), std::nullopt);
    file.SetValue(kSection, u"K", u"9");
    EXPECT_EQ(file.Serialize(),
              "[Setting]\r\nk=9\r\nk=2\r\n[Other]\r\n[SETTING]\r\nk=3\r\nj=4\r\n");
}

TEST(IniFile, NumbersAreTheLeadingDigitsAndOnlyAMissingKeyHasNone) {
    const IniFile file = IniFile::Parse(
        "[Setting]\nplain=512\nsigned=-3\nplus=+7\nunit=12px\nword=abc\nempty=\nspaced=  42 \n"
        "huge=99999999999\nquoted=\"8\"\nhex=0x10\n");
    EXPECT_EQ(file.Number(kSection, u"plain"), 512);
    EXPECT_EQ(file.Number(kSection, u"signed"), -3);
    EXPECT_EQ(file.Number(kSection, u"plus"), 7);
    EXPECT_EQ(file.Number(kSection, u"unit"), 12);
    EXPECT_EQ(file.Number(kSection, u"word"), 0);
    EXPECT_EQ(file.Number(kSection, u"empty"), 0);
    EXPECT_EQ(file.Number(kSection, u"spaced"), 42);
    EXPECT_EQ(file.Number(kSection, u"huge"), INT_MAX);
    EXPECT_EQ(file.Number(kSection, u"quoted"), 8);
    EXPECT_EQ(file.Number(kSection, u"hex"), 0);
    EXPECT_EQ(file.Number(kSection, u"missing"), std::nullopt);
}

TEST(IniFile, SettingAKeyRewritesOnlyItsLineWhereItStands) {
    const std::string before =
        "; kept comment\r\n"
        "[Other]\r\n"
        "failExt_no=99\r\n"
        "\r\n"
        "[Setting]\r\n"
        "unknown=stays\r\n"
        "  FailExt_No = 3 \r\n"
        "kaimode=1\r\n";
    IniFile file = IniFile::Parse(before);
    file.SetValue(kSection, u"failExt_no", u"7");
    EXPECT_EQ(file.Serialize(),
              "; kept comment\r\n"
              "[Other]\r\n"
              "failExt_no=99\r\n"
              "\r\n"
              "[Setting]\r\n"
              "unknown=stays\r\n"
              "FailExt_No=7\r\n"
              "kaimode=1\r\n");
}

TEST(IniFile, NewKeysFollowTheSectionsLastLineBeforeItsBlankLines) {
    IniFile file = IniFile::Parse("[Setting]\nkaimode=1\n; last words\n\n\n[Other]\nx=1\n");
    file.SetValue(kSection, u"failExt_no", u"0");
    file.SetValue(kSection, u"fileA_folder_select", u"D:\\src\\");
    EXPECT_EQ(file.Serialize(),
              "[Setting]\nkaimode=1\n; last words\nfailExt_no=0\nfileA_folder_select=D:\\src\\\n"
              "\n\n[Other]\nx=1\n");
}

TEST(IniFile, AMissingSectionIsAddedAtTheEndEvenAfterAnUnfinishedLine) {
    IniFile file = IniFile::Parse("[Other]\r\nx=1");
    file.SetValue(kSection, u"a", u"1");
    file.SetValue(u"Other", u"y", u"2");
    EXPECT_EQ(file.Serialize(), "[Other]\r\nx=1\r\ny=2\r\n[Setting]\r\na=1\r\n");
    EXPECT_EQ(file.Keys(u"Other"), (std::vector<std::u16string>{u"x", u"y"}));
}

TEST(IniFile, ANewFileIsUtf16WithMarkAndCrLf) {
    IniFile file;
    file.SetValue(kSection, u"fileA_folder_select", u"D:\\作業\\");
    file.SetValue(kSection, u"kaimode", u"0");
    EXPECT_EQ(file.Serialize(),
              Utf16File(u"[Setting]\r\nfileA_folder_select=D:\\作業\\\r\nkaimode=0\r\n"));
}

TEST(IniFile, ChangedLinesTakeTheFilesEncodingAndLineBreak) {
    IniFile utf8 = IniFile::Parse("\xEF\xBB\xBF[Setting]\na=1\n");
    utf8.SetValue(kSection, u"a", u"設定");
    utf8.SetValue(kSection, u"b", u"Ω");
    EXPECT_EQ(utf8.Serialize(), "\xEF\xBB\xBF[Setting]\na=設定\nb=Ω\n");

    IniFile cp932 = IniFile::Parse("[Setting]\r\nx=" + kSourceFilesCp932 + "\r\n");
    cp932.SetValue(kSection, u"a", u"設定");
    EXPECT_EQ(cp932.Serialize(),
              "[Setting]\r\nx=" + kSourceFilesCp932 + "\r\na=" + kSettingCp932 + "\r\n");
    EXPECT_EQ(IniFile::Parse(cp932.Serialize()).Value(kSection, u"x"), u"ソースファイル");

    IniFile utf16 = IniFile::Parse(Utf16File(u"[Setting]\nx=1\n"));
    utf16.SetValue(kSection, u"x", u"😀");
    EXPECT_EQ(utf16.Serialize(), Utf16File(u"[Setting]\nx=😀\n"));
}

TEST(IniFile, CharactersCodePage932LacksAreWrittenAsQuestionMarks) {
    IniFile file = IniFile::Parse("[Setting]\r\nx=" + kSettingCp932 + "\r\n");
    file.SetValue(kSection, u"a", u"설€");
    EXPECT_EQ(IniFile::Parse(file.Serialize()).Value(kSection, u"a"), u"??");
}

TEST(IniFile, AValueNeverBreaksIntoSeveralLines) {
    IniFile file;
    file.SetValue(kSection, u"a", u"one\r\n[Evil]\r\nb=2");
    file.SetValue(kSection, u"c", std::u16string(u"x\0y", 3));
    const IniFile reread = IniFile::Parse(file.Serialize());
    EXPECT_EQ(reread.Value(kSection, u"a"), u"one");
    EXPECT_EQ(reread.Value(kSection, u"c"), u"x");
    EXPECT_EQ(reread.Keys(kSection), (std::vector<std::u16string>{u"a", u"c"}));
    EXPECT_EQ(reread.Value(u"Evil", u"b"), std::nullopt);
}

TEST(IniFile, GarbageBytesStayInPlaceWhileKeysAreAdded) {
    const std::string garbage = Bytes("\x00\xFF\x81\n\x9F\x0D\x00[Setting\xFE");
    IniFile file = IniFile::Parse(garbage);
    EXPECT_EQ(file.Value(kSection, u"a"), std::nullopt);
    file.SetValue(kSection, u"a", u"1");
    const std::string written = file.Serialize();
    EXPECT_EQ(written.substr(0, garbage.size()), garbage);
    EXPECT_EQ(IniFile::Parse(written).Value(kSection, u"a"), u"1");
}

// Another key's write must leave every value as it read: an odd UTF-16 byte stays last, and
// bytes without a mark stay code page 932 even where they would also be valid UTF-8.
TEST(IniFile, WritingOneKeyChangesNoOtherValue) {
    const struct {
        std::string bytes;
        std::u16string value;
    } files[] = {
        {Utf16File(u"[Setting]\r\nk=1") + "X", u"1"},
        {"[Setting]\r\nk=C:\\\xC3\xA9\\\r\n", u"C:\\ﾃｩ\\"},
    };
    for (const auto& file : files) {
        IniFile ini = IniFile::Parse(file.bytes);
        EXPECT_EQ(ini.Value(kSection, u"k"), file.value);
        ini.SetValue(kSection, u"j", u"2");
        const IniFile reread = IniFile::Parse(ini.Serialize());
        EXPECT_EQ(reread.Value(kSection, u"k"), file.value);
        EXPECT_EQ(reread.Value(kSection, u"j"), u"2");
    }
}

}  // namespace
}  // namespace ko
