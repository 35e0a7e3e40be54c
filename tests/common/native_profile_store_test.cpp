// What only the native store promises: a rewrite replaces the file whole or not at all and keeps
// its permissions, and a file no settings file could be is neither read nor rewritten.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>

#include "common/profile_store.h"
#include "tests/common/ini_bytes.h"
#include "tests/support/temp_dir.h"

namespace ko {
namespace {

namespace fs = std::filesystem;

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
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", 0), 1);
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"empty", 5), 0);  // not missing
    EXPECT_EQ(fs::status(file).permissions(), perms);

    fs::resize_file(file, 17u << 20);  // past the 16 MiB no settings file reaches
    EXPECT_EQ(store.ReadSection(path, u"Setting")->ReadInt(u"kaimode", -1), -1);
    EXPECT_FALSE(store.WriteSection(path, u"Setting", {{u"kaimode", u"2"}}));
    EXPECT_EQ(fs::file_size(file), 17u << 20);
}

}  // namespace
}  // namespace ko
