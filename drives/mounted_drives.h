#pragma once
// Network drives on Linux: a letter is a line in the per-user table of remembered drives, and
// its share is a desktop mount through GVfs. The table is the one place the letter lives; the
// mount is what the user opens.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drives/desktop_mounts.h"
#include "drives/host_drives.h"

namespace lumisk {

struct ShareName {
    std::string server;
    std::string share;
};

// The parts of \\server\share; nothing when either is missing.
std::optional<ShareName> ShareOf(const std::string& remoteName);

struct RememberedDrive {
    char letter;
    std::string remoteName;  // \\server\share
    MountState mount;        // now
};

std::vector<RememberedDrive> ListRememberedDrives();

// Mounts every remembered drive that is not mounted now, asking for no password: one line for
// each that could not be, "E: \\server\share: why".
std::vector<std::string> RestoreRememberedDrives();

// The remembered drive of share `share` on the adapter called `deviceName` or at `deviceIp`
// (letter case aside) that is mounted now.
std::optional<RememberedDrive> MountedDriveOf(const std::string& deviceName,
                                              const std::string& deviceIp,
                                              const std::string& share);

// Each wait for GVfs ends after `gvfsLimit` at most.
std::unique_ptr<HostDrives> MakeMountedDrives(
    std::chrono::milliseconds gvfsLimit = DesktopMountLimit);

}  // namespace lumisk
