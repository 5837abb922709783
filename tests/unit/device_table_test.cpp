#include <gtest/gtest.h>

#include <array>
#include <string>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

constexpr std::array<std::uint8_t, DeviceIdSize> SomeId = {1, 2, 3, 4, 5, 6, 10, 0, 0, 2};

class Tables : public ::testing::Test {
protected:
    ScriptedEndpoint endpoint;  // empties the tables when the test ends
};

TEST_F(Tables, AppendLinksHeadAndTailInArrivalOrder) {
    AppendDevice("first", "10.0.0.2", "255.0.0.0", "10.0.0.1", SomeId, "1");
    EXPECT_EQ(DeviceTable.count, 1);
    EXPECT_EQ(DeviceTable.head, DeviceTable.tail);
    AppendDevice("second", "10.0.0.20", "255.0.0.0", "10.0.0.1", SomeId, "0");
    EXPECT_EQ(DeviceTable.count, 2);
    EXPECT_STREQ(DeviceTable.head->name, "first");
    EXPECT_STREQ(DeviceTable.tail->name, "second");
    EXPECT_EQ(DeviceTable.head->next, DeviceTable.tail);
    EXPECT_EQ(DeviceTable.tail->next, nullptr);
    EXPECT_STREQ(DeviceTable.head->dhcpFlag, "1");
    EXPECT_EQ(std::memcmp(DeviceTable.head->deviceId, SomeId.data(), DeviceIdSize), 0);
}

TEST_F(Tables, KnownAddressesMatchWholeTextsOnly) {
    EXPECT_FALSE(IsDeviceKnown("10.0.0.2"));
    AppendDevice("a", "10.0.0.2", "", "", SomeId, "");
    AppendDevice("b", "10.0.0.20", "", "", SomeId, "");
    EXPECT_TRUE(IsDeviceKnown("10.0.0.2"));
    EXPECT_TRUE(IsDeviceKnown("10.0.0.20"));
    EXPECT_FALSE(IsDeviceKnown("10.0.0.200"));
    EXPECT_FALSE(IsDeviceKnown("10.0.0.2 "));
    CopyText(SelectedDeviceIp, "10.0.0.2");
    ASSERT_NE(FindSelectedDevice(), nullptr);
    EXPECT_STREQ(FindSelectedDevice()->name, "a");
}

TEST_F(Tables, EmptySelectionFindsNothing) {
    AppendDevice("a", "10.0.0.2", "", "", SomeId, "");
    CopyText(SelectedDeviceIp, "");
    EXPECT_EQ(FindSelectedDevice(), nullptr);
}

TEST_F(Tables, ClearLeavesAnEmptyTable) {
    for (int i = 0; i < 5; ++i) {
        AppendDevice("x", "10.0.0." + std::to_string(i), "", "", SomeId, "");
        AppendShare("HDD_" + std::to_string(i));
    }
    ClearDeviceTable();
    ClearShareTable();
    EXPECT_EQ(DeviceTable.count, 0);
    EXPECT_EQ(DeviceTable.head, nullptr);
    EXPECT_EQ(DeviceTable.tail, nullptr);
    EXPECT_EQ(ShareTable.count, 0);
    EXPECT_EQ(ShareTable.head, nullptr);
    EXPECT_EQ(ShareTable.tail, nullptr);
}

TEST_F(Tables, TextsAreCutToTheirFields) {
    const std::string share63(63, 's');
    AppendShare(share63);
    AppendShare(std::string(64, 't'));
    EXPECT_EQ(TextOf(ShareTable.head->shareName), share63);
    EXPECT_EQ(TextOf(ShareTable.tail->shareName), std::string(63, 't'));
    EXPECT_TRUE(IsShareKnown(share63));

    AppendDevice(std::string(400, 'n'), "192.0.2.1234567890", std::string(20, 'm'), "", SomeId,
                 "1x");
    const DeviceRecord& record = *DeviceTable.head;
    EXPECT_EQ(TextOf(record.name), std::string(255, 'n'));
    EXPECT_EQ(TextOf(record.ipText), "192.0.2.1234567");
    EXPECT_EQ(TextOf(record.netmaskText), std::string(15, 'm'));
    EXPECT_EQ(TextOf(record.dhcpFlag), "1x");
}

TEST(FixedText, CopyZeroFillsBehindTheText) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    CopyText(field, "ab");
    EXPECT_EQ(TextOf(field), "ab");
    for (std::size_t i = 2; i < sizeof field; ++i) {
        EXPECT_EQ(field[i], '\0') << i;
    }
    CopyText(field, "0123456789");
    EXPECT_EQ(TextOf(field), "0123456");
}

TEST(IpTexts, ParseAcceptsOnlyStrictDottedDecimal) {
    EXPECT_EQ(ParseIpText("192.0.2.10"), (Ipv4Bytes{192, 0, 2, 10}));
    EXPECT_EQ(ParseIpText("0.0.0.0"), (Ipv4Bytes{0, 0, 0, 0}));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.256", "1..2.3", "a.b.c.d", " 1.2.3.4",
                            "1.2.3.4 ", "1.2.3.0004", "-1.2.3.4"}) {
        EXPECT_FALSE(ParseIpText(bad)) << bad;
    }
    EXPECT_EQ(FormatIpText(Ipv4Bytes{255, 255, 255, 255}), "255.255.255.255");
}

}  // namespace
}  // namespace lumisk::testing
