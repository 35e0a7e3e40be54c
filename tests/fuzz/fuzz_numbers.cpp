// How the dialogs read a number, against the C library's strtoll on the same characters.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "common/number_reading.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ko::fuzz::FuzzInput input(data, size);
    const std::size_t characters = input.Byte();
    std::u16string text;
    for (std::string_view unit = input.Take(2); unit.size() == 2; unit = input.Take(2))
        text += static_cast<char16_t>(static_cast<std::uint8_t>(unit[0]) | unit[1] << 8);
    // strtoll reads the same blanks, sign and digits; any other unit stops it as it stops us.
    std::string narrow;
    for (const char16_t unit : text.substr(0, characters)) {
        if (unit == 0) break;
        narrow += unit < 0x80 ? static_cast<char>(unit) : '\x01';
    }
    const long long expected = std::strtoll(narrow.c_str(), nullptr, 10);
    KO_FUZZ_CHECK(ko::ReadLeadingNumber(text, characters) ==
                  static_cast<int>(expected > INT_MAX   ? INT_MAX
                                   : expected < INT_MIN ? INT_MIN
                                                        : expected));
    return 0;
}
