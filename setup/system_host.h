#pragma once
// The host's own services, as the program runs on it.

#include <memory>

#include "setup/host_services.h"

namespace lumisk {

class SystemHost {
public:
    SystemHost();
    HostServices& Services() { return services_; }

private:
    std::unique_ptr<HostDrives> drives_;
    std::unique_ptr<HostIdentity> system_;
    std::unique_ptr<BrowserLauncher> browser_;
    std::unique_ptr<ShareFileWriter> shareFiles_;
    HostServices services_;
};

}  // namespace lumisk
