#pragma once
// The per-user table of remembered network drives on hosts without drive letters: one line per
// letter, "E: \\server\share", in $XDG_CONFIG_HOME/lumisk/drives (~/.config/lumisk/drives).

#include <map>
#include <string>

namespace lumisk {

// The table's file for the current user.
std::string RememberedDrivesPath();

// Letter ('A'..'Z') to remote name; an unreadable or missing file is an empty table, and lines
// that are not "X: \\..." are passed over.
std::map<char, std::string> ReadRememberedDrives(const std::string& path);

// Replaces the table as a whole, so a reader never sees half of it: 0, or an errno value.
int WriteRememberedDrives(const std::string& path, const std::map<char, std::string>& drives);

}  // namespace lumisk
