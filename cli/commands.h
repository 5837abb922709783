#pragma once
// The commands of lumisk-cli: one search, the queries and the changes of one adapter.

#include <string>
#include <vector>

#include "drives/host_drives.h"
#include "drives/share_files.h"
#include "protocol/clock.h"

namespace lumisk {

enum ExitStatus {
    ExitSuccess = 0,
    ExitFailure = 1,  // not found, no answer, refused
    ExitUsage = 2,
};

// The host services the commands use: the system's own in lumisk-cli; tests put theirs in place
// where the system's cannot be had.
struct CommandHost {
    HostDrives& drives;
    ShareFileWriter& shareFiles;
    Clock& clock;  // the waits of a command, such as an adapter's restart
};

// Runs the command named by words[0] with the rest as its arguments, on the system's services;
// the exit status.
int RunCommandLine(const std::vector<std::string>& words);
int RunCommandLine(const std::vector<std::string>& words, CommandHost& host);

}  // namespace lumisk
