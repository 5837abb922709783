#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "cli/device_output.h"
#include "protocol/device_table.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {
namespace {

constexpr std::array<std::uint8_t, DeviceIdSize> Id = {0x00, 0x1a, 0x2b, 0x3c, 0x4d,
                                                       0xff, 192,  0,    2,    10};

class DeviceOutput : public ::testing::Test {
protected:
    ScriptedEndpoint endpoint;  // empties DeviceTable afterwards
};

TEST_F(DeviceOutput, LinesHaveSixTabSeparatedFields) {
    AppendDevice("NAS", "192.0.2.10", "255.255.255.0", "192.0.2.254", Id, "1");
    AppendDevice("line\tbreak\n", "192.0.2.11", "", "", Id, "0");
    EXPECT_EQ(FormatDeviceLine(*DeviceTable.head),
              "NAS\t192.0.2.10\t255.255.255.0\t192.0.2.254\tdhcp\t001a2b3c4dffc000020a");
    EXPECT_EQ(FormatDeviceLine(*DeviceTable.tail),
              "line?break?\t192.0.2.11\t\t\tstatic\t001a2b3c4dffc000020a");
}

TEST_F(DeviceOutput, JsonEscapesWhateverTheAdapterSent) {
    EXPECT_EQ(FormatDevicesJson(DeviceTable), "[]");
    AppendDevice("q\"b\\s\x01\xe9\x80", "192.0.2.10", "255.255.255.0", "192.0.2.254", Id, "",
                 {198, 51, 100, 1});
    EXPECT_EQ(FormatDevicesJson(DeviceTable),
              "[\n  {\"name\": \"q\\\"b\\\\s\\u0001é€\", \"ip\": \"192.0.2.10\", \"netmask\": "
              "\"255.255.255.0\", \"gateway\": \"192.0.2.254\", \"dhcp\": false, \"deviceId\": "
              "\"001a2b3c4dffc000020a\", \"interface\": \"198.51.100.1\"}\n]");
}

// Names are UTF-8 when their bytes are, otherwise Windows-1252, in lines and JSON alike; no
// control character reaches a line, and JSON escapes each.
TEST_F(DeviceOutput, NamesHaveOneReading) {
    const struct {
        const char* bytes;
        const char* shown;
        const char* json = nullptr;  // when not as shown
    } rows[] = {
        {"Büro", "Büro"},                                      // UTF-8
        {"B\xfcro", "Büro"},                                   // Windows-1252
        {"\xc3\xa9\xe9", "Ã©é"},                               // not UTF-8 as a whole
        {"\xed\xa0\x80", "í\xc2\xa0€"},                        // an encoded surrogate is not UTF-8
        {"\xc0\xaf\x81\x9f", "À¯?Ÿ", "À¯\\u0081Ÿ"},            // nor an overlong form; 81 is C1
        {"\xf4\x90\x80\x80", "ô?€€", "ô\\u0090€€"},            // nor past U+10FFFF
        {"\x1b[2J\xc2\x9bm", "?[2J?m", "\\u001b[2J\\u009bm"},  // ESC, and CSI in UTF-8
    };
    for (const auto& row : rows) {
        AppendDevice(row.bytes, "192.0.2.10", "", "", Id, "0");
        EXPECT_EQ(FormatDeviceLine(*DeviceTable.tail).substr(0, std::strlen(row.shown) + 1),
                  std::string(row.shown) + "\t");
        const std::string json = row.json != nullptr ? row.json : row.shown;
        EXPECT_NE(FormatDevicesJson(DeviceTable).find("\"name\": \"" + json + "\""),
                  std::string::npos)
            << json;
        ClearDeviceTable();
    }
}

}  // namespace
}  // namespace lumisk::testing
