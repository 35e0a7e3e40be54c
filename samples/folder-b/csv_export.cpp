#include "csv_export.h"

#include <fstream>

bool ExportCsv(const Inventory& inventory, const std::string& path) {
    std::ofstream out(path);
    if (!out) return false;
    out << "code,name,on hand,level,on order\n";
    for (const auto& [code, item] : inventory.items())
        out << code << ',' << item.name << ',' << item.onHand << ',' << item.reorderLevel << ','
            << item.onOrder << '\n';
    return static_cast<bool>(out);
}
