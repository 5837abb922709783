#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "ui/application.h"
#include "ui/dialog.h"
#include "ui/qt/dialog_colors.h"
#include "ui/qt/dialog_window.h"

namespace lumisk::ui {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

void Show(Dialog* owner, const QString& text, const QString& caption, MessageIcon icon) {
    QWidget* parent = owner != nullptr ? owner->Window() : nullptr;
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("lumisk_message_box"));
    box.setTextFormat(Qt::PlainText);
    ApplyDialogColors(box);
    box.exec();
}

}  // namespace

void ShowMessage(Dialog* owner, const std::string& text, const std::string& caption,
                 MessageIcon icon) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    const QString body = QString::fromStdString(text);
    const QString title = QString::fromStdString(caption.empty() ? Application::Name() : caption);
    if (QThread::currentThread() == application->thread()) {
        Show(owner, body, title, icon);
        return;
    }
    // Windows belong to the GUI thread; a worker's message waits there until dismissed.
    QMetaObject::invokeMethod(
        application, [&] { Show(owner, body, title, icon); }, Qt::BlockingQueuedConnection);
}

}  // namespace lumisk::ui
