// The settings record of each program, read once when the main window is created and written
// in full when it is destroyed. Field names are the stored key names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/extension_groups.h"

namespace ko {

class ProfileStore;
class Reporter;

enum class Program { kKestrel, kOsprey };

constexpr int kPathUnits = 260;  // 259 characters and the terminator

struct Settings {
    char16_t fileA_folder_select[kPathUnits] = {};
    char16_t fileB_folder_select[kPathUnits] = {};
    // Kestrel only.
    std::int32_t dtxlength_max = 512;
    std::int32_t dtylength_max = 8192;
    std::int32_t draw_font_height = 12;
    std::int32_t rowPitch = 14;  // always draw_font_height + 2 after loading or the dialog's OK
    std::int32_t kaimode = 0;
    // Both.
    std::int32_t failExt_no = 0;
    // Osprey only; read, never written.
    char16_t subAppName[256] = {};
    ExtensionGroupTable groups = DefaultExtensionGroups();
};

// "kestrel.ini" or "Osprey.ini".
const char16_t* SettingsFileName(Program program);

// The settings file's path: `startup_dir`, the platform's separator unless it already ends in
// one, the name.
std::u16string SettingsFilePath(Program program, std::u16string_view startup_dir);

// Fills `settings` from the settings file of `program` in `startup_dir`, with the default of
// every key the file lacks; the file is read once. Never reports anything. Makes `startup_dir` the
// current directory first. Fields of the other program's keys are left as they are. An empty
// `startup_dir` (the platform could not tell it) reads no file and yields the defaults.
void LoadSettings(Program program, std::u16string_view startup_dir, ProfileStore& store,
                  Settings& settings);

// Writes every key of `program` in the fixed order (135 keys for Kestrel, 131 for Osprey), in
// one write of the file; every other line of it stays. Reports nothing; false when the file was
// not written. Makes `startup_dir` the current directory first; an empty `startup_dir` writes
// nothing.
bool SaveSettings(Program program, std::u16string_view startup_dir, ProfileStore& store,
                  const Settings& settings);

// The same through the platform's store (PlatformProfileStore), as the programs call them.
void LoadSettings(Program program, std::u16string_view startup_dir, Settings& settings);
bool SaveSettings(Program program, std::u16string_view startup_dir, const Settings& settings);

// SaveSettings as a program's main window calls it on its way out. A settings file that could
// not be written (a read-only file or folder, as under C:\Program Files or in a zip opened in
// Explorer) would lose every change without a word, so that is said once, without owner window:
// messages::kSettingsNotSaved with the file's name and its folder.
void SaveSettingsAtExit(Program program, std::u16string_view startup_dir, const Settings& settings,
                        Reporter& reporter);

}  // namespace ko
