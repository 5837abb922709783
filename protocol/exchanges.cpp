#include "protocol/exchanges.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"
#include "protocol/receive_buffer.h"
#include "protocol/utf8_text.h"

namespace lumisk {
namespace {

std::FILE* diagnosticStream = stdout;

enum class AddressTest { SelectedDevice, PendingAddress, None };

struct Exchange {
    bool drain;
    Opcode replyOpcode;
    AddressTest addressTest;
    int attempts;
};

constexpr Exchange Query{true, GetReplyOpcode, AddressTest::SelectedDevice, QueryAttempts};
constexpr Exchange Login{false, GetReplyOpcode, AddressTest::SelectedDevice, QueryAttempts};
constexpr Exchange TextSet{false, SetReplyOpcode, AddressTest::SelectedDevice, QueryAttempts};
constexpr Exchange StaticChange{false, SetReplyOpcode, AddressTest::PendingAddress,
                                AddressChangeAttempts};
constexpr Exchange DhcpChange{false, SetReplyOpcode, AddressTest::None, AddressChangeAttempts};

// The time an exchange takes when nothing answers. Datagrams of other opcodes and failed reads
// use up no attempt, so a flood of them could hold an exchange forever: twice this bounds it.
std::chrono::milliseconds NominalTime(const Exchange& exchange) {
    const auto drain = exchange.drain ? DrainReads * ReplyWait : 0ms;
    return drain + exchange.attempts * ReplyWait + (exchange.attempts - 1) * AttemptPause;
}

bool PassesAddressTest(const Exchange& exchange, std::span<const std::uint8_t> reply) {
    // Too short to carry a DeviceId, a reply names no device, least of all a new address.
    if (reply.size() < HeaderSize) {
        return false;
    }
    switch (exchange.addressTest) {
        case AddressTest::SelectedDevice:
            return ReplyDeviceAddress(reply) == TextOf(SelectedDeviceIp);
        case AddressTest::PendingAddress:
            return ReplyDeviceAddress(reply) == TextOf(PendingIp);
        case AddressTest::None:
            break;
    }
    return true;
}

// Empties the receive queue of replies left over from earlier exchanges, six datagrams at most.
void Drain(DatagramTransport& transport, ReceiveBuffer& buffer) {
    for (int read = 0; read < DrainReads; ++read) {
        if (transport.WaitReadable(ReplyWait)) {
            buffer.ReadFrom(transport);
        }
    }
}

// Sends the built request and waits for the reply it asks for. True when a reply was accepted;
// it is then in `reply`.
bool Run(const Exchange& exchange, std::size_t (*build)(MessageBuffer&), ReceiveBuffer& reply) {
    DatagramTransport& transport = EndpointTransport();
    Clock& clock = EndpointClock();
    const Clock::TimePoint deadline = clock.Now() + 2 * NominalTime(exchange);

    if (exchange.drain) {
        Drain(transport, reply);
    }
    MessageBuffer request{};
    const std::size_t requestSize = build(request);
    // Every builder fails without a selected device; were one not to, the exchange fails here
    // rather than follow a null.
    const DeviceRecord* device = FindSelectedDevice();
    if (requestSize == 0 || device == nullptr) {
        return false;
    }
    // The adapter is asked through the card it answered through, and only a reply that carries
    // that card's ClientId is its answer.
    const Ipv4Bytes card = CardOf(*device);
    const ClientIdBytes clientId = ClientIdThrough(card);
    transport.SendToGroup(std::span(request.data(), requestSize), card);

    for (int attempts = 0; clock.Now() < deadline;) {
        if (transport.WaitReadable(ReplyWait)) {
            if (!reply.ReadFrom(transport)) {
                continue;
            }
            const auto datagram = reply.Datagram();
            if (datagram.empty() || datagram[offset::Opcode] != exchange.replyOpcode) {
                continue;
            }
            if (CarriesClientId(datagram, clientId) && PassesAddressTest(exchange, datagram)) {
                return true;
            }
        }
        if (++attempts >= exchange.attempts) {
            return false;
        }
        clock.Sleep(AttemptPause);
    }
    return false;
}

template <SubCode subCode>
std::size_t BuildGet(MessageBuffer& buffer) {
    return BuildGetRequest(buffer, subCode);
}

template <SubCode subCode, auto& text>
std::size_t BuildTextSet(MessageBuffer& buffer) {
    return BuildSetRequest(buffer, subCode, TextOf(text));
}

// A query whose reply text goes into `target`, with its diagnostic line.
template <std::size_t N>
int RunTextQuery(std::size_t (*build)(MessageBuffer&), char (&target)[N], const char* format) {
    ReceiveBuffer reply;
    if (!Run(Query, build, reply)) {
        return 0;
    }
    CopyText(target, ReplyText(reply.Datagram()));
    if (diagnosticStream != nullptr) {
        std::fprintf(diagnosticStream, format, PrintableText(TextOf(target)).c_str());
        std::fflush(diagnosticStream);
    }
    return 1;
}

int RunSet(std::size_t (*build)(MessageBuffer&)) {
    ReceiveBuffer reply;
    return Run(TextSet, build, reply) ? 1 : 0;
}

// Moves the selected device's record and SelectedDeviceIp to a new address.
void MoveSelectedDevice(const std::string& ipText) {
    if (DeviceRecord* device = FindSelectedDevice()) {
        CopyText(device->ipText, ipText);
        std::ranges::copy(ParseIpText(ipText).value_or(Ipv4Bytes{}),
                          device->deviceId + DeviceIdAddressOffset);
    }
    CopyText(SelectedDeviceIp, ipText);
}

}  // namespace

void SetDiagnosticStream(std::FILE* stream) {
    diagnosticStream = stream;
}

int VerifyLogin() {
    ReceiveBuffer reply;
    if (!Run(Login, BuildLoginRequest, reply)) {
        return 0;
    }
    const auto datagram = reply.Datagram();
    const std::uint8_t verdict =
        datagram.size() > offset::GetPayload ? datagram[offset::GetPayload] : 0;
    return static_cast<std::int8_t>(verdict);
}

int QueryShareList() {
    ClearShareTable();
    ReceiveBuffer reply;
    if (!Run(Query, BuildGet<SubCode::ShareList>, reply)) {
        return 0;
    }
    AppendShareList(ReplyText(reply.Datagram()));
    return 1;
}

int QueryWorkgroup() {
    return RunTextQuery(BuildGet<SubCode::Workgroup>, WorkgroupText, "workgroup=%s\n");
}

int QueryCodepage() {
    return RunTextQuery(BuildGet<SubCode::Codepage>, CodepageText, "codepage=%s\n");
}

int QueryDiskStatus() {
    return RunTextQuery(BuildGet<SubCode::DiskStatus>, DiskStatusText, "ideok=%s\n");
}

int QueryShareName() {
    return RunTextQuery(BuildGet<SubCode::ShareName>, ShareNameText, "sharename=%s\n");
}

int SetAccessMode() {
    return RunSet(BuildTextSet<SubCode::SetAccessMode, AccessModeText>);
}

int SetCodepage() {
    return RunSet(BuildTextSet<SubCode::SetCodepage, CodepageText>);
}

int SetWorkgroup() {
    return RunSet(BuildTextSet<SubCode::SetWorkgroup, WorkgroupText>);
}

int SetStaticAddress() {
    ReceiveBuffer reply;
    if (!Run(StaticChange, BuildTextSet<SubCode::StaticAddress, PendingIp>, reply)) {
        return 0;
    }
    if (DeviceRecord* device = FindSelectedDevice()) {
        CopyText(device->netmaskText, TextOf(PendingNetmask));
        CopyText(device->gatewayText, TextOf(PendingGateway));
    }
    MoveSelectedDevice(std::string(TextOf(PendingIp)));
    return 1;
}

int SetDhcpClient() {
    ReceiveBuffer reply;
    if (!Run(DhcpChange, BuildDhcpRequest, reply)) {
        return 0;
    }
    MoveSelectedDevice(ReplyDeviceAddress(reply.Datagram()));
    return 1;
}

}  // namespace lumisk
