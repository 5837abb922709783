#include "app/main_dialog.h"

#include "app/about_dialog.h"
#include "drives/drive_table.h"
#include "language/language_dialog.h"
#include "protocol/endpoint.h"
#include "setup/device_list.h"
#include "setup/drive_letter_list.h"
#include "setup/drive_mapping.h"
#include "setup/lan_settings.h"
#include "setup/web_page.h"
#include "ui/string_resources.h"

namespace lumisk {
namespace {

struct Column {
    const char* heading;
    int widthPixels;
};

constexpr Column DeviceColumns[] = {{"Name", 94}, {"IP", 81}, {"Netmask", 81}, {"Gateway", 81}};
constexpr Column ShareColumns[] = {{"Volume Name", 120}, {"Location", 100}};

// Mappings made by other programs show within this, even without a repaint.
constexpr int DriveReadPeriodMilliseconds = 10000;

template <std::size_t N>
void SetUpList(ui::ListView list, const Column (&columns)[N]) {
    list.SetFullRowSelect();
    for (std::size_t index = 0; index < N; ++index) {
        list.InsertColumn(static_cast<int>(index), columns[index].heading,
                          columns[index].widthPixels);
    }
}

}  // namespace

MainDialog::MainDialog(HostServices& host, RestartTiming restartTiming)
    : ui::Dialog(TemplateId),
      drives_(host.drives, [this] { RequestRepaint(); }),
      services_{drives_, host.system, host.web, host.browser, host.shareFiles, host.clock},
      window_(*this, services_),
      restartTiming_(restartTiming) {
    RouteClick(control::Exit, [this] { OnExit(); });
    RouteListClick(control::DeviceList, [this] { OnClickDeviceList(window_); });
    RouteClick(control::Refresh, [this] { OnRefresh(window_); });
    RouteClick(control::About, [this] { OnAbout(); });
    RouteClick(control::Apply, [this] { OnApply(window_); });
    RouteClick(control::Configuration, [this] { OnConfiguration(window_); });
    RouteSelectionChange(control::Dhcp, [this] { OnDhcpSelChange(window_); });
    RouteClick(control::Connect, [this] { OnConnect(window_); });
    RouteClick(control::Disconnect, [this] { OnDisconnect(window_); });
    RouteClick(control::Language, [this] { OnLanguage(window_, restartTiming_); });
}

bool MainDialog::OnInitDialog() {
    const std::string aboutText = ui::LoadString(AboutMenuText);
    if (!aboutText.empty()) {
        AppendSystemMenuItem(AboutCommand, aboutText);
    }
    SetIcon(AppIcon);
    SetUpList(window_.deviceList, DeviceColumns);
    SetUpList(window_.shareList, ShareColumns);
    // Mappings made by another program or window show as after a repaint.
    RepaintOnFileChange(window_.host.drives.ConnectionsFile());
    WaitFor([this] {
        drives_.ReadNow();
        return 0;
    });
    SetTimer(DriveReadTimer, DriveReadPeriodMilliseconds);
    FullRefresh(window_);
    return true;
}

void MainDialog::OnExit() {
    CloseEndpoint();
    EndDialog(ui::IdCancel);
}

void MainDialog::OnClose() {
    CloseEndpoint();
    ui::Dialog::OnClose();
}

void MainDialog::OnPaint() {
    // A paint also comes when a drop-down list closes or the window is activated: bringing the
    // letters and locations up to date must not take back the letter and share just chosen.
    drives_.ReadSoon();
    ReadDriveTable(window_.host.drives);
    UpdateDriveLetterList(window_.driveLetterCombo, window_.host.drives);
    const int row = SelectedDeviceRow(window_);
    if (row >= 0) {
        UpdateShareLocations(window_, row, HostComparison::Exact);
    }
}

void MainDialog::OnTimer(int timerId) {
    if (timerId == DriveReadTimer) {
        drives_.ReadSoon();
    }
}

void MainDialog::OnSysCommand(int commandId) {
    // The low four bits of a system command are the system's own.
    if ((commandId & ~0xF) == AboutCommand) {
        OnAbout();
    }
}

void MainDialog::OnAbout() {
    AboutDialog about;
    about.DoModal();
}

}  // namespace lumisk
