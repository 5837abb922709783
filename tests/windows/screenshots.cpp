// The Windows half of make screenshots-windows: the window, also in high contrast, the About box
// and the login dialog of lumisk.exe's toolkit under Wine, as BMP files in the folder given,
// against the adapters the Linux half (lumisk_screenshots --windows) simulates in the LAN testbed.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "protocol/endpoint.h"
#include "setup/login_dialog.h"
#include "setup/system_host.h"
#include "tests/windows/gui_driver.h"
#include "ui/application.h"
#include "ui/win32/dialog_colors.h"

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

// Windows' "High Contrast Black" colours with the high-contrast setting on, which Wine can neither
// set nor report: the window as a person who needs them sees it.
void SaveInHighContrast(const char* fileName) {
    const std::vector<int> elements = {COLOR_WINDOW,   COLOR_BTNFACE,      COLOR_WINDOWTEXT,
                                       COLOR_BTNTEXT,  COLOR_HIGHLIGHT,    COLOR_HIGHLIGHTTEXT,
                                       COLOR_GRAYTEXT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    const std::vector<COLORREF> theme = {0x000000,         0x000000,          0xFFFFFF,
                                         0xFFFFFF,         RGB(26, 235, 255), 0x000000,
                                         RGB(63, 242, 63), 0xFFFFFF,          0xFFFFFF};
    std::vector<COLORREF> before;
    for (const int element : elements) {
        before.push_back(GetSysColor(element));
    }
    const ui::HighContrastQuery systems = ui::SetHighContrastQuery([] { return true; });
    // Every window hears of the new colours, and asks the setting again with them.
    SetSysColors(static_cast<int>(elements.size()), elements.data(), theme.data());
    Save(fileName);
    ui::SetHighContrastQuery(systems);
    SetSysColors(static_cast<int>(elements.size()), elements.data(), before.data());
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application application(argc, argv);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    outputDirectory = argc > 1 ? argv[1] : ".";
    if (const std::optional<EndpointFailure> failure = TryOpenEndpoint()) {
        std::fprintf(stderr, "cannot open the protocol endpoint: %s\n", failure->message.c_str());
        return 1;
    }
    SystemHost host;
    MainDialog dialog(host.Services());
    RunDialog(dialog, [] {
        ClickListRow(control::DeviceList, ListRowOf(control::DeviceList, "NAS-Office"));
        WaitUntil([] { return ListRowCount(control::ShareList) > 0; });
        Save("main_window.bmp");
        SaveInHighContrast("main_window_high_contrast.bmp");
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
