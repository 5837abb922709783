#include "protocol/host_address.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "protocol/network_cards.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

constexpr std::size_t HostNameBufferSize = 128;

std::optional<Ipv4Bytes> ResolvedHostAddress() {
    char hostName[HostNameBufferSize] = {};
    if (gethostname(hostName, sizeof hostName - 1) != 0) {
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(hostName, nullptr, &hints, &results) != 0 || results == nullptr) {
        return std::nullopt;
    }
    Ipv4Bytes first;
    std::memcpy(first.data(), &reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr,
                first.size());
    freeaddrinfo(results);
    return first;
}

}  // namespace

std::optional<Ipv4Bytes> FindHostAddress() {
    // No card holds a loopback address, so a resolved one is not taken either.
    const std::optional<Ipv4Bytes> resolved = ResolvedHostAddress();
    const std::vector<NetworkCard> local = ListNetworkCards();
    if (resolved && std::ranges::find(local, *resolved, &NetworkCard::address) != local.end()) {
        return resolved;
    }
    if (local.empty()) {
        return std::nullopt;
    }
    return local.front().address;
}

}  // namespace lumisk
