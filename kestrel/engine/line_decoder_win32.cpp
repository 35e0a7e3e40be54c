#include <windows.h>

#include "common/win32_text.h"
#include "kestrel/engine/line_decoder.h"

namespace kestrel {

namespace {

std::size_t Convert(UINT code_page, DWORD flags, const std::uint8_t* bytes, std::size_t size,
                    char16_t* out) {
    if (size == 0) return 0;
    const int units =
        MultiByteToWideChar(code_page, flags, reinterpret_cast<const char*>(bytes),
                            static_cast<int>(size), ko::AsWide(out), static_cast<int>(size));
    return units > 0 ? static_cast<std::size_t>(units) : 0;
}

}  // namespace

std::size_t DecodeUtf8Piece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return Convert(CP_UTF8, 0, bytes, size, out);
}

std::size_t DecodeAnsiPiece(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    return Convert(CP_THREAD_ACP, MB_PRECOMPOSED, bytes, size, out);
}

}  // namespace kestrel
