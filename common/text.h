// UTF-16 text helpers shared by both programs: conversions to and from UTF-8 and a small
// printf-style formatter for the fixed message and status texts ("%d", "%06d", "%s").
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ko {

// Decodes `size` bytes of UTF-8 into `out`, which must hold at least `size` units (every byte
// yields at most one unit; a four-byte sequence yields two), as MultiByteToWideChar(CP_UTF8)
// does: a byte that starts no sequence gives one U+FFFD; a sequence that the end of the bytes
// cuts short gives a single U+FFFD for itself and all bytes after it; a sequence broken by a
// byte that is no continuation gives one U+FFFD and decoding goes on at that byte; a second
// byte that makes the sequence overlong, a surrogate or larger than U+10FFFF is taken into its
// U+FFFD. Returns the number of units written.
std::size_t DecodeUtf8(const std::uint8_t* bytes, std::size_t size, char16_t* out);

// Whether `units`, what the platform's converter (or DecodeUtf8) made of `bytes`, holds a
// U+FFFD put in for bytes that are no UTF-8, rather than one the bytes encode themselves.
bool LostInUtf8(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                std::size_t count);

std::u16string Utf8ToUtf16(std::string_view utf8);

// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// ASCII-only literal to UTF-16, for building texts from narrow digits and names.
std::u16string AsciiToUtf16(std::string_view ascii);

class FormatArg {
  public:
    FormatArg(int value) : kind_(kSigned), signed_(value) {}
    FormatArg(long long value) : kind_(kSigned), signed_(value) {}
    FormatArg(unsigned long long value) : kind_(kUnsigned), unsigned_(value) {}
    FormatArg(std::u16string_view text) : kind_(kText), text_(text) {}
    FormatArg(const char16_t* text) : kind_(kText), text_(text) {}
    FormatArg(const std::u16string& text) : kind_(kText), text_(text) {}

  private:
    friend std::u16string Format(std::u16string_view, std::initializer_list<FormatArg>);
    enum Kind { kSigned, kUnsigned, kText } kind_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    std::u16string_view text_;
};

// Formats `pattern` with `args` in order. Understands %d and %u with an optional zero flag and
// width ("%06d", "%02d"), %I64u, %s and %%. A conversion without an argument prints nothing.
std::u16string Format(std::u16string_view pattern, std::initializer_list<FormatArg> args);

// Appends `value` in decimal, zero-filled to at least `min_digits` digits.
void AppendDecimal(std::u16string& out, unsigned long long value, std::size_t min_digits = 1);

// Copies at most `limit` units of `text`, stopping at its first 0 unit.
std::u16string CutText(std::u16string_view text, std::size_t limit);

}  // namespace ko
