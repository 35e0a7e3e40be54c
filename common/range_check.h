// The dialogs' one way of taking a number that has limits: read the first few characters of a
// box, and when the number lies outside its limits tell the user and use the nearest limit.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/report.h"

namespace ko {

struct NumberLimits {
    int lowest;
    int highest;
};

// Shows "Input value out of specified range" under "Setting error" with the error icon, owned
// by `owner`.
void ReportOutOfRange(Reporter& reporter, OwnerWindow owner);

// Reads the first `characters` characters of `text` like _wtoi. A number above `limits.highest`
// or below `limits.lowest` is reported once (ReportOutOfRange) and replaced by that limit.
int ReadNumberWithin(std::u16string_view text, std::size_t characters, NumberLimits limits,
                     Reporter& reporter, OwnerWindow owner);

}  // namespace ko
