#include "setup/device_list.h"

#include <algorithm>

#include "drives/drive_table.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"
#include "protocol/text_case.h"
#include "protocol/utf8_text.h"
#include "setup/device_host.h"
#include "setup/drive_letter_list.h"
#include "ui/string_resources.h"

namespace lumisk {
namespace {

// What screen readers are told at the end of a search: no adapters, one, or %1 of them found.
constexpr int NoAdaptersFoundText = 110;
constexpr int OneAdapterFoundText = 111;
constexpr int AdaptersFoundText = 112;

bool HostMatches(std::string_view server, std::string_view host, HostComparison comparison) {
    return comparison == HostComparison::Exact ? server == host : EqualIgnoringCase(server, host);
}

// The address of the card the adapter answered through, masked, against the adapter's: the
// adapter is on that card's subnet. With one card, that card's address is the host's.
bool OnHostSubnet(const std::array<int, 4>& device, const std::array<int, 4>& netmask) {
    Ipv4Bytes card;
    std::copy_n(ClientId + ClientIdAddressOffset, card.size(), card.begin());
    if (const DeviceRecord* record = FindSelectedDevice()) {
        card = CardOf(*record);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        if ((card[k] & netmask[k]) != (device[k] & netmask[k])) {
            return false;
        }
    }
    return true;
}

void ShowDhcpChoice(MainWindowControls& window, bool dhcpClient) {
    window.dhcpCombo.SetCurSel(dhcpClient ? DhcpEnabledItem : DhcpDisabledItem);
    for (const int field : {control::Ip, control::Gateway, control::Netmask}) {
        window.dialog.EnableControl(field, !dhcpClient);
    }
}

}  // namespace

int SelectedRow(ui::ListView list) {
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        if (list.IsSelected(row)) {
            return row;
        }
    }
    return -1;
}

int SelectedDeviceRow(MainWindowControls& window) {
    return SelectedRow(window.deviceList);
}

void RefreshDeviceList(MainWindowControls& window) {
    window.deviceList.DeleteAllItems();
    window.shareList.DeleteAllItems();
    window.ipControl.Clear();
    window.netmaskControl.Clear();
    window.gatewayControl.Clear();
    window.dialog.EnableControl(control::Refresh, false);
    window.dialog.WaitFor([] {
        SearchDevices();
        return 0;
    });
    window.dialog.EnableControl(control::Refresh, true);
    int row = 0;
    for (const DeviceRecord* device = DeviceTable.head; device != nullptr;
         device = device->next, ++row) {
        window.deviceList.InsertItem(row, "");
        window.deviceList.SetItemText(row, DeviceNameColumn, ReadableText(TextOf(device->name)));
        window.deviceList.SetItemText(row, DeviceIpColumn, device->ipText);
        window.deviceList.SetItemText(row, DeviceNetmaskColumn, device->netmaskText);
        window.deviceList.SetItemText(row, DeviceGatewayColumn, device->gatewayText);
    }
    window.dialog.Announce(row == 0   ? ui::LoadString(NoAdaptersFoundText)
                           : row == 1 ? ui::LoadString(OneAdapterFoundText)
                                      : ui::LoadString(AdaptersFoundText, {std::to_string(row)}));
    window.deviceChosen = 0;
}

void FullRefresh(MainWindowControls& window) {
    ReadDriveTable(window.host.drives);
    FillDriveLetterList(window.driveLetterCombo, window.host.drives);
    RefreshDeviceList(window);
    window.deviceChosen = 0;
}

void OnRefresh(MainWindowControls& window) {
    RefreshDeviceList(window);
}

void OnClickDeviceList(MainWindowControls& window) {
    window.deviceChosen = 1;
    window.deviceList.Focus();
    const int row = SelectedDeviceRow(window);
    if (row < 0) {
        return;
    }
    const std::string ip = window.deviceList.GetItemText(row, DeviceIpColumn);
    CopyText(SelectedDeviceIp, ip);
    window.ipControl.SetAddress(ip);
    for (const DeviceRecord* device = DeviceTable.head; device != nullptr; device = device->next) {
        if (TextOf(device->ipText) == ip) {
            ShowDhcpChoice(window, device->dhcpFlag[0] == '1');
        }
    }
    window.netmaskControl.SetAddress(window.deviceList.GetItemText(row, DeviceNetmaskColumn));
    const bool reachable =
        OnHostSubnet(window.ipControl.GetOctets(), window.netmaskControl.GetOctets());
    for (const int button :
         {control::Connect, control::Disconnect, control::Configuration, control::Language}) {
        window.dialog.EnableControl(button, reachable);
    }
    window.gatewayControl.SetAddress(window.deviceList.GetItemText(row, DeviceGatewayColumn));
    window.dialog.WaitFor(QueryShareList);
    CopyText(DeviceHostText, ip);
    FillShareList(window, row, HostComparison::IgnoringCase);
}

void FillShareList(MainWindowControls& window, int row, HostComparison comparison) {
    window.shareList.DeleteAllItems();
    int shareRow = 0;
    for (const ShareNode* share = ShareTable.head; share != nullptr;
         share = share->next, ++shareRow) {
        window.shareList.InsertItem(shareRow, "");
        window.shareList.SetItemText(shareRow, ShareNameColumn, share->shareName);
    }
    UpdateShareLocations(window, row, comparison);
}

void UpdateShareLocations(MainWindowControls& window, int row, HostComparison comparison) {
    const std::string name = window.deviceList.GetItemText(row, DeviceNameColumn);
    const std::string ip = window.deviceList.GetItemText(row, DeviceIpColumn);
    int shareRow = 0;
    for (const ShareNode* share = ShareTable.head;
         share != nullptr && shareRow < window.shareList.GetItemCount();
         share = share->next, ++shareRow) {
        std::string location;
        // A later letter overwrites an earlier one: the last mapping in letter order shows.
        for (const DriveRecord& drive : DriveTable) {
            const std::string_view server = TextOf(drive.remoteServer);
            if ((HostMatches(server, name, comparison) || HostMatches(server, ip, comparison)) &&
                EqualIgnoringCase(TextOf(drive.remoteShare), TextOf(share->shareName))) {
                location = drive.localName;
            }
        }
        window.shareList.SetItemText(shareRow, LocationColumn, location);
    }
}

}  // namespace lumisk
