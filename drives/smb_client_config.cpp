#include "drives/smb_client_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "drives/whole_file.h"

namespace lumisk {
namespace {

constexpr char Smb1Line[] = "client min protocol = NT1";
// The parameter as Samba compares names: without blanks, in lower case.
constexpr char MinProtocolName[] = "clientminprotocol";
// The dialects below SMB2, any of which lets the client speak SMB1.
constexpr std::string_view Smb1Dialects[] = {"nt1", "lanman2", "lanman1", "coreplus", "core"};

// A line as Samba compares it: without blanks, in lower case.
std::string Normalized(std::string_view line) {
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

// The indexes of the lines that set the client's lowest protocol for every share: those of the
// global section, which the parameters before the first section belong to as well.
std::vector<std::size_t> GlobalMinProtocolLines(const std::vector<std::string>& lines) {
    std::vector<std::size_t> found;
    bool global = true;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string line = Normalized(lines[index]);
        if (line.starts_with("[")) {
            global = line == "[global]";
        } else if (global && line.starts_with(std::string(MinProtocolName) + "=")) {
            found.push_back(index);
        }
    }
    return found;
}

}  // namespace

std::string SmbClientConfigPath() {
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.smb/smb.conf";
}

bool ClientAllowsSmb1(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    const std::vector<std::size_t> settings = GlobalMinProtocolLines(lines);
    // Samba takes the last of a repeated parameter.
    if (settings.empty()) {
        return false;
    }
    const std::string line = Normalized(lines[settings.back()]);
    const std::string dialect = line.substr(line.find('=') + 1);
    return std::ranges::find(Smb1Dialects, dialect) != std::end(Smb1Dialects);
}

int AllowSmb1InClient(const std::string& path) {
    std::vector<std::string> lines = ReadLines(path);
    const std::vector<std::size_t> settings = GlobalMinProtocolLines(lines);
    for (const std::size_t index : settings) {
        lines[index] = Smb1Line;
    }
    if (settings.empty()) {
        const auto global = std::ranges::find_if(
            lines, [](const std::string& line) { return Normalized(line) == "[global]"; });
        lines.insert(global == lines.end() ? lines.begin() : global + 1, Smb1Line);
    }

    std::string content;
    for (const std::string& line : lines) {
        content += line + '\n';
    }
    return ReplaceWholeFile(path, content);
}

}  // namespace lumisk
