#include "drives/share_files.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include "protocol/utf16_text.h"
#else
#include <algorithm>

#include "drives/mounted_drives.h"
#include "drives/remote_name.h"
#include "drives/smb_share.h"
#include "protocol/device_table.h"
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
class WindowsShareFiles final : public ShareFileWriter {
public:
    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        const std::wstring path = Widen(networkPath);
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return EIO;
        }
        DWORD written = 0;
        const bool whole =
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        if (!CloseHandle(file) || !whole ||
            GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return EIO;
        }
        return 0;
    }
};
#else
class SmbShareFiles final : public ShareFileWriter {
public:
    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        // \\host\share\dir\file: the host, the share, then the path inside the share.
        const std::optional<RemoteNameParts> host = SplitRemoteName(networkPath);
        const std::size_t shareEnd = host ? host->rest.find('\\') : std::string_view::npos;
        if (networkPath.rfind("\\\\", 0) != 0 || shareEnd == std::string_view::npos) {
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
            return failure ? failure->code : 0;
        }
        return WriteSmbFile(server, share, path, bytes);
    }

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
};
#endif

}  // namespace

std::unique_ptr<ShareFileWriter> MakeSystemShareFiles() {
#ifdef _WIN32
    return std::make_unique<WindowsShareFiles>();
#else
    return std::make_unique<SmbShareFiles>();
#endif
}

}  // namespace lumisk
