#include "setup/browser.h"

#ifdef _WIN32
#include <windows.h>
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
class ExplorerBrowser final : public BrowserLauncher {
public:
    bool OpenUrl(const std::string& url) override {
        // WinExec's values up to 31 are its errors.
        return WinExec(("explorer " + url).c_str(), SW_HIDE) > 31;
    }
};
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

std::unique_ptr<BrowserLauncher> MakeSystemBrowser() {
#ifdef _WIN32
    return std::make_unique<ExplorerBrowser>();
#else
    return std::make_unique<XdgBrowser>();
#endif
}

}  // namespace lumisk
