#include "common/number_reading.h"

#include <algorithm>
#include <limits>

namespace ko {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

int ReadLeadingNumber(std::u16string_view text, std::size_t characters) {
    // The text ends at its first 0 unit, like the box's buffer does.
    text = text.substr(0, std::min(characters, text.size()));
    if (const std::size_t nul = text.find(u'\0'); nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max()));
}

}  // namespace ko
