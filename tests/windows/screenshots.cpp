// The Windows half of make screenshots-windows: the window, the About box and the login dialog
// of lumisk.exe's toolkit under Wine, as BMP files in the folder given, against the adapters the
// Linux half (lumisk_screenshots --windows) simulates in the LAN testbed.

#include <cstdio>
#include <optional>
#include <string>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "protocol/endpoint.h"
#include "setup/login_dialog.h"
#include "setup/system_host.h"
#include "tests/windows/gui_driver.h"
#include "ui/application.h"

namespace {

using namespace lumisk;
using namespace lumisk::gui_test;

std::string outputDirectory;
int failures = 0;

void Save(const char* fileName) {
    const std::string path = outputDirectory + "\\" + fileName;
    if (!SaveActiveDialog(path)) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application application(argc, argv);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    outputDirectory = argc > 1 ? argv[1] : ".";
    if (const std::optional<std::string> failure = TryOpenEndpoint()) {
        std::fprintf(stderr, "cannot open the protocol endpoint: %s\n", failure->c_str());
        return 1;
    }
    SystemHost host;
    MainDialog dialog(host.Services());
    RunDialog(dialog, [] {
        ClickListRow(control::DeviceList, ListRowOf(control::DeviceList, "NAS-Office"));
        WaitUntil([] { return ListRowCount(control::ShareList) > 0; });
        Save("main_window.bmp");
        WhenDialogShown(AboutDialog::TemplateId, [] {
            Save("about.bmp");
            ClickButton(ui::IdOk);
        });
        ClickButton(control::About);
        // The adapter wants its password: the login dialog asks for it, and its refusal is
        // answered.
        WhenDialogShown(LoginDialog::TemplateId, [] {
            TypeText(LoginDialog::PasswordEdit, "secret");
            Save("login.bmp");
            ClickButton(ui::IdCancel);
        });
        RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); });
        ClickButton(control::Exit);
    });
    return failures == 0 ? 0 : 1;
}
