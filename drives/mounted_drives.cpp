#include "drives/mounted_drives.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "drives/autostart.h"
#include "drives/remembered_drives.h"
#include "drives/remote_name.h"
#include "drives/smb_client_config.h"
#include "drives/smb_share.h"

namespace lumisk {
namespace {

MountState MountOf(const std::string& remoteName) {
    const std::optional<ShareName> name = ShareOf(remoteName);
    return name ? SmbShareMount(name->server, name->share) : MountState{};
}

// Whether a process has a file or its working directory below `localPath`. GVfs unmounts under
// files opened through its FUSE bridge, so the check is made here, as Windows makes it.
bool InUse(const std::string& localPath) {
    const auto below = [&](const std::filesystem::path& link) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(link, error).string();
        return !error && (target == localPath || target.starts_with(localPath + "/"));
    };
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        if (below(process.path() / "cwd")) {
            return true;
        }
        std::error_code unreadable;
        for (const auto& fd :
             std::filesystem::directory_iterator(process.path() / "fd", unreadable)) {
            if (below(fd.path())) {
                return true;
            }
        }
    }
    return false;
}

bool SameText(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

class MountedDrives final : public HostDrives {
public:
    explicit MountedDrives(std::chrono::milliseconds gvfsLimit) : gvfsLimit_(gvfsLimit) {}

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
        failureReason_.clear();
        const std::optional<char> letter = LetterOf(localName);
        const std::optional<ShareName> name = ShareOf(remoteName);
        if (!letter || !name) {
            failureReason_ = localName + " \\" + remoteName + " names no drive and share.";
            return EINVAL;
        }
        auto drives = ReadRememberedDrives(RememberedDrivesPath());
        // The share the letter had is let go only once the new one is mounted, and not at all
        // while files are open on it.
        Release release;
        if (const auto previous = drives.find(*letter);
            previous != drives.end() && !SameText(previous->second, remoteName)) {
            auto remaining = drives;
            remaining.erase(*letter);
            release = ReleaseOf(remaining, previous->second);
            if (release.refusal != 0) {
                return release.refusal;
            }
        }
        if (const int failure = Mount(*name, userName, password)) {
            return failure;
        }
        drives[*letter] = remoteName;
        if (const int failure = WriteRememberedDrives(RememberedDrivesPath(), drives)) {
            return failure;
        }
        // Still mounted, the old share does no harm beyond being there without a letter.
        if (release.share) {
            UnmountSmbShare(release.share->server, release.share->share, gvfsLimit_);
        }
        return InstallAutostartEntry();
    }

    std::string ConnectionsFile() override { return RememberedDrivesPath(); }

    int CancelConnection(const std::string& localName) override {
        failureReason_.clear();
        auto drives = ReadRememberedDrives(RememberedDrivesPath());
        const std::optional<char> letter = LetterOf(localName);
        const auto found = letter ? drives.find(*letter) : drives.end();
        if (found == drives.end()) {
            failureReason_ = (localName.empty() ? "The drive" : localName) +
                             " is not mapped to a network share.";
            return ENOENT;
        }
        const std::string remoteName = found->second;
        drives.erase(found);
        const Release release = ReleaseOf(drives, remoteName);
        if (release.refusal != 0) {
            return release.refusal;
        }
        if (release.share) {
            if (const auto failure =
                    UnmountSmbShare(release.share->server, release.share->share, gvfsLimit_)) {
                return Fail(*failure);
            }
        }
        if (const int failure = WriteRememberedDrives(RememberedDrivesPath(), drives)) {
            return failure;
        }
        return drives.empty() ? RemoveAutostartEntry() : 0;
    }

    std::vector<std::string> TakeNotices() override { return std::exchange(notices_, {}); }
    std::string FailureReason() override { return failureReason_; }

private:
    // What letting a letter's connection go means for its share's mount.
    struct Release {
        std::optional<ShareName> share;  // whose mount ends
        int refusal = 0;                 // why it cannot be let go, an errno value
    };

    // Letting `remoteName` go ends its mount unless a letter of `remaining` maps it too or it is
    // not mounted; files open on it refuse.
    Release ReleaseOf(const std::map<char, std::string>& remaining, const std::string& remoteName) {
        const bool stillMapped = std::ranges::any_of(
            remaining, [&](const auto& drive) { return SameText(drive.second, remoteName); });
        const std::optional<ShareName> name = ShareOf(remoteName);
        const MountState mount =
            name ? SmbShareMount(name->server, name->share, gvfsLimit_) : MountState{};
        if (mount.unanswered) {
            return {std::nullopt, Fail(*mount.unanswered)};
        }
        if (stillMapped || !mount.mounted) {
            return {};
        }
        if (mount.localPath && InUse(*mount.localPath)) {
            failureReason_ = "Files of " + remoteName +
                             " are open: close them, and every window that shows the drive, then "
                             "try again.";
            return {std::nullopt, EBUSY};
        }
        return {name, 0};
    }

    // 'E' of "E:"; nothing for anything else.
    static std::optional<char> LetterOf(const std::string& localName) {
        if (localName.size() != 2 || localName[0] < 'A' || localName[0] > 'Z' ||
            localName[1] != ':') {
            return std::nullopt;
        }
        return localName[0];
    }

    // GVfs follows the user's Samba client configuration, which on Debian refuses SMB1: for an
    // adapter that speaks nothing else, it is let down to SMB1 once, and the mount tried again.
    int Mount(const ShareName& name, const std::string& userName, const std::string& password) {
        const MountState mount = SmbShareMount(name.server, name.share, gvfsLimit_);
        if (mount.unanswered) {
            return Fail(*mount.unanswered);
        }
        // GVfs keeps one mount per share: another letter's mount is shared only with those
        // who could open the share themselves.
        if (mount.mounted) {
            const int refused = OpenSmbShare(name.server, name.share, userName, password);
            if (refused != 0) {
                failureReason_ = "\\\\" + name.server + "\\" + name.share +
                                 " is mounted already, " +
                                 "and refused these credentials: " + std::strerror(refused) + ".";
            }
            return refused;
        }
        std::optional<MountFailure> failure =
            MountSmbShare(name.server, name.share, userName, password, gvfsLimit_);
        const std::string config = SmbClientConfigPath();
        if (failure && !ClientAllowsSmb1(config) &&
            SpeaksOnlySmb1(name.server, name.share, userName, password)) {
            if (AllowSmb1InClient(config) == 0) {
                notices_.push_back("\\\\" + name.server +
                                   " speaks only SMB1: added \"client min protocol = NT1\" to " +
                                   config);
                failure = MountSmbShare(name.server, name.share, userName, password, gvfsLimit_);
            }
        }
        return failure ? Fail(*failure) : 0;
    }

    // Keeps the reason for FailureReason(); the code.
    int Fail(const MountFailure& failure) {
        failureReason_ = failure.message;
        return failure.code;
    }

    const std::chrono::milliseconds gvfsLimit_;
    std::vector<std::string> notices_;
    std::string failureReason_;
};

}  // namespace

std::optional<ShareName> ShareOf(const std::string& remoteName) {
    const std::optional<RemoteNameParts> parts = SplitRemoteName(remoteName);
    if (!remoteName.starts_with("\\\\") || !parts || parts->server.empty() || parts->rest.empty()) {
        return std::nullopt;
    }
    return ShareName{std::string(parts->server), std::string(parts->rest)};
}

std::vector<RememberedDrive> ListRememberedDrives() {
    std::vector<RememberedDrive> list;
    for (const auto& [letter, remoteName] : ReadRememberedDrives(RememberedDrivesPath())) {
        list.push_back({letter, remoteName, MountOf(remoteName)});
    }
    return list;
}

std::vector<std::string> RestoreRememberedDrives() {
    std::vector<std::string> failures;
    for (const RememberedDrive& drive : ListRememberedDrives()) {
        const std::optional<ShareName> name = ShareOf(drive.remoteName);
        if (drive.mount.mounted || !name) {
            continue;
        }
        if (const auto failure = MountSmbShare(name->server, name->share, "", "")) {
            failures.push_back(std::string(1, drive.letter) + ": " + drive.remoteName + ": " +
                               failure->message);
        }
    }
    return failures;
}

std::optional<RememberedDrive> MountedDriveOf(const std::string& deviceName,
                                              const std::string& deviceIp,
                                              const std::string& share) {
    for (const auto& [letter, remoteName] : ReadRememberedDrives(RememberedDrivesPath())) {
        const std::optional<ShareName> name = ShareOf(remoteName);
        if (!name || !NamesShareOf(remoteName, deviceName, deviceIp, share)) {
            continue;
        }
        if (MountState mount = SmbShareMount(name->server, name->share); mount.mounted) {
            return RememberedDrive{letter, remoteName, std::move(mount)};
        }
    }
    return std::nullopt;
}

std::unique_ptr<HostDrives> MakeMountedDrives(std::chrono::milliseconds gvfsLimit) {
    return std::make_unique<MountedDrives>(gvfsLimit);
}

}  // namespace lumisk
