// lumisk: the window that finds Velnora adapters on the LAN and sets them up.

#include "app/main_dialog.h"
#include "drives/host_drives.h"
#include "drives/host_system.h"
#include "drives/share_files.h"
#include "protocol/clock.h"
#include "protocol/endpoint.h"
#include "setup/browser.h"
#include "setup/web_connector.h"
#include "ui/application.h"

int main(int argc, char** argv) {
    using namespace lumisk;
    ui::Application application(argc, argv);
    // The endpoint comes before any window; without it the program ends with status 1.
    OpenEndpoint();

    const auto drives = MakeSystemDrives();
    const auto system = MakeSystemIdentity();
    const auto web = MakeSystemWebConnector();
    const auto browser = MakeSystemBrowser();
    const auto shareFiles = MakeSystemShareFiles();
    HostServices host{*drives, *system, *web, *browser, *shareFiles, SystemClock()};
    MainDialog dialog(host);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    dialog.DoModal();
    return 0;
}
