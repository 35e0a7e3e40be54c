#include "common/native_name.h"

#include <cstdint>

#include "common/text.h"

namespace ko {

namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

// The decoder is strict and turns anything invalid into U+FFFD, so bytes are valid UTF-8
// exactly when decoding and encoding again gives them back.
bool IsValidUtf8(std::string_view bytes, std::u16string& decoded) {
    decoded = Utf8ToUtf16(bytes);
    return Utf16ToUtf8(decoded) == bytes;
}

}  // namespace

std::u16string NativeNameToText(std::string_view bytes) {
    std::u16string text(bytes.begin(), bytes.end());
    // Most names are ASCII: a folder of 10,000 of them is listed without decoding any.
    bool ascii = true;
    for (const char byte : bytes)
        ascii = ascii && static_cast<std::uint8_t>(byte) < 0x80;
    if (ascii || IsValidUtf8(bytes, text)) return text;
    text.clear();
    std::u16string character;
    for (std::size_t i = 0; i < bytes.size();) {
        // The shortest valid sequence at i is its character; a UTF-8 sequence has at most 4.
        std::size_t length = 1;
        while (length <= 4 && i + length <= bytes.size() &&
               !IsValidUtf8(bytes.substr(i, length), character))
            ++length;
        if (length <= 4 && i + length <= bytes.size()) {
            text += character;
            i += length;
        } else {
            text += static_cast<char16_t>(0xDC00 | static_cast<std::uint8_t>(bytes[i]));
            ++i;
        }
    }
    return text;
}

std::string TextToNativeName(std::u16string_view text) {
    std::string bytes;
    std::size_t run = 0;  // start of the text not yet encoded
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] >= kFirstEscape && text[i] <= kLastEscape &&
                            (i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF);
        if (!escape) continue;
        bytes += Utf16ToUtf8(text.substr(run, i - run));
        bytes += static_cast<char>(text[i] & 0xFF);
        run = i + 1;
    }
    return bytes + Utf16ToUtf8(text.substr(run));
}

}  // namespace ko
