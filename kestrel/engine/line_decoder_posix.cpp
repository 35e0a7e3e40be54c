#include <algorithm>
#include <string_view>

#include "common/code_page_932.h"
#include "common/text.h"
#include "kestrel/engine/line_decoder.h"

namespace kestrel {

std::size_t DecodeUtf8Piece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return ko::DecodeUtf8(bytes, size, out);
}

// Code page 932 stands in for the ANSI code page of a Japanese Windows.
std::size_t DecodeAnsiPiece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    const std::u16string text =
        ko::DecodeCodePage932(std::string_view(reinterpret_cast<const char*>(bytes), size));
    // Every byte yields at most one unit, so `out` has room; the bound is kept all the same.
    const std::size_t count = std::min(text.size(), size);
    std::copy_n(text.begin(), count, out);
    return count;
}

}  // namespace kestrel
