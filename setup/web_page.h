#pragma once
// The Configuration button: the selected adapter's own web pages in the user's browser, once its
// web server has answered.

#include "setup/main_window.h"

namespace lumisk {

void OnConfiguration(MainWindow& window);

// Opens "http://" and DeviceHostText in the browser, without waiting for it.
void OpenDeviceWebPage(BrowserLauncher& browser);

}  // namespace lumisk
