// Writes the stock as fixed-width lines for the old head-office system.
#include <cstdio>

#include "inventory.h"

bool ExportFixedWidth(const Inventory& inventory, const char* path) {
    std::FILE* out = std::fopen(path, "w");
    if (!out) return false;
    for (const auto& [code, item] : inventory.items())
        std::fprintf(out, "%-8.8s%-24.24s%8d\n", code.c_str(), item.name.c_str(), item.onHand);
    std::fclose(out);
    return true;
}
