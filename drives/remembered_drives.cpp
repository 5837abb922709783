#include "drives/remembered_drives.h"

#include <cstdlib>
#include <fstream>

namespace lumisk {

std::string RememberedDrivesPath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome == '/') {
        return std::string(configHome) + "/lumisk/drives";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/lumisk/drives";
}

std::map<char, std::string> ReadRememberedDrives(const std::string& path) {
    std::map<char, std::string> drives;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.size() < 5 || line[0] < 'A' || line[0] > 'Z' ||
            line.compare(1, 4, ": \\\\") != 0) {
            continue;
        }
        drives[line[0]] = line.substr(3);
    }
    return drives;
}

}  // namespace lumisk
