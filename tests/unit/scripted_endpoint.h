#pragma once
// A clock that moves only when the protocol waits or sleeps, and a transport that records what
// is sent and delivers scripted datagrams at chosen times: the protocol's timing without waiting.

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "protocol/clock.h"
#include "protocol/datagram_transport.h"
#include "protocol/ip_text.h"

namespace lumisk::testing {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class FakeClock final : public Clock {
public:
    TimePoint Now() override { return now; }
    void Sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds Elapsed() const;

    TimePoint start{};
    TimePoint now{};
    std::vector<std::chrono::milliseconds> sleeps;
};

class ScriptedTransport final : public DatagramTransport {
public:
    struct Sent {
        std::chrono::milliseconds at;
        Bytes bytes;
        Ipv4Bytes card;
    };

    explicit ScriptedTransport(FakeClock& clock) : clock_(clock) {}

    // Makes `bytes` readable `delay` from now; a failed read when `readFails`.
    void Deliver(Bytes bytes, std::chrono::milliseconds delay = 0ms, bool readFails = false);

    void SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) override;
    void JoinGroupOn(std::span<const Ipv4Bytes> cards) override;
    bool WaitReadable(std::chrono::milliseconds timeout) override;
    int Receive(std::span<std::uint8_t> buffer) override;

    std::vector<Sent> sent;
    std::vector<Ipv4Bytes> joined;
    int receives = 0;
    // Called after each send, so a test can answer a request.
    std::function<void(std::span<const std::uint8_t>)> onSend;

private:
    struct Arrival {
        Clock::TimePoint at;
        Bytes bytes;
        bool readFails;
    };

    FakeClock& clock_;
    std::deque<Arrival> arrivals_;
};

// Attaches a scripted endpoint with a fixed ClientId and host address 192.0.2.1; closes it and
// empties the process-wide tables and texts when it goes.
class ScriptedEndpoint {
public:
    ScriptedEndpoint();
    ~ScriptedEndpoint();

    FakeClock clock;
    ScriptedTransport* transport;  // owned by the endpoint
};

inline constexpr std::uint8_t TestClientId[10] = {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 192, 0, 2, 1};

// A reply as an adapter sends it: opcode, TestClientId, its DeviceId (identity then address).
Bytes ReplyHeader(std::uint8_t opcode, const Ipv4Bytes& deviceAddress,
                  std::uint8_t identity = 0x11);
Bytes SearchReplyBytes(const std::string& name, const Ipv4Bytes& address, char dhcpFlag = '0',
                       const std::string& netmask = "255.255.255.0",
                       const std::string& gateway = "192.0.2.254", std::uint8_t identity = 0x11);
Bytes GetReplyBytes(const Ipv4Bytes& deviceAddress, const std::string& text);
Bytes SetReplyBytes(const Ipv4Bytes& deviceAddress);

// Makes one record for `address` and selects it, as a click in the device list does.
void SelectAdapter(const Ipv4Bytes& address, std::uint8_t identity = 0x11);

}  // namespace lumisk::testing
