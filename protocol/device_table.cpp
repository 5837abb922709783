#include "protocol/device_table.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "protocol/fixed_text.h"

namespace lumisk {

LinkedTable<DeviceRecord> DeviceTable;
LinkedTable<ShareNode> ShareTable;

char SelectedDeviceIp[IpTextSize];
char PendingIp[IpTextSize];
char PendingNetmask[IpTextSize];
char PendingGateway[IpTextSize];
char LoginUserName[17];
char LoginPassword[17];
char WorkgroupText[32];
char CodepageText[32];
char ShareNameText[16];
char DiskStatusText[8];
char AccessModeText[8];

namespace {

template <typename Node>
void Clear(LinkedTable<Node>& table) {
    Node* node = table.head;
    while (node != nullptr) {
        Node* const next = node->next;
        delete node;
        node = next;
    }
    table = LinkedTable<Node>{};
}

// A zero-filled node linked at the tail, or null when it could not be allocated.
template <typename Node>
Node* AppendZeroed(LinkedTable<Node>& table) {
    Node* const node = new (std::nothrow) Node{};
    if (node == nullptr) {
        return nullptr;
    }
    if (table.count == 0) {
        table.head = node;
    } else {
        table.tail->next = node;
    }
    table.tail = node;
    ++table.count;
    return node;
}

// The first node whose text field equals `text` byte for byte.
template <typename Node, std::size_t N>
const Node* FindByText(const LinkedTable<Node>& table, char (Node::*field)[N],
                       std::string_view text) {
    for (const Node* node = table.head; node != nullptr; node = node->next) {
        if (TextOf(node->*field) == text) {
            return node;
        }
    }
    return nullptr;
}

}  // namespace

void ClearDeviceTable() {
    Clear(DeviceTable);
}

void AppendDevice(std::string_view name, std::string_view ipText, std::string_view netmaskText,
                  std::string_view gatewayText,
                  std::span<const std::uint8_t, DeviceIdSize> deviceId, std::string_view dhcpFlag,
                  const Ipv4Bytes& cardAddress) {
    DeviceRecord* const record = AppendZeroed(DeviceTable);
    if (record == nullptr) {
        return;
    }
    CopyText(record->name, name);
    CopyText(record->ipText, ipText);
    CopyText(record->netmaskText, netmaskText);
    CopyText(record->gatewayText, gatewayText);
    CopyText(record->dhcpFlag, dhcpFlag);
    std::memcpy(record->deviceId, deviceId.data(), DeviceIdSize);
    std::ranges::copy(cardAddress, record->cardAddress);
}

bool IsDeviceKnown(std::string_view ipText) {
    return FindByText(DeviceTable, &DeviceRecord::ipText, ipText) != nullptr;
}

DeviceRecord* FindSelectedDevice() {
    return const_cast<DeviceRecord*>(
        FindByText(DeviceTable, &DeviceRecord::ipText, TextOf(SelectedDeviceIp)));
}

std::string NameOfDeviceAt(std::string_view ipText) {
    const DeviceRecord* device = FindByText(DeviceTable, &DeviceRecord::ipText, ipText);
    return device != nullptr ? std::string(TextOf(device->name)) : std::string();
}

void ClearShareTable() {
    Clear(ShareTable);
}

void AppendShare(std::string_view shareName) {
    ShareNode* const node = AppendZeroed(ShareTable);
    if (node != nullptr) {
        CopyText(node->shareName, shareName);
    }
}

bool IsShareKnown(std::string_view shareName) {
    return FindByText(ShareTable, &ShareNode::shareName, shareName) != nullptr;
}

void AppendShareList(std::string_view list) {
    char piece[sizeof ShareNode::shareName];
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(':'), list.size());
        if (end > 0) {
            CopyText(piece, list.substr(0, end));
            if (!IsShareKnown(TextOf(piece))) {
                AppendShare(TextOf(piece));
            }
        }
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

}  // namespace lumisk
