#pragma once
// The main window in the workstation of a LAN testbed, with host services a test controls:
// drive letters, the Windows release, a browser that only records, and the real web probe.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#ifdef _WIN32
#include "tests/windows/lan_testbed_link.h"
#else
#include "tests/lan/lan_testbed.h"
#endif
#include "tests/gui_support/dialog_driver.h"
#include "tests/support/fake_host.h"
#include "tests/support/recording_browser.h"

namespace lumisk::gui_test {

// Checks that `boxes` is one "Error" box with the stop icon: `message` on its first lines, and
// below it a reason that holds `reason`.
void ExpectFailureBox(const std::vector<MessageBoxRecord>& boxes, const std::string& message,
                      const std::string& reason);

class MainWindowOnLan : public lan::LanTest {
protected:
    // `cards`: the workstation's cards, as LanTestbed takes them.
    explicit MainWindowOnLan(int cards = 1) : LanTest(cards) {}
    // A window whose drive letters are `hostDrives` instead of `drives`.
    explicit MainWindowOnLan(HostDrives& hostDrives)
        : host{hostDrives, system, web, browser, *shareFiles, SystemClock()} {}

    void SetUp() override;
    void TearDown() override;
    // Runs before the test's thread enters the workstation.
    virtual void PrepareLan() {}

    // A fixed-address adapter with two shares, a DHCP client, one on another subnet, and one
    // whose web server is off. Extra arguments go to every adapter.
    void StartFourAdapters(const std::vector<std::string>& common = {});

    // The window the helpers below act on: `dialog` unless a test runs another.
    MainWindowControls& Window() { return shown->Window(); }
    // The row of the device list that shows `name`, or -1.
    int RowOf(const std::string& name);
    bool ClickAdapter(const std::string& name);
    // Clicks the adapter and the share; false when either is not there.
    bool ChooseShare(const std::string& adapter, const std::string& share);
    // Clicks `button`, answering each message box it shows; the boxes in order.
    std::vector<MessageBoxRecord> Click(int button);
    // "share|location" per row of the share list.
    std::vector<std::string> ShareRows();
    // Starts a web probe through `probeWeb` and checks that the selected adapter is reported
    // "Device is no longer available.".
    void ExpectNoLongerAvailable(std::shared_ptr<WebConnector> probeWeb);

    testing::FakeDrives drives;
    testing::FakeSystem system;
    testing::RecordingBrowser browser;
    std::shared_ptr<WebConnector> web = MakeSystemWebConnector();
    std::unique_ptr<ShareFileWriter> shareFiles = MakeSystemShareFiles();
    HostServices host{drives, system, web, browser, *shareFiles, SystemClock()};
    MainDialog dialog{host};
    MainDialog* shown = &dialog;

private:
    std::optional<lan::InWorkstation> inWorkstation_;
};

}  // namespace lumisk::gui_test
