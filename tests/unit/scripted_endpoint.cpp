#include "tests/unit/scripted_endpoint.h"

#include <algorithm>
#include <array>
#include <memory>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"

namespace lumisk::testing {

void FakeClock::Sleep(std::chrono::milliseconds duration) {
    now += duration;
    sleeps.push_back(duration);
}

std::chrono::milliseconds FakeClock::Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
}

void ScriptedTransport::Deliver(Bytes bytes, std::chrono::milliseconds delay, bool readFails) {
    const Arrival arrival{clock_.now + delay, std::move(bytes), readFails};
    const auto later = std::ranges::upper_bound(arrivals_, arrival.at, {}, &Arrival::at);
    arrivals_.insert(later, arrival);
}

void ScriptedTransport::SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) {
    sent.push_back({clock_.Elapsed(), Bytes(datagram.begin(), datagram.end()), card});
    if (onSend) {
        onSend(datagram);
    }
}

void ScriptedTransport::JoinGroupOn(std::span<const Ipv4Bytes> cards) {
    joined.assign(cards.begin(), cards.end());
}

bool ScriptedTransport::WaitReadable(std::chrono::milliseconds timeout) {
    if (!arrivals_.empty() && arrivals_.front().at <= clock_.now + timeout) {
        clock_.now = std::max(clock_.now, arrivals_.front().at);
        return true;
    }
    clock_.now += timeout;
    return false;
}

int ScriptedTransport::Receive(std::span<std::uint8_t> buffer) {
    ++receives;
    if (arrivals_.empty() || arrivals_.front().at > clock_.now) {
        return -1;
    }
    const Arrival arrival = std::move(arrivals_.front());
    arrivals_.pop_front();
    if (arrival.readFails) {
        return -1;
    }
    const std::size_t length = std::min(arrival.bytes.size(), buffer.size());
    std::copy_n(arrival.bytes.begin(), length, buffer.begin());
    return static_cast<int>(length);
}

ScriptedEndpoint::ScriptedEndpoint() {
    auto scripted = std::make_unique<ScriptedTransport>(clock);
    transport = scripted.get();
    std::array<std::uint8_t, ClientIdSize> clientId;
    std::ranges::copy(TestClientId, clientId.begin());
    AttachEndpoint(std::move(scripted), clock, clientId);
}

ScriptedEndpoint::~ScriptedEndpoint() {
    CloseEndpoint();
    ClearDeviceTable();
    ClearShareTable();
    for (char* text : {SelectedDeviceIp, PendingIp, PendingNetmask, PendingGateway}) {
        std::fill_n(text, IpTextSize, '\0');
    }
    CopyText(LoginUserName, "");
    CopyText(LoginPassword, "");
    CopyText(WorkgroupText, "");
    CopyText(CodepageText, "");
    CopyText(ShareNameText, "");
    CopyText(DiskStatusText, "");
    CopyText(AccessModeText, "");
}

Bytes ReplyHeader(std::uint8_t opcode, const Ipv4Bytes& deviceAddress, std::uint8_t identity) {
    Bytes bytes(offset::GetPayload, 0);
    bytes[offset::Opcode] = opcode;
    std::ranges::copy(TestClientId, bytes.begin() + offset::ClientId);
    std::fill_n(bytes.begin() + offset::DeviceId, DeviceIdAddressOffset, identity);
    std::ranges::copy(deviceAddress, bytes.begin() + offset::DeviceAddress);
    return bytes;
}

Bytes SearchReplyBytes(const std::string& name, const Ipv4Bytes& address, char dhcpFlag,
                       const std::string& netmask, const std::string& gateway,
                       std::uint8_t identity) {
    Bytes bytes = ReplyHeader(SearchReplyOpcode, address, identity);
    bytes.resize(offset::SetPayload + name.size(), 0);
    bytes[offset::SubCode] = static_cast<std::uint8_t>(dhcpFlag);
    std::ranges::copy(netmask, bytes.begin() + offset::Netmask);
    std::ranges::copy(gateway, bytes.begin() + offset::Gateway);
    WriteLittleEndian32(&bytes[offset::SetPayloadLength], static_cast<std::uint32_t>(name.size()));
    std::ranges::copy(name, bytes.begin() + offset::SetPayload);
    return bytes;
}

Bytes GetReplyBytes(const Ipv4Bytes& deviceAddress, const std::string& text) {
    Bytes bytes = ReplyHeader(GetReplyOpcode, deviceAddress);
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

Bytes SetReplyBytes(const Ipv4Bytes& deviceAddress) {
    return ReplyHeader(SetReplyOpcode, deviceAddress);
}

void SelectAdapter(const Ipv4Bytes& address, std::uint8_t identity) {
    std::array<std::uint8_t, DeviceIdSize> deviceId;
    std::fill_n(deviceId.begin(), DeviceIdAddressOffset, identity);
    std::ranges::copy(address, deviceId.begin() + DeviceIdAddressOffset);
    AppendDevice("NAS", FormatIpText(address), "255.255.255.0", "192.0.2.254", deviceId, "0");
    CopyText(SelectedDeviceIp, FormatIpText(address));
}

}  // namespace lumisk::testing
