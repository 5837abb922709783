#include "drives/drive_table.h"

#include <cstdio>

#include "drives/remote_name.h"
#include "protocol/fixed_text.h"

namespace lumisk {

DriveRecord DriveTable[DriveLetters];

namespace {

bool IsOffered(int letterIndex, DriveType type) {
    constexpr int FirstOfferedLetter = 'D' - 'A';
    if (letterIndex < FirstOfferedLetter) {
        return false;
    }
    return type == DriveType::Unknown || type == DriveType::NoRootDir || type == DriveType::Remote;
}

}  // namespace

void ReadDriveTable(HostDrives& drives) {
    for (int index = 0; index < DriveLetters; ++index) {
        DriveRecord& record = DriveTable[index];
        std::snprintf(record.localName, sizeof record.localName, "%c:", 'A' + index);
        const std::optional<std::string> remote = drives.RemoteName(record.localName);
        if (!remote) {
            CopyText(record.remoteServer, "");
            CopyText(record.remoteShare, "");
            continue;
        }
        // A name without a backslash after the server leaves the record as it was.
        const std::optional<RemoteNameParts> parts = SplitRemoteName(*remote);
        if (!parts) {
            continue;
        }
        // Longer server and share parts are cut to their fields.
        CopyText(record.remoteServer, parts->server);
        CopyText(record.remoteShare, parts->rest);
    }
}

DriveLetterChoices OfferedDriveLetters(HostDrives& drives) {
    DriveLetterChoices choices;
    for (int index = 0; index < DriveLetters; ++index) {
        const DriveRecord& record = DriveTable[index];
        if (!IsOffered(index, drives.Type(record.localName))) {
            continue;
        }
        if (record.remoteServer[0] != '\0' && record.remoteShare[0] != '\0') {
            choices.items.push_back(std::string(record.localName) + " \\\\" + record.remoteServer +
                                    "\\" + record.remoteShare);
        } else {
            if (choices.current < 0) {
                choices.current = static_cast<int>(choices.items.size());
            }
            choices.items.push_back(record.localName);
        }
    }
    return choices;
}

}  // namespace lumisk
