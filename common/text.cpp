#include "common/text.h"

#include <algorithm>

namespace ko {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// How many continuation bytes `lead` (0x80 or above) announces; 0 for a byte that starts no
// sequence (a continuation byte, C0, C1, F5 to FF).
std::size_t ContinuationBytesAfter(std::uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

// Whether `code`, the lead's bits and the second byte's, can still start a character of
// `needed` + 1 bytes: not overlong, no surrogate, nothing above U+10FFFF.
bool SecondByteFits(std::size_t needed, std::uint32_t code) {
    if (needed == 2) return code >= 0x20 && (code < 0x360 || code > 0x37F);
    if (needed == 3) return code >= 0x10 && code <= 0x10F;
    return true;
}

}  // namespace

std::size_t DecodeUtf8(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = bytes[i++];
        if (lead < 0x80) {
            out[written++] = lead;
            continue;
        }
        const std::size_t needed = ContinuationBytesAfter(lead);
        if (needed == 0 || size - i < needed) {
            out[written++] = kReplacement;
            if (needed != 0) i = size;  // cut short by the end: one replacement for the rest
            continue;
        }
        std::uint32_t code = lead & (0x3F >> needed);
        bool valid = true;
        for (std::size_t n = 0; n < needed && valid; ++n) {
            if (!IsContinuation(bytes[i])) {
                valid = false;  // the byte starts what follows
                break;
            }
            code = (code << 6) | (bytes[i++] & 0x3F);
            if (n == 0) valid = SecondByteFits(needed, code);
        }
        if (!valid) {
            out[written++] = kReplacement;
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 + (code >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(code);
        }
    }
    return written;
}

bool LostInUtf8(const std::uint8_t* bytes, std::size_t size, const char16_t* units,
                std::size_t count) {
    const std::size_t replacements = std::count(units, units + count, kReplacement);
    std::size_t encoded = 0;  // U+FFFD written in the text itself
    for (std::size_t i = 0; i + 2 < size; ++i)
        if (bytes[i] == 0xEF && bytes[i + 1] == 0xBF && bytes[i + 2] == 0xBD) ++encoded;
    return replacements != encoded;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string result(utf8.size(), u'\0');
    result.resize(
        DecodeUtf8(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size(), result.data()));
    return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return result;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Format(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
    std::u16string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t ch = pattern[i];
        if (ch != u'%' || i + 1 >= pattern.size()) {
            out += ch;
            continue;
        }
        ++i;
        if (pattern[i] == u'%') {
            out += u'%';
            continue;
        }
        bool zero_pad = false;
        if (pattern[i] == u'0') {
            zero_pad = true;
            ++i;
        }
        std::size_t width = 0;
        while (i < pattern.size() && pattern[i] >= u'0' && pattern[i] <= u'9') {
            width = width * 10 + (pattern[i] - u'0');
            ++i;
        }
        if (pattern.substr(i, 3) == u"I64") i += 3;
        if (i >= pattern.size()) break;
        const char16_t conversion = pattern[i];
        if (next == args.end()) continue;
        const FormatArg& arg = *next++;
        if (conversion == u's') {
            if (width > arg.text_.size()) out.append(width - arg.text_.size(), u' ');
            out += arg.text_;
            continue;
        }
        const bool negative = arg.kind_ == FormatArg::kSigned && arg.signed_ < 0;
        unsigned long long magnitude = arg.kind_ == FormatArg::kUnsigned ? arg.unsigned_
                                       : negative
                                           ? 0ULL - static_cast<unsigned long long>(arg.signed_)
                                           : static_cast<unsigned long long>(arg.signed_);
        if (conversion == u'u' && arg.kind_ == FormatArg::kSigned)
            magnitude = static_cast<unsigned int>(arg.signed_);
        std::size_t digits = 1;
        for (unsigned long long rest = magnitude / 10; rest != 0; rest /= 10)
            ++digits;
        const bool show_minus = negative && conversion == u'd';
        const std::size_t used = digits + (show_minus ? 1 : 0);
        const std::size_t padding = used < width ? width - used : 0;
        if (!zero_pad) out.append(padding, u' ');
        if (show_minus) out += u'-';
        AppendDecimal(out, magnitude, digits + (zero_pad ? padding : 0));
    }
    return out;
}

void AppendDecimal(std::u16string& out, unsigned long long value, std::size_t min_digits) {
    // Digits come out last first into a small buffer: status texts, sizes and dates of
    // thousands of listed files go through here.
    char16_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (min_digits > count) out.append(min_digits - count, u'0');
    while (count > 0)
        out += digits[--count];
}

std::u16string CutText(std::u16string_view text, std::size_t limit) {
    std::size_t n = 0;
    while (n < text.size() && n < limit && text[n] != 0)
        ++n;
    return std::u16string(text.substr(0, n));
}

}  // namespace ko
