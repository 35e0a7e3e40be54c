// LoadSettings and SaveSettings against a store that records what they ask of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/profile_store.h"
#include "common/settings.h"

namespace ko {
namespace {

struct Call {
    std::u16string file, section, key;
    std::size_t max_characters = 0;  // 0 for integers and writes
};

class RecordingStore final : public ProfileStore {
  public:
    std::u16string ReadString(std::u16string_view file, std::u16string_view section,
                              std::u16string_view key, std::u16string_view fallback,
                              std::size_t max_characters) override {
        reads.push_back(
            {std::u16string(file), std::u16string(section), std::u16string(key), max_characters});
        return std::u16string(fallback.substr(0, max_characters));
    }
    std::int32_t ReadInt(std::u16string_view file, std::u16string_view section,
                         std::u16string_view key, std::int32_t fallback) override {
        reads.push_back({std::u16string(file), std::u16string(section), std::u16string(key)});
        return fallback;
    }
    bool WriteString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                     std::u16string_view) override {
        writes.push_back({std::u16string(file), std::u16string(section), std::u16string(key)});
        return true;
    }
    std::vector<Call> reads, writes;
};

std::size_t RoomOf(const std::vector<Call>& calls, std::u16string_view key) {
    for (const Call& call : calls)
        if (call.key == key) return call.max_characters;
    return 999;
}

TEST(SettingsStore, EveryKeyIsAskedOfTheSettingSectionOfOneFileWithItsRoom) {
    RecordingStore store;
    Settings settings;
    LoadSettings(Program::kOsprey, u"/start", store, settings);
    ASSERT_EQ(store.reads.size(), 2u + 128u + 1u + 1u);
    for (const Call& call : store.reads) {
        EXPECT_EQ(call.section, u"Setting");
        EXPECT_EQ(call.file, SettingsFilePath(Program::kOsprey, u"/start"));
    }
    EXPECT_EQ(RoomOf(store.reads, u"fileA_folder_select"), 259u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[9].ft0"), 61u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[9].ft1"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[31].ft2"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"subAppName"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"dtxlength_max"), 999u);  // never asked by Osprey
}

TEST(SettingsStore, WithoutAStartupDirectoryNoFileIsReadOrWritten) {
    RecordingStore store;
    Settings settings;
    LoadSettings(Program::kKestrel, u"", store, settings);
    SaveSettings(Program::kKestrel, u"", store, settings);
    EXPECT_TRUE(store.reads.empty());
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"\\");
    EXPECT_EQ(settings.dtylength_max, 8192);
    EXPECT_EQ(std::u16string(settings.groups[4].itemName), u"すべて");
}

}  // namespace
}  // namespace ko
