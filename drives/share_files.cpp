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
        // \\host\share\dir\file: the host, the share, then the path inside the share.
        const std::optional<RemoteNameParts> host = SplitRemoteName(networkPath);
        const std::size_t shareEnd = host ? host->rest.find('\\') : std::string_view::npos;
        failureReason_.clear();
        if (networkPath.rfind("\\\\", 0) != 0 || shareEnd == std::string_view::npos) {
            failureReason_ = networkPath + " names no file on a share.";
            return EINVAL;
        }
        const std::string server(host->server);
        const std::string share(host->rest.substr(0, shareEnd));
        std::string path(host->rest.substr(shareEnd + 1));
        std::replace(path.begin(), path.end(), '\\', '/');
        // The user's mapping of the share carries the credentials the share wants.
        if (const auto drive = MountedDriveOf(NameOfAdapterAt(server), server, share)) {
            const std::optional<ShareName> mapped = ShareOf(drive->remoteName);
            const auto failure = WriteFileOnMount(mapped->server, mapped->share, path, bytes);
            failureReason_ = failure ? failure->message : std::string();
            return failure ? failure->code : 0;
        }
        const int failure = WriteSmbFile(server, share, path, bytes);
        failureReason_ =
            failure != 0 ? "Writing " + networkPath + ": " + std::strerror(failure) : "";
        return failure;
    }

    std::string FailureReason() override { return failureReason_; }

private:
    // The name the last search found for the adapter at `ip`; empty when none.
    static std::string NameOfAdapterAt(const std::string& ip) {
        for (const DeviceRecord* device = DeviceTable.head; device != nullptr;
             device = device->next) {
            if (ip == device->ipText) {
                return device->name;
            }
        }
        return {};
    }

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
