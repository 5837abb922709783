#pragma once
// The device list of the main window: the search behind it, the click that selects an adapter,
// and the share list of the selected adapter.

#include "setup/main_window_controls.h"

namespace lumisk {

enum class HostComparison { Exact, IgnoringCase };

// Columns of the device list.
enum DeviceColumn {
    DeviceNameColumn = 0,
    DeviceIpColumn = 1,
    DeviceNetmaskColumn = 2,
    DeviceGatewayColumn = 3
};
// Columns of the share list.
enum ShareColumn { ShareNameColumn = 0, LocationColumn = 1 };

// Empties both lists, blanks the address fields and fills the device list from a new search.
void RefreshDeviceList(MainWindowControls& window);
// The drive letters, then RefreshDeviceList; no adapter is chosen afterwards.
void FullRefresh(MainWindowControls& window);
void OnRefresh(MainWindowControls& window);
// Makes the clicked row the selected device: its settings, the subnet test, its shares.
void OnClickDeviceList(MainWindowControls& window);
// Lists ShareTable with the drive letter each share is mapped to for the adapter of `row`.
void FillShareList(MainWindowControls& window, int row, HostComparison comparison);
// Sets the Location column of the rows FillShareList made to the letters DriveTable maps them to
// now; the rows and their selection stay.
void UpdateShareLocations(MainWindowControls& window, int row, HostComparison comparison);
// The row of `list` with the selected state, looked for among all rows; -1 when none is.
int SelectedRow(ui::ListView list);
// The selected row of the device list, or -1.
int SelectedDeviceRow(MainWindowControls& window);

}  // namespace lumisk
