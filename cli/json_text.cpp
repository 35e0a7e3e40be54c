#include "cli/json_text.h"

#include "common/text.h"

namespace ko::cli {

namespace {

void AppendUnitEscape(std::string& out, char16_t unit) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

std::string JsonUnitString(std::u16string_view text) {
    std::string out = "\"";
    for (char16_t unit : text) {
        if (unit < 0x20 || unit > 0x7E || unit == u'"' || unit == u'\\')
            AppendUnitEscape(out, unit);
        else
            out += static_cast<char>(unit);
    }
    return out + "\"";
}

std::string JsonString(std::u16string_view text) {
    std::string out = "\"";
    for (char c : Utf16ToUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            AppendUnitEscape(out, static_cast<char16_t>(c));
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace ko::cli
