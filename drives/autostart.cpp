#include "drives/autostart.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "drives/whole_file.h"

namespace lumisk {
namespace {

constexpr char CliName[] = "lumisk-cli";

// lumisk-cli beside the running program, as both are installed; else the one on the PATH.
std::string CliCommand() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path beside = self.parent_path() / CliName;
    if (error || !std::filesystem::exists(beside, error)) {
        return CliName;
    }
    // The Exec key's quoting: reserved characters escaped inside double quotes.
    std::string quoted = "\"";
    for (const char c : beside.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string AutostartEntryPath() {
    return UserConfigDirectory() + "/autostart/lumisk-drives.desktop";
}

int InstallAutostartEntry() {
    return ReplaceWholeFile(AutostartEntryPath(),
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Lumisk network drives\n"
                            "Comment=Mounts the network drives mapped with Lumisk\n"
                            "Exec=" +
                                CliCommand() +
                                " drives --restore\n"
                                "NoDisplay=true\n"
                                "Terminal=false\n");
}

int RemoveAutostartEntry() {
    const std::string path = AutostartEntryPath();
    return std::remove(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

}  // namespace lumisk
