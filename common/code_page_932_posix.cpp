#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <string>

#include "common/code_page_932.h"

namespace ko {

namespace {

static_assert(std::endian::native == std::endian::little, "char16_t text is passed as UTF-16LE");

const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

// Runs `converter` over `in`, appending to `out`; on a sequence it cannot convert, appends
// `replacement`, skips `skip(in)` bytes and goes on. `out` is sized by the caller's bound.
template <typename Skip>
std::size_t Convert(iconv_t converter, const char* in, std::size_t in_left, char* out,
                    std::size_t out_left, std::string_view replacement, Skip skip) {
    const std::size_t capacity = out_left;
    char* in_bytes = const_cast<char*>(in);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0) {
        if (iconv(converter, &in_bytes, &in_left, &out, &out_left) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || out_left < replacement.size()) break;  // the bound was wrong: stop
        const std::size_t step = std::min(in_left, skip(in_bytes, in_left));
        in_bytes += step;
        in_left -= step;
        out = std::copy(replacement.begin(), replacement.end(), out);
        out_left -= replacement.size();
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return capacity - out_left;
}

}  // namespace

std::u16string DecodeCodePage932(std::string_view bytes) {
    static const iconv_t converter = iconv_open("UTF-16LE", "CP932");
    if (bytes.empty()) return {};
    // Every byte yields at most one unit; the replacement U+FFFD is one unit too.
    std::u16string out(bytes.size(), u'\0');
    if (converter == kFailed) return std::u16string(bytes.size(), u'\xFFFD');
    static constexpr char kReplacement[] = {'\xFD', '\xFF'};
    const std::size_t written = Convert(
        converter, bytes.data(), bytes.size(), reinterpret_cast<char*>(out.data()), out.size() * 2,
        std::string_view(kReplacement, 2), [](const char*, std::size_t) { return std::size_t{1}; });
    out.resize(written / 2);
    return out;
}

std::string EncodeCodePage932(std::u16string_view text) {
    static const iconv_t converter = iconv_open("CP932", "UTF-16LE");
    if (text.empty()) return {};
    if (converter == kFailed) return std::string(text.size(), '?');
    // Every unit yields at most two bytes; a pair of surrogates becomes one '?'.
    std::string out(text.size() * 2, '\0');
    const std::size_t written = Convert(
        converter, reinterpret_cast<const char*>(text.data()), text.size() * 2, out.data(),
        out.size(), "?", [](const char* at, std::size_t left) {
            const auto unit = [at](int i) {
                return static_cast<char16_t>(static_cast<unsigned char>(at[2 * i]) |
                                             (static_cast<unsigned char>(at[2 * i + 1]) << 8));
            };
            const bool pair = left >= 4 && unit(0) >= 0xD800 && unit(0) <= 0xDBFF &&
                              unit(1) >= 0xDC00 && unit(1) <= 0xDFFF;
            return std::size_t{pair ? 4u : 2u};
        });
    out.resize(written);
    return out;
}

}  // namespace ko
