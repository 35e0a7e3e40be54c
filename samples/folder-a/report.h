#pragma once

#include <ostream>

#include "inventory.h"

// One line per item at or below its reorder level: code, name, on hand, level.
void PrintReorderReport(const Inventory& inventory, std::ostream& out);
