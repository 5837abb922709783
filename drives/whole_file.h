#pragma once
// Per-user files the drive mapping keeps, replaced as a whole so a reader never sees half of one.

#include <string>

namespace lumisk {

// Writes `content` as the file at `path`, making its directory when missing: 0, or an errno value.
int ReplaceWholeFile(const std::string& path, const std::string& content);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string UserConfigDirectory();

}  // namespace lumisk
