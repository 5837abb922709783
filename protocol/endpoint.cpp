#include "protocol/endpoint.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <random>
#include <variant>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "protocol/host_address.h"
#include "protocol/network_cards.h"
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
    void SendToGroup(std::span<const std::uint8_t>, const Ipv4Bytes&) override {}
    void JoinGroupOn(std::span<const Ipv4Bytes>) override {}
    bool WaitReadable(std::chrono::milliseconds) override { return false; }
    int Receive(std::span<std::uint8_t>) override { return -1; }
};

struct Endpoint {
    std::unique_ptr<DatagramTransport> transport;
    Clock* clock = &SystemClock();
    bool ownsSocketLibrary = false;
    CardSource cardSource;
    std::vector<Ipv4Bytes> cards;
};

Endpoint& OpenState() {
    static Endpoint endpoint;
    return endpoint;
}

void SetIdentity(const ClientIdBytes& clientId) {
    std::memcpy(ClientId, clientId.data(), ClientIdSize);
    const std::span<const std::uint8_t, 4> address(ClientId + ClientIdAddressOffset, 4);
    CopyText(HostAddressText, FormatIpText(address));
}

Ipv4Bytes HostAddress() {
    Ipv4Bytes address;
    std::copy_n(ClientId + ClientIdAddressOffset, address.size(), address.begin());
    return address;
}

// The cards that can multicast, or the one asked for; the host's address where none is listed.
CardSource SystemCards(const std::optional<Ipv4Bytes>& onlyCard) {
    return [onlyCard] {
        std::vector<Ipv4Bytes> cards = ListMulticastCards();
        if (onlyCard) {
            std::erase_if(cards, [&](const Ipv4Bytes& card) { return card != *onlyCard; });
            return cards;
        }
        return cards.empty() ? std::vector<Ipv4Bytes>{HostAddress()} : cards;
    };
}

}  // namespace

ClientIdBytes MakeClientId(unsigned seed, const Ipv4Bytes& hostAddress) {
    ClientIdBytes clientId{};
    std::mt19937 generator(seed);
    for (std::size_t i = 0; i < ClientIdAddressOffset; ++i) {
        clientId[i] = static_cast<std::uint8_t>(generator() & 0xFF);
    }
    std::memcpy(clientId.data() + ClientIdAddressOffset, hostAddress.data(), hostAddress.size());
    return clientId;
}

std::optional<EndpointFailure> TryOpenEndpoint(const std::optional<Ipv4Bytes>& onlyCard) {
    using Kind = EndpointFailure::Kind;
    CloseEndpoint();
    if (!StartSocketLibrary()) {
        return EndpointFailure{Kind::SocketLibrary, "the socket library did not start"};
    }
    const auto fail = [](EndpointFailure failure) {
        StopSocketLibrary();
        return failure;
    };
    const std::vector<Ipv4Bytes> cards = ListMulticastCards();
    if (onlyCard && std::ranges::find(cards, *onlyCard) == cards.end()) {
        return fail(
            {Kind::NoAddress, "no network card that is up and can multicast has the address " +
                                  FormatIpText(*onlyCard)});
    }
    const std::optional<Ipv4Bytes> hostAddress = onlyCard ? onlyCard : FindHostAddress();
    if (!hostAddress) {
        return fail({Kind::NoAddress, "this host has no usable IPv4 address"});
    }
    auto opened = UdpTransport::Open();
    if (auto* failure = std::get_if<EndpointFailure>(&opened)) {
        return fail(std::move(*failure));
    }
    // The clock seeds the identity; the process id keeps two copies started in the same second
    // apart.
    const auto seed =
        static_cast<unsigned>(std::time(nullptr)) ^ (static_cast<unsigned>(getpid()) << 16);
    AttachEndpoint(std::get<std::unique_ptr<UdpTransport>>(std::move(opened)), SystemClock(),
                   MakeClientId(seed, *hostAddress), SystemCards(onlyCard));
    OpenState().ownsSocketLibrary = true;
    return std::nullopt;
}

void AttachEndpoint(std::unique_ptr<DatagramTransport> transport, Clock& clock,
                    const ClientIdBytes& clientId, CardSource cards) {
    Endpoint& endpoint = OpenState();
    endpoint.transport = std::move(transport);
    endpoint.clock = &clock;
    endpoint.ownsSocketLibrary = false;
    SetIdentity(clientId);
    endpoint.cardSource = cards ? std::move(cards) : [] { return std::vector{HostAddress()}; };
    endpoint.cards.clear();
    RefreshEndpointCards();
}

const std::vector<Ipv4Bytes>& RefreshEndpointCards() {
    Endpoint& endpoint = OpenState();
    if (endpoint.transport != nullptr) {
        endpoint.cards = endpoint.cardSource();
        endpoint.transport->JoinGroupOn(endpoint.cards);
    }
    return endpoint.cards;
}

void CloseEndpoint() {
    Endpoint& endpoint = OpenState();
    endpoint.transport.reset();
    endpoint.cards.clear();
    if (endpoint.ownsSocketLibrary) {
        StopSocketLibrary();
        endpoint.ownsSocketLibrary = false;
    }
}

bool IsEndpointOpen() {
    return OpenState().transport != nullptr;
}

bool CarriesClientId(std::span<const std::uint8_t> datagram, const ClientIdBytes& clientId) {
    return datagram.size() > ClientIdSize &&
           std::memcmp(datagram.data() + 1, clientId.data(), ClientIdSize) == 0;
}

bool MatchesClientId(std::span<const std::uint8_t> datagram) {
    return CardOfReply(datagram).has_value();
}

ClientIdBytes ClientIdThrough(const Ipv4Bytes& card) {
    ClientIdBytes clientId;
    std::copy_n(ClientId, ClientIdAddressOffset, clientId.begin());
    std::ranges::copy(card, clientId.begin() + ClientIdAddressOffset);
    return clientId;
}

std::optional<Ipv4Bytes> CardOfReply(std::span<const std::uint8_t> datagram) {
    for (const Ipv4Bytes& card : OpenState().cards) {
        if (CarriesClientId(datagram, ClientIdThrough(card))) {
            return card;
        }
    }
    return std::nullopt;
}

Ipv4Bytes CardOf(const DeviceRecord& device) {
    Ipv4Bytes card;
    std::ranges::copy(device.cardAddress, card.begin());
    return card == Ipv4Bytes{} ? HostAddress() : card;
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
