#pragma once

#include <string>

#include "inventory.h"

// Writes code,name,on hand,level,on order per item; false when the file cannot be written.
bool ExportCsv(const Inventory& inventory, const std::string& path);
