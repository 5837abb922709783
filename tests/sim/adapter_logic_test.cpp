#include "sim/adapter_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "protocol/fixed_text.h"
#include "protocol/messages.h"

namespace lumisk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// The requester's ClientId: six random bytes, then its address 192.0.2.1.
const Bytes RequesterId = {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 192, 0, 2, 1};
const Ipv4Bytes RequesterAddress = {192, 0, 2, 1};
const SimClock::time_point Start = SimClock::time_point() + 1h;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes TextBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes Padded(std::string_view text, std::size_t width) {
    Bytes bytes = TextBytes(text);
    bytes.resize(width, 0);
    return bytes;
}

Bytes Length(std::size_t length) {
    Bytes bytes(4);
    WriteLittleEndian32(bytes.data(), static_cast<std::uint32_t>(length));
    return bytes;
}

Bytes SearchRequest() {
    return Concat({{SearchRequestOpcode}, RequesterId});
}

Bytes GetRequest(const DeviceId& target, SubCode subCode, const Bytes& payload = {}) {
    return Concat({{GetRequestOpcode},
                   RequesterId,
                   Bytes(target.begin(), target.end()),
                   {static_cast<std::uint8_t>(subCode), 0, 0},
                   Length(payload.size()),
                   payload});
}

Bytes SetRequest(const DeviceId& target, SubCode subCode, std::string_view payload,
                 std::string_view netmask = "", std::string_view gateway = "") {
    return Concat({{SetRequestOpcode},
                   RequesterId,
                   Bytes(target.begin(), target.end()),
                   {static_cast<std::uint8_t>(subCode), 0, 0},
                   Padded(netmask, 16),
                   Padded(gateway, 16),
                   Length(payload.size()),
                   TextBytes(payload)});
}

Adapter MakeAdapter() {
    Adapter adapter;
    adapter.name = "NAS-7";
    adapter.address = {198, 51, 100, 7};
    CopyText(adapter.netmask, "255.255.0.0");
    CopyText(adapter.gateway, "198.51.100.1");
    adapter.dhcp = true;
    adapter.identity = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    adapter.shares = "HDD_a:HDD_b";
    adapter.user = "admin";
    adapter.password = "secret";
    return adapter;
}

Bytes Text(const Bytes& getReply) {
    return getReply.size() > offset::GetPayload
               ? Bytes(getReply.begin() + offset::GetPayload, getReply.end())
               : Bytes{};
}

class AdapterLogicTest : public ::testing::Test {
protected:
    Response Send(const Bytes& request, SimClock::time_point at = Start) {
        return Respond(adapter_, request, at);
    }
    Bytes Get(SubCode subCode, const Bytes& payload = {}) {
        return Send(GetRequest(adapter_.Id(), subCode, payload)).datagram;
    }

    Adapter adapter_ = MakeAdapter();
};

TEST_F(AdapterLogicTest, SearchReplyCarriesEveryFieldAtItsOffset) {
    const Response response = Send(SearchRequest());

    const Bytes expected = Concat({
        {2},
        RequesterId,
        {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 198, 51, 100, 7},
        {'1', 0, 0},
        Padded("255.255.0.0", 16),
        Padded("198.51.100.1", 16),
        {5, 0, 0, 0},
        TextBytes("NAS-7"),
    });
    EXPECT_EQ(response.datagram, expected);
    EXPECT_EQ(response.destination, RequesterAddress);
    EXPECT_FALSE(response.flood);
    EXPECT_FALSE(response.leftAddress);
}

TEST_F(AdapterLogicTest, SearchReplyReadsBackAsTheAdapter) {
    adapter_.dhcp = false;
    const auto reply = ReadSearchReply(Send(SearchRequest()).datagram);

    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->name, "NAS-7");
    EXPECT_EQ(reply->ipText, "198.51.100.7");
    EXPECT_EQ(reply->netmaskText, "255.255.0.0");
    EXPECT_EQ(reply->gatewayText, "198.51.100.1");
    EXPECT_EQ(reply->dhcpFlag, "0");
}

TEST_F(AdapterLogicTest, RepliesGoToTheGroupWhenAskedTo) {
    adapter_.replyToGroup = true;
    EXPECT_EQ(Send(SearchRequest()).destination, (Ipv4Bytes{224, 0, 0, 1}));
}

TEST_F(AdapterLogicTest, IgnoresRepliesUnknownOpcodesAndShortRequests) {
    Bytes search = SearchRequest();
    for (const std::uint8_t opcode :
         std::initializer_list<std::uint8_t>{0, 2, 4, 6, 7, 0x7F, 0xFF}) {
        search[offset::Opcode] = opcode;
        EXPECT_TRUE(Send(search).datagram.empty()) << "opcode " << int{opcode};
    }
    EXPECT_TRUE(Send({}).datagram.empty());
    const Bytes valid = SearchRequest();
    EXPECT_TRUE(Send(Bytes(valid.begin(), valid.end() - 1)).datagram.empty());

    const Bytes get = GetRequest(adapter_.Id(), SubCode::ShareList);
    EXPECT_TRUE(Send(Bytes(get.begin(), get.begin() + 27)).datagram.empty());
    const Bytes set = SetRequest(adapter_.Id(), SubCode::SetWorkgroup, "");
    EXPECT_TRUE(Send(Bytes(set.begin(), set.begin() + 59)).datagram.empty());
}

TEST_F(AdapterLogicTest, AnswersOnlyRequestsForItsOwnDeviceId) {
    DeviceId otherIdentity = adapter_.Id();
    otherIdentity[0] ^= 1;
    DeviceId otherAddress = adapter_.Id();
    otherAddress[DeviceIdSize - 1] ^= 1;

    EXPECT_TRUE(Send(GetRequest(otherIdentity, SubCode::ShareList)).datagram.empty());
    EXPECT_TRUE(Send(GetRequest(otherAddress, SubCode::ShareList)).datagram.empty());
    EXPECT_TRUE(Send(SetRequest(otherAddress, SubCode::SetWorkgroup, "X")).datagram.empty());
    EXPECT_EQ(TextOf(adapter_.workgroup), "WORKGROUP");
}

TEST_F(AdapterLogicTest, GetReplyIsTheHeaderThenTheTextWithoutATerminator) {
    const Bytes reply = Get(SubCode::ShareList);

    const DeviceId id = adapter_.Id();
    const Bytes expected = Concat(
        {{4}, RequesterId, Bytes(id.begin(), id.end()), Bytes(7, 0), TextBytes("HDD_a:HDD_b")});
    EXPECT_EQ(reply, expected);
    EXPECT_EQ(ReplyText(reply), "HDD_a:HDD_b");
}

TEST_F(AdapterLogicTest, EachQueryAnswersItsOwnText) {
    adapter_.diskStatus = "FULL";
    adapter_.shareName = "MEDIA";
    CopyText(adapter_.workgroup, "OFFICE");
    CopyText(adapter_.codepage, "850");

    EXPECT_EQ(Text(Get(SubCode::DiskStatus)), TextBytes("FULL"));
    EXPECT_EQ(Text(Get(SubCode::ShareName)), TextBytes("MEDIA"));
    EXPECT_EQ(Text(Get(SubCode::Workgroup)), TextBytes("OFFICE"));
    EXPECT_EQ(Text(Get(SubCode::Codepage)), TextBytes("850"));
    EXPECT_TRUE(Get(SubCode::StaticAddress).empty());
}

TEST_F(AdapterLogicTest, LoginVerdictNeedsBothUserAndPasswordExactly) {
    const auto verdict = [&](const Bytes& payload) {
        const Bytes reply = Get(SubCode::Login, payload);
        EXPECT_EQ(reply.size(), offset::GetPayload + 1);
        return reply.size() > offset::GetPayload ? reply[offset::GetPayload] : -1;
    };
    const Bytes separator = {0x55, 0xAA};

    EXPECT_EQ(verdict(Concat({TextBytes("admin"), separator, TextBytes("secret")})), 1);
    EXPECT_EQ(verdict(Concat({TextBytes("admin"), separator, TextBytes("secre")})), 0);
    EXPECT_EQ(verdict(Concat({TextBytes("admin"), separator, TextBytes("secrets")})), 0);
    EXPECT_EQ(verdict(Concat({TextBytes("Admin"), separator, TextBytes("secret")})), 0);
    EXPECT_EQ(verdict(TextBytes("adminsecret")), 0);
    EXPECT_EQ(verdict({}), 0);
}

TEST_F(AdapterLogicTest, LoginPayloadLengthPastTheDatagramIsCutAtItsEnd) {
    Bytes request = GetRequest(adapter_.Id(), SubCode::Login,
                               Concat({TextBytes("admin"), {0x55, 0xAA}, TextBytes("secret")}));
    WriteLittleEndian32(&request[offset::GetPayloadLength], 0xFFFFFFFF);

    const Bytes reply = Send(request).datagram;
    ASSERT_EQ(reply.size(), offset::GetPayload + 1);
    EXPECT_EQ(reply[offset::GetPayload], 1);
}

TEST_F(AdapterLogicTest, StaticAddressMovesTheAdapterAndTheReplyComesFromTheNewAddress) {
    const DeviceId before = adapter_.Id();
    const Response response = Send(SetRequest(before, SubCode::StaticAddress, "203.0.113.9",
                                              "255.255.255.128", "203.0.113.1"));

    const Bytes expected = Concat(
        {{6}, RequesterId, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 203, 0, 113, 9}, Bytes(7, 0)});
    EXPECT_EQ(response.datagram, expected);
    EXPECT_EQ(response.leftAddress, (Ipv4Bytes{198, 51, 100, 7}));
    EXPECT_EQ(adapter_.address, (Ipv4Bytes{203, 0, 113, 9}));
    EXPECT_EQ(TextOf(adapter_.netmask), "255.255.255.128");
    EXPECT_EQ(TextOf(adapter_.gateway), "203.0.113.1");
    EXPECT_FALSE(adapter_.dhcp);

    EXPECT_TRUE(Send(GetRequest(before, SubCode::ShareList)).datagram.empty());
    EXPECT_FALSE(Get(SubCode::ShareList).empty());
}

TEST_F(AdapterLogicTest, StaticAddressThatIsNoAddressChangesNothing) {
    const Adapter before = adapter_;
    for (const std::string_view text : {"", "203.0.113", "203.0.113.256", "203.0.113.9x"}) {
        EXPECT_TRUE(
            Send(SetRequest(adapter_.Id(), SubCode::StaticAddress, text, "255.0.0.0", "1.2.3.4"))
                .datagram.empty())
            << text;
    }
    EXPECT_EQ(adapter_.address, before.address);
    EXPECT_EQ(TextOf(adapter_.netmask), TextOf(before.netmask));
}

TEST_F(AdapterLogicTest, NetmaskAndGatewayWithoutATerminatorAreCutToFit) {
    Bytes request = SetRequest(adapter_.Id(), SubCode::StaticAddress, "203.0.113.9");
    std::fill_n(request.begin() + offset::Netmask, 32, '9');

    ASSERT_FALSE(Send(request).datagram.empty());
    EXPECT_EQ(TextOf(adapter_.netmask), std::string(15, '9'));
    EXPECT_EQ(TextOf(adapter_.gateway), std::string(15, '9'));
}

TEST_F(AdapterLogicTest, DhcpMovesToTheLeaseAddress) {
    adapter_.dhcp = false;
    adapter_.leaseAddress = Ipv4Bytes{192, 0, 2, 77};
    const Response response = Send(SetRequest(adapter_.Id(), SubCode::DhcpClient, ""));

    ASSERT_EQ(response.datagram.size(), 28u);
    EXPECT_EQ(ReplyDeviceAddress(response.datagram), "192.0.2.77");
    EXPECT_EQ(response.leftAddress, (Ipv4Bytes{198, 51, 100, 7}));
    EXPECT_TRUE(adapter_.dhcp);
    EXPECT_EQ(ReadSearchReply(Send(SearchRequest()).datagram)->dhcpFlag, "1");
}

TEST_F(AdapterLogicTest, DhcpWithoutALeaseKeepsTheAddress) {
    adapter_.dhcp = false;
    const Response response = Send(SetRequest(adapter_.Id(), SubCode::DhcpClient, ""));

    EXPECT_EQ(ReplyDeviceAddress(response.datagram), "198.51.100.7");
    EXPECT_FALSE(response.leftAddress);
    EXPECT_TRUE(adapter_.dhcp);
}

TEST_F(AdapterLogicTest, StoredTextsAreCutToTheirWidths) {
    const std::string longText(300, 'W');
    EXPECT_FALSE(Send(SetRequest(adapter_.Id(), SubCode::SetWorkgroup, longText)).datagram.empty());
    EXPECT_FALSE(
        Send(SetRequest(adapter_.Id(), SubCode::SetAccessMode, longText)).datagram.empty());

    EXPECT_EQ(Text(Get(SubCode::Workgroup)), Bytes(31, 'W'));
    EXPECT_EQ(TextOf(adapter_.accessMode), std::string(7, 'W'));
}

TEST_F(AdapterLogicTest, TextSetIsAcceptedAndStoresNothing) {
    const Adapter before = adapter_;
    EXPECT_EQ(Send(SetRequest(adapter_.Id(), SubCode::Text, "anything")).datagram.size(), 28u);
    EXPECT_EQ(TextOf(adapter_.workgroup), TextOf(before.workgroup));
    EXPECT_EQ(TextOf(adapter_.codepage), TextOf(before.codepage));
    EXPECT_EQ(TextOf(adapter_.accessMode), TextOf(before.accessMode));
}

TEST_F(AdapterLogicTest, CodepageChangeRepliesThenSilencesTheAdapterForTheRestartTime) {
    adapter_.restartTime = 5000ms;
    EXPECT_EQ(Send(SetRequest(adapter_.Id(), SubCode::SetCodepage, "850")).datagram.size(), 28u);

    EXPECT_TRUE(Send(SearchRequest(), Start + 1ms).datagram.empty());
    EXPECT_TRUE(
        Send(GetRequest(adapter_.Id(), SubCode::Codepage), Start + 4999ms).datagram.empty());
    EXPECT_EQ(Text(Send(GetRequest(adapter_.Id(), SubCode::Codepage), Start + 5000ms).datagram),
              TextBytes("850"));
}

TEST_F(AdapterLogicTest, WrongClientIdChangesExactlyOneByteOfIt) {
    adapter_.fault = Fault::WrongClientId;
    for (const Bytes& reply : {Send(SearchRequest()).datagram, Get(SubCode::ShareList)}) {
        ASSERT_GT(reply.size(), offset::DeviceId);
        const Bytes sent(reply.begin() + offset::ClientId, reply.begin() + offset::DeviceId);
        int differences = 0;
        for (std::size_t i = 0; i < RequesterId.size(); ++i) {
            differences += sent[i] != RequesterId[i];
        }
        EXPECT_EQ(differences, 1);
    }
}

TEST_F(AdapterLogicTest, TruncatedRepliesAreShortPrefixesOfTheRealOnes) {
    const Bytes fullSearch = Send(SearchRequest()).datagram;
    const Bytes fullGet = Get(SubCode::ShareList);
    adapter_.fault = Fault::Truncated;

    std::vector<std::size_t> lengths;
    for (int i = 0; i < 4; ++i) {
        const Bytes reply = Send(SearchRequest()).datagram;
        ASSERT_FALSE(reply.empty());
        EXPECT_TRUE(std::equal(reply.begin(), reply.end(), fullSearch.begin()));
        lengths.push_back(reply.size());
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{15, 21, 40, 58}));

    const Bytes get = Get(SubCode::ShareList);
    EXPECT_LT(get.size(), fullGet.size());
    EXPECT_TRUE(std::equal(get.begin(), get.end(), fullGet.begin()));
    EXPECT_LT(Send(SetRequest(adapter_.Id(), SubCode::SetWorkgroup, "W")).datagram.size(), 28u);
}

TEST_F(AdapterLogicTest, OverlongSearchReplyFillsAFullDatagramWithoutTerminators) {
    adapter_.fault = Fault::Overlong;
    const Bytes reply = Send(SearchRequest()).datagram;

    ASSERT_EQ(reply.size(), MaxDatagramSize);
    EXPECT_EQ(ReadLittleEndian32(reply, offset::SetPayloadLength), 0xFFFFFFFFu);
    EXPECT_EQ(
        std::count(reply.begin() + offset::Netmask, reply.begin() + offset::SetPayloadLength, 0),
        0);
    EXPECT_EQ(std::count(reply.begin() + offset::SetPayload, reply.end(), 0), 0);
    EXPECT_TRUE(
        std::equal(reply.begin(), reply.begin() + 21, Send(SearchRequest()).datagram.begin()));
}

TEST_F(AdapterLogicTest, OverlongGetReplyTextRunsToTheDatagramEnd) {
    adapter_.fault = Fault::Overlong;
    const Bytes reply = Get(SubCode::Workgroup);

    ASSERT_EQ(reply.size(), MaxDatagramSize);
    EXPECT_EQ(std::count(reply.begin() + offset::GetPayload, reply.end(), 0), 0);
    EXPECT_EQ(ReplyText(reply).substr(0, 9), "WORKGROUP");
}

TEST_F(AdapterLogicTest, FloodSendsUnknownDatagramsToTheRequesterInsteadOfTheReply) {
    adapter_.fault = Fault::Flood;
    for (const Bytes& request : {SearchRequest(), GetRequest(adapter_.Id(), SubCode::ShareList)}) {
        const Response response = Send(request);
        EXPECT_TRUE(response.flood);
        EXPECT_EQ(response.destination, RequesterAddress);
        EXPECT_EQ(response.datagram, Concat({{FloodOpcode}, RequesterId}));
    }
}

TEST_F(AdapterLogicTest, SilentAdapterAnswersNothing) {
    adapter_.fault = Fault::Silent;
    EXPECT_TRUE(Send(SearchRequest()).datagram.empty());
    EXPECT_TRUE(Get(SubCode::ShareList).empty());
    EXPECT_TRUE(Send(SetRequest(adapter_.Id(), SubCode::SetWorkgroup, "X")).datagram.empty());
}

TEST_F(AdapterLogicTest, AnAdapterIgnoringSetsStillAnswersTheRest) {
    adapter_.fault = Fault::IgnoresSets;
    const std::string workgroupBefore(TextOf(adapter_.workgroup));
    EXPECT_FALSE(Send(SearchRequest()).datagram.empty());
    EXPECT_FALSE(Get(SubCode::ShareList).empty());
    EXPECT_TRUE(Send(SetRequest(adapter_.Id(), SubCode::SetWorkgroup, "X")).datagram.empty());
    EXPECT_EQ(TextOf(adapter_.workgroup), workgroupBefore);
}

TEST_F(AdapterLogicTest, LongNameIsCutToFitOneDatagram) {
    adapter_.name = std::string(10000, 'n');
    const Bytes reply = Send(SearchRequest()).datagram;

    ASSERT_EQ(reply.size(), MaxDatagramSize);
    EXPECT_EQ(ReadLittleEndian32(reply, offset::SetPayloadLength),
              MaxDatagramSize - offset::SetPayload);
}

TEST_F(AdapterLogicTest, ArbitraryDatagramsNeverYieldMoreThanOneDatagram) {
    std::mt19937 random(20240);
    const Bytes templates[] = {
        SearchRequest(),
        GetRequest(adapter_.Id(), SubCode::Login, TextBytes("admin")),
        SetRequest(adapter_.Id(), SubCode::SetWorkgroup, "W"),
    };
    for (int round = 0; round < 20000; ++round) {
        adapter_ = MakeAdapter();
        adapter_.fault = static_cast<Fault>(round % 6);
        Bytes datagram = templates[round % 3];
        datagram.resize(random() % 128);
        for (int flip = 0; flip < 3 && !datagram.empty(); ++flip) {
            datagram[random() % datagram.size()] = static_cast<std::uint8_t>(random());
        }
        EXPECT_LE(Send(datagram).datagram.size(), MaxDatagramSize);
    }
}

}  // namespace
}  // namespace lumisk::sim
