#include "protocol/endpoint.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "protocol/fixed_text.h"
#include "protocol/host_address.h"
#include "protocol/socket_api.h"
#include "protocol/udp_transport.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace lumisk {

char HostAddressText[IpTextSize];
std::uint8_t ClientId[ClientIdSize];

namespace {

class ClosedTransport final : public DatagramTransport {
public:
    void SendToGroup(std::span<const std::uint8_t>) override {}
    bool WaitReadable(std::chrono::milliseconds) override { return false; }
    int Receive(std::span<std::uint8_t>) override { return -1; }
};

struct Endpoint {
    std::unique_ptr<DatagramTransport> transport;
    Clock* clock = &SystemClock();
    bool ownsSocketLibrary = false;
};

Endpoint& OpenState() {
    static Endpoint endpoint;
    return endpoint;
}

void SetIdentity(const std::array<std::uint8_t, ClientIdSize>& clientId) {
    std::memcpy(ClientId, clientId.data(), ClientIdSize);
    const std::span<const std::uint8_t, 4> address(ClientId + ClientIdAddressOffset, 4);
    CopyText(HostAddressText, FormatIpText(address));
}

}  // namespace

std::array<std::uint8_t, ClientIdSize> MakeClientId(unsigned seed, const Ipv4Bytes& hostAddress) {
    std::array<std::uint8_t, ClientIdSize> clientId{};
    std::mt19937 generator(seed);
    for (std::size_t i = 0; i < ClientIdAddressOffset; ++i) {
        clientId[i] = static_cast<std::uint8_t>(generator() & 0xFF);
    }
    std::memcpy(clientId.data() + ClientIdAddressOffset, hostAddress.data(), hostAddress.size());
    return clientId;
}

std::optional<std::string> TryOpenEndpoint() {
    if (!StartSocketLibrary()) {
        return "the socket library did not start";
    }
    const std::optional<Ipv4Bytes> hostAddress = FindHostAddress();
    if (!hostAddress) {
        StopSocketLibrary();
        return "this host has no usable IPv4 address";
    }
    // The clock seeds the identity; the process id keeps two copies started in the same second
    // apart.
    const auto seed =
        static_cast<unsigned>(std::time(nullptr)) ^ (static_cast<unsigned>(getpid()) << 16);
    AttachEndpoint(std::make_unique<UdpTransport>(), SystemClock(),
                   MakeClientId(seed, *hostAddress));
    OpenState().ownsSocketLibrary = true;
    return std::nullopt;
}

void OpenEndpoint() {
    if (TryOpenEndpoint()) {
        std::exit(1);
    }
}

void AttachEndpoint(std::unique_ptr<DatagramTransport> transport, Clock& clock,
                    const std::array<std::uint8_t, ClientIdSize>& clientId) {
    Endpoint& endpoint = OpenState();
    endpoint.transport = std::move(transport);
    endpoint.clock = &clock;
    endpoint.ownsSocketLibrary = false;
    SetIdentity(clientId);
}

void CloseEndpoint() {
    Endpoint& endpoint = OpenState();
    endpoint.transport.reset();
    if (endpoint.ownsSocketLibrary) {
        StopSocketLibrary();
        endpoint.ownsSocketLibrary = false;
    }
}

bool IsEndpointOpen() {
    return OpenState().transport != nullptr;
}

bool MatchesClientId(std::span<const std::uint8_t> datagram) {
    return datagram.size() > ClientIdSize &&
           std::memcmp(datagram.data() + 1, ClientId, ClientIdSize) == 0;
}

DatagramTransport& EndpointTransport() {
    static ClosedTransport closed;
    DatagramTransport* open = OpenState().transport.get();
    return open != nullptr ? *open : closed;
}

Clock& EndpointClock() {
    return *OpenState().clock;
}

}  // namespace lumisk
