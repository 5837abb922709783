#pragma once
// The window behind a running Dialog on Qt Widgets: the template's controls on a fixed-size modal
// window, its keys, close request, paints, timers and system menu handed to the dialog core.

#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "ui/dialog_window_base.h"
#include "ui/qt/announcer.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/file_watch.h"

namespace lumisk::ui {

class DialogWindow final : public QDialog, public DialogWindowBase {
    Q_OBJECT

public:
    DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent);

    // The control with `id`, or nullptr.
    QWidget* Control(int id) const;

    // Focuses the first control that takes the tab key if InitDialog asks for it.
    int Run() override;
    void End(int code) override;
    bool OnItsThread() const override;
    std::function<void()> Deliver(const std::function<void()>& request) override;
    void EnableControl(int id, bool enabled) override;
    bool IsControlEnabled(int id) const override;
    void FocusControl(int id) override;
    std::string ControlText(int id) const override;
    void LimitTextBytes(int id, int bytes) override;
    void SetIcon(int iconId) override;
    void AppendSystemMenuItem(int commandId, const std::string& text) override;
    void KillTimer(int timerId) override;
    void WatchFile(const std::string& path) override;
    bool IsMinimized() const override;
    void RequestRepaint() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Post(std::function<void()> call) override;
    void StartTimer(int timerId, int periodMilliseconds) override;
    void Say(const std::string& line) override;

    void CreateControls(const DialogTemplate& dialogTemplate);
    void CreateSystemMenu(bool minimizeBox);
    void ShowSystemMenu(const QPoint& globalPosition);
    // Whether a paint covers more than the controls: the window's own surface was exposed.
    bool PaintsOwnSurface(const QRegion& region) const;

    DialogUnits units_;
    std::vector<QWidget*> controlsInOrder_;
    std::map<int, QWidget*> controlsById_;
    std::map<int, QTimer*> timers_;
    QMenu* systemMenu_ = nullptr;
    Announcer* announcer_ = nullptr;
    std::unique_ptr<FileWatch> fileWatch_;
    int defaultCommand_ = IdOk;
    bool running_ = false;
    bool ending_ = false;
    int endCode_ = IdCancel;
};

}  // namespace lumisk::ui
