#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <string>
#include <utility>

#include "common/code_page_932.h"

namespace ko {

namespace {

static_assert(std::endian::native == std::endian::little, "char16_t text is passed as UTF-16LE");

const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

// The single bytes that Windows maps outside ASCII and half-width katakana, each to a unit of
// its own, so that they come back as they were.
constexpr std::pair<std::uint8_t, char16_t> kOtherSingleBytes[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'}};

// The unit of a byte that is no lead byte.
char16_t SingleByte(std::uint8_t byte) {
    if (byte >= 0xA1 && byte <= 0xDF) return static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    for (const auto& [single, unit] : kOtherSingleBytes)
        if (byte == single) return unit;
    return byte;
}

// The character of every lead byte and trail byte, 0 where the pair has none. glibc's "CP932"
// gives, for each of the 15,360 pairs, either Windows' character or an error where Windows
// puts in its default character. Filled once, in about a millisecond.
class DoubleByteTable {
  public:
    DoubleByteTable() {
        const iconv_t converter = iconv_open("UTF-16LE", "CP932");
        if (converter == kFailed) return;  // no pair defined: every one decodes lossy
        for (int lead = 0x80; lead <= 0xFF; ++lead) {
            if (!IsCodePage932LeadByte(static_cast<std::uint8_t>(lead))) continue;
            for (int trail = 1; trail <= 0xFF; ++trail) {
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char16_t unit = 0;
                char* in_bytes = in;
                char* out = reinterpret_cast<char*>(&unit);
                std::size_t in_left = 2, out_left = 2;
                iconv(converter, nullptr, nullptr, nullptr, nullptr);
                if (iconv(converter, &in_bytes, &in_left, &out, &out_left) == 0 && in_left == 0 &&
                    out_left == 0)
                    units_[Index(lead, trail)] = unit;
            }
        }
        iconv_close(converter);
    }

    char16_t At(std::uint8_t lead, std::uint8_t trail) const {
        const char16_t unit = units_[Index(lead, trail)];
        return unit != 0 ? unit : kCodePage932Default;
    }

  private:
    // Lead bytes 0x81..0x9F and 0xE0..0xFC as rows 0..59.
    static std::size_t Index(int lead, int trail) {
        return static_cast<std::size_t>(lead < 0xE0 ? lead - 0x81 : lead - 0xE0 + 31) * 256 + trail;
    }

    std::array<char16_t, 60 * 256> units_{};
};

}  // namespace

std::size_t DecodeCodePage932(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    static const DoubleByteTable pairs;
    std::size_t written = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = bytes[i];
        if (!IsCodePage932LeadByte(byte)) {
            out[written++] = SingleByte(byte);
        } else if (i + 1 < size && bytes[i + 1] != 0) {
            out[written++] = pairs.At(byte, bytes[++i]);
        } else {
            out[written++] = kCodePage932Default;
        }
    }
    return written;
}

std::string EncodeCodePage932(std::u16string_view text) {
    static const iconv_t converter = iconv_open("CP932", "UTF-16LE");
    std::string out;
    out.reserve(text.size() * 2);
    // Every unit yields at most two bytes. Each half of a pair of surrogates becomes a '?' of
    // its own, as the system's converter writes them into a settings file.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const auto* single =
            std::find_if(std::begin(kOtherSingleBytes), std::end(kOtherSingleBytes),
                         [unit](const auto& entry) { return entry.second == unit; });
        if (single != std::end(kOtherSingleBytes)) {
            out += static_cast<char>(single->first);
            continue;
        }
        char bytes[2];
        char* in = const_cast<char*>(reinterpret_cast<const char*>(&text[i]));
        char* to = bytes;
        std::size_t in_left = 2, out_left = 2;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (converter != kFailed &&
            iconv(converter, &in, &in_left, &to, &out_left) != static_cast<std::size_t>(-1)) {
            out.append(bytes, 2 - out_left);
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace ko
