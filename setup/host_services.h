#pragma once
// The host services the window's handlers use, handed in at start-up so tests can put their own
// in place: drive letters, the host's identity, the web connection test, the browser, file
// writes on shares and the clock.

#include <memory>

#include "drives/host_drives.h"
#include "drives/host_identity.h"
#include "drives/share_files.h"
#include "protocol/clock.h"
#include "setup/browser.h"
#include "setup/web_connector.h"

namespace lumisk {

struct HostServices {
    HostDrives& drives;
    HostIdentity& system;
    // Shared with each web probe, whose worker may outlive the window that started it.
    std::shared_ptr<WebConnector> web;
    BrowserLauncher& browser;
    ShareFileWriter& shareFiles;
    Clock& clock;
};

}  // namespace lumisk
