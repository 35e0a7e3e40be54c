#include "osprey/app/window_layout.h"

namespace osprey::app {

int StatusImage(std::int32_t status) {
    switch (status) {
        case kPairedNotCompared:
            return kImageNotCompared;
        case kPairedEqual:
            return kImageMatch;
        case kPairedDiffer:
            return kImageMismatch;
        case kOneSided:
            return kImageOneSided;
        default:
            return kNoImage;
    }
}

std::array<std::u16string_view, kListColumnCount> RowTexts(const FileEntry& half) {
    return {half.name, half.pattern, half.sizeText, half.dateText, StatusText(half.status)};
}

}  // namespace osprey::app
