// LoadSettings and SaveSettings on real files through the platform's store (the native INI store
// here, the Windows profile functions under Wine), and against a store that records its calls;
// then what each platform's store promises on its own.
#include "common/settings.h"

#ifdef _WIN32
#include <windows.h>

#include "common/win32_text.h"
#else
#include <sys/resource.h>

#include <csignal>
#endif
#include <gtest/gtest.h>

#include <filesystem>

#include "common/current_directory.h"
#include "common/ini_file.h"
#include "common/messages.h"
#include "common/profile_store.h"
#include "common/text.h"
#include "tests/common/ini_bytes.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko {
namespace {

namespace fs = std::filesystem;
using enum Program;
using testing::Utf16File;

template <std::size_t N>
void Put(char16_t (&field)[N], std::u16string_view text) {
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy(text.begin(), text.end(), field);
}

// Every field in one text, so that two settings compare in one assertion.
std::string Describe(const Settings& s) {
    std::u16string text =
        Format(u"%s|%s|%d %d %d %d %d %d|%s",
               {s.fileA_folder_select, s.fileB_folder_select, s.dtxlength_max, s.dtylength_max,
                s.draw_font_height, s.rowPitch, s.kaimode, s.failExt_no, s.subAppName});
    for (const ExtensionGroup& g : s.groups)
        text += Format(u"\n%d|%s|%s|%s", {g.groupNo, g.itemName, g.displayText, g.searchPattern});
    return Utf16ToUtf8(text);
}

class SettingsFileTest : public ::testing::Test {
  protected:
    // Loading and saving change the current directory; Windows cannot remove a current one.
    void TearDown() override { fs::current_path(original_dir_); }

    std::u16string Dir() const { return testing::PathText(temp_.path()); }
    fs::path FilePath(Program program) const {
        return temp_.path() / fs::path(std::u16string(SettingsFileName(program)));
    }
    void WriteFile(Program program, const std::string& bytes) const {
        temp_.Write(Utf16ToUtf8(SettingsFileName(program)), bytes);
    }
    std::string FileBytes(Program program) const { return testing::ReadBytes(FilePath(program)); }
    Settings Load(Program program, Settings settings = {}) const {
        LoadSettings(program, Dir(), settings);
        return settings;
    }
    void Save(Program program, const Settings& settings) const {
        SaveSettings(program, Dir(), settings);
    }

    fs::path original_dir_ = fs::current_path();
    testing::TempDir temp_;
};

TEST_F(SettingsFileTest, WithoutAFileEachProgramGetsItsDefaultsAndNoFileAppears) {
    Settings expected;
    Put(expected.fileA_folder_select, Dir() + u"\\");
    Put(expected.fileB_folder_select, Dir() + u"\\");
    EXPECT_EQ(Describe(Load(kKestrel)), Describe(expected));
    Put(expected.subAppName, u"Kestrel.exe");
    EXPECT_EQ(Describe(Load(kOsprey)), Describe(expected));
    EXPECT_TRUE(fs::is_empty(temp_.path()));
    fs::current_path(original_dir_);
    Save(kOsprey, Settings{});
    EXPECT_TRUE(fs::equivalent(fs::path(ReadCurrentDirectory()), temp_.path()));
}

TEST_F(SettingsFileTest, ValuesAreReadWithinTheirRoomAndFoldersEndInABackslash) {
    const std::u16string x259 = u"D:\\" + std::u16string(256, u'x'), t40(40, u't');
    WriteFile(kKestrel,
              Utf16File(u"[Setting]\r\nfileA_folder_select=D:\\src\\\r\nfileB_folder_select=" +
                        x259 + u"\r\nfiletype[2].ft0=" + std::u16string(5000, u'名') +
                        u"\r\nfiletype[2].ft1=" + t40 + u"\r\nfiletype[2].ft2=" + t40 +
                        u"\r\nfiletype[3].gp=5\r\nfiletype[8].gp=-4\r\nfailExt_no=7\r\n"
                        u"dtxlength_max=x\r\ndraw_font_height=20px\r\n"));
    WriteFile(kOsprey, Utf16File(u"[Setting]\r\nfileA_folder_select=\r\nfileB_folder_select=" +
                                 x259.substr(0, 258) + u"\r\nsubAppName=" + t40 + u"\r\n"));
    Settings settings = Load(kKestrel);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"D:\\src\\");
    EXPECT_EQ(std::u16string(settings.fileB_folder_select), x259);  // no room for a backslash
    EXPECT_EQ(std::u16string(settings.groups[2].itemName), std::u16string(61, u'名'));
    EXPECT_EQ(std::u16string(settings.groups[2].displayText), t40.substr(0, 29));
    EXPECT_EQ(std::u16string(settings.groups[2].searchPattern), t40.substr(0, 29));
    EXPECT_EQ(settings.groups[3].groupNo, 5);
    EXPECT_EQ(settings.groups[8].groupNo, -4);
    EXPECT_EQ(settings.groups[7].groupNo, 107);  // each row's own default
    EXPECT_EQ(settings.failExt_no, 7);           // kept though no row carries it
    EXPECT_EQ(settings.dtxlength_max, 0);
    EXPECT_EQ(settings.rowPitch, 22);
    Save(kKestrel, settings);
    EXPECT_EQ(IniFile::Parse(FileBytes(kKestrel)).Value(u"Setting", u"filetype[2].ft0"),
              std::u16string(61, u'名'));
    settings = Load(kOsprey);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"\\");
    EXPECT_EQ(std::u16string(settings.fileB_folder_select), x259.substr(0, 258) + u"\\");
    EXPECT_EQ(std::u16string(settings.subAppName), t40.substr(0, 29));
    Put(settings.subAppName, u"Changed.exe");  // read, never written
    Save(kOsprey, settings);
    EXPECT_EQ(IniFile::Parse(FileBytes(kOsprey)).Value(u"Setting", u"subAppName"), t40);
}

// The keys of a fresh save, in their order.
std::vector<std::u16string> KeysInSaveOrder(bool kestrel) {
    std::vector<std::u16string> keys{u"fileA_folder_select", u"fileB_folder_select"};
    if (kestrel) keys.insert(keys.end(), {u"dtxlength_max", u"dtylength_max", u"draw_font_height"});
    for (int row = 0; row < kExtensionGroupRows; ++row)
        for (const char16_t* field : {u"gp", u"ft0", u"ft1", u"ft2"})
            keys.push_back(Format(u"filetype[%d].%s", {row, field}));
    if (kestrel) keys.push_back(u"kaimode");
    keys.push_back(u"failExt_no");
    return keys;
}

// A new or empty file becomes UTF-16 and keeps every character; an existing ASCII file keeps its
// encoding (code page 932 through the profile functions) and with it Japanese values.
TEST_F(SettingsFileTest, EveryValueSurvivesASaveAndALoadInANewEmptyOrAsciiFile) {
    const struct {
        std::optional<std::string> existing;
        const char16_t *folder, *item;
    } cases[] = {
        {std::nullopt, u"C:\\Ω€😀\\한국어\\", u"설정 Ω€😀"},
        {"", u"C:\\Ω€😀\\", u"한국어"},
        {"[Setting]\r\nfileA_folder_select=x\r\n", u"E:\\ソース\\表示\\", u"設定ファイル"},
    };
    for (const auto& c : cases) {
        fs::remove(FilePath(kKestrel));
        if (c.existing) WriteFile(kKestrel, *c.existing);
        Settings settings = Load(kKestrel);
        Put(settings.fileA_folder_select, c.folder);
        Put(settings.groups[3].itemName, c.item);
        Put(settings.groups[5].searchPattern, u"*.ini");
        Put(settings.groups[31].itemName, u"");
        settings.groups[0].groupNo = 250, settings.dtxlength_max = 1024,
        settings.dtylength_max = 65536;
        settings.draw_font_height = 6, settings.kaimode = 2, settings.failExt_no = 104;
        Save(kKestrel, settings);
        const std::string bytes = FileBytes(kKestrel);
        EXPECT_EQ(bytes.starts_with("\xFF\xFE"), !c.existing || c.existing->empty());
        EXPECT_EQ(IniFile::Parse(bytes).Keys(u"Setting"), KeysInSaveOrder(true));
        settings.rowPitch = 8;
        EXPECT_EQ(Describe(Load(kKestrel)), Describe(settings));
    }
    Save(kOsprey, Load(kOsprey));
    EXPECT_EQ(IniFile::Parse(FileBytes(kOsprey)).Keys(u"Setting"), KeysInSaveOrder(false));
}

// A save at exit that fails says so once, naming the file and its folder.
TEST_F(SettingsFileTest, SavingWritesNoOtherFileNoReadOnlyOneAndNoFolderInItsPlace) {
    const std::string osprey_bytes = "[Setting]\r\nfailExt_no=3\r\n";
    WriteFile(kOsprey, osprey_bytes);
    testing::RecordingReporter reporter;
    SaveSettingsAtExit(kKestrel, Dir(), Load(kKestrel), reporter);
    EXPECT_EQ(FileBytes(kOsprey), osprey_bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp_.path()), {}), 2);  // nothing left over

    fs::permissions(FilePath(kOsprey), fs::perms::owner_read | fs::perms::group_read);
    Settings settings = Load(kOsprey);
    EXPECT_EQ(settings.failExt_no, 3);
    settings.failExt_no = 4;
    SaveSettingsAtExit(kOsprey, Dir(), settings, reporter);
    EXPECT_EQ(FileBytes(kOsprey), osprey_bytes);
    fs::permissions(FilePath(kOsprey), fs::perms::owner_write, fs::perm_options::add);
    fs::remove(FilePath(kOsprey));
    fs::create_directory(FilePath(kOsprey));
    SaveSettingsAtExit(kOsprey, Dir(), Load(kOsprey), reporter);
    EXPECT_TRUE(fs::is_empty(FilePath(kOsprey)));
    const testing::ShownMessage unsaved{
        nullptr, Format(messages::kSettingsNotSaved.text, {u"Osprey.ini", Dir()}), u"設定の保存",
        box::kIconWarning};
    EXPECT_EQ(reporter.shown, std::vector(2, unsaved));
}

// Counts the files read and written; every key reads as missing.
struct RecordingStore final : ProfileStore, ProfileSection {
    std::unique_ptr<ProfileSection> ReadSection(std::u16string_view file,
                                                std::u16string_view) override {
        files.emplace_back(file);
        return std::make_unique<RecordingStore>();
    }
    bool WriteSection(std::u16string_view file, std::u16string_view,
                      const std::vector<ProfileEntry>&) override {
        files.emplace_back(file);
        return true;
    }
    std::u16string ReadString(std::u16string_view, std::u16string_view fallback,
                              std::size_t room) const override {
        return std::u16string(fallback.substr(0, room));
    }
    std::int32_t ReadInt(std::u16string_view, std::int32_t fallback) const override {
        return fallback;
    }
    std::vector<std::u16string> files;
};

TEST(SettingsStore, ALoadReadsTheFileOnceASaveWritesItOnceAndNeitherWithoutAStartupDirectory) {
    RecordingStore store;
    Settings settings;
    LoadSettings(kOsprey, u"/start/", store, settings);
    SaveSettings(kKestrel, u"/start/", store, settings);
    EXPECT_EQ(store.files,
              (std::vector<std::u16string>{u"/start/Osprey.ini", u"/start/kestrel.ini"}));
    store.files.clear();
    LoadSettings(kKestrel, u"", store, settings);
    SaveSettings(kKestrel, u"", store, settings);
    EXPECT_TRUE(store.files.empty());
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"\\");
}

#ifdef _WIN32
// The settings section read in one go gives every key what the per-key profile functions give.
TEST(ProfileSection, EveryKeyReadsAsThePerKeyFunctionsReadIt) {
    const std::string files[] = {
        Utf16File(u"[setting]\r\n a = 1 \r\nb=\"quoted\" \r\nc='x'\r\nd=\r\ne=0x10\r\n"
                  u"f= -7\r\ng=12px\r\nh=99999999999\r\nA=2\r\ni\r\n;j=1\r\nk=\"\r\n"
                  u"l=+5\r\nm=007\r\nn=設定\r\n[Setting]\r\no=1\r\n"),
        "[Setting]\r\nn=" + testing::kSettingCp932 + "\r\n a =\t-12\t\r\n",
        "",
    };
    testing::TempDir temp;
    for (const std::string& bytes : files) {
        const std::u16string path = testing::PathText(temp.Write("kestrel.ini", bytes));
        const auto section = PlatformProfileStore().ReadSection(path, u"Setting");
        // No key of ours starts with ';', which the section read leaves out as a comment.
        for (const char16_t* key : {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"k",
                                    u"l", u"m", u"n", u"o", u"missing"}) {
            SCOPED_TRACE(Utf16ToUtf8(key));
            wchar_t text[8] = {};
            GetPrivateProfileStringW(L"Setting", AsWide(key), L"def  ", text, 8,
                                     AsWide(path.c_str()));
            EXPECT_EQ(section->ReadString(key, u"def  ", 7), AsU16(text));
            EXPECT_EQ(section->ReadInt(key, -3),
                      static_cast<std::int32_t>(GetPrivateProfileIntW(L"Setting", AsWide(key), -3,
                                                                      AsWide(path.c_str()))));
        }
    }
}
#else
// The native store rewrites a file whole or not at all and keeps its permissions, and a file no
// settings file could be is neither read nor rewritten.
TEST(NativeProfileStore, ARewriteReplacesTheFileWholeOrNotAtAllAndKeepsItsPermissions) {
    testing::TempDir temp;
    const std::string content = "[Setting]\nkaimode=2\nempty=\n; " + std::string(200, '-') + "\n";
    const fs::path file = temp.Write("kestrel.ini", content);
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    ProfileStore& store = PlatformProfileStore();
    const std::u16string path = testing::PathText(file);
    // A file size limit stands in for a full disk: the write fails half-way.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{64, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_FALSE(store.WriteSection(path, u"Setting", {{u"kaimode", u"1"}}));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(testing::ReadBytes(file), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 1);  // nothing left over

    EXPECT_TRUE(store.WriteSection(path, u"Setting", {{u"kaimode", u"1"}}));
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"KaiMode", 0), 1);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"empty", 5), 0);  // not missing
    EXPECT_EQ(fs::status(file).permissions(), perms);

    // A link is written through, where a link to nothing is not written at all.
    const fs::path link = temp.path() / "link.ini";
    fs::create_symlink(file, link);
    EXPECT_TRUE(store.WriteSection(testing::PathText(link), u"Setting", {{u"kaimode", u"3"}}));
    EXPECT_TRUE(fs::is_symlink(link) &&
                testing::ReadBytes(file).starts_with("[Setting]\nkaimode=3"));
    fs::create_symlink(temp.path() / "none.ini", temp.path() / "dangling.ini");
    EXPECT_FALSE(store.WriteSection(testing::PathText(temp.path() / "dangling.ini"), u"S", {}));

    fs::resize_file(file, 16u << 20);  // the most a settings file may hold
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", -1), 3);
    fs::resize_file(file, (16u << 20) + 1);  // neither read nor rewritten
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", -1), -1);
    EXPECT_FALSE(store.WriteSection(path, u"Setting", {{u"kaimode", u"2"}}));
    EXPECT_EQ(fs::file_size(file), (16u << 20) + 1);
}
#endif

}  // namespace
}  // namespace ko
