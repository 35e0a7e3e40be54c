#include <iconv.h>

#include "common/text.h"
#include "kestrel/engine/line_decoder.h"

namespace kestrel {

namespace {

// Converts exactly `count` bytes of code page 932 to one UTF-16 unit; false when they do not
// form one whole character.
bool ConvertCharacter(iconv_t converter, const std::uint8_t* bytes, std::size_t count,
                      char16_t& unit) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    std::size_t in_left = count;
    unsigned char out[4];
    char* out_bytes = reinterpret_cast<char*>(out);
    std::size_t out_left = sizeof(out);
    if (iconv(converter, &in, &in_left, &out_bytes, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0 || out_left != 2)
        return false;
    unit = static_cast<char16_t>(out[0] | (out[1] << 8));
    return true;
}

bool IsLeadByte(std::uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; }

}  // namespace

std::size_t DecodeUtf8Piece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return ko::DecodeUtf8(bytes, size, out);
}

// Code page 932 stands in for the ANSI code page of a Japanese Windows. A byte that starts no
// valid character becomes one U+FFFD and decoding goes on with the next byte.
std::size_t DecodeAnsiPiece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    static const iconv_t converter = iconv_open("UTF-16LE", "CP932");
    const bool usable = converter != reinterpret_cast<iconv_t>(-1);
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < size) {
        char16_t unit = 0xFFFD;
        std::size_t used = 1;
        if (bytes[i] < 0x80) {
            unit = bytes[i];
        } else if (usable && IsLeadByte(bytes[i]) && i + 1 < size &&
                   ConvertCharacter(converter, bytes + i, 2, unit)) {
            used = 2;
        } else if (!usable || !ConvertCharacter(converter, bytes + i, 1, unit)) {
            unit = 0xFFFD;
        }
        out[written++] = unit;
        i += used;
    }
    return written;
}

}  // namespace kestrel
