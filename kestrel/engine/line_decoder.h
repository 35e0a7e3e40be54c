// Decoding of one line piece of a UTF-8 or unmarked (ANSI) file into UTF-16. On Windows the
// platform converter does it (MultiByteToWideChar with CP_UTF8, or CP_THREAD_ACP and
// MB_PRECOMPOSED); natively our own decoders for UTF-8 and code page 932 give the same units
// for every byte sequence, replacement and default characters included.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrel {

// `out` must hold at least `size` units: no byte yields more than one unit.
std::size_t DecodeUtf8Piece(const std::uint8_t* bytes, std::size_t size, char16_t* out);
std::size_t DecodeAnsiPiece(const std::uint8_t* bytes, std::size_t size, char16_t* out);

}  // namespace kestrel
