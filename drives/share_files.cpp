#include "drives/share_files.h"

#ifdef _WIN32
#include "drives/windows_share_files.h"
#else
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "drives/mounted_drives.h"
#include "drives/remote_name.h"
#include "drives/smb_share.h"
#include "protocol/device_table.h"
#endif

namespace lumisk {
namespace {

#ifndef _WIN32
class SmbShareFiles final : public ShareFileWriter {
public:
    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        failureReason_.clear();
        const std::optional<SharePath> target = SplitSharePath(networkPath);
        if (!target) {
            failureReason_ = networkPath + " names no file on a share.";
            return EINVAL;
        }
        std::string path = target->rest;
        std::replace(path.begin(), path.end(), '\\', '/');
        // The user's mapping of the share carries the credentials the share wants.
        if (const auto drive =
                MountedDriveOf(NameOfDeviceAt(target->server), target->server, target->share)) {
            const std::optional<ShareName> mapped = ShareOf(drive->remoteName);
            const auto failure = WriteFileOnMount(mapped->server, mapped->share, path, bytes);
            failureReason_ = failure ? failure->message : std::string();
            return failure ? failure->code : 0;
        }
        const int failure = WriteSmbFile(target->server, target->share, path, bytes);
        failureReason_ =
            failure != 0 ? "Writing " + networkPath + ": " + std::strerror(failure) : "";
        return failure;
    }

    std::string FailureReason() override { return failureReason_; }

private:
    std::string failureReason_;
};
#endif

}  // namespace

std::unique_ptr<ShareFileWriter> MakeSystemShareFiles() {
#ifdef _WIN32
    return MakeWindowsShareFiles(SystemDriveCalls());
#else
    return std::make_unique<SmbShareFiles>();
#endif
}

}  // namespace lumisk
