#include "cli/device_output.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/utf8_text.h"

namespace lumisk {
namespace {

bool IsDhcpClient(const DeviceRecord& device) {
    return TextOf(device.dhcpFlag) == "1";
}

std::string HexDeviceId(const DeviceRecord& device) {
    std::string hex;
    char digits[3];
    for (const std::uint8_t byte : device.deviceId) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return hex;
}

}  // namespace

// The text read as the window reads it, so the output is always UTF-8.
std::string JsonString(std::string_view bytes) {
    const std::string readable = ReadableText(bytes);
    std::string quoted = "\"";
    for (std::string_view rest = readable; !rest.empty();) {
        const char c = rest[0];
        const std::size_t control = ControlCharacterLength(rest);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (control > 0) {
            // A C1 control's code point is its second byte.
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x",
                          static_cast<unsigned char>(rest[control - 1]));
            quoted += escaped;
        } else {
            quoted += c;
        }
        rest.remove_prefix(std::max<std::size_t>(control, 1));
    }
    return quoted + "\"";
}

std::string FormatDeviceLine(const DeviceRecord& device) {
    return PrintableText(TextOf(device.name)) + '\t' + PrintableText(TextOf(device.ipText)) + '\t' +
           PrintableText(TextOf(device.netmaskText)) + '\t' +
           PrintableText(TextOf(device.gatewayText)) + '\t' +
           (IsDhcpClient(device) ? "dhcp" : "static") + '\t' + HexDeviceId(device);
}

std::string FormatDevicesJson(const LinkedTable<DeviceRecord>& table) {
    std::string json = "[";
    for (const DeviceRecord* device = table.head; device != nullptr; device = device->next) {
        json += device == table.head ? "\n  " : ",\n  ";
        json += "{\"name\": " + JsonString(TextOf(device->name)) +
                ", \"ip\": " + JsonString(TextOf(device->ipText)) +
                ", \"netmask\": " + JsonString(TextOf(device->netmaskText)) +
                ", \"gateway\": " + JsonString(TextOf(device->gatewayText)) +
                ", \"dhcp\": " + (IsDhcpClient(*device) ? "true" : "false") + ", \"deviceId\": \"" +
                HexDeviceId(*device) + "\", \"interface\": \"" + FormatIpText(CardOf(*device)) +
                "\"}";
    }
    return json + (table.head != nullptr ? "\n]" : "]");
}

}  // namespace lumisk
