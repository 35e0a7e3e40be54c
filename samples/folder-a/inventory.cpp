#include "inventory.h"

#include <fstream>
#include <sstream>

namespace {

bool SplitLine(const std::string& line, std::string& code, std::string& rest) {
    const auto comma = line.find(',');
    if (comma == std::string::npos) return false;
    code = line.substr(0, comma);
    rest = line.substr(comma + 1);
    return true;
}

}  // namespace

bool Inventory::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line, code, rest;
    while (std::getline(in, line)) {
        if (!SplitLine(line, code, rest)) continue;
        std::istringstream fields(rest);
        Item item;
        std::getline(fields, item.name, ',');
        fields >> item.onHand;
        fields.ignore(1);
        fields >> item.reorderLevel;
        items_[code] = item;
    }
    return true;
}

void Inventory::ApplySales(const std::string& path) {
    std::ifstream in(path);
    std::string line, code, rest;
    while (std::getline(in, line)) {
        if (!SplitLine(line, code, rest)) continue;
        items_[code].onHand -= std::stoi(rest);
    }
}
