#include "drives/host_drives.h"

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include "drives/remembered_drives.h"
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
class WindowsDrives final : public HostDrives {
public:
    std::optional<std::string> RemoteName(const std::string& localName) override {
        char remote[256] = {};
        DWORD length = sizeof remote;
        if (WNetGetConnectionA(localName.c_str(), remote, &length) != NO_ERROR) {
            return std::nullopt;
        }
        return std::string(remote);
    }

    DriveType Type(const std::string& localName) override {
        return static_cast<DriveType>(GetDriveTypeA(localName.c_str()));
    }
};
#else
class RememberedDrives final : public HostDrives {
public:
    std::optional<std::string> RemoteName(const std::string& localName) override {
        const auto drives = ReadRememberedDrives(RememberedDrivesPath());
        const auto found = drives.find(localName.empty() ? '\0' : localName[0]);
        if (found == drives.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    DriveType Type(const std::string& localName) override {
        if (localName == "C:") {
            return DriveType::Fixed;
        }
        return RemoteName(localName) ? DriveType::Remote : DriveType::NoRootDir;
    }
};
#endif

}  // namespace

std::unique_ptr<HostDrives> MakeSystemDrives() {
#ifdef _WIN32
    return std::make_unique<WindowsDrives>();
#else
    return std::make_unique<RememberedDrives>();
#endif
}

}  // namespace lumisk
