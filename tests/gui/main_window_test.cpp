// The main window in the workstation of the LAN testbed, against simulated adapters: what a
// person sees and what each click does.

#include <gtest/gtest.h>

#include <future>
#include <sstream>
#include <variant>

#include "app/about_dialog.h"
#include "app/start_up.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/socket_api.h"
#include "protocol/udp_transport.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "setup/web_probe.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk {
namespace {

using gui_test::ClickButton;
using gui_test::MainWindowOnLan;
using gui_test::RunDialog;
using namespace std::chrono_literals;

constexpr int ButtonsOfTheWindow[] = {control::Refresh, control::Configuration, control::Apply,
                                      control::Connect, control::Disconnect,    control::Exit,
                                      control::About,   control::Language};
// The buttons that act on the chosen adapter only while it is in a subnet of the host.
constexpr int SubnetButtons[] = {control::Connect, control::Disconnect, control::Configuration,
                                 control::Language};

TEST_F(MainWindowOnLan, OpensAfterTheFirstSearchWithEveryAdapterListed) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_EQ(Window().deviceList.GetItemCount(), 4);
        const int office = RowOf("NAS-Office");
        ASSERT_GE(office, 0);
        EXPECT_EQ(Window().deviceList.GetItemText(office, 1), "192.0.2.20");
        EXPECT_EQ(Window().deviceList.GetItemText(office, 2), "255.255.255.0");
        EXPECT_EQ(Window().deviceList.GetItemText(office, 3), "192.0.2.254");
        EXPECT_EQ(Window().deviceList.GetItemText(RowOf("NAS-Branch"), 1), "198.51.100.30");
        EXPECT_TRUE(Window().ipControl.IsBlank());
        EXPECT_TRUE(Window().netmaskControl.IsBlank());
        EXPECT_TRUE(Window().gatewayControl.IsBlank());
        EXPECT_EQ(Window().dhcpCombo.GetCurSel(), -1);
        EXPECT_EQ(Window().shareList.GetItemCount(), 0);
        for (const int button : ButtonsOfTheWindow) {
            EXPECT_TRUE(dialog.IsControlEnabled(button)) << button;
        }
        EXPECT_EQ(Window().deviceChosen, 0);
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, AClickShowsTheAdaptersSettingsSharesAndReach) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        EXPECT_EQ(Window().ipControl.GetOctets(), (std::array<int, 4>{192, 0, 2, 20}));
        EXPECT_EQ(Window().netmaskControl.GetOctets(), (std::array<int, 4>{255, 255, 255, 0}));
        EXPECT_EQ(Window().gatewayControl.GetOctets(), (std::array<int, 4>{192, 0, 2, 254}));
        EXPECT_EQ(Window().dhcpCombo.GetItemText(Window().dhcpCombo.GetCurSel()), "Disable");
        EXPECT_TRUE(dialog.IsControlEnabled(control::Ip));
        EXPECT_EQ(ShareRows(), (std::vector<std::string>{"HDD_a|", "HDD_b|"}));
        EXPECT_STREQ(SelectedDeviceIp, "192.0.2.20");
        EXPECT_STREQ(DeviceHostText, "192.0.2.20");
        EXPECT_EQ(Window().deviceChosen, 1);
        for (const int button : SubnetButtons) {
            EXPECT_TRUE(dialog.IsControlEnabled(button)) << button;
        }

        ASSERT_TRUE(ClickAdapter("NAS-Lab"));
        EXPECT_EQ(Window().dhcpCombo.GetItemText(Window().dhcpCombo.GetCurSel()), "Enable");
        for (const int field : {control::Ip, control::Netmask, control::Gateway}) {
            EXPECT_FALSE(dialog.IsControlEnabled(field)) << field;
        }
        EXPECT_EQ(Window().ipControl.GetOctets(), (std::array<int, 4>{192, 0, 2, 21}));
        EXPECT_EQ(ShareRows(), std::vector<std::string>{"HDD_1|"});

        ASSERT_TRUE(ClickAdapter("NAS-Branch"));
        for (const int button : SubnetButtons) {
            EXPECT_FALSE(dialog.IsControlEnabled(button)) << button;
        }
        EXPECT_TRUE(dialog.IsControlEnabled(control::Apply));
        EXPECT_TRUE(dialog.IsControlEnabled(control::Refresh));
        EXPECT_TRUE(dialog.IsControlEnabled(control::Ip))
            << "a fixed address frees the fields again";
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, AClickBesideTheRowsOnlyMarksTheChoice) {
    ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-Solo", "--ip", "192.0.2.30"}), 0);
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Solo"));
        // The four columns fit the list's width: no scroll bar while the rows fit too.
        EXPECT_FALSE(gui_test::ShowsHorizontalScrollBar(control::DeviceList));
        ASSERT_TRUE(ClickButton(control::Refresh));
        EXPECT_EQ(Window().deviceChosen, 0);
        ASSERT_TRUE(gui_test::ClickListEmptyArea(control::DeviceList));
        EXPECT_EQ(Window().deviceChosen, 1);
        EXPECT_STREQ(SelectedDeviceIp, "192.0.2.30");
        EXPECT_TRUE(Window().ipControl.IsBlank());
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, MappedSharesShowTheirLetterUnderTheCaseRules) {
    StartFourAdapters();
    drives.types['C'] = DriveType::Fixed;
    drives.connections = {{'E', "\\\\192.0.2.20\\HDD_a"}, {'F', "\\\\nas-office\\hdd_b"}};
    RunDialog(dialog, [&] {
        ASSERT_GE(Window().driveLetterCombo.GetCount(), 3);
        EXPECT_EQ(Window().driveLetterCombo.GetItemText(0), "D:");
        EXPECT_EQ(Window().driveLetterCombo.GetItemText(1), "E: \\\\192.0.2.20\\HDD_a");
        EXPECT_EQ(Window().driveLetterCombo.GetItemText(2), "F: \\\\nas-office\\hdd_b");
        EXPECT_EQ(Window().driveLetterCombo.GetCurSel(), 0);

        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        EXPECT_EQ(ShareRows(), (std::vector<std::string>{"HDD_a|E:", "HDD_b|F:"}));

        // A repaint compares the adapter's name exactly: "nas-office" no longer names it.
        gui_test::RepaintActiveDialog();
        EXPECT_TRUE(gui_test::WaitUntil([&] {
            return ShareRows() == std::vector<std::string>{"HDD_a|E:", "HDD_b|"};
        })) << ::testing::PrintToString(ShareRows());

        // A mapping made meanwhile by another program shows at the next repaint.
        drives.Map('G', "\\\\NAS-Office\\HDD_b");
        gui_test::RepaintActiveDialog();
        EXPECT_TRUE(gui_test::WaitUntil([&] {
            return ShareRows() == std::vector<std::string>{"HDD_a|E:", "HDD_b|G:"};
        })) << ::testing::PrintToString(ShareRows());
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, ADoubleClickIsOneClickAndTheWheelTurnsOnlyTheFocusedList) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartFourAdapters({"--record", record});
    const auto getRequests = [&] {
        std::istringstream lines(lan::ReadWhole(record));
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            count += line.rfind("03", 0) == 0 ? 1 : 0;
        }
        return count;
    };
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        const int oneClick = getRequests();
        ASSERT_GT(oneClick, 0);
        ASSERT_TRUE(gui_test::DoubleClickListRow(control::DeviceList, RowOf("NAS-Lab")));
        EXPECT_EQ(getRequests(), 2 * oneClick);
        EXPECT_EQ(ShareRows(), std::vector<std::string>{"HDD_1|"});

        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        const int letter = Window().driveLetterCombo.GetCurSel();
        // Each way, checked after each turn: a list at its first item turns only one way.
        for (const int notches : {-1, 1}) {
            ASSERT_TRUE(gui_test::TurnWheel(control::Dhcp, notches));
            ASSERT_TRUE(gui_test::TurnWheel(control::DriveLetters, notches));
            EXPECT_EQ(Window().dhcpCombo.GetItemText(Window().dhcpCombo.GetCurSel()), "Disable");
            EXPECT_TRUE(dialog.IsControlEnabled(control::Ip));
            EXPECT_EQ(Window().driveLetterCombo.GetCurSel(), letter) << notches;
        }
        // With the focus, the wheel turns it, and its handler runs.
        dialog.FocusControl(control::Dhcp);
        ASSERT_TRUE(gui_test::TurnWheel(control::Dhcp, -1));
        EXPECT_EQ(Window().dhcpCombo.GetItemText(Window().dhcpCombo.GetCurSel()), "Enable");
        EXPECT_FALSE(dialog.IsControlEnabled(control::Ip));
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, TheWindowPaintsWithTheWaitCursorWhileAnExchangeRuns) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        const auto searching = [&] { return !dialog.IsControlEnabled(control::Refresh); };
        const gui_test::RepaintProbe probe(searching);
        ASSERT_TRUE(ClickButton(control::Refresh));
        EXPECT_GT(probe.Paints(), 0);
        EXPECT_TRUE(probe.SawWaitCursor());
        EXPECT_EQ(Window().deviceList.GetItemCount(), 4) << "the search's steps ran in order";
        EXPECT_FALSE(gui_test::ShowsWaitCursor());
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, RefreshRebuildsTheListAndKeepsTheSelectedAddress) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-New", "--ip", "203.0.113.40"}), 0);
        ASSERT_TRUE(ClickButton(control::Refresh));
        EXPECT_EQ(Window().deviceList.GetItemCount(), 5);
        EXPECT_GE(RowOf("NAS-New"), 0);
        EXPECT_EQ(SelectedDeviceRow(Window()), -1);
        EXPECT_TRUE(Window().ipControl.IsBlank());
        EXPECT_EQ(Window().shareList.GetItemCount(), 0);
        EXPECT_EQ(Window().deviceChosen, 0);
        EXPECT_STREQ(SelectedDeviceIp, "192.0.2.20");
        EXPECT_TRUE(dialog.IsControlEnabled(control::Refresh));
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, AboutOpensFromTheButtonAndFromTheSystemMenu) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        int aboutShown = 0;
        const auto closeAbout = [&] {
            ++aboutShown;
            EXPECT_EQ(gui_test::ActiveCaption(), "Varnok Lumisk Utility");
            ClickButton(ui::IdOk);
        };
        gui_test::WhenDialogShown(AboutDialog::TemplateId, closeAbout);
        ASSERT_TRUE(ClickButton(control::About));
        gui_test::WhenDialogShown(AboutDialog::TemplateId, closeAbout);
        ASSERT_TRUE(gui_test::ChooseSystemMenuEntry("About Velnora(A)..."));
        EXPECT_TRUE(gui_test::WaitUntil([&] { return aboutShown == 2; }));
        EXPECT_EQ(gui_test::ActiveTemplateId(), MainDialog::TemplateId);
        EXPECT_EQ(Window().deviceList.GetItemCount(), 4);
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, ExitClosesTheEndpointFirst) {
    RunDialog(dialog, [&] {
        EXPECT_EQ(Window().deviceList.GetItemCount(), 0);
        ClickButton(control::Exit);
    });
    EXPECT_FALSE(IsEndpointOpen());
}

// UTF-8 names as they are, others as Windows-1252, as the command line shows them.
TEST_F(MainWindowOnLan, NamesAreReadAsUtf8ElseWindows1252) {
    ASSERT_GT(testbed_.StartSimulator({"--adapter", "--name", "Büro-NAS", "--ip", "192.0.2.25",
                                       "--adapter", "--name", "Caf\xe9", "--ip", "192.0.2.26"}),
              0);
    RunDialog(dialog, [&] {
        EXPECT_GE(RowOf("Büro-NAS"), 0);
        EXPECT_GE(RowOf("Café"), 0);
        ClickButton(control::Exit);
    });
}

TEST_F(MainWindowOnLan, TheCloseRequestClosesTheEndpointFirst) {
    RunDialog(dialog, [] { gui_test::RequestClose(); });
    EXPECT_FALSE(IsEndpointOpen());
}

TEST_F(MainWindowOnLan, EscapeEndsTheWindowWithoutClosingTheEndpoint) {
    const int code = RunDialog(dialog, [] { gui_test::PressEscape(); });
    EXPECT_EQ(code, ui::IdCancel);
    EXPECT_TRUE(IsEndpointOpen());
}

// Another program holds the protocol's port: the start says so before any window, and the
// program ends.
TEST_F(MainWindowOnLan, APortHeldByAnotherProgramIsSaidBeforeAnyWindow) {
    CloseEndpoint();
    ASSERT_TRUE(StartSocketLibrary());
    {
        const auto other = UdpTransport::Open();
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<UdpTransport>>(other));
        bool opened = true;
        const auto boxes =
            gui_test::RunAndAnswerMessageBoxes([&] { opened = OpenEndpointOrSayWhy(); });
        EXPECT_FALSE(opened);
        EXPECT_FALSE(IsEndpointOpen());
        gui_test::ExpectBox(boxes,
                            "UDP port 13579 is in use by another program.\nAnother copy of this "
                            "utility, lumisk-cli or another program is using it: end it, then "
                            "start this utility again.",
                            "Error", ui::MessageIcon::Stop);
    }
    StopSocketLibrary();
}

TEST_F(MainWindowOnLan, AnAdapterWithoutItsWebServerIsNoLongerAvailable) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        StartWebProbe(host.web);
        EXPECT_TRUE(ConfirmDeviceAvailable(Window()));

        ASSERT_TRUE(ClickAdapter("NAS-Quiet"));
        ExpectNoLongerAvailable(host.web);
        // The full refresh after it: a new search, nothing selected.
        EXPECT_EQ(Window().deviceList.GetItemCount(), 4);
        EXPECT_EQ(SelectedDeviceRow(Window()), -1);
        EXPECT_EQ(Window().deviceChosen, 0);
        EXPECT_EQ(WebProbeResult(), WebProbePending);
        ClickButton(control::Exit);
    });
}

// The first card leads to a LAN without adapters; the host's own address is that card's. As on
// a desk with virtual or VPN cards, the host name resolves to an address that no card holds
// (under Wine, lan_window_wine_test sets the same up for the three cards).
class MainWindowOnThreeCards : public MainWindowOnLan {
protected:
    MainWindowOnThreeCards() : MainWindowOnLan(3) {}
#ifndef _WIN32
    void PrepareLan() override {
        testbed_.ResolveHostNameTo("198.51.100.99");
    }
#endif
};

TEST_F(MainWindowOnThreeCards, TheSubnetTestTakesTheCardTheAdapterAnsweredThrough) {
    ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-2", "--ip", "198.51.100.20"},
                                      std::chrono::seconds{10}, 2),
              0);
    ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-3", "--ip", "203.0.113.20"},
                                      std::chrono::seconds{10}, 3),
              0);
    EXPECT_STREQ(HostAddressText, "192.0.2.1");
    RunDialog(dialog, [&] {
        for (const char* adapter : {"NAS-2", "NAS-3"}) {
            ASSERT_TRUE(ClickAdapter(adapter));
            for (const int button : SubnetButtons) {
                EXPECT_TRUE(dialog.IsControlEnabled(button)) << adapter << " " << button;
            }
        }
        ClickButton(control::Exit);
    });
}

// Records the pauses instead of taking them.
class RecordingClock final : public Clock {
public:
    TimePoint Now() override { return std::chrono::steady_clock::now(); }
    void Sleep(std::chrono::milliseconds duration) override { pauses.push_back(duration); }

    std::vector<std::chrono::milliseconds> pauses;
};

// A web server that does not answer until `open` is set: the probe stays pending. The answer
// reads the connector's own state, as a real connection test does, then sets `answered`.
struct Gate {
    std::promise<void> open;
    std::shared_future<void> opened = open.get_future().share();
    std::promise<void> answered;
};

class HangingConnector final : public WebConnector {
public:
    explicit HangingConnector(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
    bool CanConnect(const std::string& url) override {
        gate_->opened.wait();
        tried_.push_back(url);
        gate_->answered.set_value();
        return true;
    }

private:
    std::shared_ptr<Gate> gate_;
    std::vector<std::string> tried_;
};

// The window and its host services are gone while the probe still waits: the worker finishes
// with the connector it shares (the sanitizer build sees any use of a freed one).
TEST_F(MainWindowOnLan, APendingProbeIsReadThreeTimesASecondApartAndOutlivesItsWindow) {
    StartFourAdapters();
    const auto gate = std::make_shared<Gate>();
    {
        RecordingClock clock;
        HostServices pendingHost{drives,  system,      std::make_shared<HangingConnector>(gate),
                                 browser, *shareFiles, clock};
        MainDialog pendingDialog{pendingHost};
        shown = &pendingDialog;
        RunDialog(pendingDialog, [&] {
            ASSERT_TRUE(ClickAdapter("NAS-Office"));
            clock.pauses.clear();
            ExpectNoLongerAvailable(pendingHost.web);
            EXPECT_EQ(clock.pauses, (std::vector<std::chrono::milliseconds>{1000ms, 1000ms}));
            ClickButton(control::Exit);
        });
        shown = &dialog;
    }
    std::future<void> answered = gate->answered.get_future();
    gate->open.set_value();
    EXPECT_EQ(answered.wait_for(10s), std::future_status::ready);
}

}  // namespace
}  // namespace lumisk
