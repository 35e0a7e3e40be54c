#include <windows.h>

#include <string>

#include "common/code_page_932.h"
#include "common/win32_text.h"

namespace ko {

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

std::size_t DecodeCodePage932(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
    if (size == 0) return 0;
    const int units =
        MultiByteToWideChar(kCodePage, 0, reinterpret_cast<const char*>(bytes),
                            static_cast<int>(size), AsWide(out), static_cast<int>(size));
    return units > 0 ? static_cast<std::size_t>(units) : 0;
}

std::string EncodeCodePage932(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide = ToWide(text);
    // No unit yields more than two bytes.
    std::string out(wide.size() * 2, '\0');
    const int size =
        WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                            static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return out;
}

}  // namespace ko
