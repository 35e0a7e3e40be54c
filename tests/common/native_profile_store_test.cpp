// What only the native store promises: it stands in for the profile functions where Windows
// has none, and refuses files no settings file could be.
#include <gtest/gtest.h>

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
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"kaimode", -1), -1);
    EXPECT_FALSE(store.WriteString(path, u"Setting", u"kaimode", u"1"));
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
    EXPECT_FALSE(store.WriteString(path, u"Setting", u"failExt_no", u"2"));
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"failExt_no", 0), 1);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(store.WriteString(path, u"Setting", u"failExt_no", u"2"));
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"failExt_no", 0), 2);
}

TEST(NativeProfileStore, AnEmptyValueReadsAsZeroAndOnlyAMissingKeyAsTheDefault) {
    testing::TempDir temp;
    const std::u16string path =
        testing::PathText(temp.Write("kestrel.ini", "[Setting]\ndtxlength_max=\nkaimode=x\n"));
    ProfileStore& store = PlatformProfileStore();
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"dtxlength_max", 512), 0);
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"kaimode", 1), 0);
    EXPECT_EQ(store.ReadInt(path, u"Setting", u"dtylength_max", 8192), 8192);
    EXPECT_EQ(store.ReadString(path, u"Setting", u"subAppName", u"Kestrel.exe", 3), u"Kes");
}

}  // namespace
}  // namespace ko
