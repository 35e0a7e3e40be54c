#include "report.h"

#include <iomanip>

void PrintReorderReport(const Inventory& inventory, std::ostream& out) {
    out << std::left << std::setw(8) << "code" << std::setw(24) << "name"
        << std::right << std::setw(8) << "on hand" << std::setw(8) << "level" << "\n";
    for (const auto& [code, item] : inventory.items()) {
        if (item.onHand > item.reorderLevel) continue;
        out << std::left << std::setw(8) << code << std::setw(24) << item.name
            << std::right << std::setw(8) << item.onHand << std::setw(8) << item.reorderLevel
            << "\n";
    }
}
