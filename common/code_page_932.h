// Code page 932, the ANSI code page of a Japanese Windows, in which settings files without a
// byte-order mark are usually written. Windows converts with its own tables; natively glibc's
// iconv "CP932" stands in.
#pragma once

#include <string>
#include <string_view>

namespace ko {

// A byte that starts no valid character becomes one U+FFFD and decoding goes on after it.
std::u16string DecodeCodePage932(std::string_view bytes);

// A character the code page lacks becomes '?', as the platform's converter writes it.
std::string EncodeCodePage932(std::u16string_view text);

}  // namespace ko
