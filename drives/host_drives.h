#pragma once
// The host's drive letters as the drive mapping sees them: the network connection on a letter
// and the type of its drive. Windows asks the system; Linux keeps the connections the program
// made in a per-user table.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumisk {

enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    Cdrom = 5,
    RamDisk = 6,
};

class HostDrives {
public:
    virtual ~HostDrives() = default;

    // The remote name \\server\share of the connection on `localName` ("E:"), or nothing when
    // the letter has none. A connection remembered for the next logon but not connected now
    // (its server gone, say) has its name too: the letter is taken.
    virtual std::optional<std::string> RemoteName(const std::string& localName) = 0;
    // Whether the connection on `localName` is connected now.
    virtual bool IsConnected(const std::string& localName) {
        return RemoteName(localName).has_value();
    }

    virtual DriveType Type(const std::string& localName) = 0;

    // Connects `localName` to `remoteName` (\\server\share) with the given credentials, empty
    // ones as empty texts, and remembers it for the next logon: 0 on success, else an error code.
    // A connection the letter has is replaced, and never lost: it is let go only for a new one
    // that could be made, and when it cannot be let go (files open on it), nothing changes.
    virtual int AddConnection(const std::string& localName, const std::string& remoteName,
                              const std::string& password, const std::string& userName) = 0;

    // Removes the connection of `localName` and forgets it, without forcing open files closed:
    // 0 on success, else an error code (no connection, in use, an empty name).
    virtual int CancelConnection(const std::string& localName) = 0;

    // The file where the host keeps its connections, when it keeps them in one: a change of it
    // means another program mapped or removed a drive. Empty when the system tells no file.
    virtual std::string ConnectionsFile() { return {}; }
    // Changes made to the host's configuration since the last time, to tell the user once.
    virtual std::vector<std::string> TakeNotices() { return {}; }
    // Why the last failed call failed, in the host's words; empty when it does not say.
    virtual std::string FailureReason() { return {}; }
};

// The host's own: the system's drives on Windows; on Linux the root file system is the fixed
// disk C:, a letter in the table of remembered connections is a remote drive, every other letter
// has no root directory, and a connection is a desktop mount of its share
// (drives/mounted_drives.h).
std::unique_ptr<HostDrives> MakeSystemDrives();

}  // namespace lumisk
