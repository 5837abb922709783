#include "setup/web_page.h"

#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "setup/web_probe.h"
#include "ui/message_box.h"

namespace lumisk {

void OnConfiguration(MainWindowControls& window) {
    const int row = SelectedDeviceRow(window);
    if (row < 0) {
        ui::ShowMessage(&window.dialog, "Please select an adapter to configure.", "Warning",
                        ui::MessageIcon::Exclamation);
        return;
    }
    CopyText(DeviceHostText, window.deviceList.GetItemText(row, DeviceIpColumn));
    StartWebProbe(window.host.web);
    if (ConfirmDeviceAvailable(window)) {
        OpenDeviceWebPage(window.dialog, window.host.browser);
    }
}

void OpenDeviceWebPage(ui::Dialog& owner, BrowserLauncher& browser) {
    const std::string url = "http://" + std::string(TextOf(DeviceHostText));
    if (owner.WaitFor([&] { return browser.OpenUrl(url) ? 1 : 0; }) == 0) {
        const std::string text = "No web browser could be started to open " + url + ".";
        ui::ShowMessage(&owner, text, "Error", ui::MessageIcon::Stop);
    }
}

}  // namespace lumisk
