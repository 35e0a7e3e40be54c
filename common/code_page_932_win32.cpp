#include <windows.h>

#include <string>

#include "common/code_page_932.h"
#include "common/win32_text.h"

namespace ko {

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

std::u16string DecodeCodePage932(std::string_view bytes) {
    if (bytes.empty()) return {};
    // No byte yields more than one unit.
    std::wstring out(bytes.size(), L'\0');
    const int units =
        MultiByteToWideChar(kCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                            static_cast<int>(out.size()));
    out.resize(units > 0 ? static_cast<std::size_t>(units) : 0);
    return ToU16(out);
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
