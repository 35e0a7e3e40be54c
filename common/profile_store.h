// Access to the settings file's key=value lines: one section read in one go and then looked up
// key by key, and a set of keys written in one go. The programs use the platform's store: the
// private-profile functions on Windows, our own INI store elsewhere. Tests may pass any store
// to LoadSettings/SaveSettings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ko {

// One section of a settings file as it was when it was read. The look-ups give what the
// platform's per-key profile reads give for the same file.
class ProfileSection {
  public:
    virtual ~ProfileSection() = default;

    // The value of `key`, or `fallback` when the file, the section or the key is missing;
    // either way at most `max_characters` characters. Blanks around the value and one pair of
    // matching quotes around it are not part of it.
    virtual std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                                      std::size_t max_characters) const = 0;

    // The decimal number at the start of the value of `key`, or `fallback` when the key is
    // missing. How a value that is not a plain number reads is the store's own: the native store
    // takes its leading digits (none give 0); the Windows functions are their own judge.
    virtual std::int32_t ReadInt(std::u16string_view key, std::int32_t fallback) const = 0;
};

struct ProfileEntry {
    std::u16string key;
    std::u16string value;
};

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // Reads `section` of `file` once. A missing file, and one that is not a regular file (a pipe,
    // a device, a folder), read as a file without keys.
    virtual std::unique_ptr<ProfileSection> ReadSection(std::u16string_view file,
                                                        std::u16string_view section) = 0;

    // Sets each key of `entries` in `section` of `file` to its value, in order, creating the
    // file, the section or a key as needed; every other line of the file stays as it is. A file
    // that is not a regular file, or that may not be written, is left alone. False when the file
    // was not written; nothing is reported.
    virtual bool WriteSection(std::u16string_view file, std::u16string_view section,
                              const std::vector<ProfileEntry>& entries) = 0;
};

// The store of the platform the program runs on; one instance per process.
ProfileStore& PlatformProfileStore();

}  // namespace ko
