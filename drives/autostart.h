#pragma once
// The per-user autostart entry that mounts the remembered network drives at each desktop login
// (the XDG autostart convention: $XDG_CONFIG_HOME/autostart/*.desktop).

#include <string>

namespace lumisk {

std::string AutostartEntryPath();

// Writes the entry, which runs "lumisk-cli drives --restore": 0, or an errno value.
int InstallAutostartEntry();

// Removes the entry; none there is no error: 0, or an errno value.
int RemoveAutostartEntry();

}  // namespace lumisk
