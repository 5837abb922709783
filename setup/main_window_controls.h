#pragma once
// The main window as device setup, drive mapping and language setup act on it: its control ids,
// its controls and its selection flag.

#include "setup/host_services.h"
#include "ui/dialog.h"

namespace lumisk {

namespace control {
inline constexpr int DeviceList = 1000;
inline constexpr int ShareList = 1001;
inline constexpr int Refresh = 1002;
inline constexpr int Connect = 1003;
inline constexpr int Disconnect = 1004;
inline constexpr int Ip = 1006;
inline constexpr int Apply = 1007;
inline constexpr int Configuration = 1008;
inline constexpr int Exit = 1009;
inline constexpr int Netmask = 1010;
inline constexpr int Gateway = 1011;
inline constexpr int DriveLetters = 1013;
inline constexpr int Dhcp = 1015;
inline constexpr int About = 1021;
inline constexpr int Language = 1022;
}  // namespace control

// Items of the "Receive DHCP" list, in their sorted order.
inline constexpr int DhcpDisabledItem = 0;
inline constexpr int DhcpEnabledItem = 1;

// What the window's handlers are handed; the window itself is app/'s MainDialog.
struct MainWindowControls {
    MainWindowControls(ui::Dialog& window, HostServices& services)
        : dialog(window),
          host(services),
          dhcpCombo(window, control::Dhcp),
          driveLetterCombo(window, control::DriveLetters),
          shareList(window, control::ShareList),
          deviceList(window, control::DeviceList),
          ipControl(window, control::Ip),
          netmaskControl(window, control::Netmask),
          gatewayControl(window, control::Gateway) {}

    ui::Dialog& dialog;
    HostServices& host;
    ui::ComboBox dhcpCombo;
    ui::ComboBox driveLetterCombo;
    ui::ListView shareList;
    ui::ListView deviceList;
    ui::AddressField ipControl;
    ui::AddressField netmaskControl;
    ui::AddressField gatewayControl;
    // 1 after any click in the device list, 0 after every search.
    int deviceChosen = 0;
};

}  // namespace lumisk
