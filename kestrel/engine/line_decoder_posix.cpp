#include "common/code_page_932.h"
#include "common/text.h"
#include "kestrel/engine/line_decoder.h"

namespace kestrel {

std::size_t DecodeUtf8Piece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return ko::DecodeUtf8(bytes, size, out);
}

// Code page 932 stands in for the ANSI code page of a Japanese Windows.
std::size_t DecodeAnsiPiece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return ko::DecodeCodePage932(bytes, size, out);
}

}  // namespace kestrel
