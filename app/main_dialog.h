#pragma once
// The program's one window: the adapters on the LAN, the LAN settings of the selected adapter
// and its shares with the drive letters they are mapped to.

#include "drives/drive_letter_cache.h"
#include "language/restart_dialog.h"
#include "setup/host_services.h"
#include "setup/main_window_controls.h"
#include "ui/dialog.h"

namespace lumisk {

class MainDialog : public ui::Dialog {
public:
    static constexpr int TemplateId = 102;
    static constexpr int AppIcon = 128;
    static constexpr int AboutCommand = 16;
    static constexpr int AboutMenuText = 101;
    static constexpr int DriveReadTimer = 1;

    explicit MainDialog(HostServices& host, RestartTiming restartTiming = {});

    MainWindowControls& Window() { return window_; }

protected:
    // Lists, columns, icon and system menu, then the drive letters and the first search.
    bool OnInitDialog() override;
    // The close request closes the protocol endpoint first.
    void OnClose() override;
    // Every repaint brings the drive letters and the share list's Location column up to date
    // with the last reading of the host's letters, and has them read again: a change repaints.
    void OnPaint() override;
    void OnSysCommand(int commandId) override;
    // The drive letters are read again now and then: mappings made elsewhere show.
    void OnTimer(int timerId) override;

private:
    void OnExit();
    void OnAbout();

    // The host's drive letters, read off the window's thread; the window's handlers see them
    // through `services_`.
    DriveLetterCache drives_;
    HostServices services_;
    MainWindowControls window_;
    const RestartTiming restartTiming_;
};

}  // namespace lumisk
