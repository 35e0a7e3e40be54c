#pragma once

#include <map>
#include <string>

struct Item {
    std::string name;
    int onHand = 0;
    int reorderLevel = 0;
};

class Inventory {
public:
    bool Load(const std::string& path);
    void ApplySales(const std::string& path);
    const std::map<std::string, Item>& items() const { return items_; }

private:
    std::map<std::string, Item> items_;
};
