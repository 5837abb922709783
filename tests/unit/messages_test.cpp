#include <gtest/gtest.h>

#include <cstring>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

constexpr Ipv4Bytes Adapter = {192, 0, 2, 10};

class RequestBytes : public ::testing::Test {
protected:
    void SetUp() override { SelectAdapter(Adapter, 0x21); }

    // The header every get and set request for Adapter starts with.
    Bytes Header(std::uint8_t opcode, SubCode subCode) const {
        Bytes bytes = {opcode};
        bytes.insert(bytes.end(), std::begin(TestClientId), std::end(TestClientId));
        bytes.insert(bytes.end(), {0x21, 0x21, 0x21, 0x21, 0x21, 0x21, 192, 0, 2, 10});
        bytes.push_back(static_cast<std::uint8_t>(subCode));
        return bytes;
    }

    Bytes Built(std::size_t size) const { return Bytes(buffer.begin(), buffer.begin() + size); }

    ScriptedEndpoint endpoint;
    MessageBuffer buffer{};
};

TEST_F(RequestBytes, SearchRequestIsOpcodeAndClientIdOnly) {
    ASSERT_EQ(BuildSearchRequest(buffer, ClientIdThrough({192, 0, 2, 1})), 11u);
    Bytes expected = {0x01};
    expected.insert(expected.end(), std::begin(TestClientId), std::end(TestClientId));
    EXPECT_EQ(Built(11), expected);
}

TEST_F(RequestBytes, QueryRequestIsExactly28Bytes) {
    ASSERT_EQ(BuildGetRequest(buffer, SubCode::DiskStatus), 28u);
    Bytes expected = Header(0x03, SubCode::DiskStatus);
    expected.resize(28, 0);
    EXPECT_EQ(Built(28), expected);
}

TEST_F(RequestBytes, LoginForAdminWithEmptyPassword) {
    CopyText(LoginUserName, "admin");
    CopyText(LoginPassword, "");
    ASSERT_EQ(BuildLoginRequest(buffer), 35u);
    Bytes expected = Header(0x03, SubCode::Login);
    expected.insert(expected.end(), {0, 0, 7, 0, 0, 0, 'a', 'd', 'm', 'i', 'n', 0x55, 0xAA});
    EXPECT_EQ(Built(35), expected);
}

TEST_F(RequestBytes, LoginSendsSixteenCharacterEntriesWhole) {
    CopyText(LoginUserName, "abcdefghijklmnop");
    CopyText(LoginPassword, "ABCDEFGHIJKLMNOP");
    ASSERT_EQ(BuildLoginRequest(buffer), 28u + 34u);
    EXPECT_EQ(ReadLittleEndian32(buffer, 24), 34u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&buffer[28]), 16), "abcdefghijklmnop");
    EXPECT_EQ(buffer[44], 0x55);
    EXPECT_EQ(buffer[45], 0xAA);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&buffer[46]), 16), "ABCDEFGHIJKLMNOP");
}

TEST_F(RequestBytes, DhcpRequestIsSixtyBytesWithZeroTail) {
    CopyText(PendingNetmask, "255.255.255.0");  // not carried by the DHCP request
    ASSERT_EQ(BuildDhcpRequest(buffer), 60u);
    Bytes expected = Header(0x05, SubCode::DhcpClient);
    expected.resize(60, 0);
    EXPECT_EQ(Built(60), expected);
}

TEST_F(RequestBytes, CodepageSetCarriesAddressFieldsAndCountedText) {
    CopyText(PendingNetmask, "255.255.255.0");
    CopyText(PendingGateway, "192.0.2.254");
    ASSERT_EQ(BuildSetRequest(buffer, SubCode::SetCodepage, "936"), 63u);
    Bytes expected = Header(0x05, SubCode::SetCodepage);
    expected.resize(24, 0);
    const std::string netmask = "255.255.255.0", gateway = "192.0.2.254";
    Bytes field(16, 0);
    std::ranges::copy(netmask, field.begin());
    expected.insert(expected.end(), field.begin(), field.end());
    std::ranges::fill(field, 0);
    std::ranges::copy(gateway, field.begin());
    expected.insert(expected.end(), field.begin(), field.end());
    expected.insert(expected.end(), {3, 0, 0, 0, '9', '3', '6'});
    EXPECT_EQ(Built(63), expected);
}

TEST_F(RequestBytes, RequestsFollowTheStoredDeviceIdAfterAMove) {
    DeviceTable.head->deviceId[9] = 77;
    ASSERT_EQ(BuildGetRequest(buffer, SubCode::Codepage), 28u);
    EXPECT_EQ(buffer[20], 77);
}

TEST_F(RequestBytes, NothingIsBuiltForAnUnknownSelection) {
    for (const char* selection : {"", "192.0.2.1", "192.0.2.100"}) {
        CopyText(SelectedDeviceIp, selection);
        EXPECT_EQ(BuildGetRequest(buffer, SubCode::ShareList), 0u) << selection;
        EXPECT_EQ(BuildLoginRequest(buffer), 0u) << selection;
        EXPECT_EQ(BuildSetRequest(buffer, SubCode::SetWorkgroup, "WG"), 0u) << selection;
        EXPECT_EQ(BuildDhcpRequest(buffer), 0u) << selection;
    }
}

struct SearchReplyCase {
    const char* label;
    Bytes datagram;
    bool accepted;
    std::string name, ip, netmask, gateway, dhcpFlag;
};

void PrintTo(const SearchReplyCase& row, std::ostream* out) {
    *out << row.label;
}

class SearchReplyReading : public ::testing::TestWithParam<SearchReplyCase> {};

Bytes WithNameLength(Bytes bytes, std::uint32_t length) {
    WriteLittleEndian32(&bytes[offset::SetPayloadLength], length);
    return bytes;
}

Bytes WithoutTerminators(Bytes bytes) {
    std::fill_n(bytes.begin() + offset::Netmask, 32, '7');
    return bytes;
}

Bytes Truncated(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

const Bytes Plain = SearchReplyBytes("NAS-1", {192, 0, 2, 10}, '0', "255.255.255.0", "192.0.2.254");

INSTANTIATE_TEST_SUITE_P(
    Rows, SearchReplyReading,
    ::testing::Values(
        SearchReplyCase{"plain", Plain, true, "NAS-1", "192.0.2.10", "255.255.255.0", "192.0.2.254",
                        "0"},
        SearchReplyCase{"dhcp", SearchReplyBytes("D", {198, 51, 100, 7}, '1'), true, "D",
                        "198.51.100.7", "255.255.255.0", "192.0.2.254", "1"},
        SearchReplyCase{"zero flag", SearchReplyBytes("Z", {192, 0, 2, 9}, '\0'), true, "Z",
                        "192.0.2.9", "255.255.255.0", "192.0.2.254", ""},
        SearchReplyCase{"empty name", WithNameLength(Plain, 0), true, "", "192.0.2.10",
                        "255.255.255.0", "192.0.2.254", "0"},
        SearchReplyCase{"name longer than datagram", WithNameLength(Plain, 4000), true, "NAS-1",
                        "192.0.2.10", "255.255.255.0", "192.0.2.254", "0"},
        SearchReplyCase{"name length all ones", WithNameLength(Plain, 0xFFFFFFFF), true, "NAS-1",
                        "192.0.2.10", "255.255.255.0", "192.0.2.254", "0"},
        SearchReplyCase{"unterminated address fields", WithoutTerminators(Plain), true, "NAS-1",
                        "192.0.2.10", "777777777777777", "777777777777777", "0"},
        SearchReplyCase{"cut inside the gateway", Truncated(Plain, 45), true, "", "192.0.2.10",
                        "255.255.255.0", "192.0", "0"},
        SearchReplyCase{"header only", Truncated(Plain, 21), true, "", "192.0.2.10", "", "", ""},
        SearchReplyCase{"no device address", Truncated(Plain, 20), false, "", "", "", "", ""},
        SearchReplyCase{"empty", Bytes{}, false, "", "", "", "", ""}),
    [](const ::testing::TestParamInfo<SearchReplyCase>& row) {
        std::string name = row.param.label;
        std::ranges::replace(name, ' ', '_');
        return name;
    });

TEST_P(SearchReplyReading, FieldsAreReadAndCutToFit) {
    const SearchReplyCase& row = GetParam();
    const auto reply = ReadSearchReply(row.datagram);
    ASSERT_EQ(reply.has_value(), row.accepted);
    if (!reply) {
        return;
    }
    EXPECT_EQ(reply->name, row.name);
    EXPECT_EQ(reply->ipText, row.ip);
    EXPECT_EQ(reply->netmaskText, row.netmask);
    EXPECT_EQ(reply->gatewayText, row.gateway);
    EXPECT_EQ(reply->dhcpFlag, row.dhcpFlag);
}

TEST(SearchReplyName, IsCutTo255Characters) {
    const auto reply = ReadSearchReply(SearchReplyBytes(std::string(300, 'n'), {192, 0, 2, 10}));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->name, std::string(255, 'n'));
}

TEST(ReplyTextReading, EndsAtZeroOrAtTheDatagramEnd) {
    Bytes reply = GetReplyBytes({192, 0, 2, 10}, "HDD_a:HDD_b");
    EXPECT_EQ(ReplyText(reply), "HDD_a:HDD_b");
    reply[28 + 5] = 0;
    EXPECT_EQ(ReplyText(reply), "HDD_a");
    EXPECT_EQ(ReplyText(Truncated(reply, 28)), "");
    EXPECT_EQ(ReplyText(Truncated(reply, 12)), "");
}

// Replies as an adapter sends them, written out byte by byte rather than with the readers' offsets.
TEST(ReplyBytes, ASearchReplyWrittenOut) {
    const Bytes reply = {0x02, 1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  0xa0, 0xb0, 0,
                         0,    0,   1,   192, 0,   2,   10,  '1', 0,   0,  '2', '5',  '5',  '.',
                         '2',  '5', '5', '.', '2', '5', '5', '.', '0', 0,  0,   0,    '1',  '9',
                         '2',  '.', '0', '.', '2', '.', '2', '5', '4', 0,  0,   0,    0,    0,
                         5,    0,   0,   0,   'N', 'A', 'S', '-', '1', 'x'};
    const auto read = ReadSearchReply(reply);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, "NAS-1");
    EXPECT_EQ(read->ipText, "192.0.2.10");
    EXPECT_EQ(read->netmaskText, "255.255.255.0");
    EXPECT_EQ(read->gatewayText, "192.0.2.254");
    EXPECT_EQ(read->dhcpFlag, "1");
}

TEST(ReplyBytes, AGetReplyWrittenOut) {
    const Bytes reply = {0x04, 1, 2,   3,   4,   5,   6,   7,   8,   9, 10, 0xa0, 0xb0,
                         0,    0, 0,   1,   203, 0,   113, 7,   9,   0, 0,  3,    0,
                         0,    0, 'H', 'D', 'D', '_', 'a', ':', 'x', 0, 'j'};
    EXPECT_EQ(ReplyText(reply), "HDD_a:x");
    EXPECT_EQ(ReplyDeviceAddress(reply), "203.0.113.7");
}

TEST(ReplyAddressReading, MissingBytesReadAsZero) {
    const Bytes reply = GetReplyBytes({203, 0, 113, 250}, "");
    EXPECT_EQ(ReplyDeviceAddress(reply), "203.0.113.250");
    EXPECT_EQ(ReplyDeviceAddress(Truncated(reply, 19)), "203.0.0.0");
}

}  // namespace
}  // namespace lumisk::testing
