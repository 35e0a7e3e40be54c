#include "common/code_page_932.h"

namespace ko {

std::u16string DecodeCodePage932(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(DecodeCodePage932(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                 out.data()));
    return out;
}

// Walks the characters as the decoder cuts them, one unit each.
bool LostInCodePage932(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                       std::size_t count) {
    std::size_t unit = 0;
    for (std::size_t i = 0; i < size; ++i, ++unit) {
        if (!IsCodePage932LeadByte(bytes[i])) continue;
        if (i + 1 == size || bytes[i + 1] == 0) return true;  // a lead byte alone
        ++i;
        const bool default_itself = bytes[i - 1] == 0x81 && bytes[i] == 0x45;
        if (unit >= count || (units[unit] == kCodePage932Default && !default_itself)) return true;
    }
    return unit != count;  // a converter that cut otherwise lost track of the characters
}

bool SecondCodeInCodePage932(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                             std::size_t count) {
    std::size_t unit = 0;
    for (std::size_t i = 0; i < size && unit < count; ++i, ++unit) {
        const std::uint8_t lead = bytes[i];
        if (!IsCodePage932LeadByte(lead) || i + 1 == size || bytes[i + 1] == 0) continue;
        ++i;
        // Every character with more than one code has one of them in these rows; the code page
        // writes it back with its first code, so only these need the encoder's word.
        const bool duplicate_row = lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
        if (!duplicate_row || units[unit] == kCodePage932Default) continue;
        const char code[2] = {static_cast<char>(lead), static_cast<char>(bytes[i])};
        if (EncodeCodePage932({&units[unit], 1}) != std::string_view(code, 2)) return true;
    }
    return false;
}

}  // namespace ko
