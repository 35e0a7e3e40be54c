// LoadSettings and SaveSettings against a store that records what they ask of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/profile_store.h"
#include "common/settings.h"

namespace ko {
namespace {

struct Call {
    std::u16string key;
    std::size_t max_characters = 0;  // 0 for integers
};

class RecordingStore final : public ProfileStore {
  public:
    class Section final : public ProfileSection {
      public:
        explicit Section(std::vector<Call>& reads) : reads_(reads) {}
        std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                                  std::size_t max_characters) const override {
            reads_.push_back({std::u16string(key), max_characters});
            return std::u16string(fallback.substr(0, max_characters));
        }
        std::int32_t ReadInt(std::u16string_view key, std::int32_t fallback) const override {
            reads_.push_back({std::u16string(key)});
            return fallback;
        }

      private:
        std::vector<Call>& reads_;
    };

    std::unique_ptr<ProfileSection> ReadSection(std::u16string_view file,
                                                std::u16string_view section) override {
        files.push_back(std::u16string(file) + u"|" + std::u16string(section));
        return std::make_unique<Section>(reads);
    }
    bool WriteSection(std::u16string_view file, std::u16string_view section,
                      const std::vector<ProfileEntry>& entries) override {
        files.push_back(std::u16string(file) + u"|" + std::u16string(section));
        writes.insert(writes.end(), entries.begin(), entries.end());
        return true;
    }
    std::vector<std::u16string> files;  // "file|section" of every read and write
    std::vector<Call> reads;
    std::vector<ProfileEntry> writes;
};

std::size_t RoomOf(const std::vector<Call>& calls, std::u16string_view key) {
    for (const Call& call : calls)
        if (call.key == key) return call.max_characters;
    return 999;
}

TEST(SettingsStore, TheSettingSectionOfOneFileIsReadOnceAndEveryKeyAskedWithItsRoom) {
    RecordingStore store;
    Settings settings;
    LoadSettings(Program::kOsprey, u"/start", store, settings);
    const std::u16string file = SettingsFilePath(Program::kOsprey, u"/start") + u"|Setting";
    EXPECT_EQ(store.files, std::vector<std::u16string>{file});
    ASSERT_EQ(store.reads.size(), 2u + 128u + 1u + 1u);
    EXPECT_EQ(RoomOf(store.reads, u"fileA_folder_select"), 259u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[9].ft0"), 61u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[9].ft1"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"filetype[31].ft2"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"subAppName"), 29u);
    EXPECT_EQ(RoomOf(store.reads, u"dtxlength_max"), 999u);  // never asked by Osprey

    SaveSettings(Program::kKestrel, u"/start", store, settings);
    EXPECT_EQ(store.files.back(), SettingsFilePath(Program::kKestrel, u"/start") + u"|Setting");
    EXPECT_EQ(store.files.size(), 2u);  // all 135 keys in one write
    EXPECT_EQ(store.writes.size(), 135u);
}

TEST(SettingsStore, WithoutAStartupDirectoryNoFileIsReadOrWritten) {
    RecordingStore store;
    Settings settings;
    LoadSettings(Program::kKestrel, u"", store, settings);
    SaveSettings(Program::kKestrel, u"", store, settings);
    EXPECT_TRUE(store.files.empty());
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"\\");
    EXPECT_EQ(settings.dtylength_max, 8192);
    EXPECT_EQ(std::u16string(settings.groups[4].itemName), u"すべて");
}

}  // namespace
}  // namespace ko
