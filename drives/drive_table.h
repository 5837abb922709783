#pragma once
// The network connection of every drive letter A to Z, as the share list and the drive-letter
// list show them.

#include <string>
#include <vector>

#include "drives/host_drives.h"

namespace lumisk {

inline constexpr int DriveLetters = 26;

struct DriveRecord {
    char remoteServer[64];  // empty when the letter has no network connection
    char remoteShare[256];  // everything after the server and its backslash
    char localName[8];      // "E:"
};

// Entry 0 is A, entry 25 is Z.
extern DriveRecord DriveTable[DriveLetters];

// Rewrites all 26 records from the host's connections.
void ReadDriveTable(HostDrives& drives);

// What the drive-letter list offers: items in letter order and the index of the current one.
struct DriveLetterChoices {
    std::vector<std::string> items;  // "E:" or "E: \\server\share"
    int current = -1;                // the first letter without a connection; -1 when none
};

// The letters D to Z whose drive is of unknown type, has no root directory or is remote.
DriveLetterChoices OfferedDriveLetters(HostDrives& drives);

}  // namespace lumisk
