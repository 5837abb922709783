#include "sim/adapter_logic.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"

namespace lumisk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Datagram = std::span<const std::uint8_t>;

constexpr std::size_t GetRequestSize = offset::GetPayload;
constexpr std::size_t SetRequestSize = offset::SetPayload;
constexpr std::size_t SetReplySize = offset::GetPayload;
constexpr std::size_t SearchReplyNameLimit = MaxDatagramSize - offset::SetPayload;
constexpr std::size_t GetReplyTextLimit = MaxDatagramSize - offset::GetPayload;
constexpr std::uint8_t LoginAccepted = 1;
constexpr std::uint8_t LoginRefused = 0;
constexpr char DhcpClientFlag = '1';
constexpr char StaticAddressFlag = '0';

// The Overlong fault fills fields to their end with this instead of a terminating zero.
constexpr char OverlongFiller = 'x';
constexpr std::uint32_t OverlongNameLength = 0xFFFFFFFF;
constexpr std::uint8_t ClientIdCorruption = 0xFF;

// Where the Truncated fault cuts, in turn: inside the DeviceId, just after the header, inside
// the netmask and inside the name length of a search reply; before and at the text of a get
// reply; inside the ClientId and the DeviceId of a set reply.
constexpr std::array<std::size_t, 4> SearchReplyCuts = {15, 21, 40, 58};
constexpr std::array<std::size_t, 3> GetReplyCuts = {15, 21, 28};
constexpr std::array<std::size_t, 2> SetReplyCuts = {12, 20};

std::string_view AsText(Datagram bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string_view UpToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// A fixed-width text field of the datagram up to its first zero; the caller has checked that the
// datagram holds the whole field.
std::string_view FieldText(Datagram datagram, std::size_t at, std::size_t width) {
    return UpToZero(AsText(datagram.subspan(at, width)));
}

// The counted payload of a request, cut at the datagram's end whatever its length claims.
Datagram Payload(Datagram datagram, std::size_t lengthAt, std::size_t payloadAt) {
    const std::size_t claimed = ReadLittleEndian32(datagram, lengthAt);
    return datagram.subspan(payloadAt, std::min<std::size_t>(claimed, datagram.size() - payloadAt));
}

bool TargetsAdapter(Datagram datagram, const Adapter& adapter) {
    const DeviceId id = adapter.Id();
    return std::ranges::equal(datagram.subspan(offset::DeviceId, DeviceIdSize), id);
}

Bytes StartReply(Opcode opcode, Datagram request, const Adapter& adapter, std::size_t size) {
    Bytes reply(size, 0);
    reply[offset::Opcode] = opcode;
    std::ranges::copy(request.subspan(offset::ClientId, ClientIdSize),
                      reply.begin() + offset::ClientId);
    std::ranges::copy(adapter.Id(), reply.begin() + offset::DeviceId);
    return reply;
}

// Writes `text` at `at`, zero-padded to `width`, or, when overlong, padded with the filler.
void WriteField(Bytes& reply, std::size_t at, std::size_t width, std::string_view text,
                bool overlong) {
    const std::size_t length = std::min(text.size(), width);
    std::copy_n(text.begin(), length, reply.begin() + static_cast<std::ptrdiff_t>(at));
    if (overlong) {
        std::fill_n(reply.begin() + static_cast<std::ptrdiff_t>(at + length), width - length,
                    OverlongFiller);
    }
}

Bytes SearchReply(Datagram request, const Adapter& adapter) {
    const bool overlong = adapter.fault == Fault::Overlong;
    const std::size_t nameLength = std::min(adapter.name.size(), SearchReplyNameLimit);
    Bytes reply = StartReply(SearchReplyOpcode, request, adapter,
                             overlong ? MaxDatagramSize : offset::SetPayload + nameLength);
    reply[offset::SubCode] = adapter.dhcp ? DhcpClientFlag : StaticAddressFlag;
    WriteField(reply, offset::Netmask, AddressFieldSize, TextOf(adapter.netmask), overlong);
    WriteField(reply, offset::Gateway, AddressFieldSize, TextOf(adapter.gateway), overlong);
    WriteLittleEndian32(&reply[offset::SetPayloadLength],
                        overlong ? OverlongNameLength : static_cast<std::uint32_t>(nameLength));
    WriteField(reply, offset::SetPayload, reply.size() - offset::SetPayload, adapter.name,
               overlong);
    return reply;
}

Bytes TextReply(Datagram request, const Adapter& adapter, std::string_view text) {
    const bool overlong = adapter.fault == Fault::Overlong;
    const std::size_t length = std::min(text.size(), GetReplyTextLimit);
    Bytes reply = StartReply(GetReplyOpcode, request, adapter,
                             overlong ? MaxDatagramSize : offset::GetPayload + length);
    WriteField(reply, offset::GetPayload, reply.size() - offset::GetPayload, text, overlong);
    return reply;
}

bool LoginMatches(Datagram payload, const Adapter& adapter) {
    const auto separator =
        std::search(payload.begin(), payload.end(), LoginSeparator.begin(), LoginSeparator.end());
    if (separator == payload.end()) {
        return false;
    }
    const auto user = AsText(Datagram(payload.begin(), separator));
    const auto password = AsText(Datagram(separator + LoginSeparator.size(), payload.end()));
    return user == adapter.user && password == adapter.password;
}

Bytes GetReply(Datagram request, const Adapter& adapter) {
    switch (static_cast<SubCode>(request[offset::SubCode])) {
        case SubCode::ShareList:
            return TextReply(request, adapter, adapter.shares);
        case SubCode::Login: {
            Bytes reply = StartReply(GetReplyOpcode, request, adapter, offset::GetPayload + 1);
            const bool accepted = LoginMatches(
                Payload(request, offset::GetPayloadLength, offset::GetPayload), adapter);
            reply[offset::GetPayload] = accepted ? LoginAccepted : LoginRefused;
            return reply;
        }
        case SubCode::Workgroup:
            return TextReply(request, adapter, TextOf(adapter.workgroup));
        case SubCode::Codepage:
            return TextReply(request, adapter, TextOf(adapter.codepage));
        case SubCode::DiskStatus:
            return TextReply(request, adapter, adapter.diskStatus);
        case SubCode::ShareName:
            return TextReply(request, adapter, adapter.shareName);
        default:
            return {};
    }
}

// Applies a set request; false when the adapter does not take it.
bool ApplySet(Datagram request, Adapter& adapter, SimClock::time_point now) {
    const std::string_view text =
        UpToZero(AsText(Payload(request, offset::SetPayloadLength, offset::SetPayload)));
    switch (static_cast<SubCode>(request[offset::SubCode])) {
        case SubCode::StaticAddress: {
            const std::optional<Ipv4Bytes> address = ParseIpText(text);
            if (!address) {
                return false;
            }
            adapter.address = *address;
            CopyText(adapter.netmask, FieldText(request, offset::Netmask, AddressFieldSize));
            CopyText(adapter.gateway, FieldText(request, offset::Gateway, AddressFieldSize));
            adapter.dhcp = false;
            return true;
        }
        case SubCode::DhcpClient:
            adapter.address = adapter.leaseAddress.value_or(adapter.address);
            adapter.dhcp = true;
            return true;
        case SubCode::Text:
            return true;
        case SubCode::SetWorkgroup:
            CopyText(adapter.workgroup, text);
            return true;
        case SubCode::SetCodepage:
            CopyText(adapter.codepage, text);
            adapter.silentUntil = now + adapter.replyDelay + adapter.restartTime;
            return true;
        case SubCode::SetAccessMode:
            CopyText(adapter.accessMode, text);
            return true;
        default:
            return false;
    }
}

Bytes SetReply(Datagram request, Adapter& adapter, SimClock::time_point now) {
    if (!ApplySet(request, adapter, now)) {
        return {};
    }
    return StartReply(SetReplyOpcode, request, adapter, SetReplySize);
}

Bytes Answer(Datagram request, Adapter& adapter, SimClock::time_point now) {
    switch (request[offset::Opcode]) {
        case SearchRequestOpcode:
            return request.size() >= SearchRequestSize ? SearchReply(request, adapter) : Bytes{};
        case GetRequestOpcode:
            if (request.size() < GetRequestSize || !TargetsAdapter(request, adapter)) {
                return {};
            }
            return GetReply(request, adapter);
        case SetRequestOpcode:
            if (request.size() < SetRequestSize || !TargetsAdapter(request, adapter)) {
                return {};
            }
            return SetReply(request, adapter, now);
        default:
            return {};
    }
}

template <std::size_t N>
std::size_t NextCut(Adapter& adapter, const std::array<std::size_t, N>& cuts) {
    return cuts[adapter.repliesCut++ % N];
}

void Truncate(Bytes& reply, Adapter& adapter) {
    std::size_t cut = 0;
    switch (reply[offset::Opcode]) {
        case SearchReplyOpcode:
            cut = NextCut(adapter, SearchReplyCuts);
            break;
        case GetReplyOpcode:
            cut = NextCut(adapter, GetReplyCuts);
            break;
        default:
            cut = NextCut(adapter, SetReplyCuts);
            break;
    }
    reply.resize(std::min(reply.size(), cut));
}

Bytes FloodDatagram(Datagram request) {
    Bytes datagram(SearchRequestSize, 0);
    datagram[offset::Opcode] = FloodOpcode;
    std::ranges::copy(request.subspan(offset::ClientId, ClientIdSize),
                      datagram.begin() + offset::ClientId);
    return datagram;
}

}  // namespace

Response Respond(Adapter& adapter, std::span<const std::uint8_t> datagram,
                 SimClock::time_point now) {
    if (datagram.size() < SearchRequestSize || adapter.fault == Fault::Silent ||
        adapter.IsSilentAt(now) ||
        (adapter.fault == Fault::IgnoresSets && datagram[offset::Opcode] == SetRequestOpcode)) {
        return {};
    }
    const Ipv4Bytes addressBefore = adapter.address;
    Response response;
    response.datagram = Answer(datagram, adapter, now);
    if (response.datagram.empty()) {
        return {};
    }
    if (adapter.address != addressBefore) {
        response.leftAddress = addressBefore;
    }
    if (adapter.replyToGroup) {
        response.destination = GroupAddressBytes;
    } else {
        std::copy_n(datagram.begin() + offset::ClientId + ClientIdAddressOffset,
                    response.destination.size(), response.destination.begin());
    }
    switch (adapter.fault) {
        case Fault::WrongClientId:
            response.datagram[offset::ClientId] ^= ClientIdCorruption;
            break;
        case Fault::Truncated:
            Truncate(response.datagram, adapter);
            break;
        case Fault::Flood:
            response.datagram = FloodDatagram(datagram);
            response.flood = true;
            break;
        default:
            break;
    }
    return response;
}

}  // namespace lumisk::sim
