#include "protocol/search.h"

#include <vector>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/messages.h"
#include "protocol/receive_buffer.h"

namespace lumisk {
namespace {

class SearchCollector {
public:
    SearchCollector()
        : transport_(EndpointTransport()),
          clock_(EndpointClock()),
          deadline_(clock_.Now() + 2 * SearchNominalTime) {}

    bool TimeIsUp() { return clock_.Now() >= deadline_; }

    // Reads every datagram waiting now; false when not one read succeeded.
    bool TakeWaiting() {
        bool anyRead = false;
        do {
            if (buffer_.ReadFrom(transport_)) {
                anyRead = true;
                Consider(buffer_.Datagram());
            }
        } while (!TimeIsUp() && transport_.WaitReadable(0ms));
        return anyRead;
    }

    // A pause of the search that keeps taking replies until it has lasted `duration`.
    void CollectFor(std::chrono::milliseconds duration) {
        const Clock::TimePoint until = clock_.Now() + duration;
        for (Clock::TimePoint now = clock_.Now(); now < until && !TimeIsUp(); now = clock_.Now()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now);
            if (transport_.WaitReadable(left)) {
                TakeWaiting();
            }
        }
    }

    // One counted poll: false when a read failed, which the search does not count.
    bool Poll() {
        if (!transport_.WaitReadable(SearchPollWait)) {
            return true;
        }
        return TakeWaiting();
    }

private:
    static void Consider(std::span<const std::uint8_t> datagram) {
        if (!datagram.empty() && datagram[offset::Opcode] == SearchReplyOpcode &&
            MatchesClientId(datagram)) {
            ParseSearchReply(datagram);
        }
    }

    DatagramTransport& transport_;
    Clock& clock_;
    const Clock::TimePoint deadline_;
    ReceiveBuffer buffer_;
};

}  // namespace

void SearchDevices() {
    ClearDeviceTable();
    // One request per card, each with the card's ClientId; all of them go out at each send, so
    // the search takes as long whatever the number of cards.
    struct CardRequest {
        Ipv4Bytes card;
        MessageBuffer bytes{};
        std::size_t size = 0;
    };
    std::vector<CardRequest> requests;
    for (const Ipv4Bytes& card : RefreshEndpointCards()) {
        CardRequest& request = requests.emplace_back(CardRequest{card});
        request.size = BuildSearchRequest(request.bytes, ClientIdThrough(card));
    }

    SearchCollector collector;
    for (const std::chrono::milliseconds pause : SearchSendPauses) {
        for (const CardRequest& request : requests) {
            EndpointTransport().SendToGroup(std::span(request.bytes.data(), request.size),
                                            request.card);
        }
        collector.CollectFor(pause);
    }
    for (int attempt = 0; attempt < SearchPolls && !collector.TimeIsUp();) {
        if (!collector.Poll()) {
            continue;
        }
        if (++attempt < SearchPolls) {
            collector.CollectFor(SearchPollPause);
        }
    }
}

void ParseSearchReply(std::span<const std::uint8_t> datagram) {
    const std::optional<SearchReply> reply = ReadSearchReply(datagram);
    if (!reply || IsDeviceKnown(reply->ipText)) {
        return;
    }
    AppendDevice(reply->name, reply->ipText, reply->netmaskText, reply->gatewayText,
                 reply->deviceId, reply->dhcpFlag, CardOfReply(datagram).value_or(Ipv4Bytes{}));
}

}  // namespace lumisk
