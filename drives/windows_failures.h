#pragma once
// Why a network-drive call or a file write on a share failed, from the system's result code:
// what happened in plain words and what to do (Windows only).

#include <string>

#include "drives/windows_drive_calls.h"

namespace lumisk {

// What the failed call was about.
struct FailureSubject {
    std::string server;     // as the remote name or path wrote it
    std::string localName;  // "E:" of a mapping; empty for a file
    std::string path;       // \\server\share\... of a file; empty for a mapping
};

// `code` is what a call of `calls` answered last on this thread: an ERROR_EXTENDED_ERROR is
// told in the network provider's own words.
std::string ExplainFailure(DWORD code, const FailureSubject& subject, WindowsDriveCalls& calls);

}  // namespace lumisk
