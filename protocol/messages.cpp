#include "protocol/messages.h"

#include <algorithm>
#include <cstring>

#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"

namespace lumisk {
namespace {

// Opcode, the ClientId of the card the selected device answered through, its DeviceId and
// sub-code; false when no device is selected.
bool WriteHeader(MessageBuffer& buffer, Opcode opcode, SubCode subCode) {
    const DeviceRecord* device = FindSelectedDevice();
    if (device == nullptr) {
        return false;
    }
    buffer[offset::Opcode] = opcode;
    std::ranges::copy(ClientIdThrough(CardOf(*device)), &buffer[offset::ClientId]);
    std::memcpy(&buffer[offset::DeviceId], device->deviceId, DeviceIdSize);
    buffer[offset::SubCode] = static_cast<std::uint8_t>(subCode);
    return true;
}

std::size_t WritePayload(MessageBuffer& buffer, std::size_t lengthAt, std::size_t payloadAt,
                         std::span<const std::uint8_t> payload) {
    const std::size_t length = std::min(payload.size(), buffer.size() - payloadAt);
    WriteLittleEndian32(&buffer[lengthAt], static_cast<std::uint32_t>(length));
    std::copy_n(payload.begin(), length, buffer.begin() + static_cast<std::ptrdiff_t>(payloadAt));
    return payloadAt + length;
}

template <std::size_t N>
void WriteAddressField(MessageBuffer& buffer, std::size_t at, const char (&text)[N]) {
    const std::string_view value = TextOf(text);
    std::copy_n(value.begin(), std::min(value.size(), AddressFieldSize),
                buffer.begin() + static_cast<std::ptrdiff_t>(at));
}

std::uint8_t ByteAt(std::span<const std::uint8_t> datagram, std::size_t at) {
    return at < datagram.size() ? datagram[at] : 0;
}

// The text of a fixed field of the datagram: up to its first zero, the field's end or the
// datagram's end, and at most `limit` characters.
std::string FieldText(std::span<const std::uint8_t> datagram, std::size_t at, std::size_t width,
                      std::size_t limit) {
    if (at >= datagram.size()) {
        return {};
    }
    const auto field = datagram.subspan(at, std::min(width, datagram.size() - at));
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    const auto length = std::min(static_cast<std::size_t>(end - field.begin()), limit);
    return std::string(reinterpret_cast<const char*>(field.data()), length);
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void WriteLittleEndian32(std::uint8_t* destination, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        destination[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t ReadLittleEndian32(std::span<const std::uint8_t> datagram, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(ByteAt(datagram, at + i)) << (8 * i);
    }
    return value;
}

std::size_t BuildSearchRequest(MessageBuffer& buffer, const ClientIdBytes& clientId) {
    buffer[offset::Opcode] = SearchRequestOpcode;
    std::ranges::copy(clientId, &buffer[offset::ClientId]);
    return SearchRequestSize;
}

std::size_t BuildGetRequest(MessageBuffer& buffer, SubCode subCode) {
    if (!WriteHeader(buffer, GetRequestOpcode, subCode)) {
        return 0;
    }
    return WritePayload(buffer, offset::GetPayloadLength, offset::GetPayload, {});
}

std::size_t BuildLoginRequest(MessageBuffer& buffer) {
    if (!WriteHeader(buffer, GetRequestOpcode, SubCode::Login)) {
        return 0;
    }
    const std::string_view user = TextOf(LoginUserName);
    const std::string_view password = TextOf(LoginPassword);
    std::array<std::uint8_t, sizeof LoginUserName + LoginSeparator.size() + sizeof LoginPassword>
        payload{};
    auto end = std::ranges::copy(AsBytes(user), payload.begin()).out;
    end = std::ranges::copy(LoginSeparator, end).out;
    end = std::ranges::copy(AsBytes(password), end).out;
    return WritePayload(buffer, offset::GetPayloadLength, offset::GetPayload,
                        std::span(payload.begin(), end));
}

std::size_t BuildSetRequest(MessageBuffer& buffer, SubCode subCode, std::string_view payload) {
    if (!WriteHeader(buffer, SetRequestOpcode, subCode)) {
        return 0;
    }
    WriteAddressField(buffer, offset::Netmask, PendingNetmask);
    WriteAddressField(buffer, offset::Gateway, PendingGateway);
    return WritePayload(buffer, offset::SetPayloadLength, offset::SetPayload, AsBytes(payload));
}

std::size_t BuildDhcpRequest(MessageBuffer& buffer) {
    if (!WriteHeader(buffer, SetRequestOpcode, SubCode::DhcpClient)) {
        return 0;
    }
    return WritePayload(buffer, offset::SetPayloadLength, offset::SetPayload, {});
}

std::string ReplyDeviceAddress(std::span<const std::uint8_t> datagram) {
    const std::array<std::uint8_t, 4> address = {
        ByteAt(datagram, offset::DeviceAddress), ByteAt(datagram, offset::DeviceAddress + 1),
        ByteAt(datagram, offset::DeviceAddress + 2), ByteAt(datagram, offset::DeviceAddress + 3)};
    return FormatIpText(address);
}

std::string_view ReplyText(std::span<const std::uint8_t> datagram) {
    if (datagram.size() <= offset::GetPayload) {
        return {};
    }
    const auto text = datagram.subspan(offset::GetPayload);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    return std::string_view(reinterpret_cast<const char*>(text.data()),
                            static_cast<std::size_t>(end - text.begin()));
}

std::optional<SearchReply> ReadSearchReply(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < HeaderSize) {
        return std::nullopt;
    }
    SearchReply reply;
    std::copy_n(datagram.begin() + offset::DeviceId, DeviceIdSize, reply.deviceId.begin());
    reply.ipText = ReplyDeviceAddress(datagram);
    const std::uint8_t dhcpCharacter = ByteAt(datagram, offset::SubCode);
    reply.dhcpFlag = dhcpCharacter == 0 ? "" : std::string(1, static_cast<char>(dhcpCharacter));
    constexpr std::size_t AddressTextLimit = IpTextSize - 1;
    reply.netmaskText = FieldText(datagram, offset::Netmask, AddressFieldSize, AddressTextLimit);
    reply.gatewayText = FieldText(datagram, offset::Gateway, AddressFieldSize, AddressTextLimit);
    // The name is counted, not terminated; a length past the datagram or the field is cut.
    const std::size_t nameLength = ReadLittleEndian32(datagram, offset::SetPayloadLength);
    if (datagram.size() > offset::SetPayload) {
        const std::size_t available = datagram.size() - offset::SetPayload;
        const std::size_t length = std::min({nameLength, available, sizeof DeviceRecord::name - 1});
        reply.name.assign(reinterpret_cast<const char*>(&datagram[offset::SetPayload]), length);
    }
    return reply;
}

}  // namespace lumisk
