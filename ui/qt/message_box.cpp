#include "ui/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QThread>

#include "ui/application.h"
#include "ui/dialog.h"
#include "ui/qt/dialog_colors.h"
#include "ui/qt/dialog_window.h"
#include "ui/string_resources.h"

namespace lumisk::ui {
namespace {

// The texts screen readers call the icons by.
constexpr int ErrorText = 121;
constexpr int WarningText = 122;
constexpr int InformationText = 123;

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

QString IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QString::fromStdString(LoadString(ErrorText));
        case MessageIcon::Exclamation:
            return QString::fromStdString(LoadString(WarningText));
        case MessageIcon::Information:
            return QString::fromStdString(LoadString(InformationText));
        case MessageIcon::None:
            break;
    }
    return {};
}

void Show(Dialog* owner, const QString& text, const QString& caption, MessageIcon icon) {
    QWidget* parent = owner != nullptr ? WindowOf<DialogWindow>(*owner) : nullptr;
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("lumisk_message_box"));
    box.setTextFormat(Qt::PlainText);
    if (auto* shown = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
        shown->setAccessibleName(IconName(icon));
    }
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
