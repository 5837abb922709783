#include "setup/browser.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>

#include <utility>

#include "protocol/utf16_text.h"
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#endif

namespace lumisk {
namespace {

#ifndef _WIN32
using namespace std::chrono_literals;

// xdg-open hands the page to the desktop's opener and ends within this when all is well; one
// without a browser to start ends with an error status as soon.
constexpr auto OpenerVerdictWait = 1500ms;
constexpr auto OpenerPoll = 20ms;
#endif

#ifdef _WIN32
class ShellBrowser final : public BrowserLauncher {
public:
    explicit ShellBrowser(ShellOpen open) : open_(std::move(open)) {}

    // ShellExecuteW's values up to 32 are its errors.
    bool OpenUrl(const std::string& url) override { return open_(Widen(url)) > 32; }

private:
    ShellOpen open_;
};

// The shell may hand the URL to a COM server: the calling thread takes COM for the call.
std::intptr_t ShellExecuteOpen(const std::wstring& url) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return reinterpret_cast<std::intptr_t>(result);
}
#else
class XdgBrowser final : public BrowserLauncher {
public:
    bool OpenUrl(const std::string& url) override {
        char program[] = "xdg-open";
        std::string target = url;
        char* arguments[] = {program, target.data(), nullptr};
        pid_t opener = 0;
        if (posix_spawnp(&opener, program, nullptr, nullptr, arguments, environ) != 0) {
            return false;
        }
        for (auto waited = 0ms; waited < OpenerVerdictWait; waited += OpenerPoll) {
            int status = 0;
            if (waitpid(opener, &status, WNOHANG) == opener) {
                return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            }
            std::this_thread::sleep_for(OpenerPoll);
        }
        // Reaped in the background, so the window never waits longer and no zombie is left.
        std::thread([opener] { waitpid(opener, nullptr, 0); }).detach();
        return true;
    }
};
#endif

}  // namespace

#ifdef _WIN32
std::unique_ptr<BrowserLauncher> MakeShellBrowser(ShellOpen open) {
    return std::make_unique<ShellBrowser>(std::move(open));
}
#endif

std::unique_ptr<BrowserLauncher> MakeSystemBrowser() {
#ifdef _WIN32
    return MakeShellBrowser(ShellExecuteOpen);
#else
    return std::make_unique<XdgBrowser>();
#endif
}

}  // namespace lumisk
