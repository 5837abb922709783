#pragma once
// The commands of lumisk-cli: one search, the queries and the changes of one adapter.

#include <string>
#include <vector>

namespace lumisk {

enum ExitStatus {
    ExitSuccess = 0,
    ExitFailure = 1,  // not found, no answer, refused
    ExitUsage = 2,
};

// Runs the command named by words[0] with the rest as its arguments; the exit status.
int RunCommandLine(const std::vector<std::string>& words);

}  // namespace lumisk
