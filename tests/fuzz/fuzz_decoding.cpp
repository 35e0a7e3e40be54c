// UTF-8 and code page 932 decoding of any bytes: native names come back byte for byte, and
// text decoded from code page 932 survives being written in it again.
#include "common/code_page_932.h"
#include "common/native_name.h"
#include "common/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::u16string units(size + 1, u'\0');
    KO_FUZZ_CHECK(ko::DecodeUtf8(data, size, units.data()) <= size);
    KO_FUZZ_CHECK(ko::TextToNativeName(ko::NativeNameToText(bytes)) == bytes);
    const std::u16string text = ko::DecodeCodePage932(bytes);
    if (text.find(u'\xFFFD') == std::u16string::npos)
        KO_FUZZ_CHECK(ko::DecodeCodePage932(ko::EncodeCodePage932(text)) == text);
    return 0;
}
