#include "ui/address_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <optional>

namespace lumisk::ui {
namespace {

constexpr int HighestOctet = 255;
constexpr int OctetDigits = 3;

// The octet a text holds: a number of at most three digits, at most 255.
std::optional<int> OctetValue(const QString& text) {
    if (text.isEmpty() || text.size() > OctetDigits) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const int value = text.toInt();
    if (value > HighestOctet) {
        return std::nullopt;
    }
    return value;
}

void SetTextIfChanged(QLineEdit& edit, const QString& text) {
    if (edit.text() != text) {
        edit.setText(text);
    }
}

}  // namespace

AddressEdit::AddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int index = 0; index < OctetCount; ++index) {
        if (index > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setForegroundRole(QPalette::Text);
            dot->setAttribute(Qt::WA_TransparentForMouseEvents);
            layout->addWidget(dot);
        }
        auto* octet = new QLineEdit(this);
        octet->setObjectName(QStringLiteral("octet_%1").arg(index));
        octet->setFrame(false);
        octet->setAlignment(Qt::AlignCenter);
        octet->setMaxLength(OctetDigits);
        octet->setValidator(validator);
        // Only the field as a whole is a tab stop; a click still reaches any octet.
        octet->setFocusPolicy(Qt::ClickFocus);
        octet->setMinimumWidth(1);
        octet->installEventFilter(this);
        connect(octet, &QLineEdit::textEdited, this, [this, index] { OnEdited(index); });
        layout->addWidget(octet, 1);
        octets_[index] = octet;
    }
    setFocusProxy(octets_[0]);
}

void AddressEdit::Clear() {
    for (QLineEdit* octet : octets_) {
        SetTextIfChanged(*octet, QString());
    }
}

bool AddressEdit::IsBlank() const {
    return std::all_of(octets_.begin(), octets_.end(),
                       [](const QLineEdit* octet) { return octet->text().isEmpty(); });
}

void AddressEdit::SetAddress(const QString& dotted) {
    const QStringList parts = dotted.split(QLatin1Char('.'));
    for (int index = 0; index < OctetCount; ++index) {
        const std::optional<int> value =
            index < parts.size() ? OctetValue(parts[index].trimmed()) : std::nullopt;
        SetTextIfChanged(*octets_[index], value ? QString::number(*value) : QString());
    }
}

std::array<int, AddressEdit::OctetCount> AddressEdit::Octets() const {
    std::array<int, OctetCount> values{};
    for (int index = 0; index < OctetCount; ++index) {
        values[index] = OctetValue(octets_[index]->text()).value_or(0);
    }
    return values;
}

QString AddressEdit::Text() const {
    if (IsBlank()) {
        return {};
    }
    QStringList parts;
    for (const int value : Octets()) {
        parts.append(QString::number(value));
    }
    return parts.join(QLatin1Char('.'));
}

void AddressEdit::FocusOctet(int index) {
    if (index >= 0 && index < OctetCount) {
        MoveTo(index, 0, true);
    }
}

void AddressEdit::MoveTo(int index, int cursor, bool selectAll) {
    QLineEdit* octet = octets_[index];
    octet->setFocus(Qt::OtherFocusReason);
    if (selectAll) {
        octet->selectAll();
    } else {
        octet->setCursorPosition(cursor);
    }
}

void AddressEdit::OnEdited(int index) {
    QLineEdit* octet = octets_[index];
    // Like the native field, a number past the top is taken as the top.
    if (octet->text().toInt() > HighestOctet) {
        octet->setText(QString::number(HighestOctet));
    }
    if (octet->text().size() == OctetDigits && octet->cursorPosition() == OctetDigits &&
        index + 1 < OctetCount) {
        MoveTo(index + 1, 0, true);
    }
}

bool AddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(octets_.begin(), octets_.end(), watched);
    if (found == octets_.end() || event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    const int index = static_cast<int>(found - octets_.begin());
    QLineEdit* octet = *found;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        return QFrame::eventFilter(watched, event);
    }
    const bool atStart = octet->cursorPosition() == 0 && !octet->hasSelectedText();
    const bool atEnd = octet->cursorPosition() == octet->text().size() && !octet->hasSelectedText();
    switch (key->key()) {
        case Qt::Key_Period:
        case Qt::Key_Space:
            if (!octet->text().isEmpty() && index + 1 < OctetCount) {
                MoveTo(index + 1, 0, true);
            }
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            if (atStart && index > 0) {
                MoveTo(index - 1, static_cast<int>(octets_[index - 1]->text().size()), false);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (atEnd && index + 1 < OctetCount) {
                MoveTo(index + 1, 0, false);
                return true;
            }
            break;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace lumisk::ui
