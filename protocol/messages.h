#pragma once
// Byte layouts of the discovery protocol: opcodes, offsets, the request builders and the reply
// readers. Multi-byte numbers are 32-bit little-endian; addresses are in network order.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"

namespace lumisk {

inline constexpr std::size_t MaxDatagramSize = 4096;
using MessageBuffer = std::array<std::uint8_t, MaxDatagramSize>;

enum Opcode : std::uint8_t {
    SearchRequestOpcode = 1,
    SearchReplyOpcode = 2,
    GetRequestOpcode = 3,
    GetReplyOpcode = 4,
    SetRequestOpcode = 5,
    SetReplyOpcode = 6,
};

// One numbering across get and set requests; each number names one request.
enum class SubCode : std::uint8_t {
    StaticAddress = 1,
    DhcpClient = 2,
    ShareList = 3,
    Login = 4,
    Text = 5,  // a set request with a text payload that nothing sends
    Workgroup = 6,
    SetWorkgroup = 7,
    SetCodepage = 8,
    Codepage = 9,
    SetAccessMode = 10,
    DiskStatus = 11,
    ShareName = 12,
};

namespace offset {
inline constexpr std::size_t Opcode = 0;
inline constexpr std::size_t ClientId = 1;
inline constexpr std::size_t DeviceId = 11;
inline constexpr std::size_t DeviceAddress = 17;
inline constexpr std::size_t SubCode = 21;  // the DHCP flag character in a search reply
inline constexpr std::size_t GetPayloadLength = 24;
inline constexpr std::size_t GetPayload = 28;        // also the reply text of a get reply
inline constexpr std::size_t Netmask = 24;           // set request and search reply
inline constexpr std::size_t Gateway = 40;           // set request and search reply
inline constexpr std::size_t SetPayloadLength = 56;  // the name length in a search reply
inline constexpr std::size_t SetPayload = 60;        // the name in a search reply
}  // namespace offset

inline constexpr std::size_t SearchRequestSize = 11;
inline constexpr std::size_t HeaderSize = 21;  // opcode, ClientId, DeviceId
inline constexpr std::size_t AddressFieldSize = 16;
// Separates user name and password in the login payload.
inline constexpr std::array<std::uint8_t, 2> LoginSeparator = {0x55, 0xAA};

// Each builder writes into a zero-filled buffer and returns the number of bytes to send. The
// get and set builders address the first DeviceRecord whose ipText equals SelectedDeviceIp, with
// the ClientId of the card it answered through, and return 0 when there is none.
std::size_t BuildSearchRequest(MessageBuffer& buffer, const ClientIdBytes& clientId);
std::size_t BuildGetRequest(MessageBuffer& buffer, SubCode subCode);
std::size_t BuildLoginRequest(MessageBuffer& buffer);  // LoginUserName, 0x55 0xAA, LoginPassword
// Carries PendingNetmask and PendingGateway in bytes 24..55 and `payload` from byte 60.
std::size_t BuildSetRequest(MessageBuffer& buffer, SubCode subCode, std::string_view payload);
std::size_t BuildDhcpRequest(MessageBuffer& buffer);

void WriteLittleEndian32(std::uint8_t* destination, std::uint32_t value);
std::uint32_t ReadLittleEndian32(std::span<const std::uint8_t> datagram, std::size_t at);

// The readers take the datagram as received; bytes past its end read as zero.

// "%d.%d.%d.%d" of bytes 17..20.
std::string ReplyDeviceAddress(std::span<const std::uint8_t> datagram);

// The text of a get reply: from byte 28 to its first zero byte or the end of the datagram.
std::string_view ReplyText(std::span<const std::uint8_t> datagram);

// What a search reply says of its device, every text already cut to its DeviceRecord field.
struct SearchReply {
    std::string name;
    std::string ipText;
    std::string netmaskText;
    std::string gatewayText;
    std::array<std::uint8_t, DeviceIdSize> deviceId;
    std::string dhcpFlag;
};

// No value when the datagram is too short to carry a DeviceId.
std::optional<SearchReply> ReadSearchReply(std::span<const std::uint8_t> datagram);

}  // namespace lumisk
