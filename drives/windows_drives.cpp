#include "drives/windows_drives.h"

#include <winnetwk.h>

#include "drives/remote_name.h"
#include "drives/windows_failures.h"
#include "protocol/utf16_text.h"

namespace lumisk {
namespace {

class WindowsDrives final : public HostDrives {
public:
    explicit WindowsDrives(WindowsDriveCalls& calls) : calls_(calls) {}

    std::optional<std::string> RemoteName(const std::string& localName) override {
        const WindowsDriveCalls::Connection connection = calls_.GetConnection(Widen(localName));
        if (connection.result != NO_ERROR) {
            return std::nullopt;
        }
        return Narrow(connection.remoteName);
    }

    // The system wants the root directory, with its backslash.
    DriveType Type(const std::string& localName) override {
        return static_cast<DriveType>(calls_.DriveType(Widen(localName + "\\")));
    }

    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override {
        return Explained(calls_.AddConnection(Widen(localName), Widen(remoteName), Widen(password),
                                              Widen(userName), CONNECT_UPDATE_PROFILE),
                         {ServerOf(remoteName), localName, {}});
    }

    int CancelConnection(const std::string& localName) override {
        const std::optional<std::string> remoteName = RemoteName(localName);
        return Explained(calls_.CancelConnection(Widen(localName), CONNECT_UPDATE_PROFILE),
                         {ServerOf(remoteName.value_or("")), localName, {}});
    }

    std::string FailureReason() override { return failureReason_; }

private:
    // `result`, with its reason kept for FailureReason().
    int Explained(DWORD result, const FailureSubject& subject) {
        failureReason_ =
            result == NO_ERROR ? std::string() : ExplainFailure(result, subject, calls_);
        return static_cast<int>(result);
    }

    WindowsDriveCalls& calls_;
    std::string failureReason_;
};

}  // namespace

std::unique_ptr<HostDrives> MakeWindowsDrives(WindowsDriveCalls& calls) {
    return std::make_unique<WindowsDrives>(calls);
}

}  // namespace lumisk
