// JSON string literals for the console programs' --json output.
#pragma once

#include <string>
#include <string_view>

namespace ko::cli {

// A JSON string in plain ASCII: every UTF-16 unit outside 0x20..0x7E, and every '"' and '\',
// is written \uXXXX with lowercase hex digits, so lone surrogates and control characters
// survive unchanged.
std::string JsonUnitString(std::u16string_view text);

// An ordinary JSON string in UTF-8: quotes, backslashes and control characters escaped.
std::string JsonString(std::u16string_view text);

}  // namespace ko::cli
