#pragma once
// How the command line prints the adapters of a search: tab-separated lines or JSON.

#include <string>
#include <string_view>

#include "protocol/device_table.h"

namespace lumisk {

// name, IP, netmask, gateway, "dhcp" or "static", DeviceId as 20 hex digits; the texts as
// PrintableText() gives them, so every adapter stays one line of six fields.
std::string FormatDeviceLine(const DeviceRecord& device);

// An array of objects with the keys name, ip, netmask, gateway, dhcp, deviceId and interface (the
// address of the card the adapter answered through). Names are read as the window reads them, so
// the output is valid UTF-8 JSON whatever an adapter sent.
std::string FormatDevicesJson(const LinkedTable<DeviceRecord>& table);

// `bytes` as a JSON string, quoted: UTF-8 when they are valid UTF-8, otherwise each byte as its
// Windows-1252 character, with control characters escaped.
std::string JsonString(std::string_view bytes);

}  // namespace lumisk
