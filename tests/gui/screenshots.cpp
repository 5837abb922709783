// make screenshots: PNGs of the main window with three simulated adapters, one selected and the
// focus on Apply, then a DHCP client's greyed fields and both drop-down lists open, of the About
// box and of the login dialog in both modes, so a person can look at them.
// make screenshots-windows: with --windows PROGRAM, the Windows build's screenshot program takes
// the window, also in high contrast, the About box and the login dialog under Wine on a virtual X
// display instead.

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "language/language_dialog.h"
#include "language/restart_dialog.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "setup/login_dialog.h"
#include "tests/gui_support/gui_driver.h"
#include "tests/lan/lan_testbed.h"
#include "tests/support/fake_host.h"
#include "tests/support/recording_browser.h"
#include "ui/application.h"

namespace {

using namespace lumisk;

QString outputDirectory;

// Writes `image` as `fileName` and says where, or that it could not.
void Write(const QPixmap& image, const char* fileName) {
    const QString path = QDir(outputDirectory).filePath(fileName);
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void Save(const char* fileName) {
    QWidget* dialog = gui_test::ActiveDialog();
    Write(dialog != nullptr ? dialog->grab() : QPixmap(), fileName);
}

// The window with the drop-down list open over it, as the screen shows them.
void SaveWithOpenList(int comboId, const char* fileName) {
    QWidget& dialog = *gui_test::ActiveDialog();
    auto* combo = gui_test::FindControlAs<QComboBox>(comboId);
    combo->showPopup();
    QWidget& list = *combo->view()->window();
    gui_test::WaitUntil([&list] { return list.isVisible(); });
    const QRect area = dialog.geometry().united(list.geometry());
    QPixmap image(area.size());
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.drawPixmap(dialog.geometry().topLeft() - area.topLeft(), dialog.grab());
    painter.drawPixmap(list.geometry().topLeft() - area.topLeft(), list.grab());
    painter.end();
    Write(image, fileName);
    combo->hidePopup();
}

void ClickAdapter(MainDialog& dialog, const std::string& name) {
    for (int row = 0; row < dialog.Window().deviceList.GetItemCount(); ++row) {
        if (dialog.Window().deviceList.GetItemText(row, 0) == name) {
            gui_test::ClickListRow(control::DeviceList, row);
        }
    }
}

void ShootMainWindowAndAbout(HostServices& host) {
    MainDialog dialog(host);
    gui_test::RunDialog(dialog, [&] {
        ClickAdapter(dialog, "NAS-Office");
        gui_test::TabTo(control::Apply);
        Save("main_window.png");
        SaveWithOpenList(control::DriveLetters, "drive_letters_open.png");
        gui_test::WhenDialogShown(AboutDialog::TemplateId, [] {
            Save("about.png");
            gui_test::ClickButton(ui::IdOk);
        });
        gui_test::ClickButton(control::About);
        gui_test::WhenDialogShown(LanguageDialog::TemplateId, [] {
            Save("language.png");
            gui_test::ClickButton(ui::IdCancel);
        });
        gui_test::ClickButton(control::Language);
        // A DHCP client: its address fields greyed, the focus on its choice.
        ClickAdapter(dialog, "NAS-Lab");
        gui_test::TabTo(control::Dhcp);
        Save("main_window_dhcp.png");
        SaveWithOpenList(control::Dhcp, "dhcp_open.png");
        gui_test::ClickButton(control::Exit);
    });
}

void ShootRestartWait() {
    RestartDialog restart(
        RestartTiming{std::chrono::milliseconds(10), std::chrono::milliseconds(1500)});
    gui_test::RunDialog(restart, [] {
        gui_test::WaitUntil([] { return false; }, 600);
        Save("restart_wait.png");
    });
}

void ShootLogin(HostIdentity& system, int adminLoginMode, const char* fileName) {
    AdminLoginMode = adminLoginMode;
    LoginDialog login(system);
    gui_test::RunDialog(login, [&] {
        if (adminLoginMode == 0) {
            gui_test::TypeText(LoginDialog::UserNameEdit, "guest");
        }
        gui_test::TypeText(LoginDialog::PasswordEdit, "secret");
        Save(fileName);
        gui_test::ClickButton(ui::IdCancel);
    });
}

// The Windows program's BMP files in the output directory, as PNGs beside the Qt ones.
int ShootUnderWine(lan::LanTestbed& testbed, const std::string& program) {
    const std::string display = testbed.StartVirtualDisplay();
    if (display.empty()) {
        return 1;
    }
    setenv("DISPLAY", display.c_str(), 1);
    const std::string prefix =
        std::getenv("WINEPREFIX") != nullptr ? std::getenv("WINEPREFIX") : "";
    // Wine's drive Z: is the root of the file system.
    const QString directory = QDir(outputDirectory).absolutePath();
    const lan::ProgramResult result = testbed.RunUnderWineInWorkstation(
        prefix,
        // On a virtual desktop of its own Wine draws the title bars and frames itself, with no
        // window manager.
        {"explorer", "/desktop=lumisk,1024x768", "Z:" + program, "Z:" + directory.toStdString()},
        {}, std::chrono::seconds(120));
    std::fputs(result.err.c_str(), stderr);
    for (const char* name : {"main_window", "main_window_high_contrast", "about", "login"}) {
        const QString bitmap = QDir(directory).filePath(QString(name) + ".bmp");
        const QString png = QDir(directory).filePath(QString(name) + ".png");
        if (!QImage(bitmap).save(png)) {
            std::fprintf(stderr, "no %s from the Windows program\n", qPrintable(bitmap));
            return 1;
        }
        QFile::remove(bitmap);
        std::printf("%s\n", qPrintable(png));
    }
    return result.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application application(argc, argv);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    const bool windows = argc == 4 && std::strcmp(argv[1], "--windows") == 0;
    outputDirectory = windows ? argv[3] : argc > 1 ? argv[1] : "screenshots";
    QDir().mkpath(outputDirectory);

    std::string why;
    if (!lan::LanTestbed::Available(why)) {
        std::fprintf(stderr, "screenshots need the LAN testbed: %s\n", why.c_str());
        return 1;
    }
    lan::LanTestbed testbed;
    if (!testbed.Start() ||
        testbed.StartSimulator(
            {"--adapter",  "--name",      "NAS-Office",    "--ip",        "192.0.2.20",
             "--gateway",  "192.0.2.254", "--shares",      "HDD_a:HDD_b", "--disk-status",
             "3",          "--codepage",  "850",           "--password",  "secret",
             "--adapter",  "--name",      "NAS-Lab",       "--ip",        "192.0.2.21",
             "--gateway",  "192.0.2.254", "--dhcp",        "--adapter",   "--name",
             "NAS-Branch", "--ip",        "198.51.100.30", "--gateway",   "198.51.100.1"}) < 0) {
        return 1;
    }
    if (windows) {
        return ShootUnderWine(testbed, argv[2]);
    }
    lumisk::testing::FakeDrives drives;
    drives.types['C'] = DriveType::Fixed;
    drives.connections['E'] = "\\\\192.0.2.20\\HDD_a";
    lumisk::testing::FakeSystem system;
    lumisk::testing::RecordingBrowser browser;
    const auto shareFiles = MakeSystemShareFiles();
    HostServices host{drives,  system,      MakeSystemWebConnector(),
                      browser, *shareFiles, SystemClock()};
    {
        lan::InWorkstation inWorkstation(testbed);
        if (const auto failure = TryOpenEndpoint()) {
            std::fprintf(stderr, "cannot open the protocol endpoint: %s\n",
                         failure->message.c_str());
            return 1;
        }
        SetDiagnosticStream(nullptr);
        ShootMainWindowAndAbout(host);
        CloseEndpoint();
    }
    ShootRestartWait();
    ShootLogin(system, 1, "login_admin.png");
    ShootLogin(system, 0, "login_connect.png");
    return 0;
}
