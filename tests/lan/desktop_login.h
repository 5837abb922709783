#pragma once
// A desktop login in a testbed's workstation, as far as GVfs needs one: a session bus started
// with its own HOME, XDG_RUNTIME_DIR and GVFS_REMOTE_VOLUME_MONITOR_IGNORE=1, from which gvfsd,
// its SMB backends and its FUSE bridge start on demand. The bus has a mount namespace of its own
// (ip netns exec makes one), where the FUSE bridge mounts $XDG_RUNTIME_DIR/gvfs: programs that
// must see the mounts' local paths run there through Run(). Needs root, dbus-daemon and GVfs.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {

class DesktopLogin {
public:
    // Whether dbus-daemon, gvfsd and its SMB and FUSE parts are installed; else `why` says what
    // is missing.
    static bool Available(std::string& why);

    // A login of a user whose home is in the testbed's temporary directory, the same at every
    // Start(); the Samba client there resolves names through the workstation's hosts file, so
    // set that first.
    explicit DesktopLogin(LanTestbed& testbed) : testbed_(testbed) {}
    // End().
    ~DesktopLogin();
    DesktopLogin(const DesktopLogin&) = delete;
    DesktopLogin& operator=(const DesktopLogin&) = delete;

    // Starts the bus in a started testbed; false, with a test failure that quotes its log, when it
    // does not come up.
    bool Start();
    // Ends the bus, and with it GVfs and its mounts. Safe to call more than once.
    void End();

    // Runs `argv` in the bus's network and mount namespaces with the login's environment.
    ProgramResult Run(const std::vector<std::string>& argv, const std::string& stdinText = {},
                      std::chrono::milliseconds timeout = 60s);
    // Puts the login's environment into this process, for GIO called in the test itself.
    void EnterEnvironment() const;

    const std::string& Home() const { return home_; }
    const std::string& RuntimeDirectory() const { return runtimeDirectory_; }
    // The bus's pid, whose namespaces nsenter -t enters.
    pid_t BusPid() const { return busPid_; }
    // The pid of the program at `path` that the bus started, such as GVfs's daemon; -1 when it
    // runs not.
    pid_t StartedByBus(const std::string& path) const;

private:
    std::vector<std::string> Environment() const;

    LanTestbed& testbed_;
    std::string home_;
    std::string runtimeDirectory_;
    pid_t busPid_ = -1;
};

}  // namespace lumisk::lan

// For tests that need a desktop login: skips where GVfs is missing, and fails instead when
// LanTestbed::Required().
#define LUMISK_REQUIRE_DESKTOP_LOGIN()                                              \
    do {                                                                            \
        std::string desktopMissing;                                                 \
        if (!::lumisk::lan::DesktopLogin::Available(desktopMissing)) {              \
            if (::lumisk::lan::LanTestbed::Required()) {                            \
                FAIL() << "no desktop login, though CI is set: " << desktopMissing; \
            }                                                                       \
            GTEST_SKIP() << "no desktop login: " << desktopMissing;                 \
        }                                                                           \
    } while (false)
