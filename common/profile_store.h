// Access to the settings file's key=value lines, one key of one section at a time. The programs
// use the platform's store: the private-profile functions on Windows, our own INI store elsewhere.
// Tests may pass any store to LoadSettings/SaveSettings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ko {

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // The value of `key` in `section` of `file`, or `fallback` when the file, the section or the
    // key is missing; either way at most `max_characters` characters. Blanks around the value and
    // one pair of matching quotes around it are not part of it.
    virtual std::u16string ReadString(std::u16string_view file, std::u16string_view section,
                                      std::u16string_view key, std::u16string_view fallback,
                                      std::size_t max_characters) = 0;

    // The decimal number at the start of the value of `key`, or `fallback` when the key is
    // missing. How a value that is not a plain number reads is the store's own: the native store
    // takes its leading digits (none give 0); the Windows functions are their own judge.
    virtual std::int32_t ReadInt(std::u16string_view file, std::u16string_view section,
                                 std::u16string_view key, std::int32_t fallback) = 0;

    // Sets `key` in `section` of `file` to `value`, creating the file, the section or the key as
    // needed. False when the file could not be written; nothing is reported.
    virtual bool WriteString(std::u16string_view file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view value) = 0;
};

// The store of the platform the program runs on; one instance per process.
ProfileStore& PlatformProfileStore();

}  // namespace ko
