#pragma once
// The program's string table.

#include <string>
#include <vector>

namespace lumisk::ui {

// String `id`, empty when the table has none.
std::string LoadString(int id);

// String `id` with %1 to %9 replaced by `arguments` in order; a number without an argument
// stays as it is.
std::string LoadString(int id, const std::vector<std::string>& arguments);

}  // namespace lumisk::ui
