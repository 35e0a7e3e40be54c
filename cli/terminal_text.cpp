#include "cli/terminal_text.h"

namespace ko::cli {

namespace {

bool IsHigh(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

int CellsOf(char16_t unit) {
    const bool wide = (unit >= 0x1100 && unit <= 0x115F) || (unit >= 0x2E80 && unit <= 0xA4CF) ||
                      (unit >= 0xAC00 && unit <= 0xD7A3) || (unit >= 0xF900 && unit <= 0xFAFF) ||
                      (unit >= 0xFE30 && unit <= 0xFE4F) || (unit >= 0xFF00 && unit <= 0xFF60) ||
                      (unit >= 0xFFE0 && unit <= 0xFFE6);
    return wide ? 2 : 1;
}

}  // namespace

int TerminalCells(std::u16string_view text) {
    int cells = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A pair takes two cells; a lone half is printed as U+FFFD, which takes one.
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            cells += 2;
            ++i;
        } else {
            cells += IsHigh(text[i]) || IsLow(text[i]) ? 1 : CellsOf(text[i]);
        }
    }
    return cells;
}

std::u16string VisibleText(std::u16string_view text) {
    std::u16string visible(text);
    for (char16_t& unit : visible) {
        if (unit < 0x20) unit = static_cast<char16_t>(0x2400 + unit);
        if (unit == 0x7F) unit = 0x2421;
    }
    return visible;
}

}  // namespace ko::cli
