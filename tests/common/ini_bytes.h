// Settings files for tests, spelled as the bytes a file holds.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace ko::testing {

// `text` as UTF-16LE after the byte-order mark, which every store reads whatever the code page.
inline std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

// "ソースファイル" and "設定" in code page 932; the first has 0x5C ('\') as a trail byte.
inline const std::string kSourceFilesCp932 =
    "\x83\x5C\x81\x5B\x83\x58\x83\x74\x83\x40\x83\x43\x83\x8B";
inline const std::string kSettingCp932 = "\x90\xDD\x92\xE8";

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace ko::testing
