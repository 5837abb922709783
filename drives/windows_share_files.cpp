#include "drives/windows_share_files.h"

#include "drives/remote_name.h"
#include "drives/windows_failures.h"
#include "protocol/utf16_text.h"

namespace lumisk {
namespace {

class WindowsShareFiles final : public ShareFileWriter {
public:
    explicit WindowsShareFiles(WindowsDriveCalls& calls) : calls_(calls) {}

    int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) override {
        const DWORD result = calls_.WriteWholeFile(Widen(networkPath), bytes);
        failureReason_ =
            result == NO_ERROR
                ? std::string()
                : ExplainFailure(result, {ServerOf(networkPath), {}, networkPath}, calls_);
        return static_cast<int>(result);
    }

    std::string FailureReason() override { return failureReason_; }

private:
    WindowsDriveCalls& calls_;
    std::string failureReason_;
};

}  // namespace

std::unique_ptr<ShareFileWriter> MakeWindowsShareFiles(WindowsDriveCalls& calls) {
    return std::make_unique<WindowsShareFiles>(calls);
}

}  // namespace lumisk
