#include "drives/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lumisk {

int ReplaceWholeFile(const std::string& path, const std::string& content) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string draft = path + ".new";
    {
        std::ofstream file(draft, std::ios::trunc | std::ios::binary);
        file << content;
        file.flush();
        if (!file) {
            return EIO;
        }
    }
    return std::rename(draft.c_str(), path.c_str()) == 0 ? 0 : errno;
}

std::string UserConfigDirectory() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome == '/') {
        return configHome;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

}  // namespace lumisk
