// make demo: the window on this display, in the workstation of a LAN testbed whose adapters are
// simulated: a fixed address with disks, shares and a code page, a DHCP client with the other
// disk layout, and one on another subnet; what it shows is printed first. A real SMB server holds
// their shares, so mapping and language setup work end to end. Everything is taken down when the
// window closes.

#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "protocol/endpoint.h"
#include "setup/system_host.h"
#include "tests/lan/lan_testbed.h"
#include "tests/lan/samba_server.h"
#include "ui/application.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

struct DemoAdapter {
    std::vector<std::string> arguments;
    const char* summary;
};

const DemoAdapter DemoAdapters[] = {
    {{"--name", "NAS-Office", "--ip", "192.0.2.20", "--gateway", "192.0.2.254", "--shares",
      "HDD_a:HDD_b", "--codepage", "850", "--share-name", "HDD_a"},
     "NAS-Office  192.0.2.20     fixed address; shares HDD_a and HDD_b; code page 850"},
    {{"--name", "NAS-Lab", "--ip", "192.0.2.21", "--gateway", "192.0.2.254", "--dhcp", "--shares",
      "HDD_1", "--codepage", "950", "--share-name", "HDD_1"},
     "NAS-Lab     192.0.2.21     DHCP client (greyed address fields); share HDD_1; code page 950"},
    {{"--name", "NAS-Branch", "--ip", "198.51.100.30", "--gateway", "198.51.100.1"},
     "NAS-Branch  198.51.100.30  on another subnet: Connect, Disconnect, Configuration and "
     "Language are disabled"},
};

// What the demo shows, before the window opens.
void PrintGuide() {
    std::printf(
        "The workstation is 192.0.2.1 on a LAN of network namespaces with three simulated "
        "adapters:\n");
    for (const DemoAdapter& adapter : DemoAdapters) {
        std::printf("  %s\n", adapter.summary);
    }
    std::printf(
        "Their administrator password is empty, so Apply asks for none.\n"
        "A real SMB server holds the shares \\\\NAS-Office\\HDD_a, "
        "\\\\NAS-Office\\HDD_b and \\\\NAS-Lab\\HDD_1, open to guests without "
        "a password;\nConnect maps them, and Language installs its files on them.\n"
        "End the demo with Exit in the window, or Ctrl+C here.\n");
    std::fflush(stdout);
}

void RequestStop(int) {
    stopRequested = 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumisk;
    std::string why;
    if (!lan::LanTestbed::Available(why) || !lan::SambaServer::Available(why)) {
        std::fprintf(stderr, "make demo needs root, the LAN testbed and smbd: %s\n", why.c_str());
        return 1;
    }
    lan::LanTestbed testbed;
    lan::SambaServer server;
    lan::SambaClientHome client;
    std::vector<std::string> arguments = {"--disk-status", "3", "--restart-ms", "90000"};
    for (const DemoAdapter& adapter : DemoAdapters) {
        arguments.push_back("--adapter");
        arguments.insert(arguments.end(), adapter.arguments.begin(), adapter.arguments.end());
    }
    if (!testbed.Start() || !client.Ready() || testbed.StartSimulator(arguments) < 0) {
        return 1;
    }
    testbed.SetWorkstationHosts({{"NAS-Office", "192.0.2.20"}, {"NAS-Lab", "192.0.2.21"}});
    if (!server.Start(testbed,
                      {{"HDD_a", true, "", ""}, {"HDD_b", true, "", ""}, {"HDD_1", true, "", ""}},
                      {"NAS-Office", "NAS-Lab"})) {
        return 1;
    }
    std::filesystem::create_directories(server.Directory("HDD_a") + "/.codepages");
    std::filesystem::create_directories(server.Directory("HDD_1") + "/.systemfile/.codepages");
    // The demo's drive mappings go to a table of its own, not the user's.
    setenv("XDG_CONFIG_HOME", testbed.TemporaryPath("config").c_str(), 1);
    // The adapters are simulated, so the stand-in code-page files may be installed on them.
    setenv("LUMISK_ALLOW_STAND_IN_CODEPAGES", "1", 1);

    PrintGuide();
    lan::InWorkstation inWorkstation(testbed);
    ui::Application application(argc, argv);
    if (TryOpenEndpoint()) {
        return 1;
    }
    SystemHost host;
    MainDialog dialog(host.Services());
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    // Ctrl+C or a termination request closes the window, so the testbed is still taken down.
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&dialog] {
        if (stopRequested) {
            dialog.EndDialog(ui::IdCancel);
        }
    });
    stopWatch.start(100);
    dialog.DoModal();
    return 0;
}
