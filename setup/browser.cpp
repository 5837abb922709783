#include "setup/browser.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
class ExplorerBrowser final : public BrowserLauncher {
public:
    void OpenUrl(const std::string& url) override { WinExec(("explorer " + url).c_str(), SW_HIDE); }
};
#else
class XdgBrowser final : public BrowserLauncher {
public:
    void OpenUrl(const std::string& url) override {
        char program[] = "xdg-open";
        std::string target = url;
        char* arguments[] = {program, target.data(), nullptr};
        pid_t opener = 0;
        if (posix_spawnp(&opener, program, nullptr, nullptr, arguments, environ) != 0) {
            return;
        }
        // Reaped in the background, so the window never waits and no zombie is left.
        std::thread([opener] { waitpid(opener, nullptr, 0); }).detach();
    }
};
#endif

}  // namespace

std::unique_ptr<BrowserLauncher> MakeSystemBrowser() {
#ifdef _WIN32
    return std::make_unique<ExplorerBrowser>();
#else
    return std::make_unique<XdgBrowser>();
#endif
}

}  // namespace lumisk
