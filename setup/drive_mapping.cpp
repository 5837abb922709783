#include "setup/drive_mapping.h"

#include "drives/drive_table.h"
#include "drives/failure_text.h"
#include "drives/remote_name.h"
#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "setup/drive_letter_list.h"
#include "setup/login_dialog.h"
#include "setup/web_probe.h"
#include "ui/message_box.h"
#include "ui/string_resources.h"

namespace lumisk {
namespace {

constexpr std::size_t LocalNameLength = 2;  // "E:"
// What screen readers are told once a share is mapped: the share, its letter.
constexpr int MappedText = 114;

constexpr char MapFailure[] = "Failed to map drive.";
constexpr char UnmapFailure[] =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the "
    "drive is not being accessed.";

// The failure the user knows, with the reason on a second line when there is one.
void ShowFailure(MainWindowControls& window, const char* message, const std::string& reason) {
    ui::ShowMessage(&window.dialog, FailureText(message, reason), "Error", ui::MessageIcon::Stop);
}

void ShowConfirmation(MainWindowControls& window, const char* text) {
    ui::ShowMessage(&window.dialog, text, "Confirm", ui::MessageIcon::Information);
}

// Windows NT asks for the credentials of a share before the first attempt.
bool AsksForCredentialsFirst(HostIdentity& system) {
    return GetWindowsVersionText(system).find("NT") != std::string::npos;
}

// Mounting and unmounting a share take as long as the server takes to answer: the window paints
// meanwhile.
int AddConnection(MainWindowControls& window, const std::string& localName,
                  const std::string& remoteName) {
    const std::string password(TextOf(LoginPassword));
    const std::string userName(TextOf(LoginUserName));
    return window.dialog.WaitFor([&] {
        return window.host.drives.AddConnection(localName, remoteName, password, userName);
    });
}

int CancelConnection(MainWindowControls& window, const std::string& localName) {
    return window.dialog.WaitFor(
        [&window, &localName] { return window.host.drives.CancelConnection(localName); });
}

// Maps the share with the credentials held, asking for them first on NT and after a refusal
// elsewhere; true when the mapping was made.
bool Map(MainWindowControls& window, LoginDialog& login, const std::string& localName,
         const std::string& remoteName) {
    if (AsksForCredentialsFirst(window.host.system)) {
        login.DoModal();
        return AddConnection(window, localName, remoteName) == 0;
    }
    if (AddConnection(window, localName, remoteName) == 0) {
        return true;
    }
    login.DoModal();
    return AddConnection(window, localName, remoteName) == 0;
}

void RefreshDrives(MainWindowControls& window) {
    ReadDriveTable(window.host.drives);
    FillDriveLetterList(window.driveLetterCombo, window.host.drives);
}

}  // namespace

void OnConnect(MainWindowControls& window) {
    LoginDialog login(window.host.system);
    AdminLoginMode = 0;
    const int deviceRow = SelectedDeviceRow(window);
    std::string deviceName;
    if (deviceRow >= 0) {
        CopyText(DeviceHostText, window.deviceList.GetItemText(deviceRow, DeviceIpColumn));
        deviceName = window.deviceList.GetItemText(deviceRow, DeviceNameColumn);
    }
    StartWebProbe(window.host.web);
    if (!ConfirmDeviceAvailable(window)) {
        return;
    }
    const int shareRow = SelectedRow(window.shareList);
    // Without a device row there is no name to map the share under.
    if (shareRow < 0 || deviceRow < 0) {
        ui::ShowMessage(&window.dialog, "Please select an adapter in the above section.", "Warning",
                        ui::MessageIcon::Exclamation);
        return;
    }
    const std::string shareName = window.shareList.GetItemText(shareRow, ShareNameColumn);
    const int letterItem = window.driveLetterCombo.GetCurSel();
    if (letterItem < 0) {
        return;
    }
    const std::string localName =
        window.driveLetterCombo.GetItemText(letterItem).substr(0, LocalNameLength);
    // A backslash in the name, or a name cut to fit, would name another server than the adapter.
    const std::optional<std::string> remoteName = ShareRemoteName(deviceName, shareName);
    if (!remoteName) {
        ShowFailure(window, MapFailure,
                    "The adapter's name is empty, holds a backslash or is longer than " +
                        std::to_string(DeviceNameLimit) +
                        " bytes, so it cannot name a network share: rename the adapter on its "
                        "web page.");
        return;
    }
    // What the letter has is replaced only by a share that could be mapped: never lost.
    if (!Map(window, login, localName, *remoteName)) {
        ShowFailure(window, MapFailure, window.host.drives.FailureReason());
        return;
    }
    for (const std::string& notice : window.host.drives.TakeNotices()) {
        ShowConfirmation(window, notice.c_str());
    }
    ShowConfirmation(window, "Successfully mapped drive.");
    RefreshDrives(window);
    FillShareList(window, deviceRow, HostComparison::Exact);
    window.dialog.Announce(ui::LoadString(MappedText, {shareName, localName}));
}

void OnDisconnect(MainWindowControls& window) {
    std::string letterText;
    if (const int shareRow = SelectedRow(window.shareList); shareRow >= 0) {
        letterText = window.shareList.GetItemText(shareRow, LocationColumn);
    } else if (const int letterItem = window.driveLetterCombo.GetCurSel(); letterItem >= 0) {
        letterText = window.driveLetterCombo.GetItemText(letterItem);
    } else {
        return;
    }
    if (CancelConnection(window, letterText.substr(0, LocalNameLength)) != 0) {
        ShowFailure(window, UnmapFailure, window.host.drives.FailureReason());
        return;
    }
    ShowConfirmation(window, "Successfully unmapped drive.");
    RefreshDrives(window);
    if (const int deviceRow = SelectedDeviceRow(window); deviceRow >= 0) {
        FillShareList(window, deviceRow, HostComparison::IgnoringCase);
    }
}

}  // namespace lumisk
