// lumisk: the window that finds Velnora adapters on the LAN and sets them up.

#include <cstdio>
#include <string>
#include <string_view>

#include "app/main_dialog.h"
#include "app/start_up.h"
#include "protocol/console_text.h"
#include "resources/version.h"
#include "setup/system_host.h"
#include "ui/application.h"
#include "ui/message_box.h"

int main(int argc, char** argv) {
    using namespace lumisk;
    // Answered before the toolkit starts, so it works without a display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        const std::string version = "lumisk " + std::string(ProgramVersion);
        if (WriteText(stdout, version + "\n")) {
            return 0;
        }
#ifdef _WIN32
        // A program with a window has no console of its own: the one it was started from, else
        // a message box.
        if (!WriteToParentConsole(version + "\n")) {
            ui::Application application(argc, argv);
            ui::ShowMessage(nullptr, version, {}, ui::MessageIcon::Information);
        }
#endif
        return 0;
    }
    ui::Application application(argc, argv);
    application.SetDialogColors({0, 98, 147}, {255, 255, 255});
    // The endpoint comes before any window; without it the program ends with status 1.
    if (!OpenEndpointOrSayWhy()) {
        return 1;
    }

    SystemHost host;
    MainDialog dialog(host.Services());
    dialog.DoModal();
    return 0;
}
