#include "tests/gui/main_window_fixture.h"

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "setup/login_dialog.h"
#include "setup/web_probe.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {

void ExpectFailureBox(const std::vector<MessageBoxRecord>& boxes, const std::string& message,
                      const std::string& reason) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].icon, ui::MessageIcon::Stop);
    const std::string& text = boxes[0].text;
    ASSERT_EQ(text.substr(0, message.size() + 1), message + "\n") << text;
    EXPECT_NE(text.find(reason, message.size() + 1), std::string::npos) << text;
    EXPECT_GT(text.size(), message.size() + 1) << "the reason";
}

void MainWindowOnLan::SetUp() {
    LanTest::SetUp();
    if (IsSkipped() || HasFailure()) {
        return;
    }
    PrepareLan();
    if (HasFatalFailure()) {
        return;
    }
    inWorkstation_.emplace(testbed_);
    drives.forbiddenThread = std::this_thread::get_id();
    ASSERT_EQ(TryOpenEndpoint(), std::nullopt);
    SetDiagnosticStream(nullptr);
}

void MainWindowOnLan::TearDown() {
    EXPECT_EQ(drives.callsOnForbiddenThread, 0) << "the window waited for the host's drives";
    CloseEndpoint();
    inWorkstation_.reset();
    ClearDeviceTable();
    ClearShareTable();
    CopyText(SelectedDeviceIp, "");
    AdminLoginMode = 0;
    LanTest::TearDown();
}

void MainWindowOnLan::StartFourAdapters(const std::vector<std::string>& common) {
    std::vector<std::string> arguments = common;
    for (const std::vector<std::string>& adapter : std::vector<std::vector<std::string>>{
             {"--name", "NAS-Office", "--ip", "192.0.2.20", "--gateway", "192.0.2.254", "--shares",
              "HDD_a:HDD_b"},
             {"--name", "NAS-Lab", "--ip", "192.0.2.21", "--gateway", "192.0.2.254", "--dhcp",
              "--shares", "HDD_1"},
             {"--name", "NAS-Branch", "--ip", "198.51.100.30", "--gateway", "198.51.100.1"},
             {"--name", "NAS-Quiet", "--ip", "192.0.2.22", "--no-web"}}) {
        arguments.push_back("--adapter");
        arguments.insert(arguments.end(), adapter.begin(), adapter.end());
    }
    ASSERT_GT(testbed_.StartSimulator(arguments), 0);
}

int MainWindowOnLan::RowOf(const std::string& name) {
    for (int row = 0; row < Window().deviceList.GetItemCount(); ++row) {
        if (Window().deviceList.GetItemText(row, 0) == name) {
            return row;
        }
    }
    return -1;
}

bool MainWindowOnLan::ClickAdapter(const std::string& name) {
    const int row = RowOf(name);
    return row >= 0 && ClickListRow(control::DeviceList, row);
}

bool MainWindowOnLan::ChooseShare(const std::string& adapter, const std::string& share) {
    if (!ClickAdapter(adapter)) {
        return false;
    }
    for (int row = 0; row < Window().shareList.GetItemCount(); ++row) {
        if (Window().shareList.GetItemText(row, 0) == share) {
            return ClickListRow(control::ShareList, row);
        }
    }
    return false;
}

std::vector<MessageBoxRecord> MainWindowOnLan::Click(int button) {
    return RunAndAnswerMessageBoxes([button] { ClickButton(button); });
}

std::vector<std::string> MainWindowOnLan::ShareRows() {
    std::vector<std::string> rows;
    for (int row = 0; row < Window().shareList.GetItemCount(); ++row) {
        rows.push_back(Window().shareList.GetItemText(row, 0) + "|" +
                       Window().shareList.GetItemText(row, 1));
    }
    return rows;
}

void MainWindowOnLan::ExpectNoLongerAvailable(std::shared_ptr<WebConnector> probeWeb) {
    StartWebProbe(std::move(probeWeb));
    bool available = true;
    const auto boxes =
        RunAndAnswerMessageBoxes([&] { available = ConfirmDeviceAvailable(Window()); });
    EXPECT_FALSE(available);
    ExpectBox(boxes, "Device is no longer available.", "Warnning", ui::MessageIcon::Exclamation);
}

}  // namespace lumisk::gui_test
