#include "drives/remembered_drives.h"

#include <fstream>
#include <sstream>

#include "drives/whole_file.h"

namespace lumisk {

std::string RememberedDrivesPath() {
    return UserConfigDirectory() + "/lumisk/drives";
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

int WriteRememberedDrives(const std::string& path, const std::map<char, std::string>& drives) {
    std::ostringstream table;
    for (const auto& [letter, remoteName] : drives) {
        table << letter << ": " << remoteName << '\n';
    }
    return ReplaceWholeFile(path, table.str());
}

}  // namespace lumisk
