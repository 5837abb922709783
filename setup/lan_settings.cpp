#include "setup/lan_settings.h"

#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/ip_text.h"
#include "protocol/utf8_text.h"
#include "setup/admin_login.h"
#include "setup/device_list.h"
#include "setup/login_dialog.h"
#include "ui/message_box.h"
#include "ui/string_resources.h"

namespace lumisk {
namespace {

constexpr char EnableItem[] = "Enable";
// What screen readers are told once an adapter has confirmed its new address: its name, the
// address.
constexpr int AddressChangedText = 113;

void ShowError(MainWindowControls& window, const char* text) {
    ui::ShowMessage(&window.dialog, text, "Error", ui::MessageIcon::Stop);
}

void ShowWarning(MainWindowControls& window, const char* text) {
    ui::ShowMessage(&window.dialog, text, "Warning", ui::MessageIcon::Exclamation);
}

ui::AddressField FieldOf(MainWindowControls& window, AddressKind kind) {
    switch (kind) {
        case AddressKind::Netmask:
            return window.netmaskControl;
        case AddressKind::Gateway:
            return window.gatewayControl;
        case AddressKind::Ip:
            break;
    }
    return window.ipControl;
}

// Reads a field, checks it and stores it in `pending`; false when the check failed.
bool TakeAddress(MainWindowControls& window, AddressKind kind, char (&pending)[IpTextSize]) {
    const std::array<int, 4> octets = FieldOf(window, kind).GetOctets();
    if (ValidateAddress(window, static_cast<int>(kind), octets[0], octets[1], octets[2],
                        octets[3]) == 0) {
        return false;
    }
    CopyText(pending, AddressText(octets));
    return true;
}

// The administrator login, with the password the user types when the empty one is refused.
bool LoggedInAsAdministrator(MainWindowControls& window, LoginDialog& login) {
    const AdminLoginResult result = LogInAsAdministrator(
        [&window](int (*exchange)()) { return window.dialog.WaitFor(exchange); },
        [&login]() -> std::optional<std::string> {
            login.DoModal();
            // Where the dialog's OK leaves it; still empty after Cancel.
            return std::string(TextOf(LoginPassword));
        });
    if (result == AdminLoginResult::WrongPassword) {
        ShowError(window, WrongPasswordMessage);
    }
    return result == AdminLoginResult::Accepted;
}

void SetFieldsEnabled(MainWindowControls& window, bool enabled) {
    for (const int field : {control::Ip, control::Gateway, control::Netmask}) {
        window.dialog.EnableControl(field, enabled);
    }
}

void SwitchToDhcp(MainWindowControls& window, LoginDialog& login) {
    if (!LoggedInAsAdministrator(window, login)) {
        return;
    }
    if (window.dialog.WaitFor(SetDhcpClient) == 0) {
        ShowError(window, "Set to dhcp client fail.");
        return;
    }
    ui::ShowMessage(&window.dialog, "DHCP client enabled.", "Confirm",
                    ui::MessageIcon::Information);
    window.ipControl.Clear();
    window.netmaskControl.Clear();
    window.gatewayControl.Clear();
    SetFieldsEnabled(window, true);
    window.deviceChosen = 0;
    RefreshDeviceList(window);
}

void SetStaticSettings(MainWindowControls& window, LoginDialog& login) {
    const struct {
        ui::AddressField field;
        const char* message;
    } required[] = {{window.ipControl, "Please input IP address!"},
                    {window.netmaskControl, "Please input net mask address!"},
                    {window.gatewayControl, "Please input gateway address!"}};
    for (const auto& [field, message] : required) {
        if (field.IsBlank()) {
            ShowWarning(window, message);
            return;
        }
    }
    if (!TakeAddress(window, AddressKind::Ip, PendingIp) ||
        !TakeAddress(window, AddressKind::Netmask, PendingNetmask) ||
        !TakeAddress(window, AddressKind::Gateway, PendingGateway)) {
        return;
    }
    if (!GatewayInSubnet(window.ipControl.GetOctets(), window.netmaskControl.GetOctets(),
                         window.gatewayControl.GetOctets())) {
        ShowWarning(window, GatewayOutsideSubnetMessage);
        return;
    }
    if (!LoggedInAsAdministrator(window, login)) {
        return;
    }
    const DeviceRecord* device = FindSelectedDevice();
    const std::string name = device != nullptr ? ReadableText(TextOf(device->name)) : std::string();
    // Unconfirmed, the search that follows shows where the adapter is.
    const bool confirmed = window.dialog.WaitFor(SetStaticAddress) != 0;
    // The adapter stays the chosen device under its new address.
    const int chosen = window.deviceChosen;
    RefreshDeviceList(window);
    window.deviceChosen = chosen;
    if (confirmed) {
        window.dialog.Announce(
            ui::LoadString(AddressChangedText, {name, std::string(TextOf(PendingIp))}));
    }
}

}  // namespace

int ValidateAddress(MainWindowControls& window, int kind, int octet1, int octet2, int octet3,
                    int octet4) {
    const auto addressKind = static_cast<AddressKind>(kind);
    const auto problem = CheckAddressOctets(addressKind, {octet1, octet2, octet3, octet4});
    if (!problem) {
        return 1;
    }
    ui::ShowMessage(&window.dialog, problem->message, "Error", ui::MessageIcon::Information);
    FieldOf(window, addressKind).FocusOctet(problem->octetIndex);
    return 0;
}

void OnApply(MainWindowControls& window) {
    LoginDialog login(window.host.system);
    AdminLoginMode = 1;
    if (window.deviceChosen == 0) {
        ShowError(window, "Please select an adapter in the above section.");
        return;
    }
    const int item = window.dhcpCombo.GetCurSel();
    if (item < 0) {
        return;
    }
    if (window.dhcpCombo.GetItemText(item) == EnableItem) {
        SwitchToDhcp(window, login);
    } else {
        SetStaticSettings(window, login);
    }
}

void OnDhcpSelChange(MainWindowControls& window) {
    const int item = window.dhcpCombo.GetCurSel();
    if (item >= 0) {
        SetFieldsEnabled(window, window.dhcpCombo.GetItemText(item) != EnableItem);
    }
}

}  // namespace lumisk
