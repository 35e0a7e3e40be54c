#include "common/range_check.h"

#include "common/messages.h"
#include "common/number_reading.h"

namespace ko {

void ReportOutOfRange(Reporter& reporter, OwnerWindow owner) {
    ShowMessage(reporter, owner, messages::kOutOfRange, box::kOk | box::kIconError);
}

int ReadNumberWithin(std::u16string_view text, std::size_t characters, NumberLimits limits,
                     Reporter& reporter, OwnerWindow owner) {
    const int value = ReadLeadingNumber(text, characters);
    if (value > limits.highest) {
        ReportOutOfRange(reporter, owner);
        return limits.highest;
    }
    if (value < limits.lowest) {
        ReportOutOfRange(reporter, owner);
        return limits.lowest;
    }
    return value;
}

}  // namespace ko
