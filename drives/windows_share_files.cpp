#include "drives/windows_share_files.h"

#include "drives/remote_name.h"
#include "drives/windows_failures.h"
#include "protocol/device_table.h"
#include "protocol/utf16_text.h"

namespace lumisk {
namespace {

class WindowsShareFiles final : public ShareFileWriter {
public:
    explicit WindowsShareFiles(WindowsDriveCalls& calls) : calls_(calls) {}

    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        const std::string path = ThroughMapping(networkPath);
        const DWORD result = calls_.WriteWholeFile(Widen(path), bytes);
        failureReason_ = result == NO_ERROR
                             ? std::string()
                             : ExplainFailure(result, {ServerOf(path), {}, path}, calls_);
        return static_cast<int>(result);
    }

    std::string FailureReason() override { return failureReason_; }

private:
    // Windows keys a session by the server's name as written: a mapping of the share, made by
    // this program or another under the adapter's name or address, carries the credentials the
    // share wants only for its own remote name. The file goes through that name when a drive
    // that is connected maps the share; else through `networkPath` as it is.
    std::string ThroughMapping(const std::string& networkPath) {
        const std::optional<SharePath> target = SplitSharePath(networkPath);
        if (!target) {
            return networkPath;
        }
        const std::string adapterName = NameOfDeviceAt(target->server);
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
            const WindowsDriveCalls::Connection connection = calls_.GetConnection({letter, L':'});
            const std::string remoteName = Narrow(connection.remoteName);
            if (connection.result == NO_ERROR &&
                NamesShareOf(remoteName, adapterName, target->server, target->share)) {
                return remoteName + "\\" + target->rest;
            }
        }
        return networkPath;
    }

    WindowsDriveCalls& calls_;
    std::string failureReason_;
};

}  // namespace

std::unique_ptr<ShareFileWriter> MakeWindowsShareFiles(WindowsDriveCalls& calls) {
    return std::make_unique<WindowsShareFiles>(calls);
}

}  // namespace lumisk
