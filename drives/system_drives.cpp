#include "drives/host_drives.h"

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include <cerrno>

#include "drives/remembered_drives.h"
#include "drives/remote_name.h"
#include "drives/smb_share.h"
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

    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override {
        const std::optional<char> letter = LetterOf(localName);
        const std::optional<RemoteNameParts> parts = SplitRemoteName(remoteName);
        if (!letter || !remoteName.starts_with("\\\\") || !parts) {
            return EINVAL;
        }
        if (const int refused = OpenSmbShare(std::string(parts->server), std::string(parts->rest),
                                             userName, password)) {
            return refused;
        }
        auto drives = ReadRememberedDrives(RememberedDrivesPath());
        drives[*letter] = remoteName;
        return WriteRememberedDrives(RememberedDrivesPath(), drives);
    }

    std::string ConnectionsFile() override { return RememberedDrivesPath(); }

    int CancelConnection(const std::string& localName) override {
        auto drives = ReadRememberedDrives(RememberedDrivesPath());
        const std::optional<char> letter = LetterOf(localName);
        if (!letter || drives.erase(*letter) == 0) {
            return ENOENT;
        }
        return WriteRememberedDrives(RememberedDrivesPath(), drives);
    }

private:
    // 'E' of "E:"; nothing for anything else.
    static std::optional<char> LetterOf(const std::string& localName) {
        if (localName.size() != 2 || localName[0] < 'A' || localName[0] > 'Z' ||
            localName[1] != ':') {
            return std::nullopt;
        }
        return localName[0];
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
