#include "cli/device_output.h"

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

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

std::string LineField(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (IsControl(static_cast<unsigned char>(c))) {
            c = '?';
        }
    }
    return field;
}

}  // namespace

// The text read as the window reads it, so the output is always UTF-8.
std::string JsonString(std::string_view bytes) {
    std::string quoted = "\"";
    for (const char c : ReadableText(bytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (IsControl(byte)) {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string FormatDeviceLine(const DeviceRecord& device) {
    return LineField(ReadableText(TextOf(device.name))) + '\t' + LineField(TextOf(device.ipText)) +
           '\t' + LineField(TextOf(device.netmaskText)) + '\t' +
           LineField(TextOf(device.gatewayText)) + '\t' +
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
