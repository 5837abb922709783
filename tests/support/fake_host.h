#pragma once
// Host services as a test describes them: drive connections and types by letter, a Windows
// release and a user name.

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "drives/host_drives.h"
#include "drives/host_identity.h"

namespace lumisk::testing {

// The maps are set before a window runs; while one runs, its drive letters are read on another
// thread, and Map() and Unmap() change them.
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

    // A mapping made or removed by another program.
    void Map(char letter, const std::string& remoteName);
    void Unmap(char letter);

    std::map<char, std::string> connections;
    std::string connectionsFile;
    std::map<char, DriveType> types;
    int refusal = 0;
    // The thread that must never wait for the host's drives (a window's), and how often it did.
    std::thread::id forbiddenThread;
    std::atomic<int> callsOnForbiddenThread{0};

private:
    // Notes a call on `forbiddenThread`; the lock for the maps.
    std::unique_lock<std::mutex> Enter();

    std::mutex mutex_;
};

class FakeSystem final : public HostIdentity {
public:
    std::optional<WindowsVersionInfo> Version() override { return version; }
    std::optional<std::string> UserName() override { return userName; }

    std::optional<WindowsVersionInfo> version;
    std::optional<std::string> userName;
};

}  // namespace lumisk::testing
