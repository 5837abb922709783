#include "tests/lan/desktop_login.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/lan/samba_server.h"

namespace lumisk::lan {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds BusStartTimeout{10};
constexpr std::chrono::milliseconds PollStep{20};
constexpr const char* Programs[] = {"/usr/bin/dbus-daemon", "/usr/libexec/gvfsd",
                                    "/usr/libexec/gvfsd-smb", "/usr/libexec/gvfsd-fuse"};

}  // namespace

bool DesktopLogin::Available(std::string& why) {
    for (const char* program : Programs) {
        if (access(program, X_OK) != 0) {
            why =
                std::string("no ") + program + " (Debian packages dbus, gvfs-backends, gvfs-fuse)";
            return false;
        }
    }
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "no /dev/fuse";
        return false;
    }
    why.clear();
    return true;
}

pid_t DesktopLogin::StartedByBus(const std::string& path) const {
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        std::error_code unreadable;
        if (std::filesystem::read_symlink(process.path() / "exe", unreadable) != path) {
            continue;
        }
        // The bus leads a process group of its own, and its services stay in it.
        const pid_t pid = std::stoi(process.path().filename().string());
        const std::vector<std::string> stat = ProcessStat(pid);
        if (stat.size() > 2 && stat[2] == std::to_string(busPid_)) {
            return pid;
        }
    }
    return -1;
}

DesktopLogin::~DesktopLogin() {
    End();
}

bool DesktopLogin::Start() {
    static std::atomic<int> loginsMade{0};
    if (testbed_.TemporaryPath("") == "/") {
        ADD_FAILURE() << "a desktop login needs a started testbed";
        return false;
    }
    home_ = testbed_.TemporaryPath("home");
    runtimeDirectory_ = testbed_.TemporaryPath("run-" + std::to_string(++loginsMade));
    if (!std::filesystem::exists(home_ + "/.smb/smb.conf") && !WriteSambaClientHome(home_)) {
        ADD_FAILURE() << "could not make the home " << home_;
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(runtimeDirectory_, error);
    chmod(runtimeDirectory_.c_str(), 0700);
    std::vector<std::string> argv = {"env"};
    const std::vector<std::string> environment = Environment();
    argv.insert(argv.end(), environment.begin(), environment.end());
    argv.insert(argv.end(), {"dbus-daemon", "--session", "--nofork",
                             "--address=unix:path=" + runtimeDirectory_ + "/bus"});
    const std::string log = runtimeDirectory_ + ".log";
    busPid_ = testbed_.StartInWorkstation(argv, log);
    const Clock::time_point deadline = Clock::now() + BusStartTimeout;
    while (busPid_ > 0 && !std::filesystem::exists(runtimeDirectory_ + "/bus")) {
        if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the session bus did not come up:\n" << ReadWhole(log);
            End();
            return false;
        }
        std::this_thread::sleep_for(PollStep);
    }
    return busPid_ > 0;
}

void DesktopLogin::End() {
    // GVfs's processes end with the bus they were started from.
    if (busPid_ > 0) {
        testbed_.StopInWorkstation(busPid_);
        busPid_ = -1;
    }
}

ProgramResult DesktopLogin::Run(const std::vector<std::string>& argv, const std::string& stdinText,
                                std::chrono::milliseconds timeout) {
    std::vector<std::string> command = {"nsenter", "-t", std::to_string(busPid_), "-n", "-m",
                                        "--",      "env"};
    const std::vector<std::string> environment = Environment();
    command.insert(command.end(), environment.begin(), environment.end());
    command.insert(command.end(), argv.begin(), argv.end());
    return RunProgram(command, stdinText, timeout);
}

void DesktopLogin::EnterEnvironment() const {
    unsetenv("XDG_CONFIG_HOME");
    for (const std::string& variable : Environment()) {
        const std::size_t equals = variable.find('=');
        if (equals != std::string::npos) {
            setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
        }
    }
}

std::vector<std::string> DesktopLogin::Environment() const {
    return {"-u",
            "XDG_CONFIG_HOME",
            "HOME=" + home_,
            "XDG_RUNTIME_DIR=" + runtimeDirectory_,
            "DBUS_SESSION_BUS_ADDRESS=unix:path=" + runtimeDirectory_ + "/bus",
            "GVFS_REMOTE_VOLUME_MONITOR_IGNORE=1"};
}

}  // namespace lumisk::lan
