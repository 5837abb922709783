#pragma once
// An SMB server for LAN tests: smbd in a testbed's LAN with a configuration, accounts and shares
// of its own under a temporary directory, so the host's Samba (configuration, databases, a
// running service) plays no part. Needs root and smbd.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {

struct SambaShare {
    std::string name;
    bool guest = true;  // anyone may read and write; otherwise only `user` with `password`
    std::string user;
    std::string password;
};

// The protocols a server speaks: today's defaults, or only SMB1 as adapters with old kernels do.
enum class SmbDialects { Default, OnlySmb1 };

class SambaServer {
public:
    // Whether smbd and smbpasswd are installed; otherwise `why` says what is missing.
    static bool Available(std::string& why);

    SambaServer() = default;
    // Stop().
    ~SambaServer();
    SambaServer(const SambaServer&) = delete;
    SambaServer& operator=(const SambaServer&) = delete;

    // Serves `shares` on port 445 at every address of the testbed's LAN, under its own NetBIOS
    // name and each of `names`, and waits until the workstation can connect. False, with a test
    // failure that quotes its log, when it cannot. Stop the server before the testbed.
    bool Start(LanTestbed& testbed, const std::vector<SambaShare>& shares,
               const std::vector<std::string>& names = {},
               SmbDialects dialects = SmbDialects::Default);
    // Ends smbd and its workers by their process group and deletes the temporary directory;
    // the accounts go with the testbed. Safe to call more than once.
    void Stop();

    // The directory behind a share.
    std::string Directory(const std::string& shareName) const;
    // What smbd has logged so far.
    std::string Log() const;
    // The server's pid, which leads the process group of smbd and its workers.
    pid_t Pid() const { return pid_; }

private:
    std::string ConfigPath() const;
    bool AddAccounts(const std::vector<SambaShare>& shares);
    bool WaitUntilListening();

    LanTestbed* testbed_ = nullptr;
    std::string directory_;
    pid_t pid_ = -1;
};

// Writes HOME/.smb/smb.conf and the directories it names for a Samba client that resolves
// names through the hosts file only and keeps its caches and databases below `home`.
bool WriteSambaClientHome(const std::string& home);

// For its lifetime, points libsmbclient in this process at a client configuration of its own:
// $HOME/.smb/smb.conf, which it reads instead of /etc/samba/smb.conf whenever it starts up.
// Names resolve through the hosts file only, and its caches and databases live in a temporary
// directory, so no lookup outlives the test. Restores HOME and deletes the directory at the end.
class SambaClientHome {
public:
    SambaClientHome();
    ~SambaClientHome();
    SambaClientHome(const SambaClientHome&) = delete;
    SambaClientHome& operator=(const SambaClientHome&) = delete;

    // False when the configuration could not be written.
    bool Ready() const { return !directory_.empty(); }

private:
    std::string directory_;
    bool hadHome_ = false;
    std::string oldHome_;
};

}  // namespace lumisk::lan

// For tests that need an SMB server: skips where smbd is missing, and fails instead when
// LanTestbed::Required().
#define LUMISK_REQUIRE_SAMBA()                                                 \
    do {                                                                       \
        std::string sambaMissing;                                              \
        if (!::lumisk::lan::SambaServer::Available(sambaMissing)) {            \
            if (::lumisk::lan::LanTestbed::Required()) {                       \
                FAIL() << "no SMB server, though CI is set: " << sambaMissing; \
            }                                                                  \
            GTEST_SKIP() << "no SMB server: " << sambaMissing;                 \
        }                                                                      \
    } while (false)
