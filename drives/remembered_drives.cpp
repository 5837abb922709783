#include "drives/remembered_drives.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

int WriteRememberedDrives(const std::string& path, const std::map<char, std::string>& drives) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string draft = path + ".new";
    {
        std::ofstream file(draft, std::ios::trunc);
        for (const auto& [letter, remoteName] : drives) {
            file << letter << ": " << remoteName << '\n';
        }
        file.flush();
        if (!file) {
            return EIO;
        }
    }
    return std::rename(draft.c_str(), path.c_str()) == 0 ? 0 : errno;
}

}  // namespace lumisk
