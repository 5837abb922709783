#pragma once
// The process-wide state of the discovery protocol: the adapters of the last search, the shares
// of the selected adapter, the selected device, and the fixed-width texts that requests take
// their arguments from and replies leave their results in. All of it is used on one thread.

#include <cstdint>
#include <span>
#include <string_view>

#include "protocol/ip_text.h"

namespace lumisk {

inline constexpr std::size_t DeviceIdSize = 10;
// DeviceId bytes 0..5 identify the adapter; bytes 6..9 are its IPv4 address.
inline constexpr std::size_t DeviceIdAddressOffset = 6;

struct DeviceRecord {
    char name[256];
    char ipText[IpTextSize];
    char netmaskText[IpTextSize];
    char gatewayText[IpTextSize];
    char dhcpFlag[8];  // "1": the adapter is a DHCP client
    std::uint8_t deviceId[DeviceIdSize];
    // The address of the workstation's card the adapter answered through; all zero when unknown.
    std::uint8_t cardAddress[4];
    DeviceRecord* next;
};

struct ShareNode {
    char shareName[64];
    ShareNode* next;
};

// A singly linked list in arrival order that owns its nodes.
template <typename Node>
struct LinkedTable {
    int count = 0;
    Node* head = nullptr;
    Node* tail = nullptr;
};

extern LinkedTable<DeviceRecord> DeviceTable;
extern LinkedTable<ShareNode> ShareTable;

extern char SelectedDeviceIp[IpTextSize];
extern char PendingIp[IpTextSize];
extern char PendingNetmask[IpTextSize];
extern char PendingGateway[IpTextSize];
// One byte wider than an IP text, so a 16-character entry of the login dialog is sent whole.
extern char LoginUserName[17];
extern char LoginPassword[17];
extern char WorkgroupText[32];
extern char CodepageText[32];
extern char ShareNameText[16];
extern char DiskStatusText[8];
extern char AccessModeText[8];

void ClearDeviceTable();
// Texts longer than their fields are cut to fit. An allocation failure drops the entry.
void AppendDevice(std::string_view name, std::string_view ipText, std::string_view netmaskText,
                  std::string_view gatewayText,
                  std::span<const std::uint8_t, DeviceIdSize> deviceId, std::string_view dhcpFlag,
                  const Ipv4Bytes& cardAddress = {});
bool IsDeviceKnown(std::string_view ipText);
// The first record whose ipText equals SelectedDeviceIp, or null.
DeviceRecord* FindSelectedDevice();
// The name the last search found for the adapter at `ipText`; empty when none.
std::string NameOfDeviceAt(std::string_view ipText);

void ClearShareTable();
void AppendShare(std::string_view shareName);
bool IsShareKnown(std::string_view shareName);
// Adds each name of a share list reply ("HDD_a:HDD_b") that is not known yet, in order, cut to
// its field. Runs of ':' count as one separator; separators at either end give no empty name.
void AppendShareList(std::string_view list);

}  // namespace lumisk
