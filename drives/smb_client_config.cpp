#include "drives/smb_client_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "drives/whole_file.h"

namespace lumisk {
namespace {

constexpr char Smb1Line[] = "client min protocol = NT1";

// A line as Samba compares it: without blanks, in lower case.
std::string Normalized(const std::string& line) {
    std::string normal;
    for (const char c : line) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return normal;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string SmbClientConfigPath() {
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.smb/smb.conf";
}

bool ClientAllowsSmb1(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    return std::ranges::any_of(
        lines, [](const std::string& line) { return Normalized(line) == Normalized(Smb1Line); });
}

int AllowSmb1InClient(const std::string& path) {
    std::vector<std::string> lines = ReadLines(path);
    // Parameters before the first section belong to the global one as well.
    const auto global = std::ranges::find_if(
        lines, [](const std::string& line) { return Normalized(line) == "[global]"; });
    lines.insert(global == lines.end() ? lines.begin() : global + 1, Smb1Line);

    std::string content;
    for (const std::string& line : lines) {
        content += line + '\n';
    }
    return ReplaceWholeFile(path, content);
}

}  // namespace lumisk
