#pragma once
// The window behind a running Dialog: the template's controls on a fixed-size modal window, its
// keys, close request, paints, timers and system menu turned into the Dialog's handlers.

#include <QDialog>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QTimer>
#include <map>
#include <vector>

#include "ui/dialog.h"
#include "ui/dialog_routes.h"
#include "ui/dialog_template.h"
#include "ui/qt/announcer.h"
#include "ui/qt/dialog_units.h"

namespace lumisk::ui {

class DialogWindow : public QDialog {
    Q_OBJECT

public:
    DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent);

    // The control with `id`, or nullptr.
    QWidget* Control(int id) const;

    // Focuses the first control that takes the tab key if asked, then runs modally until End;
    // returns End's code.
    int Run(bool focusFirstControl);
    void End(int code);

    // Dialog::WaitFor for this window.
    int WaitFor(const std::function<int()>& work);

    void SetTimer(int timerId, int periodMilliseconds);
    void KillTimer(int timerId);
    void AppendSystemMenuItem(int commandId, const QString& text);
    void RepaintOnFileChange(const QString& path);
    void Announce(const QString& line);
    // Runs the Dialog's paint handler after the events being handled, once for any number of
    // calls; while a WaitFor runs, after it.
    void SchedulePaintHandler();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateControls(const DialogTemplate& dialogTemplate);
    void CreateSystemMenu(bool minimizeBox);
    void ShowSystemMenu(const QPoint& globalPosition);
    // A push button's command, Enter's and Escape's: its route, else OnOK or OnCancel.
    void Command(int id);
    // Calls the handler routed to `id`, if any; whether there was one.
    bool Notify(const Dialog::Routes::Handlers& handlers, int id);
    // Whether a paint covers more than the controls: the window's own surface was exposed.
    bool PaintsOwnSurface(const QRegion& region) const;
    // Watches watchedFile_, or the nearest directory towards it; whether the file itself came
    // under watch now.
    bool WatchFile();

    Dialog& dialog_;
    DialogUnits units_;
    std::vector<QWidget*> controlsInOrder_;
    std::map<int, QWidget*> controlsById_;
    std::map<int, QTimer*> timers_;
    QMenu* systemMenu_ = nullptr;
    Announcer* announcer_ = nullptr;
    QFileSystemWatcher* fileWatcher_ = nullptr;
    QString watchedFile_;
    int defaultCommand_ = IdOk;
    bool running_ = false;
    bool ending_ = false;
    int endCode_ = IdCancel;
    bool paintPending_ = false;
    // A paint came while a WaitFor ran: the window painted, its handler waits until the work is
    // done.
    bool paintHandlerDeferred_ = false;
};

}  // namespace lumisk::ui
