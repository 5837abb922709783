#pragma once
// The commands of lumisk-cli as a table: what each takes, its help, and what runs it.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/command_context.h"

namespace lumisk {

// The operand that names an adapter by its address; checked before anything is sent.
inline constexpr char DeviceIpOperand[] = "DEVICE_IP";

struct Command {
    std::string name;
    std::vector<std::string> operands = {};          // the names of the required ones, in order
    std::vector<std::string> optionalOperands = {};  // after the required ones
    std::string options = {};                        // as the synopsis shows them
    std::string description;
    ArgumentRules rules = {};
    std::function<int(const Arguments&, const CommandContext&)> run;
};

const std::vector<Command>& Commands();

// "name OPERAND [OPTIONAL] options", the command's line in the help.
std::string Synopsis(const Command& command);

// The help of the whole program.
void PrintUsage(std::FILE* stream);

}  // namespace lumisk
