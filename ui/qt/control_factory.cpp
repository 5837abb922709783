#include "ui/qt/control_factory.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleFactory>
#include <map>

#include "ui/qt/address_edit.h"
#include "ui/qt/drop_down_list.h"
#include "ui/qt/report_view.h"
#include "ui/qt/resources.h"

namespace lumisk::ui {
namespace {

constexpr int IconSize = 32;
constexpr int DefaultProgressStep = 10;

// Statics, group boxes and icons let clicks through to the dialog, as the native ones do.
void MakeDecoration(QWidget& widget) {
    widget.setAttribute(Qt::WA_TransparentForMouseEvents);
    widget.setFocusPolicy(Qt::NoFocus);
}

void TakeFocusAsTemplateSays(QWidget& widget, const ControlTemplate& control) {
    widget.setFocusPolicy(control.Has("tabstop") ? Qt::StrongFocus : Qt::ClickFocus);
}

QWidget* MakeButton(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* button = new QPushButton(QString::fromStdString(control.text), &parent);
    // Enter presses only the default button, or the button with the focus.
    button->setAutoDefault(false);
    button->setDefault(control.Has("default"));
    TakeFocusAsTemplateSays(*button, control);
    button->setGeometry(pixels);
    return button;
}

QWidget* MakeLabel(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromStdString(control.text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MakeDecoration(*label);
    label->setGeometry(pixels);
    return label;
}

QWidget* MakeGroupBox(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    // Fusion draws the frame in a shade of the background, lost on a coloured dialog; the classic
    // style's etched frame, light and dark lines, shows on any background, as the native one.
    static QStyle* const etched = QStyleFactory::create(QStringLiteral("Windows"));
    auto* box = new QGroupBox(QString::fromStdString(control.text), &parent);
    if (etched != nullptr) {
        box->setStyle(etched);
    }
    MakeDecoration(*box);
    box->setGeometry(pixels);
    return box;
}

QWidget* MakeIcon(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* icon = new QLabel(&parent);
    icon->setPixmap(IconResource(control.icon)
                        .scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    MakeDecoration(*icon);
    // An icon control takes the icon's size, whatever the template says.
    icon->setGeometry(pixels.x(), pixels.y(), IconSize, IconSize);
    return icon;
}

QWidget* MakeListView(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* view = new ReportView(&parent);
    TakeFocusAsTemplateSays(*view, control);
    view->setGeometry(pixels);
    return view;
}

QWidget* MakeAddress(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* address = new AddressEdit(&parent);
    TakeFocusAsTemplateSays(*address, control);
    address->setGeometry(pixels);
    return address;
}

QWidget* MakeComboBox(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* combo = new DropDownList(control.Has("sort"), &parent);
    TakeFocusAsTemplateSays(*combo, control);
    for (const std::string& item : control.items) {
        combo->AddItem(QString::fromStdString(item));
    }
    // The template's height is that of the field with its list dropped down.
    combo->SetDropHeight(pixels.height());
    combo->setGeometry(pixels.x(), pixels.y(), pixels.width(), combo->sizeHint().height());
    return combo;
}

QWidget* MakeEdit(const ControlTemplate& control, const QRect& pixels, QWidget& parent) {
    auto* edit = new QLineEdit(QString::fromStdString(control.text), &parent);
    if (control.Has("password")) {
        edit->setEchoMode(QLineEdit::Password);
    }
    TakeFocusAsTemplateSays(*edit, control);
    edit->setGeometry(pixels);
    return edit;
}

QWidget* MakeProgress(const ControlTemplate&, const QRect& pixels, QWidget& parent) {
    auto* bar = new QProgressBar(&parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setProperty("step", DefaultProgressStep);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setGeometry(pixels);
    return bar;
}

using Maker = QWidget* (*)(const ControlTemplate&, const QRect&, QWidget&);

const std::map<std::string, Maker, std::less<>>& Makers() {
    static const std::map<std::string, Maker, std::less<>> makers = {
        {"button", MakeButton},     {"label", MakeLabel},       {"groupbox", MakeGroupBox},
        {"icon", MakeIcon},         {"listview", MakeListView}, {"ipaddress", MakeAddress},
        {"combobox", MakeComboBox}, {"edit", MakeEdit},         {"progress", MakeProgress},
    };
    return makers;
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent) {
    const auto maker = Makers().find(control.kind);
    if (maker == Makers().end()) {
        return nullptr;
    }
    QWidget* widget = maker->second(control, units.ToPixels(control.rect), parent);
    widget->setProperty("controlId", control.id);
    if (control.id != -1) {
        widget->setObjectName(QStringLiteral("control_%1").arg(control.id));
    }
    return widget;
}

}  // namespace lumisk::ui
