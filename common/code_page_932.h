// Code page 932, the ANSI code page of a Japanese Windows, in which settings files without a
// byte-order mark and unmarked text files are usually written. Windows converts with its own
// tables; natively our own decoder gives the same units for every byte sequence, its
// double-byte characters taken from glibc's iconv "CP932", which agrees with Windows on each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ko {

// What Windows' converter puts in for a lead byte that has no trail byte or whose pair the
// code page does not define.
inline constexpr char16_t kCodePage932Default = u'\u30FB';

inline bool IsCodePage932LeadByte(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Decodes as MultiByteToWideChar(932) does: ASCII as it is; 0x80, 0xA0 and 0xFD to 0xFF to
// U+0080, U+F8F0 and U+F8F1 to U+F8F3; 0xA1 to 0xDF to half-width katakana; a lead byte
// (0x81 to 0x9F, 0xE0 to 0xFC) takes the next byte with it unless that is the last or a NUL,
// and gives the pair's character, or kCodePage932Default for an undefined pair or a lead byte
// alone. `out` must hold `size` units: every byte gives at most one. Returns the units written.
std::size_t DecodeCodePage932(const std::uint8_t* bytes, std::size_t size, char16_t* out);
std::u16string DecodeCodePage932(std::string_view bytes);

// Whether `units`, what the platform's converter (or DecodeCodePage932) made of `bytes`, had to
// put kCodePage932Default in for bytes that are no character: a lead byte alone or an undefined
// pair. The one pair that means the default character itself, 0x81 0x45, loses nothing.
bool LostInCodePage932(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                       std::size_t count);

// Whether `bytes`, decoded into `units` as by LostInCodePage932, hold a character under a code
// that is not the one the code page writes it with: code page 932 gives a few hundred characters
// two or three codes (the NEC-selected IBM extensions in rows ED and EE, duplicates in rows 87
// and FA to FC; ED 40 and FA 5C are both U+7E8A), so files that differ there read alike.
bool SecondCodeInCodePage932(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                             std::size_t count);

// A character the code page lacks becomes '?', as the platform's converter writes it.
std::string EncodeCodePage932(std::u16string_view text);

}  // namespace ko
