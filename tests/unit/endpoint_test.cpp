#include <gtest/gtest.h>

#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

TEST(ClientIdentity, CarriesTheHostAddressAfterSixRandomBytes) {
    const auto first = MakeClientId(1000, {192, 168, 0, 5});
    const auto same = MakeClientId(1000, {192, 168, 0, 5});
    const auto later = MakeClientId(1001, {192, 168, 0, 5});
    EXPECT_EQ(first, same);
    EXPECT_FALSE(std::equal(first.begin(), first.begin() + 6, later.begin()));
    EXPECT_TRUE(std::equal(first.begin() + 6, first.end(), later.begin() + 6));
    EXPECT_EQ(first[6], 192);
    EXPECT_EQ(first[7], 168);
    EXPECT_EQ(first[8], 0);
    EXPECT_EQ(first[9], 5);
}

TEST(ClientIdentity, HostAddressTextFollowsTheClientId) {
    ScriptedEndpoint endpoint;
    EXPECT_EQ(TextOf(HostAddressText), "192.0.2.1");
    EXPECT_TRUE(IsEndpointOpen());
}

TEST(ClientIdMatch, EveryOneOfBytesOneToTenCounts) {
    ScriptedEndpoint endpoint;
    Bytes datagram = ReplyHeader(2, {192, 0, 2, 10});
    EXPECT_TRUE(MatchesClientId(datagram));
    for (std::size_t i = 1; i <= 10; ++i) {
        Bytes changed = datagram;
        changed[i] ^= 0x01;
        EXPECT_FALSE(MatchesClientId(changed)) << "byte " << i;
    }
    Bytes otherBytes = datagram;
    otherBytes[0] = 0x99;
    otherBytes[11] = 0x99;
    EXPECT_TRUE(MatchesClientId(otherBytes));
    EXPECT_TRUE(MatchesClientId(std::span(datagram).first(11)));
    EXPECT_FALSE(MatchesClientId(std::span(datagram).first(10)));
}

TEST(ClosedEndpoint, SendsNothingAndReadsNothing) {
    { ScriptedEndpoint endpoint; }
    EXPECT_FALSE(IsEndpointOpen());
    DatagramTransport& closed = EndpointTransport();
    const std::uint8_t request[11] = {1};
    closed.SendToGroup(request, {192, 0, 2, 1});
    EXPECT_FALSE(closed.WaitReadable(0ms));
    std::uint8_t buffer[16];
    EXPECT_EQ(closed.Receive(buffer), -1);
}

}  // namespace
}  // namespace lumisk::testing
