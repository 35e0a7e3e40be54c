// The INI store on any file: parse, set one key, write, read back. The key reads back its value
// and every other key of the section keeps its own.
#include <algorithm>

#include "common/ini_file.h"
#include "common/text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool IsAscii(char16_t c) {
    return c < 0x80;
}

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// A text that reads back as written: no line break or NUL, no blanks or quote at its ends.
bool ReadsBackAsWritten(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string_view::npos &&
           (text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back()) &&
                             text.front() != u'"' && text.front() != u'\''));
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
    ko::IniSection one;
    one.Add(a, u"");
    return one.Find(b) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ko::fuzz::FuzzInput input(data, size);
    std::u16string key = ko::Utf8ToUtf16(input.Piece());
    const std::u16string value = ko::Utf8ToUtf16(input.Piece());
    if (key.empty() || !ReadsBackAsWritten(key) ||
        key.find_first_of(u"=;[") != std::u16string::npos)
        key = u"k";
    const ko::IniFile before = ko::IniFile::Parse(input.Rest());
    ko::IniFile file = before;
    file.SetValue(u"Setting", key, value);
    const ko::IniFile after = ko::IniFile::Parse(file.Serialize());
    for (const std::u16string& other : before.Keys(u"Setting"))
        if (!SameKey(other, key))
            KO_FUZZ_CHECK(after.Value(u"Setting", other) == before.Value(u"Setting", other));
    // Code page 932 lacks most characters; ASCII it has.
    const bool representable = after.encoding() != ko::IniEncoding::kCodePage932 ||
                               (std::all_of(key.begin(), key.end(), IsAscii) &&
                                std::all_of(value.begin(), value.end(), IsAscii));
    if (ReadsBackAsWritten(value) && representable)
        KO_FUZZ_CHECK(after.Value(u"Setting", key) == value);
    return 0;
}
