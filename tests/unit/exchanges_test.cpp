#include <gtest/gtest.h>

#include <cstdio>

#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

constexpr Ipv4Bytes Adapter = {192, 0, 2, 10};
constexpr Ipv4Bytes OtherAdapter = {192, 0, 2, 11};

class Exchanges : public ::testing::Test {
protected:
    void SetUp() override {
        SelectAdapter(Adapter);
        diagnostics = std::tmpfile();
        SetDiagnosticStream(diagnostics);
    }

    void TearDown() override {
        SetDiagnosticStream(nullptr);
        std::fclose(diagnostics);
    }

    // Every request is answered with `reply` after `delay`.
    void AnswerWith(Bytes reply, std::chrono::milliseconds delay = 3ms) {
        transport.onSend = [this, reply, delay](std::span<const std::uint8_t>) {
            transport.Deliver(reply, delay);
        };
    }

    std::string Diagnostics() const {
        std::rewind(diagnostics);
        std::string text;
        for (int c; (c = std::fgetc(diagnostics)) != EOF;) {
            text += static_cast<char>(c);
        }
        return text;
    }

    ScriptedEndpoint endpoint;
    ScriptedTransport& transport = *endpoint.transport;
    std::FILE* diagnostics = nullptr;
};

TEST_F(Exchanges, AnAnswerAtOnceEndsTheQueryWithoutAPause) {
    AnswerWith(GetReplyBytes(Adapter, "850"));
    EXPECT_EQ(QueryCodepage(), 1);
    EXPECT_STREQ(CodepageText, "850");
    EXPECT_EQ(endpoint.clock.Elapsed(), 6 * ReplyWait + 3ms);  // the drain, then the reply
    EXPECT_TRUE(endpoint.clock.sleeps.empty());
    EXPECT_EQ(Diagnostics(), "codepage=850\n");
}

TEST_F(Exchanges, ANullDiagnosticStreamWritesTheLineNowhere) {
    AnswerWith(GetReplyBytes(Adapter, "850"));
    SetDiagnosticStream(nullptr);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(QueryCodepage(), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(Exchanges, SilenceGivesUpAfterElevenWaitsAndTenPauses) {
    EXPECT_EQ(QueryDiskStatus(), 0);
    EXPECT_EQ(transport.sent.size(), 1u);
    EXPECT_EQ(endpoint.clock.sleeps, std::vector<std::chrono::milliseconds>(10, AttemptPause));
    EXPECT_EQ(endpoint.clock.Elapsed(), 6 * ReplyWait + 11 * ReplyWait + 10 * AttemptPause);
    EXPECT_EQ(Diagnostics(), "");

    endpoint.clock.sleeps.clear();
    EXPECT_EQ(SetCodepage(), 0);
    EXPECT_EQ(endpoint.clock.sleeps.size(), 10u);
}

TEST_F(Exchanges, AddressChangesWaitAHundredAndOneAttempts) {
    CopyText(PendingIp, "192.0.2.50");
    EXPECT_EQ(SetStaticAddress(), 0);
    EXPECT_EQ(endpoint.clock.sleeps.size(), 100u);
    endpoint.clock.sleeps.clear();
    EXPECT_EQ(SetDhcpClient(), 0);
    EXPECT_EQ(endpoint.clock.sleeps.size(), 100u);
    EXPECT_STREQ(SelectedDeviceIp, "192.0.2.10");
}

TEST_F(Exchanges, RepliesFromAnotherDeviceOrRequesterUseUpAttempts) {
    Bytes otherRequester = GetReplyBytes(Adapter, "WRONG");
    otherRequester[5] ^= 0x01;
    transport.onSend = [&](std::span<const std::uint8_t>) {
        transport.Deliver(GetReplyBytes(OtherAdapter, "OTHER"), 1ms);
        transport.Deliver(otherRequester, 2ms);
        transport.Deliver(GetReplyBytes(Adapter, "WORKGROUP"), 300ms);
    };
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_STREQ(WorkgroupText, "WORKGROUP");
    // Two wrong replies and one silent wait before the answer: three attempts, three pauses.
    EXPECT_EQ(endpoint.clock.sleeps.size(), 3u);
}

TEST_F(Exchanges, OtherOpcodesAndFailedReadsUseUpNoAttempt) {
    transport.onSend = [&](std::span<const std::uint8_t>) {
        transport.Deliver(SetReplyBytes(Adapter), 1ms);  // a set reply while a get reply is awaited
        transport.Deliver({}, 2ms, /*readFails=*/true);
        transport.Deliver(GetReplyBytes(Adapter, "HDD_a"), 4ms);
    };
    EXPECT_EQ(QueryShareName(), 1);
    EXPECT_STREQ(ShareNameText, "HDD_a");
    EXPECT_TRUE(endpoint.clock.sleeps.empty());
}

TEST_F(Exchanges, AFloodOfOtherOpcodesEndsWithinTwiceTheNominalTime) {
    Bytes junk = GetReplyBytes(Adapter, "");
    junk[0] = 0x7F;
    transport.onSend = [&](std::span<const std::uint8_t>) {
        for (int ms = 0; ms < 10000; ++ms) {
            transport.Deliver(junk, std::chrono::milliseconds(ms));
        }
    };
    EXPECT_EQ(QueryCodepage(), 0);
    const auto nominal = 6 * ReplyWait + 11 * ReplyWait + 10 * AttemptPause;
    EXPECT_GE(endpoint.clock.Elapsed(), 2 * nominal);
    EXPECT_LE(endpoint.clock.Elapsed(), 2 * nominal + ReplyWait);
}

TEST_F(Exchanges, QueriesDrainSixLeftoversFirst) {
    for (int i = 0; i < 7; ++i) {
        transport.Deliver(GetReplyBytes(Adapter, "stale" + std::to_string(i)));
    }
    AnswerWith(GetReplyBytes(Adapter, "fresh"));
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_STREQ(WorkgroupText, "stale6");  // only six are drained
}

TEST_F(Exchanges, NoSelectedRecordMeansNothingIsSent) {
    AppendShare("old");
    CopyText(SelectedDeviceIp, "192.0.2.99");
    for (int (*exchange)() :
         {VerifyLogin, QueryShareList, QueryWorkgroup, QueryCodepage, QueryDiskStatus,
          QueryShareName, SetAccessMode, SetCodepage, SetWorkgroup, SetDhcpClient}) {
        EXPECT_EQ(exchange(), 0);
    }
    CopyText(PendingIp, "192.0.2.99");
    EXPECT_EQ(SetStaticAddress(), 0);
    EXPECT_TRUE(transport.sent.empty());
    EXPECT_EQ(ShareTable.count, 0);
}

TEST_F(Exchanges, ShareListSkipsEmptyPiecesAndRepeats) {
    AnswerWith(GetReplyBytes(Adapter, "HDD_a:HDD_b::HDD_a:"));
    EXPECT_EQ(QueryShareList(), 1);
    ASSERT_EQ(ShareTable.count, 2);
    EXPECT_STREQ(ShareTable.head->shareName, "HDD_a");
    EXPECT_STREQ(ShareTable.tail->shareName, "HDD_b");
    EXPECT_EQ(Diagnostics(), "");
}

TEST_F(Exchanges, ShareListFailureLeavesTheTableEmpty) {
    AppendShare("HDD_a");
    EXPECT_EQ(QueryShareList(), 0);
    EXPECT_EQ(ShareTable.count, 0);
}

TEST_F(Exchanges, OverlongRepliesAreCutToTheirTargets) {
    AnswerWith(GetReplyBytes(Adapter, std::string(4000, 'w')));
    EXPECT_EQ(QueryWorkgroup(), 1);
    EXPECT_EQ(TextOf(WorkgroupText), std::string(31, 'w'));
    AnswerWith(GetReplyBytes(Adapter, std::string(40, 'd')));
    EXPECT_EQ(QueryDiskStatus(), 1);
    EXPECT_EQ(TextOf(DiskStatusText), std::string(7, 'd'));
    AnswerWith(GetReplyBytes(Adapter, std::string(100, 's') + ":" + std::string(10, 't')));
    EXPECT_EQ(QueryShareList(), 1);
    ASSERT_EQ(ShareTable.count, 2);
    EXPECT_EQ(TextOf(ShareTable.head->shareName), std::string(63, 's'));
}

TEST_F(Exchanges, LoginVerdictIsByte28AsASignedNumber) {
    const struct {
        Bytes reply;
        int verdict;
    } rows[] = {
        {GetReplyBytes(Adapter, "\x01"), 1},
        {GetReplyBytes(Adapter, "\xFF"), -1},
        {GetReplyBytes(Adapter, ""), 0},  // the reply ends at byte 27
        {[] {
             Bytes refused = GetReplyBytes(Adapter, "x");
             refused[28] = 0;
             return refused;
         }(),
         0},
    };
    for (const auto& row : rows) {
        AnswerWith(row.reply);
        EXPECT_EQ(VerifyLogin(), row.verdict);
    }
}

TEST_F(Exchanges, TextSetsSendTheirTexts) {
    AnswerWith(SetReplyBytes(Adapter));
    CopyText(AccessModeText, "rw");
    EXPECT_EQ(SetAccessMode(), 1);
    CopyText(WorkgroupText, "OFFICE");
    EXPECT_EQ(SetWorkgroup(), 1);
    ASSERT_EQ(transport.sent.size(), 2u);
    EXPECT_EQ(transport.sent[0].bytes.size(), 62u);
    EXPECT_EQ(transport.sent[0].bytes[21], 10);
    EXPECT_EQ(std::string(transport.sent[1].bytes.begin() + 60, transport.sent[1].bytes.end()),
              "OFFICE");
}

TEST_F(Exchanges, StaticAddressMovesRecordAndSelectionOnceTheNewAddressConfirms) {
    CopyText(PendingIp, "192.0.2.50");
    CopyText(PendingNetmask, "255.255.0.0");
    CopyText(PendingGateway, "192.0.1.1");
    transport.onSend = [&](std::span<const std::uint8_t>) {
        transport.Deliver(SetReplyBytes(Adapter), 1ms);  // the old address is not a confirmation
        transport.Deliver(SetReplyBytes({192, 0, 2, 50}), 500ms);
    };
    EXPECT_EQ(SetStaticAddress(), 1);
    EXPECT_EQ(endpoint.clock.sleeps.size(), 5u);
    const DeviceRecord& record = *DeviceTable.head;
    EXPECT_STREQ(record.ipText, "192.0.2.50");
    EXPECT_STREQ(record.netmaskText, "255.255.0.0");
    EXPECT_STREQ(record.gatewayText, "192.0.1.1");
    EXPECT_STREQ(record.name, "NAS");
    EXPECT_STREQ(record.dhcpFlag, "0");
    const std::uint8_t expectedId[] = {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 192, 0, 2, 50};
    EXPECT_EQ(std::memcmp(record.deviceId, expectedId, sizeof expectedId), 0);
    EXPECT_STREQ(SelectedDeviceIp, "192.0.2.50");

    MessageBuffer request{};
    ASSERT_EQ(BuildGetRequest(request, SubCode::Codepage), 28u);
    EXPECT_EQ(request[20], 50);
}

TEST_F(Exchanges, AConfirmationTooShortToNameAnAddressIsNotAccepted) {
    Bytes truncated = SetReplyBytes({203, 0, 113, 77});
    truncated.resize(20);
    AnswerWith(truncated);
    EXPECT_EQ(SetDhcpClient(), 0);
    EXPECT_STREQ(SelectedDeviceIp, "192.0.2.10");
    EXPECT_STREQ(DeviceTable.head->ipText, "192.0.2.10");
}

TEST_F(Exchanges, DhcpAcceptsTheFirstConfirmationFromAnyAddress) {
    AnswerWith(SetReplyBytes({203, 0, 113, 77}));
    EXPECT_EQ(SetDhcpClient(), 1);
    const DeviceRecord& record = *DeviceTable.head;
    EXPECT_STREQ(record.ipText, "203.0.113.77");
    EXPECT_STREQ(record.netmaskText, "255.255.255.0");
    EXPECT_STREQ(record.dhcpFlag, "0");
    EXPECT_EQ(record.deviceId[6], 203);
    EXPECT_EQ(record.deviceId[9], 77);
    EXPECT_STREQ(SelectedDeviceIp, "203.0.113.77");
}

}  // namespace
}  // namespace lumisk::testing
