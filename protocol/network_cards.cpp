#include "protocol/network_cards.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

// After winsock2.h, which must come before the windows.h that this one includes.
#include <iphlpapi.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace lumisk {
namespace {

Ipv4Bytes BytesOf(const sockaddr* address) {
    Ipv4Bytes bytes;
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr,
                bytes.size());
    return bytes;
}

bool IsLoopback(const Ipv4Bytes& address) {
    return address[0] == 127;
}

}  // namespace

#ifdef _WIN32
std::vector<NetworkCard> ListNetworkCards() {
    constexpr ULONG Flags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    std::vector<NetworkCard> cards;
    // The list's size is known only after a first call; it may grow between two calls.
    std::vector<unsigned char> storage(16 * 1024);
    ULONG size = static_cast<ULONG>(storage.size());
    auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data());
    ULONG result = GetAdaptersAddresses(AF_INET, Flags, nullptr, adapters, &size);
    for (int retry = 0; result == ERROR_BUFFER_OVERFLOW && retry < 3; ++retry) {
        storage.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(storage.data());
        result = GetAdaptersAddresses(AF_INET, Flags, nullptr, adapters, &size);
    }
    if (result != NO_ERROR) {
        return cards;
    }
    for (const IP_ADAPTER_ADDRESSES* adapter = adapters; adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
            continue;
        }
        const bool multicast = (adapter->Flags & IP_ADAPTER_NO_MULTICAST) == 0;
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress;
             unicast != nullptr; unicast = unicast->Next) {
            const sockaddr* address = unicast->Address.lpSockaddr;
            if (address != nullptr && address->sa_family == AF_INET &&
                !IsLoopback(BytesOf(address))) {
                cards.push_back({BytesOf(address), multicast});
            }
        }
    }
    return cards;
}
#else
std::vector<NetworkCard> ListNetworkCards() {
    std::vector<NetworkCard> cards;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return cards;
    }
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0 ||
            IsLoopback(BytesOf(entry->ifa_addr))) {
            continue;
        }
        cards.push_back({BytesOf(entry->ifa_addr), (entry->ifa_flags & IFF_MULTICAST) != 0});
    }
    freeifaddrs(interfaces);
    return cards;
}
#endif

std::vector<Ipv4Bytes> ListMulticastCards() {
    std::vector<Ipv4Bytes> addresses;
    for (const NetworkCard& card : ListNetworkCards()) {
        if (card.multicast && std::ranges::find(addresses, card.address) == addresses.end()) {
            addresses.push_back(card.address);
        }
    }
    return addresses;
}

}  // namespace lumisk
