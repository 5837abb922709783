#pragma once
// Host services as a test describes them: drive connections and types by letter, a Windows
// release and a user name.

#include <map>
#include <optional>
#include <string>

#include "drives/host_drives.h"
#include "drives/host_system.h"

namespace lumisk::testing {

class FakeDrives final : public HostDrives {
public:
    std::optional<std::string> RemoteName(const std::string& localName) override;
    // Letters without a described type have no root directory.
    DriveType Type(const std::string& localName) override;
    // Connects unless `refusal` is set, which it returns.
    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override;
    int CancelConnection(const std::string& localName) override;
    std::string ConnectionsFile() override { return connectionsFile; }

    std::map<char, std::string> connections;
    std::string connectionsFile;
    std::map<char, DriveType> types;
    int refusal = 0;
};

class FakeSystem final : public HostSystem {
public:
    std::optional<WindowsVersionInfo> Version() override { return version; }
    std::optional<std::string> UserName() override { return userName; }

    std::optional<WindowsVersionInfo> version;
    std::optional<std::string> userName;
};

}  // namespace lumisk::testing
