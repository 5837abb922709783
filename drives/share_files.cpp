#include "drives/share_files.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include <fstream>
#else
#include <algorithm>

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
        constexpr std::size_t HostStart = 2;
        if (networkPath.rfind("\\\\", 0) != 0) {
            return EINVAL;
        }
        const std::size_t shareStart = networkPath.find('\\', HostStart);
        const std::size_t pathStart = shareStart == std::string::npos
                                          ? std::string::npos
                                          : networkPath.find('\\', shareStart + 1);
        if (pathStart == std::string::npos) {
            return EINVAL;
        }
        std::string path = networkPath.substr(pathStart + 1);
        std::replace(path.begin(), path.end(), '\\', '/');
        return WriteSmbFile(networkPath.substr(HostStart, shareStart - HostStart),
                            networkPath.substr(shareStart + 1, pathStart - shareStart - 1), path,
                            bytes);
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
