#pragma once
// The data files compiled into the program, by their path under resources/ ("dialogs/102.json",
// "strings.json"); each back end embeds them its own way.

#include <string>

namespace lumisk::ui {

// The bytes of `path`, empty when the program has no such file.
std::string ReadResourceData(const std::string& path);

}  // namespace lumisk::ui
