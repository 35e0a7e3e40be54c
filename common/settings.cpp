#include "common/settings.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "common/current_directory.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/profile_store.h"
#include "common/text.h"

namespace ko {

namespace {

constexpr std::u16string_view kSection = u"Setting";
constexpr std::size_t kFolderMax = kPathUnits - 1;
constexpr std::size_t kSubAppNameMax = 29;

// Zero-fills `field` and copies at most N - 1 units of `text` into it, so it stays terminated.
template <std::size_t N>
void StoreText(char16_t (&field)[N], std::u16string_view text) {
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field);
}

// The text of a fixed field up to its first 0 unit; a field that other code filled to the brim
// ends at its last unit.
template <std::size_t N>
std::u16string_view FieldText(const char16_t (&field)[N]) {
    const auto end = std::find(std::begin(field), std::end(field), u'\0');
    return std::u16string_view(field, static_cast<std::size_t>(end - std::begin(field)));
}

std::u16string GroupKey(int row, std::u16string_view field) {
    return Format(u"filetype[%d].%s", {row, field});
}

// The settings file as loading sees it: its section read once, then looked up key by key.
// Without a start-up directory there is no file: every key gives its default.
class SettingsReader {
  public:
    SettingsReader(Program program, std::u16string_view startup_dir, ProfileStore& store)
        : section_(startup_dir.empty()
                       ? nullptr
                       : store.ReadSection(SettingsFilePath(program, startup_dir), kSection)) {}

    std::u16string Text(std::u16string_view key, std::u16string_view fallback,
                        std::size_t max_characters) const {
        if (!section_) return std::u16string(fallback.substr(0, max_characters));
        return section_->ReadString(key, fallback, max_characters);
    }
    std::int32_t Int(std::u16string_view key, std::int32_t fallback) const {
        return section_ ? section_->ReadInt(key, fallback) : fallback;
    }

  private:
    std::unique_ptr<ProfileSection> section_;
};

// The keys of one save, collected in order and written in one go. Without a start-up
// directory they go nowhere, rather than into a root directory.
class SettingsWriter {
  public:
    void Write(std::u16string_view key, std::u16string_view value) {
        entries_.push_back({std::u16string(key), std::u16string(value)});
    }
    void Write(std::u16string_view key, std::int32_t value) { Write(key, Format(u"%d", {value})); }

    bool Flush(Program program, std::u16string_view startup_dir, ProfileStore& store) const {
        return !startup_dir.empty() &&
               store.WriteSection(SettingsFilePath(program, startup_dir), kSection, entries_);
    }

  private:
    std::vector<ProfileEntry> entries_;
};

// A remembered folder always ends in a backslash after loading, so the dialogs can append a name.
// A 259-character folder without one stays as it is: its field has no room for another unit, and
// cutting a character would name a different folder.
void LoadFolder(const SettingsReader& file, std::u16string_view key,
                std::u16string_view startup_dir, char16_t (&field)[kPathUnits]) {
    std::u16string folder = file.Text(key, startup_dir, kFolderMax);
    if ((folder.empty() || folder.back() != u'\\') && folder.size() < kFolderMax) folder += u'\\';
    StoreText(field, folder);
}

void LoadGroups(const SettingsReader& file, ExtensionGroupTable& groups) {
    const ExtensionGroupTable defaults = DefaultExtensionGroups();
    for (int row = 0; row < kExtensionGroupRows; ++row) {
        const ExtensionGroup& fallback = defaults[row];
        ExtensionGroup& group = groups[row];
        group.groupNo = file.Int(GroupKey(row, u"gp"), fallback.groupNo);
        StoreText(group.itemName,
                  file.Text(GroupKey(row, u"ft0"), FieldText(fallback.itemName), kItemNameMax));
        StoreText(group.displayText, file.Text(GroupKey(row, u"ft1"),
                                               FieldText(fallback.displayText), kDisplayTextMax));
        StoreText(
            group.searchPattern,
            file.Text(GroupKey(row, u"ft2"), FieldText(fallback.searchPattern), kSearchPatternMax));
    }
}

}  // namespace

const char16_t* SettingsFileName(Program program) {
    return program == Program::kKestrel ? u"kestrel.ini" : u"Osprey.ini";
}

std::u16string SettingsFilePath(Program program, std::u16string_view startup_dir) {
    return JoinPath(startup_dir, SettingsFileName(program));
}

void LoadSettings(Program program, std::u16string_view startup_dir, ProfileStore& store,
                  Settings& settings) {
    ChangeCurrentDirectory(startup_dir);
    const SettingsReader file(program, startup_dir, store);
    const bool kestrel = program == Program::kKestrel;
    LoadFolder(file, u"fileA_folder_select", startup_dir, settings.fileA_folder_select);
    LoadFolder(file, u"fileB_folder_select", startup_dir, settings.fileB_folder_select);
    if (kestrel) {
        settings.dtxlength_max = file.Int(u"dtxlength_max", 512);
        settings.dtylength_max = file.Int(u"dtylength_max", 8192);
        settings.draw_font_height = file.Int(u"draw_font_height", 12);
        // Wraps like the 32-bit arithmetic it stands for instead of overflowing.
        settings.rowPitch =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(settings.draw_font_height) + 2u);
    }
    LoadGroups(file, settings.groups);
    if (kestrel) settings.kaimode = file.Int(u"kaimode", 0);
    settings.failExt_no = file.Int(u"failExt_no", 0);
    if (!kestrel)
        StoreText(settings.subAppName, file.Text(u"subAppName", u"Kestrel.exe", kSubAppNameMax));
}

bool SaveSettings(Program program, std::u16string_view startup_dir, ProfileStore& store,
                  const Settings& settings) {
    ChangeCurrentDirectory(startup_dir);
    SettingsWriter file;
    const bool kestrel = program == Program::kKestrel;
    file.Write(u"fileA_folder_select", FieldText(settings.fileA_folder_select));
    file.Write(u"fileB_folder_select", FieldText(settings.fileB_folder_select));
    if (kestrel) {
        file.Write(u"dtxlength_max", settings.dtxlength_max);
        file.Write(u"dtylength_max", settings.dtylength_max);
        file.Write(u"draw_font_height", settings.draw_font_height);
    }
    for (int row = 0; row < kExtensionGroupRows; ++row) {
        const ExtensionGroup& group = settings.groups[row];
        file.Write(GroupKey(row, u"gp"), group.groupNo);
        file.Write(GroupKey(row, u"ft0"), FieldText(group.itemName));
        file.Write(GroupKey(row, u"ft1"), FieldText(group.displayText));
        file.Write(GroupKey(row, u"ft2"), FieldText(group.searchPattern));
    }
    if (kestrel) file.Write(u"kaimode", settings.kaimode);
    file.Write(u"failExt_no", settings.failExt_no);
    return file.Flush(program, startup_dir, store);
}

void LoadSettings(Program program, std::u16string_view startup_dir, Settings& settings) {
    LoadSettings(program, startup_dir, PlatformProfileStore(), settings);
}

bool SaveSettings(Program program, std::u16string_view startup_dir, const Settings& settings) {
    return SaveSettings(program, startup_dir, PlatformProfileStore(), settings);
}

void SaveSettingsAtExit(Program program, std::u16string_view startup_dir, const Settings& settings,
                        Reporter& reporter) {
    if (!SaveSettings(program, startup_dir, settings))
        ShowMessage(reporter, nullptr, messages::kSettingsNotSaved, box::kIconWarning,
                    {SettingsFileName(program), startup_dir});
}

}  // namespace ko
