#pragma once
// The Configuration button: the selected adapter's own web pages in the user's browser, once its
// web server has answered.

#include "setup/main_window_controls.h"

namespace lumisk {

void OnConfiguration(MainWindowControls& window);

// Opens "http://" and DeviceHostText in the browser, without waiting for it once it runs; when
// no browser could be started, a message box over `owner` names the page that did not open.
void OpenDeviceWebPage(ui::Dialog& owner, BrowserLauncher& browser);

}  // namespace lumisk
