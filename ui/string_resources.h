#pragma once
// The program's string table.

#include <string>

namespace lumisk::ui {

// String `id`, empty when the table has none.
std::string LoadString(int id);

}  // namespace lumisk::ui
