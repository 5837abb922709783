// The protocol library in the workstation against simulated adapters over real multicast.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"
#include "protocol/search.h"
#include "protocol/udp_transport.h"
#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {
namespace {

using SteadyClock = std::chrono::steady_clock;

class ProtocolOnLan : public LanTest {
protected:
    explicit ProtocolOnLan(int cards = 1) : LanTest(cards) {}

    void SetUp() override {
        LanTest::SetUp();
        if (IsSkipped() || HasFailure()) {
            return;
        }
        diagnostics_ = std::tmpfile();
        SetDiagnosticStream(diagnostics_);
        inWorkstation_.emplace(testbed_);
        ASSERT_EQ(TryOpenEndpoint(), std::nullopt);
    }

    void TearDown() override {
        CloseEndpoint();
        inWorkstation_.reset();
        ClearDeviceTable();
        ClearShareTable();
        SetDiagnosticStream(nullptr);
        if (diagnostics_ != nullptr) {
            std::fclose(diagnostics_);
        }
        LanTest::TearDown();
    }

    void StartAdapters(std::vector<std::string> arguments, int lan = 1) {
        ASSERT_GT(testbed_.StartSimulator(arguments, 10s, lan), 0);
    }

    std::vector<std::string> ListedAddresses() const {
        std::vector<std::string> addresses;
        for (const DeviceRecord* device = DeviceTable.head; device != nullptr;
             device = device->next) {
            addresses.emplace_back(TextOf(device->ipText));
        }
        return addresses;
    }

    // Searches and selects the adapter at `ip`, as a click in the device list does.
    void SearchAndSelect(const std::string& ip) {
        SearchDevices();
        CopyText(SelectedDeviceIp, ip);
        ASSERT_NE(FindSelectedDevice(), nullptr) << ip << " was not found";
    }

    std::vector<std::string> RecordedRequests(const std::string& recordFile) const {
        std::ifstream in(recordFile);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    static std::string Hex(const std::vector<std::uint8_t>& bytes) {
        std::string hex;
        char digits[3];
        for (const std::uint8_t byte : bytes) {
            std::snprintf(digits, sizeof digits, "%02x", byte);
            hex += digits;
        }
        return hex;
    }

    static std::vector<std::uint8_t> ClientIdBytes() { return {ClientId, ClientId + ClientIdSize}; }

    std::FILE* diagnostics_ = nullptr;
    std::optional<InWorkstation> inWorkstation_;
};

TEST_F(ProtocolOnLan, AnAdapterAnsweringEveryRequestIsListedOnce) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.20"});
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"192.0.2.20"});
}

TEST_F(ProtocolOnLan, RepliesForAnotherRequesterAreIgnored) {
    StartAdapters({"--adapter", "--name", "honest", "--ip", "192.0.2.20", "--adapter", "--name",
                   "confused", "--ip", "192.0.2.21", "--fault", "wrong-client-id"});
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"192.0.2.20"});
}

TEST_F(ProtocolOnLan, TwoAdaptersWithOneAddressAreListedOnce) {
    StartAdapters({"--adapter", "--name", "first", "--ip", "192.0.2.20", "--adapter", "--name",
                   "twin", "--ip", "192.0.2.20", "--adapter", "--name", "other", "--ip",
                   "192.0.2.22"});
    SearchDevices();
    auto addresses = ListedAddresses();
    std::ranges::sort(addresses);
    EXPECT_EQ(addresses, (std::vector<std::string>{"192.0.2.20", "192.0.2.22"}));
}

TEST_F(ProtocolOnLan, RepliesToTheGroupAreHeardToo) {
    StartAdapters({"--name", "loud", "--ip", "203.0.113.9", "--reply-to-group"});
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"203.0.113.9"});
}

TEST_F(ProtocolOnLan, AHundredAdaptersAreAllListedInOneSearch) {
    StartAdapters({"--name", "NAS", "--ip", "198.51.100.2", "--count", "100", "--no-web"});
    const auto start = SteadyClock::now();
    SearchDevices();
    const auto elapsed = SteadyClock::now() - start;
    const auto addresses = ListedAddresses();
    EXPECT_EQ(addresses.size(), 100u);
    EXPECT_EQ(std::set<std::string>(addresses.begin(), addresses.end()).size(), 100u);
    EXPECT_LT(elapsed, 2 * SearchNominalTime);
}

TEST_F(ProtocolOnLan, MalformedRepliesNeverOverflowAField) {
    StartAdapters({"--adapter", "--name", "short", "--ip", "192.0.2.30", "--fault", "truncated",
                   "--adapter", "--name", "long", "--ip", "192.0.2.31", "--fault", "overlong",
                   "--adapter", "--name", "sane", "--ip", "192.0.2.32"});
    SearchDevices();
    const auto addresses = ListedAddresses();
    EXPECT_NE(std::ranges::find(addresses, "192.0.2.32"), addresses.end());
    for (const DeviceRecord* device = DeviceTable.head; device != nullptr; device = device->next) {
        EXPECT_LE(TextOf(device->name).size(), 255u);
        EXPECT_LE(TextOf(device->netmaskText).size(), 15u);
        EXPECT_LE(TextOf(device->gatewayText).size(), 15u);
    }
    CopyText(SelectedDeviceIp, "192.0.2.31");
    ASSERT_NE(FindSelectedDevice(), nullptr) << "the overlong adapter is listed, its name cut";
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_EQ(TextOf(WorkgroupText).size(), sizeof WorkgroupText - 1);
}

TEST_F(ProtocolOnLan, TheRequestsOnTheWireAreByteExact) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters(
        {"--record", record, "--name", "NAS", "--ip", "192.0.2.40", "--identity", "0a0b0c0d0e0f"});
    SearchAndSelect("192.0.2.40");
    CopyText(LoginUserName, "admin");
    CopyText(LoginPassword, "");
    EXPECT_EQ(VerifyLogin(), 1);
    CopyText(PendingNetmask, "255.255.255.0");
    CopyText(PendingGateway, "192.0.2.254");
    CopyText(CodepageText, "936");
    EXPECT_EQ(SetCodepage(), 1);

    const std::vector<std::uint8_t> deviceId = {0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, 192, 0, 2, 40};
    std::vector<std::uint8_t> search = {0x01};
    std::ranges::copy(ClientIdBytes(), std::back_inserter(search));

    std::vector<std::uint8_t> login = search;
    login[0] = 0x03;
    login.insert(login.end(), deviceId.begin(), deviceId.end());
    login.insert(login.end(), {0x04, 0, 0, 7, 0, 0, 0, 'a', 'd', 'm', 'i', 'n', 0x55, 0xAA});

    std::vector<std::uint8_t> codepage = search;
    codepage[0] = 0x05;
    codepage.insert(codepage.end(), deviceId.begin(), deviceId.end());
    codepage.insert(codepage.end(), {0x08, 0, 0});
    for (const std::string field : {"255.255.255.0", "192.0.2.254"}) {
        std::vector<std::uint8_t> bytes(16, 0);
        std::ranges::copy(field, bytes.begin());
        codepage.insert(codepage.end(), bytes.begin(), bytes.end());
    }
    codepage.insert(codepage.end(), {3, 0, 0, 0, '9', '3', '6'});

    // Every request leaves from the port the adapters reply to.
    const std::string from = " " + LanTestbed::WorkstationIp() + ":13579";
    EXPECT_EQ(RecordedRequests(record),
              (std::vector<std::string>{Hex(search) + from, Hex(search) + from, Hex(search) + from,
                                        Hex(login) + from, Hex(codepage) + from}));
}

TEST_F(ProtocolOnLan, AnEndpointIsRefusedThePortAnotherHolds) {
    CloseEndpoint();
    const auto other = UdpTransport::Open();
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<UdpTransport>>(other));
    const std::optional<EndpointFailure> refused = TryOpenEndpoint();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->kind, EndpointFailure::Kind::PortInUse);
    EXPECT_EQ(refused->message,
              "UDP port 13579 is in use by another program, or another copy of this one");
    EXPECT_FALSE(IsEndpointOpen());
}

TEST_F(ProtocolOnLan, EveryQueryReadsItsAnswer) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.50", "--shares",
                   "HDD_a:HDD_b::HDD_a:", "--workgroup", "OFFICE", "--codepage", "850",
                   "--disk-status", "1", "--share-name", "HDD_1"});
    SearchAndSelect("192.0.2.50");
    ASSERT_EQ(QueryShareList(), 1);
    ASSERT_EQ(ShareTable.count, 2);
    EXPECT_STREQ(ShareTable.head->shareName, "HDD_a");
    EXPECT_STREQ(ShareTable.tail->shareName, "HDD_b");
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_STREQ(WorkgroupText, "OFFICE");
    EXPECT_EQ(QueryCodepage(), 1);
    EXPECT_STREQ(CodepageText, "850");
    EXPECT_EQ(QueryDiskStatus(), 1);
    EXPECT_STREQ(DiskStatusText, "1");
    EXPECT_EQ(QueryShareName(), 1);
    EXPECT_STREQ(ShareNameText, "HDD_1");

    std::rewind(diagnostics_);
    char lines[256] = {};
    const std::size_t length = std::fread(lines, 1, sizeof lines - 1, diagnostics_);
    EXPECT_EQ(std::string(lines, length),
              "workgroup=OFFICE\ncodepage=850\nideok=1\nsharename=HDD_1\n");
}

TEST_F(ProtocolOnLan, LoginTakesOnlyTheAdaptersOwnPassword) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.51", "--password", "secret"});
    SearchAndSelect("192.0.2.51");
    CopyText(LoginUserName, "admin");
    CopyText(LoginPassword, "");
    EXPECT_EQ(VerifyLogin(), 0);
    CopyText(LoginPassword, "secret");
    EXPECT_NE(VerifyLogin(), 0);
}

TEST_F(ProtocolOnLan, SetsAreStoredByTheAdapter) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.52", "--restart-ms", "3000"});
    SearchAndSelect("192.0.2.52");
    CopyText(WorkgroupText, "LAB");
    EXPECT_EQ(SetWorkgroup(), 1);
    EXPECT_FALSE(EndpointTransport().WaitReadable(300ms)) << "one request, one reply";
    CopyText(WorkgroupText, "");
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_STREQ(WorkgroupText, "LAB");
    CopyText(AccessModeText, "rw");
    EXPECT_EQ(SetAccessMode(), 1);

    CopyText(CodepageText, "866");
    EXPECT_EQ(SetCodepage(), 1);
    CopyText(CodepageText, "");
    EXPECT_EQ(QueryCodepage(), 0) << "a restarting adapter answers nothing";
    EXPECT_STREQ(CodepageText, "");
}

TEST_F(ProtocolOnLan, AStaticChangeMovesTheRecordAndTheSelection) {
    StartAdapters(
        {"--name", "mover", "--ip", "192.0.2.60", "--dhcp", "--identity", "010203040506"});
    SearchAndSelect("192.0.2.60");
    CopyText(PendingIp, "192.0.2.61");
    CopyText(PendingNetmask, "255.255.255.0");
    CopyText(PendingGateway, "192.0.2.254");
    ASSERT_EQ(SetStaticAddress(), 1);
    EXPECT_STREQ(SelectedDeviceIp, "192.0.2.61");
    EXPECT_STREQ(DeviceTable.head->ipText, "192.0.2.61");
    EXPECT_STREQ(DeviceTable.head->name, "mover");

    CopyText(WorkgroupText, "");
    EXPECT_EQ(QueryWorkgroup(), 1) << "the next request goes to the new DeviceId";

    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"192.0.2.61"});
    ASSERT_NE(FindSelectedDevice(), nullptr);
    EXPECT_STREQ(FindSelectedDevice()->dhcpFlag, "0");
}

TEST_F(ProtocolOnLan, ADhcpSwitchFollowsTheAdapterToItsLease) {
    StartAdapters({"--name", "leaser", "--ip", "192.0.2.70", "--lease-ip", "203.0.113.70"});
    SearchAndSelect("192.0.2.70");
    ASSERT_EQ(SetDhcpClient(), 1);
    EXPECT_STREQ(SelectedDeviceIp, "203.0.113.70");
    EXPECT_STREQ(DeviceTable.head->ipText, "203.0.113.70");
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"203.0.113.70"});
    ASSERT_NE(FindSelectedDevice(), nullptr);
    EXPECT_STREQ(FindSelectedDevice()->dhcpFlag, "1");
}

TEST_F(ProtocolOnLan, AFloodedExchangeStillEnds) {
    StartAdapters({"--name", "flood", "--ip", "192.0.2.80", "--identity", "0a0b0c0d0e0f", "--fault",
                   "flood", "--flood-ms", "6000"});
    // A flooding adapter answers no search, so it is entered by hand.
    const std::array<std::uint8_t, DeviceIdSize> deviceId = {0x0a, 0x0b, 0x0c, 0x0d, 0x0e,
                                                             0x0f, 192,  0,    2,    80};
    AppendDevice("flood", "192.0.2.80", "", "", deviceId, "0");
    CopyText(SelectedDeviceIp, "192.0.2.80");
    const auto start = SteadyClock::now();
    EXPECT_EQ(QueryCodepage(), 0);
    EXPECT_LT(SteadyClock::now() - start, 3500ms);
}

TEST_F(ProtocolOnLan, OurOwnRequestsDoNotComeBack) {
    // Sent alone: a search's own polls would read an echo and drop it unseen.
    const std::uint8_t request[SearchRequestSize] = {1};
    for (const Ipv4Bytes& card : RefreshEndpointCards()) {
        EndpointTransport().SendToGroup(request, card);
    }
    EXPECT_FALSE(EndpointTransport().WaitReadable(500ms));
    SearchDevices();
    EXPECT_EQ(DeviceTable.count, 0);
}

// A workstation whose first card leads to a LAN without adapters and carries the group route;
// two adapters behind each of the other two.
class ProtocolOnThreeCards : public ProtocolOnLan {
protected:
    ProtocolOnThreeCards() : ProtocolOnLan(3) {}

    // Each listed adapter with the card it answered through, sorted.
    std::vector<std::string> ListedWithCards() const {
        std::vector<std::string> listed;
        for (const DeviceRecord* device = DeviceTable.head; device; device = device->next) {
            listed.push_back(std::string(device->ipText) + " " + FormatIpText(CardOf(*device)));
        }
        std::ranges::sort(listed);
        return listed;
    }

    void SetCard3(const char* state) {
        const auto card = testbed_.WorkstationInterface(3);
        ASSERT_EQ(testbed_.RunInWorkstation({"ip", "link", "set", card, state}).exitCode, 0);
    }
};

TEST_F(ProtocolOnThreeCards, EachSearchGoesThroughEveryCardThatIsUpThen) {
    StartAdapters({"--adapter", "--ip", "198.51.100.20", "--adapter", "--ip", "198.51.100.21"}, 2);
    StartAdapters({"--adapter", "--ip", "203.0.113.20", "--adapter", "--ip", "203.0.113.21"}, 3);
    SearchDevices();
    EXPECT_EQ(ListedWithCards(),
              (std::vector<std::string>{"198.51.100.20 198.51.100.1", "198.51.100.21 198.51.100.1",
                                        "203.0.113.20 203.0.113.1", "203.0.113.21 203.0.113.1"}));
    EXPECT_STREQ(HostAddressText, "192.0.2.1") << "the host's identity stays the first card's";
    SetCard3("down");
    SearchDevices();
    EXPECT_EQ(ListedWithCards(), (std::vector<std::string>{"198.51.100.20 198.51.100.1",
                                                           "198.51.100.21 198.51.100.1"}));
    SetCard3("up");
    SearchDevices();
    EXPECT_EQ(DeviceTable.count, 4);
}

TEST_F(ProtocolOnThreeCards, AReplyWithAnotherCardsClientIdIsNoAnswer) {
    const std::array<std::uint8_t, DeviceIdSize> deviceId = {1, 2, 3, 4, 5, 6, 198, 51, 100, 99};
    AppendDevice("behind-2", "198.51.100.99", "", "", deviceId, "0", {198, 51, 100, 1});
    CopyText(SelectedDeviceIp, "198.51.100.99");
    // A login reply with the verdict 1, through card `lan` with its ClientId.
    const auto replyThrough = [&](int lan) {
        const auto clientId = ClientIdThrough(*ParseIpText(LanTestbed::WorkstationIp(lan)));
        std::vector<std::uint8_t> reply = {GetReplyOpcode};
        reply.insert(reply.end(), clientId.begin(), clientId.end());
        reply.insert(reply.end(), deviceId.begin(), deviceId.end());
        reply.insert(reply.end(), {4, 0, 0, 1, 0, 0, 0, 1});
        testbed_.SendFromLan(lan, reply, LanTestbed::WorkstationIp(lan), ProtocolPort);
    };
    replyThrough(3);
    EXPECT_EQ(VerifyLogin(), 0);
    replyThrough(2);
    EXPECT_EQ(VerifyLogin(), 1);
}

}  // namespace
}  // namespace lumisk::lan
