// Names of the native (POSIX) file system as the programs' UTF-16 text. A name there is bytes,
// usually UTF-8 but not always: every byte that is not part of a valid UTF-8 sequence is held
// as the lone surrogate U+DC80..U+DCFF, so a name read from a folder or the command line opens
// the same file again. Text shown to the user turns those units into U+FFFD (Utf16ToUtf8).
#pragma once

#include <string>
#include <string_view>

namespace ko {

std::u16string NativeNameToText(std::string_view bytes);

// The exact inverse for every text NativeNameToText made; other lone surrogates become U+FFFD.
std::string TextToNativeName(std::u16string_view text);

}  // namespace ko
