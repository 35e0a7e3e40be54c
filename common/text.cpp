#include "common/text.h"

namespace ko {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

std::size_t DecodeUtf8(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            out[written++] = lead;
            ++i;
            continue;
        }
        // The accepted range of the second byte depends on the lead byte (no overlong forms, no
        // surrogates, nothing above U+10FFFF); a byte outside it ends the invalid subpart.
        int needed = 0;
        std::uint8_t low = 0x80, high = 0xBF;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            code = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            code = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            out[written++] = kReplacement;
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool valid = true;
        for (int n = 0; n < needed; ++n, ++j) {
            if (j >= size) {
                valid = false;
                break;
            }
            const std::uint8_t byte = bytes[j];
            const bool in_range = n == 0 ? (byte >= low && byte <= high) : IsContinuation(byte);
            if (!in_range) {
                valid = false;
                break;
            }
            code = (code << 6) | (byte & 0x3F);
        }
        if (!valid) {
            out[written++] = kReplacement;
            i = j;  // the lead and the accepted continuation bytes form one invalid subpart
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 + (code >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(code);
        }
        i = j;
    }
    return written;
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
