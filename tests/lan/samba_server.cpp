#include "tests/lan/samba_server.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace lumisk::lan {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char SmbdPath[] = "/usr/sbin/smbd";
constexpr char SmbpasswdPath[] = "/usr/bin/smbpasswd";
constexpr int SmbPort = 445;
constexpr std::chrono::seconds StartTimeout{20};
constexpr std::chrono::milliseconds PollStep{50};
// Accounts the server adds live in a passwd file only its LAN sees, at free uids from here.
constexpr uid_t FirstAccountUid = 60100;
constexpr gid_t NoGroup = 65534;

// Whether the process has ended, without reaping it: the testbed that started it does that.
bool Ended(pid_t pid) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid == pid;
}

bool MakeDirectories(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code error;
        std::filesystem::create_directories(path, error);
        if (error) {
            return false;
        }
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::trunc);
    file << content;
    file.close();
    return static_cast<bool>(file);
}

std::string ServerConfig(const std::string& root, const std::vector<SambaShare>& shares,
                         const std::vector<std::string>& names, SmbDialects dialects) {
    std::ostringstream config;
    config << "[global]\n"
           << "netbios name = LUMISK-SMB\n"
           << "netbios aliases =";
    for (const std::string& name : names) {
        config << ' ' << name;
    }
    // Every file and database lives below `root`. Without NetBIOS (port 139) and printing smbd
    // needs no helper daemons, and listening on every address of the LAN serves the adapters'
    // addresses that simulators add later.
    config << "\nworkgroup = WORKGROUP\n"
           << "server role = standalone server\n"
           << "map to guest = bad user\n"
           << "passdb backend = tdbsam:" << root << "/private/passdb.tdb\n"
           << "private dir = " << root << "/private\n"
           << "lock directory = " << root << "/lock\n"
           << "state directory = " << root << "/state\n"
           << "cache directory = " << root << "/cache\n"
           << "pid directory = " << root << "/run\n"
           << "ncalrpc dir = " << root << "/run/ncalrpc\n"
           << "binddns dir = " << root << "/bind-dns\n"
           << "logging = file\n"
           << "max log size = 0\n"
           << "usershare path =\n"
           << "smb ports = " << SmbPort << "\n"
           << "disable netbios = yes\n"
           << "bind interfaces only = no\n"
           << "load printers = no\n"
           << "printcap name = /dev/null\n"
           << "disable spoolss = yes\n"
           << "obey pam restrictions = no\n"
           << "unix password sync = no\n";
    if (dialects == SmbDialects::OnlySmb1) {
        config << "server min protocol = NT1\n"
               << "server max protocol = NT1\n";
    }
    for (const SambaShare& share : shares) {
        // Files belong to root whoever writes them, so no directory needs opening up.
        config << "\n[" << share.name << "]\n"
               << "path = " << root << "/shares/" << share.name << "\n"
               << "read only = no\n"
               << "force user = root\n";
        if (share.guest) {
            config << "guest ok = yes\n";
        } else {
            config << "guest ok = no\n"
                   << "valid users = " << share.user << "\n";
        }
    }
    return config.str();
}

}  // namespace

bool SambaServer::Available(std::string& why) {
    for (const char* program : {SmbdPath, SmbpasswdPath}) {
        if (access(program, X_OK) != 0) {
            why = std::string("no ") + program + " (Debian package samba)";
            return false;
        }
    }
    why.clear();
    return true;
}

SambaServer::~SambaServer() {
    Stop();
}

bool SambaServer::Start(LanTestbed& testbed, const std::vector<SambaShare>& shares,
                        const std::vector<std::string>& names, SmbDialects dialects) {
    Stop();
    testbed_ = &testbed;
    char directory[] = "/tmp/lumisk-smb-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
        return false;
    }
    directory_ = directory;
    std::vector<std::string> directories;
    for (const char* part : {"private", "lock", "state", "cache", "run", "bind-dns"}) {
        directories.push_back(directory_ + "/" + part);
    }
    for (const SambaShare& share : shares) {
        directories.push_back(Directory(share.name));
    }
    if (!MakeDirectories(directories) ||
        !WriteFile(ConfigPath(), ServerConfig(directory_, shares, names, dialects))) {
        ADD_FAILURE() << "could not lay out " << directory_;
        Stop();
        return false;
    }
    if (!AddAccounts(shares)) {
        Stop();
        return false;
    }
    pid_ = testbed.StartInLan({SmbdPath, "--foreground", "--no-process-group",
                               "--configfile=" + ConfigPath(), "--log-basename=" + directory_},
                              directory_ + "/smbd.out");
    if (pid_ < 0 || !WaitUntilListening()) {
        ADD_FAILURE() << "smbd did not come up:\n" << Log();
        Stop();
        return false;
    }
    return true;
}

void SambaServer::Stop() {
    if (pid_ > 0) {
        testbed_->StopInLan(pid_);
        pid_ = -1;
    }
    if (!directory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        directory_.clear();
    }
}

std::string SambaServer::Directory(const std::string& shareName) const {
    return directory_ + "/shares/" + shareName;
}

std::string SambaServer::Log() const {
    return ReadWhole(directory_ + "/smbd.out") + ReadWhole(directory_ + "/log.smbd");
}

std::string SambaServer::ConfigPath() const {
    return directory_ + "/smb.conf";
}

bool SambaServer::AddAccounts(const std::vector<SambaShare>& shares) {
    // Samba wants a Unix account behind each of its users; the LAN's own passwd holds them, so
    // the host's account database is never touched.
    std::string passwd = ReadWhole("/etc/passwd");
    std::set<std::string> users;
    uid_t uid = FirstAccountUid;
    for (const SambaShare& share : shares) {
        if (share.guest || !users.insert(share.user).second || getpwnam(share.user.c_str())) {
            continue;
        }
        while (getpwuid(uid) != nullptr) {
            ++uid;
        }
        passwd += share.user + ":x:" + std::to_string(uid++) + ":" + std::to_string(NoGroup) +
                  "::/nonexistent:/usr/sbin/nologin\n";
    }
    testbed_->SetLanFile("passwd", passwd);
    for (const SambaShare& share : shares) {
        if (share.guest) {
            continue;
        }
        const ProgramResult added =
            testbed_->RunInLan({SmbpasswdPath, "-c", ConfigPath(), "-s", "-a", share.user},
                               share.password + "\n" + share.password + "\n");
        if (added.exitCode != 0) {
            ADD_FAILURE() << "smbpasswd -a " << share.user << " failed:\n"
                          << added.out << added.err;
            return false;
        }
    }
    return true;
}

bool SambaServer::WaitUntilListening() {
    const Clock::time_point deadline = Clock::now() + StartTimeout;
    while (Clock::now() < deadline) {
        if (Ended(pid_)) {
            return false;
        }
        if (testbed_->WorkstationConnects(LanTestbed::LanIp(), SmbPort)) {
            return true;
        }
        std::this_thread::sleep_for(PollStep);
    }
    return false;
}

bool WriteSambaClientHome(const std::string& home) {
    std::ostringstream config;
    config << "[global]\n"
           << "name resolve order = host\n"
           << "private dir = " << home << "/private\n"
           << "lock directory = " << home << "/lock\n"
           << "state directory = " << home << "/state\n"
           << "cache directory = " << home << "/cache\n";
    return MakeDirectories({home + "/.smb", home + "/private", home + "/lock", home + "/state",
                            home + "/cache"}) &&
           WriteFile(home + "/.smb/smb.conf", config.str());
}

SambaClientHome::SambaClientHome() {
    char directory[] = "/tmp/lumisk-smbclient-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        return;
    }
    const std::string home = directory;
    if (!WriteSambaClientHome(home)) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
        return;
    }
    if (const char* old = std::getenv("HOME")) {
        hadHome_ = true;
        oldHome_ = old;
    }
    setenv("HOME", home.c_str(), 1);
    directory_ = home;
}

SambaClientHome::~SambaClientHome() {
    if (directory_.empty()) {
        return;
    }
    if (hadHome_) {
        setenv("HOME", oldHome_.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

}  // namespace lumisk::lan
