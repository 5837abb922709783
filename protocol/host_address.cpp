#include "protocol/host_address.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "protocol/network_cards.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

constexpr std::size_t HostNameBufferSize = 128;

#ifdef _WIN32
std::optional<Ipv4Bytes> ResolvedHostAddress() {
    char hostName[HostNameBufferSize] = {};
    if (gethostname(hostName, sizeof hostName) != 0) {
        return std::nullopt;
    }
    const hostent* host = gethostbyname(hostName);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        return std::nullopt;
    }
    Ipv4Bytes bytes;
    std::memcpy(bytes.data(), host->h_addr_list[0], bytes.size());
    return bytes;
}
#else
bool IsLoopback(const Ipv4Bytes& address) {
    return address[0] == 127;
}

Ipv4Bytes BytesOf(const in_addr& address) {
    Ipv4Bytes bytes;
    std::memcpy(bytes.data(), &address, bytes.size());
    return bytes;
}

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
    const Ipv4Bytes first =
        BytesOf(reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr);
    freeaddrinfo(results);
    return first;
}
#endif

}  // namespace

std::optional<Ipv4Bytes> FindHostAddress() {
    const std::optional<Ipv4Bytes> resolved = ResolvedHostAddress();
#ifdef _WIN32
    return resolved;
#else
    const std::vector<NetworkCard> local = ListNetworkCards();
    if (resolved && !IsLoopback(*resolved) &&
        std::ranges::find(local, *resolved, &NetworkCard::address) != local.end()) {
        return resolved;
    }
    if (local.empty()) {
        return std::nullopt;
    }
    return local.front().address;
#endif
}

}  // namespace lumisk
