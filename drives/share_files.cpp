#include "drives/share_files.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include <fstream>
#else
#include <algorithm>

#include "drives/remote_name.h"
#include "drives/smb_share.h"
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
class WindowsShareFiles final : public ShareFileWriter {
public:
    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        std::ofstream file(networkPath, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file || GetFileAttributesA(networkPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
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
        std::string path(host->rest.substr(shareEnd + 1));
        std::replace(path.begin(), path.end(), '\\', '/');
        return WriteSmbFile(std::string(host->server), std::string(host->rest.substr(0, shareEnd)),
                            path, bytes);
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
