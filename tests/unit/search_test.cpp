#include <gtest/gtest.h>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

class Search : public ::testing::Test {
protected:
    // Every request is answered by each of `count` adapters on 198.51.100.1.. after `delay`.
    void AnswerEachRequest(int count, std::chrono::milliseconds delay = 1ms) {
        transport.onSend = [this, count, delay](std::span<const std::uint8_t>) {
            for (int i = 1; i <= count; ++i) {
                const Ipv4Bytes address = {198, 51, static_cast<std::uint8_t>(100 + i / 250),
                                           static_cast<std::uint8_t>(i % 250 + 1)};
                transport.Deliver(SearchReplyBytes("NAS-" + std::to_string(i), address), delay);
            }
        };
    }

    std::vector<std::string> ListedAddresses() const {
        std::vector<std::string> addresses;
        for (const DeviceRecord* device = DeviceTable.head; device; device = device->next) {
            addresses.emplace_back(TextOf(device->ipText));
        }
        return addresses;
    }

    ScriptedEndpoint endpoint;
    ScriptedTransport& transport = *endpoint.transport;
};

TEST_F(Search, SendsThreeIdenticalRequestsWithTheirPauses) {
    SearchDevices();
    ASSERT_EQ(transport.sent.size(), 3u);
    EXPECT_EQ(transport.sent[0].bytes.size(), 11u);
    EXPECT_EQ(transport.sent[0].bytes, transport.sent[1].bytes);
    EXPECT_EQ(transport.sent[1].bytes, transport.sent[2].bytes);
    EXPECT_EQ(transport.sent[0].at, 0ms);
    EXPECT_EQ(transport.sent[1].at, 80ms);
    EXPECT_EQ(transport.sent[2].at, 160ms);
}

TEST_F(Search, TakesItsFullTimeWhenNothingAnswers) {
    SearchDevices();
    EXPECT_EQ(endpoint.clock.Elapsed(), SearchNominalTime);
    EXPECT_EQ(DeviceTable.count, 0);
}

TEST_F(Search, DoesNotEndEarlyWhenRepliesStop) {
    AnswerEachRequest(3);
    SearchDevices();
    EXPECT_EQ(DeviceTable.count, 3);
    EXPECT_GE(endpoint.clock.Elapsed(), 260ms + 31 * SearchPollPause);
    EXPECT_LE(endpoint.clock.Elapsed(), SearchNominalTime);
}

TEST_F(Search, AnAdapterAnsweringThreeTimesIsListedOnceFromItsFirstReply) {
    int requests = 0;
    transport.onSend = [&](std::span<const std::uint8_t>) {
        ++requests;
        transport.Deliver(SearchReplyBytes("reply-" + std::to_string(requests), {192, 0, 2, 10},
                                           requests == 1 ? '1' : '0'),
                          5ms);
    };
    SearchDevices();
    ASSERT_EQ(DeviceTable.count, 1);
    EXPECT_STREQ(DeviceTable.head->name, "reply-1");
    EXPECT_STREQ(DeviceTable.head->dhcpFlag, "1");
}

TEST_F(Search, TwoAdaptersWithOneAddressGiveTheEarlierRecord) {
    transport.Deliver(
        SearchReplyBytes("early", {192, 0, 2, 10}, '0', "255.255.255.0", "192.0.2.1", 0x01), 20ms);
    transport.Deliver(
        SearchReplyBytes("late", {192, 0, 2, 10}, '1', "255.0.0.0", "192.0.2.9", 0x02), 30ms);
    SearchDevices();
    ASSERT_EQ(DeviceTable.count, 1);
    EXPECT_STREQ(DeviceTable.head->name, "early");
    EXPECT_EQ(DeviceTable.head->deviceId[0], 0x01);
}

TEST_F(Search, OnlyOurSearchRepliesAreTaken) {
    Bytes otherClient = SearchReplyBytes("other", {192, 0, 2, 11});
    otherClient[10] ^= 0xFF;
    Bytes getReply = SearchReplyBytes("get", {192, 0, 2, 12});
    getReply[0] = 4;
    Bytes request = SearchReplyBytes("request", {192, 0, 2, 13});
    request[0] = 1;
    for (const Bytes& datagram : {otherClient, getReply, request, Bytes{2}, Bytes{}}) {
        transport.Deliver(datagram, 300ms);
    }
    transport.Deliver(SearchReplyBytes("ours", {192, 0, 2, 14}), 300ms);
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"192.0.2.14"});
}

TEST_F(Search, EveryAdapterOfALargeBurstIsListedInArrivalOrder) {
    AnswerEachRequest(250);
    SearchDevices();
    const auto addresses = ListedAddresses();
    ASSERT_EQ(addresses.size(), 250u);
    EXPECT_EQ(addresses.front(), "198.51.100.2");
    EXPECT_EQ(addresses.back(), "198.51.101.1");
    EXPECT_LE(endpoint.clock.Elapsed(), SearchNominalTime);
}

TEST_F(Search, RepliesArrivingDuringThePausesAfterTheSendsAreTaken) {
    transport.Deliver(SearchReplyBytes("quick", {192, 0, 2, 20}), 2ms);
    transport.Deliver(SearchReplyBytes("slow", {192, 0, 2, 21}), 1190ms);
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), (std::vector<std::string>{"192.0.2.20", "192.0.2.21"}));
}

TEST_F(Search, AReplyAfterTheCollectionIsLeftInTheQueue) {
    transport.Deliver(SearchReplyBytes("late", {192, 0, 2, 30}), 1300ms);
    SearchDevices();
    EXPECT_EQ(DeviceTable.count, 0);
    EXPECT_TRUE(transport.WaitReadable(1000ms));
}

TEST_F(Search, FailedReadsAreNotCountedAsPolls) {
    // The first poll starts at 260 ms; a failed read at 265 ms makes it poll again, so every
    // later poll and pause comes 5 ms later.
    for (int i = 0; i < 5; ++i) {
        transport.Deliver({}, 265ms, /*readFails=*/true);
    }
    SearchDevices();
    EXPECT_EQ(endpoint.clock.Elapsed(), SearchNominalTime + 5ms);
}

TEST_F(Search, EndlessFailedReadsCannotHoldItBeyondTwiceItsTime) {
    for (int ms = 0; ms < 5000; ++ms) {
        transport.Deliver({}, std::chrono::milliseconds(ms), /*readFails=*/true);
    }
    transport.Deliver(SearchReplyBytes("real", {192, 0, 2, 41}), 500ms);
    SearchDevices();
    EXPECT_EQ(ListedAddresses(), std::vector<std::string>{"192.0.2.41"});
    EXPECT_GE(endpoint.clock.Elapsed(), 2 * SearchNominalTime);
    EXPECT_LE(endpoint.clock.Elapsed(), 2 * SearchNominalTime + SearchPollWait);
}

TEST_F(Search, EmptiesThePreviousTableButKeepsTheSelection) {
    transport.Deliver(SearchReplyBytes("first", {192, 0, 2, 50}));
    SearchDevices();
    CopyText(SelectedDeviceIp, "192.0.2.50");
    SearchDevices();
    EXPECT_EQ(DeviceTable.count, 0);
    EXPECT_EQ(TextOf(SelectedDeviceIp), "192.0.2.50");
}

}  // namespace
}  // namespace lumisk::testing
