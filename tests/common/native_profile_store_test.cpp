// What only the native store promises: it stands in for the profile functions where Windows
// has none, and refuses files no settings file could be.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/profile_store.h"
#include "tests/support/temp_dir.h"

namespace ko {
namespace {

namespace fs = std::filesystem;

TEST(NativeProfileStore, AHugeFileInTheSettingsFilesPlaceIsNeitherReadNorRewritten) {
    testing::TempDir temp;
    const std::string content = "[Setting]\r\nkaimode=2\r\n";
    const fs::path file = temp.Write("kestrel.ini", content);
    fs::resize_file(file, 17u << 20);  // past the 16 MiB no settings file reaches
    ProfileStore& store = PlatformProfileStore();
    const std::u16string path = testing::PathText(file);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", -1), -1);
    EXPECT_FALSE(store.WriteSection(path, u"Setting", {{u"kaimode", u"1"}}));
    EXPECT_EQ(fs::file_size(file), 17u << 20);
    std::ifstream in(file, std::ios::binary);
    std::string head(content.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head, content);
}

TEST(NativeProfileStore, AFileWithoutWritePermissionRefusesEvenTheSuperuser) {
    testing::TempDir temp;
    const fs::path file = temp.Write("Osprey.ini", "[Setting]\nfailExt_no=1\n");
    fs::permissions(file, fs::perms::owner_read);
    ProfileStore& store = PlatformProfileStore();
    const std::u16string path = testing::PathText(file);
    EXPECT_FALSE(store.WriteSection(path, u"Setting", {{u"failExt_no", u"2"}}));
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"failExt_no", 0), 1);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(store.WriteSection(path, u"Setting", {{u"failExt_no", u"2"}}));
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"failExt_no", 0), 2);
}

TEST(NativeProfileStore, AnEmptyValueReadsAsZeroAndOnlyAMissingKeyAsTheDefault) {
    testing::TempDir temp;
    const std::u16string path =
        testing::PathText(temp.Write("kestrel.ini", "[Setting]\ndtxlength_max=\nkaimode=x\n"));
    ProfileStore& store = PlatformProfileStore();
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"dtxlength_max", 512), 0);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", 1), 0);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"dtylength_max", 8192), 8192);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadString(u"subAppName", u"Kestrel.exe", 3),
              u"Kes");
}

TEST(NativeProfileStore, ARewriteReplacesTheFileWholeOrNotAtAllAndKeepsItsPermissions) {
    testing::TempDir temp;
    const std::string content = "[Setting]\nkaimode=2\n; " + std::string(200, '-') + "\n";
    const fs::path file = temp.Write("kestrel.ini", content);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ProfileStore& store = PlatformProfileStore();
    const std::u16string path = testing::PathText(file);
    // A file size limit stands in for a full disk: the write fails half-way.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{64, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = store.WriteSection(path, u"Setting", {{u"kaimode", u"1"}});
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 1);  // nothing left over

    EXPECT_TRUE(store.WriteSection(path, u"Setting", {{u"kaimode", u"1"}}));
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", 0), 1);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace ko
