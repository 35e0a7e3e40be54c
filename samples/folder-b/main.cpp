// Stock keeping for a small shop: reads the stock file, applies the day's sales and prints
// the reorder report.
#include <iostream>

#include "inventory.h"
#include "report.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: stock <stock.csv> <sales.csv>\n";
        return 2;
    }
    Inventory inventory;
    if (!inventory.Load(argv[1])) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    inventory.ApplySales(argv[2]);
    PrintReorderReport(inventory, std::cout);
    return 0;
}
