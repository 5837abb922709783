#pragma once
// The words after a command: positional operands, "--flag" switches and "--option VALUE" (or
// "--option=VALUE") pairs. Every command also takes -h or --help, and --verbose.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lumisk {

struct Arguments {
    std::vector<std::string> operands;
    std::set<std::string> flags;
    std::map<std::string, std::string> values;

    bool Has(const std::string& flag) const { return flags.contains(flag); }
};

inline constexpr char VerboseFlag[] = "--verbose";

struct ArgumentRules {
    std::set<std::string> flags;       // e.g. "--json"
    std::set<std::string> valueNames;  // e.g. "--ip"
};

// The parsed arguments, or the message that says what is wrong with them.
struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error;
};

ParsedArguments ParseArguments(const std::vector<std::string>& words, const ArgumentRules& rules);

// The words after the program's name, as UTF-8. On Windows they come from the wide command line:
// `argv` holds them in the system's ANSI code page, which cannot hold every character.
std::vector<std::string> ProgramWords(int argc, char** argv);

}  // namespace lumisk
