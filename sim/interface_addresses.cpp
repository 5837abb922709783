#include "sim/interface_addresses.h"

#include <fcntl.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <stdexcept>

extern char** environ;

namespace lumisk::sim {
namespace {

std::set<Ipv4Bytes> AddressesOn(const std::string& interfaceName) {
    std::set<Ipv4Bytes> addresses;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return addresses;
    }
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
            interfaceName == entry->ifa_name) {
            Ipv4Bytes address;
            std::memcpy(address.data(),
                        &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr,
                        address.size());
            addresses.insert(address);
        }
    }
    freeifaddrs(interfaces);
    return addresses;
}

// Runs `ip -force -batch -` with `commands` on its standard input, so one address already there
// or already gone does not stop the others. True when ip ends with status 0.
bool RunIpBatch(const std::string& commands) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    // The simulator blocks its stop signals and ignores SIGPIPE; ip gets the usual ones back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    char program[] = "ip";
    char force[] = "-force";
    char batch[] = "-batch";
    char fromStdin[] = "-";
    char* arguments[] = {program, force, batch, fromStdin, nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program, &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[0]);
    if (spawned != 0) {
        close(pipeEnds[1]);
        return false;
    }
    for (std::size_t written = 0; written < commands.size();) {
        const ssize_t result =
            write(pipeEnds[1], commands.data() + written, commands.size() - written);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            break;
        }
        written += static_cast<std::size_t>(result);
    }
    close(pipeEnds[1]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string AddressCommand(const char* verb, const Ipv4Bytes& address, int prefixLength,
                           const std::string& interfaceName) {
    return std::string("address ") + verb + " " + FormatIpText(address) + "/" +
           std::to_string(prefixLength) + " dev " + interfaceName + "\n";
}

}  // namespace

InterfaceAddresses::InterfaceAddresses(std::string interfaceName)
    : interfaceName_(std::move(interfaceName)) {
    std::ofstream("/proc/sys/net/ipv4/conf/" + interfaceName_ + "/promote_secondaries") << "1\n";
}

InterfaceAddresses::~InterfaceAddresses() {
    std::string commands;
    for (const auto& [address, prefixLength] : added_) {
        commands += AddressCommand("del", address, prefixLength, interfaceName_);
    }
    if (!commands.empty()) {
        RunIpBatch(commands);
    }
}

void InterfaceAddresses::Add(const std::vector<InterfaceAddress>& addresses) {
    const std::set<Ipv4Bytes> present = AddressesOn(interfaceName_);
    std::string commands;
    for (const auto& [address, prefixLength] : addresses) {
        if (!present.contains(address) && added_.emplace(address, prefixLength).second) {
            commands += AddressCommand("add", address, prefixLength, interfaceName_);
        }
    }
    if (!commands.empty() && !RunIpBatch(commands)) {
        throw std::runtime_error("ip could not add addresses to " + interfaceName_);
    }
}

void InterfaceAddresses::Remove(const Ipv4Bytes& address) {
    const auto entry = added_.find(address);
    if (entry == added_.end()) {
        return;
    }
    RunIpBatch(AddressCommand("del", entry->first, entry->second, interfaceName_));
    added_.erase(entry);
}

}  // namespace lumisk::sim
