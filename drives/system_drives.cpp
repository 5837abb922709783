#include "drives/host_drives.h"

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include "drives/mounted_drives.h"
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

    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override {
        NETRESOURCEA resource{};
        resource.dwType = RESOURCETYPE_ANY;
        resource.lpLocalName = const_cast<char*>(localName.c_str());
        resource.lpRemoteName = const_cast<char*>(remoteName.c_str());
        resource.lpProvider = nullptr;
        return static_cast<int>(WNetAddConnection2A(&resource, password.c_str(), userName.c_str(),
                                                    CONNECT_UPDATE_PROFILE));
    }

    int CancelConnection(const std::string& localName) override {
        return static_cast<int>(
            WNetCancelConnection2A(localName.c_str(), CONNECT_UPDATE_PROFILE, FALSE));
    }
};
#endif

}  // namespace

std::unique_ptr<HostDrives> MakeSystemDrives() {
#ifdef _WIN32
    return std::make_unique<WindowsDrives>();
#else
    return MakeMountedDrives();
#endif
}

}  // namespace lumisk
