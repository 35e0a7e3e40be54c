// LoadSettings and SaveSettings on real files through the platform's store: the native INI store
// here, the Windows profile functions when the same tests run under Wine.
#include "common/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/current_directory.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "tests/common/ini_bytes.h"
#include "tests/support/temp_dir.h"

namespace ko {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::kSettingCp932;
using testing::kSourceFilesCp932;
using testing::PathText;
using testing::Utf16File;

std::u16string Text(const char16_t* field) {
    return field;
}

template <std::size_t N>
void Put(char16_t (&field)[N], std::u16string_view text) {
    ASSERT_LT(text.size(), N);
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy(text.begin(), text.end(), field);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below `root` with its bytes.
std::map<fs::path, std::string> Snapshot(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[entry.path()] = ReadBytes(entry.path());
    return files;
}

// The keys a fresh save writes, in their order.
std::vector<std::u16string> KeysInSaveOrder(Program program) {
    const bool kestrel = program == Program::kKestrel;
    std::vector<std::u16string> keys{u"fileA_folder_select", u"fileB_folder_select"};
    if (kestrel) keys.insert(keys.end(), {u"dtxlength_max", u"dtylength_max", u"draw_font_height"});
    for (int row = 0; row < kExtensionGroupRows; ++row)
        for (const char16_t* field : {u"gp", u"ft0", u"ft1", u"ft2"})
            keys.push_back(Format(u"filetype[%d].%s", {row, field}));
    if (kestrel) keys.push_back(u"kaimode");
    keys.push_back(u"failExt_no");
    return keys;
}

void ExpectSameSettings(const Settings& a, const Settings& b) {
    EXPECT_EQ(Text(a.fileA_folder_select), Text(b.fileA_folder_select));
    EXPECT_EQ(Text(a.fileB_folder_select), Text(b.fileB_folder_select));
    EXPECT_EQ(a.dtxlength_max, b.dtxlength_max);
    EXPECT_EQ(a.dtylength_max, b.dtylength_max);
    EXPECT_EQ(a.draw_font_height, b.draw_font_height);
    EXPECT_EQ(a.rowPitch, b.rowPitch);
    EXPECT_EQ(a.kaimode, b.kaimode);
    EXPECT_EQ(a.failExt_no, b.failExt_no);
    EXPECT_EQ(Text(a.subAppName), Text(b.subAppName));
    for (int row = 0; row < kExtensionGroupRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(a.groups[row].groupNo, b.groups[row].groupNo);
        EXPECT_EQ(Text(a.groups[row].itemName), Text(b.groups[row].itemName));
        EXPECT_EQ(Text(a.groups[row].displayText), Text(b.groups[row].displayText));
        EXPECT_EQ(Text(a.groups[row].searchPattern), Text(b.groups[row].searchPattern));
    }
}

class SettingsFileTest : public ::testing::Test {
  protected:
    // Loading and saving change the process's current directory; each test gets its own back so
    // its folder can be removed (Windows keeps a current directory from being deleted).
    void SetUp() override { original_dir_ = fs::current_path(); }
    void TearDown() override { fs::current_path(original_dir_); }

    std::u16string Dir() const { return PathText(temp_.path()); }
    fs::path FilePath(Program program) const {
        return temp_.path() / fs::path(std::u16string(SettingsFileName(program)));
    }
    void WriteFile(Program program, const std::string& bytes) const {
        temp_.Write(Utf16ToUtf8(SettingsFileName(program)), bytes);
    }
    std::string FileBytes(Program program) const { return ReadBytes(FilePath(program)); }
    IniFile SavedFile(Program program) const { return IniFile::Parse(FileBytes(program)); }
    Settings Load(Program program) const {
        Settings settings;
        LoadSettings(program, Dir(), settings);
        return settings;
    }
    void Save(Program program, const Settings& settings) const {
        SaveSettings(program, Dir(), settings);
    }
    // The folder a remembered path defaults to: the start-up directory and a backslash.
    std::u16string DefaultFolder() const { return Dir() + u"\\"; }

    fs::path original_dir_;
    testing::TempDir temp_;
};

TEST_F(SettingsFileTest, WithoutAFileKestrelGetsEveryDefaultAndNoFileAppears) {
    Settings defaults;
    defaults.groups = DefaultExtensionGroups();
    Put(defaults.fileA_folder_select, DefaultFolder());
    Put(defaults.fileB_folder_select, DefaultFolder());
    const Settings settings = Load(Program::kKestrel);
    ExpectSameSettings(settings, defaults);
    EXPECT_EQ(settings.dtxlength_max, 512);
    EXPECT_EQ(settings.dtylength_max, 8192);
    EXPECT_EQ(settings.draw_font_height, 12);
    EXPECT_EQ(settings.rowPitch, 14);
    EXPECT_FALSE(fs::exists(FilePath(Program::kKestrel)));
}

TEST_F(SettingsFileTest, WithoutAFileOspreyStartsKestrelExeAndLeavesKestrelFieldsAlone) {
    Settings settings;
    settings.dtxlength_max = 999;
    settings.rowPitch = 3;
    settings.kaimode = 2;
    LoadSettings(Program::kOsprey, Dir(), settings);
    EXPECT_EQ(Text(settings.subAppName), u"Kestrel.exe");
    EXPECT_EQ(Text(settings.fileA_folder_select), DefaultFolder());
    EXPECT_EQ(settings.failExt_no, 0);
    EXPECT_EQ(settings.dtxlength_max, 999);
    EXPECT_EQ(settings.rowPitch, 3);
    EXPECT_EQ(settings.kaimode, 2);
}

TEST_F(SettingsFileTest, LoadingAndSavingMakeTheStartupDirectoryCurrent) {
    Load(Program::kKestrel);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp_.path()));
    EXPECT_TRUE(fs::equivalent(fs::path(ReadCurrentDirectory()), temp_.path()));
    fs::current_path(original_dir_);
    Save(Program::kOsprey, Settings{});
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp_.path()));
}

TEST_F(SettingsFileTest, RememberedFoldersAlwaysEndInABackslash) {
    WriteFile(Program::kKestrel, Utf16File(u"[Setting]\r\n"
                                           u"fileA_folder_select=D:\\src\r\n"
                                           u"fileB_folder_select=D:\\src\\\r\n"));
    Settings settings = Load(Program::kKestrel);
    EXPECT_EQ(Text(settings.fileA_folder_select), u"D:\\src\\");
    EXPECT_EQ(Text(settings.fileB_folder_select), u"D:\\src\\");

    WriteFile(Program::kOsprey, Utf16File(u"[Setting]\r\nfileA_folder_select=\r\n"
                                          u"fileB_folder_select=/home/ko\r\n"));
    settings = Load(Program::kOsprey);
    EXPECT_EQ(Text(settings.fileA_folder_select), u"\\");
    EXPECT_EQ(Text(settings.fileB_folder_select), u"/home/ko\\");
}

TEST_F(SettingsFileTest, GroupNumbersComeFromTheFileOrFromTheRowsDefault) {
    WriteFile(Program::kKestrel, Utf16File(u"[Setting]\r\nfiletype[3].gp=5\r\n"
                                           u"filetype[8].gp=-4\r\nfailExt_no=7\r\n"));
    const Settings settings = Load(Program::kKestrel);
    EXPECT_EQ(settings.groups[7].groupNo, 107);
    EXPECT_EQ(settings.groups[3].groupNo, 5);
    EXPECT_EQ(settings.groups[8].groupNo, -4);
    EXPECT_EQ(Text(settings.groups[3].itemName), u"テキスト");
    EXPECT_TRUE(RowsOfGroup(settings.groups, 1).empty());
    EXPECT_EQ(RowsOfGroup(settings.groups, 5), (std::vector<int>{3}));
    // The selected group may name no row at all; it is kept as it is.
    EXPECT_EQ(settings.failExt_no, 7);
    EXPECT_TRUE(RowsOfGroup(settings.groups, settings.failExt_no).empty());
    Save(Program::kKestrel, settings);
    const IniFile saved = SavedFile(Program::kKestrel);
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[7].gp"), u"107");
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[8].gp"), u"-4");
    EXPECT_EQ(saved.Value(u"Setting", u"failExt_no"), u"7");
}

TEST_F(SettingsFileTest, LongTextsAreCutToTheirRoomAndSavedCut) {
    const std::u16string name70(70, u'名');
    const std::u16string text40(40, u't');
    WriteFile(
        Program::kOsprey,
        Utf16File(u"[Setting]\r\nfiletype[2].ft0=" + name70 + u"\r\nfiletype[2].ft1=" + text40 +
                  u"\r\nfiletype[2].ft2=" + text40 + u"\r\nsubAppName=" + text40 + u"\r\n"));
    const Settings settings = Load(Program::kOsprey);
    EXPECT_EQ(Text(settings.groups[2].itemName), name70.substr(0, 61));
    EXPECT_EQ(Text(settings.groups[2].displayText), text40.substr(0, 29));
    EXPECT_EQ(Text(settings.groups[2].searchPattern), text40.substr(0, 29));
    EXPECT_EQ(Text(settings.subAppName), text40.substr(0, 29));
    Save(Program::kOsprey, settings);
    const IniFile saved = SavedFile(Program::kOsprey);
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[2].ft0"), name70.substr(0, 61));
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[2].ft2"), text40.substr(0, 29));
    EXPECT_EQ(saved.Value(u"Setting", u"subAppName"), text40);  // never written, so never cut
}

TEST_F(SettingsFileTest, FiveThousandCharacterValuesAreCutWithoutOverrunningAnyField) {
    const std::u16string folder_a = u"D:\\" + std::u16string(4997, u'x');
    const std::u16string folder_b = u"D:\\" + std::u16string(4996, u'y') + u"\\";
    WriteFile(Program::kKestrel, Utf16File(u"[Setting]\r\nfileA_folder_select=" + folder_a +
                                           u"\r\nfileB_folder_select=" + folder_b +
                                           u"\r\nfiletype[0].ft0=" + std::u16string(5000, u'n') +
                                           u"\r\nkaimode=" + std::u16string(5000, u'9') + u"\r\n"));
    const Settings settings = Load(Program::kKestrel);
    // A 259-character folder has no room for the backslash and stays as it is.
    EXPECT_EQ(Text(settings.fileA_folder_select), folder_a.substr(0, 259));
    EXPECT_EQ(Text(settings.fileB_folder_select), folder_b.substr(0, 259));
    EXPECT_EQ(settings.fileA_folder_select[259], u'\0');
    EXPECT_EQ(Text(settings.groups[0].itemName), std::u16string(61, u'n'));
    EXPECT_EQ(settings.groups[0].itemName[61], u'\0');
    EXPECT_EQ(Text(settings.groups[1].itemName), u"ヘッダファイル");
    // One character fewer and the backslash fits.
    const std::u16string folder_258 = folder_a.substr(0, 258);
    WriteFile(Program::kOsprey,
              Utf16File(u"[Setting]\r\nfileA_folder_select=" + folder_258 + u"\r\n"));
    EXPECT_EQ(Text(Load(Program::kOsprey).fileA_folder_select), folder_258 + u"\\");
}

TEST_F(SettingsFileTest, AFreshKestrelSaveWrites135KeysInOrderAsUtf16) {
    Settings settings = Load(Program::kKestrel);
    settings.dtxlength_max = -5;
    settings.draw_font_height = 48;
    Save(Program::kKestrel, settings);
    const std::string bytes = FileBytes(Program::kKestrel);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const IniFile saved = IniFile::Parse(bytes);
    EXPECT_EQ(saved.Keys(u"Setting"), KeysInSaveOrder(Program::kKestrel));
    EXPECT_EQ(saved.Keys(u"Setting").size(), 135u);
    EXPECT_EQ(saved.Value(u"Setting", u"fileA_folder_select"), DefaultFolder());
    EXPECT_EQ(saved.Value(u"Setting", u"dtxlength_max"), u"-5");
    EXPECT_EQ(saved.Value(u"Setting", u"draw_font_height"), u"48");
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[0].ft0"), u"ソースファイル");
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[31].gp"), u"131");
    EXPECT_EQ(saved.Value(u"Setting", u"filetype[31].ft1"), u"allFile(*.*)");
    EXPECT_EQ(saved.Value(u"Setting", u"failExt_no"), u"0");
    // The row pitch follows the font height; it is not a key of its own.
    EXPECT_EQ(Load(Program::kKestrel).rowPitch, 50);
}

TEST_F(SettingsFileTest, AFreshOspreySaveWrites131KeysAndNeverSubAppName) {
    Save(Program::kOsprey, Load(Program::kOsprey));
    const IniFile saved = SavedFile(Program::kOsprey);
    EXPECT_EQ(saved.Keys(u"Setting"), KeysInSaveOrder(Program::kOsprey));
    EXPECT_EQ(saved.Keys(u"Setting").size(), 131u);
    EXPECT_EQ(saved.Value(u"Setting", u"subAppName"), std::nullopt);
    EXPECT_EQ(saved.Value(u"Setting", u"dtxlength_max"), std::nullopt);
    EXPECT_EQ(saved.Value(u"Setting", u"kaimode"), std::nullopt);
    EXPECT_FALSE(fs::exists(FilePath(Program::kKestrel)));
}

TEST_F(SettingsFileTest, OspreyKeepsAHandWrittenSubAppNameInItsFile) {
    WriteFile(Program::kOsprey, Utf16File(u"[Setting]\r\nsubAppName=Other.exe\r\n"));
    Settings settings = Load(Program::kOsprey);
    EXPECT_EQ(Text(settings.subAppName), u"Other.exe");
    Put(settings.subAppName, u"Changed.exe");  // memory only: never written
    Save(Program::kOsprey, settings);
    const IniFile saved = SavedFile(Program::kOsprey);
    EXPECT_EQ(saved.Value(u"Setting", u"subAppName"), u"Other.exe");
    EXPECT_EQ(saved.Keys(u"Setting").size(), 132u);
    EXPECT_EQ(Text(Load(Program::kOsprey).subAppName), u"Other.exe");
}

TEST_F(SettingsFileTest, EveryChangedValueSurvivesASaveAndALoad) {
    Settings settings = Load(Program::kKestrel);
    Put(settings.fileA_folder_select, u"D:\\作業\\比較元\\");
    Put(settings.fileB_folder_select, u"E:\\ソース\\表示\\");  // trail bytes 0x5C in code page 932
    settings.dtxlength_max = 1024;
    settings.dtylength_max = 65536;
    settings.draw_font_height = 6;
    settings.kaimode = 2;
    settings.failExt_no = 104;
    settings.groups[0].groupNo = 250;
    Put(settings.groups[0].itemName, u"設定ファイル");
    Put(settings.groups[5].displayText, u"iniFile(*.ini)");
    Put(settings.groups[5].searchPattern, u"*.ini");
    Put(settings.groups[31].itemName, u"");
    Save(Program::kKestrel, settings);
    const Settings loaded = Load(Program::kKestrel);
    settings.rowPitch = 8;
    ExpectSameSettings(loaded, settings);
}

// A new or empty file becomes UTF-16 and keeps every character; an existing ASCII file keeps
// its encoding (code page 932 through the profile functions) and with it Japanese values.
TEST_F(SettingsFileTest, JapaneseAndOtherScriptsSurviveInNewEmptyAndAsciiFiles) {
    const struct {
        const char* name;
        std::optional<std::string> existing;
        bool utf16;
        const char16_t* folder;
        const char16_t* item;
    } cases[] = {
        {"no file", std::nullopt, true, u"C:\\Ω€😀\\한국어\\", u"설정 Ω€😀"},
        {"empty file", "", true, u"C:\\Ω€😀\\", u"한국어"},
        {"ASCII file", "[Setting]\r\nfailExt_no=1\r\n", false, u"D:\\作業\\", u"設定ファイル"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(FilePath(Program::kOsprey));
        if (c.existing) WriteFile(Program::kOsprey, *c.existing);
        Settings settings = Load(Program::kOsprey);
        EXPECT_EQ(settings.failExt_no, c.existing && !c.existing->empty() ? 1 : 0);
        Put(settings.fileA_folder_select, c.folder);
        Put(settings.groups[3].itemName, c.item);
        Save(Program::kOsprey, settings);
        EXPECT_EQ(FileBytes(Program::kOsprey).substr(0, 2) == "\xFF\xFE", c.utf16);
        ExpectSameSettings(Load(Program::kOsprey), settings);
    }
}

TEST_F(SettingsFileTest, ACodePage932FileKeepsItsEncodingAndItsOtherLines) {
    WriteFile(Program::kKestrel,
              "; written by hand\r\n[Setting]\r\nfiletype[0].ft0=" + kSourceFilesCp932 +
                  "\r\nunknown=stays\r\n\r\n[Other]\r\nkeep=this\r\n");
    Settings settings = Load(Program::kKestrel);
    EXPECT_EQ(Text(settings.groups[0].itemName), u"ソースファイル");
    Put(settings.groups[1].itemName, u"設定");
    Save(Program::kKestrel, settings);
    const std::string bytes = FileBytes(Program::kKestrel);
    EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(bytes.find("filetype[1].ft0=" + kSettingCp932 + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("filetype[0].ft0=" + kSourceFilesCp932 + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("; written by hand\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[Other]\r\nkeep=this\r\n"), std::string::npos);
    EXPECT_EQ(IniFile::Parse(bytes).Value(u"Setting", u"unknown"), u"stays");
    EXPECT_EQ(Text(Load(Program::kKestrel).groups[1].itemName), u"設定");
}

TEST_F(SettingsFileTest, AFileWithoutTheSectionGetsItAndKeepsTheRest) {
    WriteFile(Program::kKestrel, "[Other]\r\nkaimode=2\r\n");
    const Settings settings = Load(Program::kKestrel);
    EXPECT_EQ(settings.kaimode, 0);
    Save(Program::kKestrel, settings);
    const IniFile saved = SavedFile(Program::kKestrel);
    EXPECT_EQ(saved.Value(u"Other", u"kaimode"), u"2");
    EXPECT_EQ(saved.Keys(u"Setting").size(), 135u);
}

TEST_F(SettingsFileTest, SavingChangesNoFileButTheSettingsFile) {
    temp_.Write("Osprey.ini", "[Setting]\r\nfailExt_no=3\r\n");
    temp_.Write("kestrel.ini.bak", "[Setting]\r\nkaimode=1\r\n");
    fs::create_directory(temp_.path() / "sub");
    temp_.Write("sub/kestrel.ini", "[Setting]\r\nkaimode=2\r\n");
    const auto before = Snapshot(temp_.path());
    Save(Program::kKestrel, Load(Program::kKestrel));
    auto after = Snapshot(temp_.path());
    EXPECT_EQ(after.erase(FilePath(Program::kKestrel)), 1u);
    EXPECT_EQ(after, before);
}

TEST_F(SettingsFileTest, AReadOnlySettingsFileIsLeftAsItIs) {
    const std::string original = "[Setting]\r\nkaimode=1\r\n";
    WriteFile(Program::kKestrel, original);
    fs::permissions(FilePath(Program::kKestrel),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Settings settings = Load(Program::kKestrel);
    EXPECT_EQ(settings.kaimode, 1);
    settings.kaimode = 2;
    const auto before = Snapshot(temp_.path());
    Save(Program::kKestrel, settings);
    EXPECT_EQ(Snapshot(temp_.path()), before);
    fs::permissions(FilePath(Program::kKestrel), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(SettingsFileTest, AFolderInTheSettingsFilesPlaceGivesDefaultsAndStaysAFolder) {
    fs::create_directory(FilePath(Program::kOsprey));
    Settings settings = Load(Program::kOsprey);
    EXPECT_EQ(Text(settings.subAppName), u"Kestrel.exe");
    settings.failExt_no = 5;
    Save(Program::kOsprey, settings);
    EXPECT_TRUE(fs::is_directory(FilePath(Program::kOsprey)));
    EXPECT_TRUE(fs::is_empty(FilePath(Program::kOsprey)));
}

TEST_F(SettingsFileTest, ABinaryFileInTheSettingsFilesPlaceNeitherCrashesNorSpreads) {
    std::mt19937 random(20240607);
    std::string garbage(8192, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random() & 0xFF);
    WriteFile(Program::kKestrel, garbage);
    temp_.Write("neighbour.txt", "untouched");
    Settings settings = Load(Program::kKestrel);
    for (const char16_t* folder : {settings.fileA_folder_select, settings.fileB_folder_select}) {
        ASSERT_FALSE(Text(folder).empty());
        EXPECT_EQ(Text(folder).back(), u'\\');
    }
    EXPECT_EQ(settings.groups.size(), 32u);
    settings.failExt_no = 42;
    Save(Program::kKestrel, settings);
    EXPECT_EQ(Load(Program::kKestrel).failExt_no, 42);
    EXPECT_EQ(ReadBytes(temp_.path() / "neighbour.txt"), "untouched");
    EXPECT_EQ(Snapshot(temp_.path()).size(), 2u);
#ifndef _WIN32
    // The native store keeps lines it does not understand byte for byte.
    EXPECT_EQ(FileBytes(Program::kKestrel).substr(0, garbage.size()), garbage);
#endif
}

TEST(SettingsFilePath, JoinsTheStartupDirectoryAndTheProgramsName) {
    EXPECT_EQ(std::u16string(SettingsFileName(Program::kKestrel)), u"kestrel.ini");
    EXPECT_EQ(std::u16string(SettingsFileName(Program::kOsprey)), u"Osprey.ini");
#ifdef _WIN32
    EXPECT_EQ(SettingsFilePath(Program::kKestrel, u"C:\\work"), u"C:\\work\\kestrel.ini");
    EXPECT_EQ(SettingsFilePath(Program::kKestrel, u"C:\\"), u"C:\\kestrel.ini");
#else
    EXPECT_EQ(SettingsFilePath(Program::kKestrel, u"/work"), u"/work/kestrel.ini");
    EXPECT_EQ(SettingsFilePath(Program::kOsprey, u"/"), u"/Osprey.ini");
#endif
}

}  // namespace
}  // namespace ko
