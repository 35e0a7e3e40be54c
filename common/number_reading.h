// How the dialogs read a number: the first `characters` characters of a box's text converted
// like _wtoi: leading blanks skipped, an optional sign, decimal digits up to the first other
// character; no digits gives 0. Values beyond 32 bits saturate instead of wrapping.
#pragma once

#include <cstddef>
#include <string_view>

namespace ko {

int ReadLeadingNumber(std::u16string_view text, std::size_t characters);

}  // namespace ko
