#include "ui/qt/address_edit.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>
#include <QValidator>
#include <algorithm>
#include <optional>
#include <utility>

#include "ui/string_resources.h"

namespace lumisk::ui {
namespace {

constexpr int HighestOctet = 255;
constexpr int OctetDigits = 3;
// "octet %1 of %2", the place of an octet field in its address.
constexpr int OctetPlaceText = 120;

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

// Empty or an octet: a paste can bring nothing else in either.
class OctetValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*position*/) const override {
        return input.isEmpty() || OctetValue(input) ? Acceptable : Invalid;
    }
};

bool IsDigitKey(const QKeyEvent& key) {
    return key.text().size() == 1 && key.text()[0] >= QLatin1Char('0') &&
           key.text()[0] <= QLatin1Char('9');
}

// The octet's text once `typed` has replaced its selection or gone in at the cursor.
QString TextAfterTyping(const QLineEdit& octet, const QString& typed) {
    QString text = octet.text();
    if (octet.hasSelectedText()) {
        text.replace(octet.selectionStart(), octet.selectedText().size(), typed);
    } else {
        text.insert(octet.cursorPosition(), typed);
    }
    return text;
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
    auto* validator = new OctetValidator(this);
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
        connect(octet, &QLineEdit::textChanged, this, &AddressEdit::ReportChanges);
        connect(octet, &QLineEdit::cursorPositionChanged, this, &AddressEdit::ReportChanges);
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
        movedOnByDigits_ = false;
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

void AddressEdit::ShowRefused(int index, const QString& refused) {
    QLineEdit* octet = octets_[index];
    QApplication::beep();
    QToolTip::showText(octet->mapToGlobal(QPoint(0, octet->height())),
                       tr("%1 is not a valid entry. Please specify a value between 0 and %2.")
                           .arg(refused)
                           .arg(HighestOctet),
                       octet);
}

void AddressEdit::OnEdited(int index) {
    QLineEdit* octet = octets_[index];
    const QString typed = octet->text();
    const int cursor = octet->cursorPosition();
    // Leading zeros are not shown, as in the native field.
    const QString shown = typed.isEmpty() ? typed : QString::number(typed.toInt());
    if (shown != typed) {
        octet->setText(shown);
        octet->setCursorPosition(
            std::max(0, cursor - static_cast<int>(typed.size() - shown.size())));
    }
    if (typed.size() == OctetDigits && cursor == OctetDigits && index + 1 < OctetCount) {
        MoveTo(index + 1, 0, true);
        movedOnByDigits_ = true;
    }
}

bool AddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(octets_.begin(), octets_.end(), watched);
    if (found == octets_.end()) {
        return QFrame::eventFilter(watched, event);
    }
    QLineEdit* octet = *found;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (OnKey(static_cast<int>(found - octets_.begin()), *static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::FocusOut:
            update();
            break;
        case QEvent::FocusIn:
            update();
            ReportChanges();
            // A click gives the focus before it places the cursor; its release selects.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
                movedOnByDigits_ = false;
                selectOnRelease_ = octet;
            }
            break;
        case QEvent::MouseButtonPress:
            // In an inactive window the focus comes only with the activation, after the click.
            if (!octet->hasFocus()) {
                movedOnByDigits_ = false;
                selectOnRelease_ = octet;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (std::exchange(selectOnRelease_, nullptr) == octet && !octet->hasSelectedText()) {
                octet->selectAll();
            }
            break;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

bool AddressEdit::OnKey(int index, const QKeyEvent& key) {
    if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        return false;
    }
    QLineEdit* octet = octets_[index];
    const bool justMovedOn = std::exchange(movedOnByDigits_, false);
    if (IsDigitKey(key)) {
        const QString typed = TextAfterTyping(*octet, key.text());
        if (typed.size() <= OctetDigits && !OctetValue(typed)) {
            ShowRefused(index, typed);
            return true;
        }
        return false;
    }
    const bool atStart = octet->cursorPosition() == 0 && !octet->hasSelectedText();
    const bool atEnd = octet->cursorPosition() == octet->text().size() && !octet->hasSelectedText();
    switch (key.key()) {
        case Qt::Key_Period:
        case Qt::Key_Space:
            if (!justMovedOn && !octet->text().isEmpty() && index + 1 < OctetCount) {
                MoveTo(index + 1, 0, true);
            }
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            if (atStart && index > 0) {
                MoveTo(index - 1, static_cast<int>(octets_[index - 1]->text().size()), false);
                return true;
            }
            return false;
        case Qt::Key_Right:
            if (atEnd && index + 1 < OctetCount) {
                MoveTo(index + 1, 0, false);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void AddressEdit::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (FocusedOctetIndex() >= 0) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

QString AddressEdit::TypedText() const {
    if (IsBlank()) {
        return {};
    }
    QStringList parts;
    for (const QLineEdit* octet : octets_) {
        parts.append(octet->text());
    }
    return parts.join(QLatin1Char('.'));
}

int AddressEdit::OctetStart(int index) const {
    int start = 0;
    for (int before = 0; before < index; ++before) {
        start += static_cast<int>(octets_[before]->text().size()) + 1;
    }
    return std::min(start, static_cast<int>(TypedText().size()));
}

int AddressEdit::FocusedOctetIndex() const {
    const auto found = std::find(octets_.begin(), octets_.end(), window()->focusWidget());
    return found == octets_.end() ? -1 : static_cast<int>(found - octets_.begin());
}

int AddressEdit::CaretOffset() const {
    const int index = std::max(0, FocusedOctetIndex());
    return std::min(OctetStart(index) + octets_[index]->cursorPosition(),
                    static_cast<int>(TypedText().size()));
}

std::pair<int, int> AddressEdit::SelectedRange() const {
    const int index = FocusedOctetIndex();
    if (index < 0 || !octets_[index]->hasSelectedText()) {
        return {CaretOffset(), CaretOffset()};
    }
    const int start = OctetStart(index) + octets_[index]->selectionStart();
    return {start, start + static_cast<int>(octets_[index]->selectedText().size())};
}

int AddressEdit::OctetAt(int offset) const {
    int index = OctetCount - 1;
    while (index > 0 && OctetStart(index) > offset) {
        --index;
    }
    return index;
}

void AddressEdit::SelectTypedRange(int start, int end) {
    const int index = OctetAt(start);
    QLineEdit* octet = octets_[index];
    const int length = static_cast<int>(octet->text().size());
    const int from = std::clamp(start - OctetStart(index), 0, length);
    movedOnByDigits_ = false;
    octet->setFocus(Qt::OtherFocusReason);
    octet->setSelection(from, std::clamp(end - OctetStart(index), from, length) - from);
}

void AddressEdit::NameOctets(const QString& fieldName) {
    for (int index = 0; index < OctetCount; ++index) {
        octets_[index]->setAccessibleName(fieldName);
        octets_[index]->setAccessibleDescription(QString::fromStdString(
            LoadString(OctetPlaceText, {std::to_string(index + 1), std::to_string(OctetCount)})));
    }
}

void AddressEdit::ReportChanges() {
    if (!QAccessible::isActive()) {
        return;
    }
    const QString text = TypedText();
    if (text != reportedText_) {
        QAccessibleTextUpdateEvent update(this, 0, reportedText_, text);
        QAccessible::updateAccessibility(&update);
        reportedText_ = text;
    }
    const int octet = FocusedOctetIndex();
    if (octet < 0) {
        return;
    }
    // The octet under the caret is the field's description: a new one is read out.
    if (octet != reportedOctet_) {
        reportedOctet_ = octet;
        QAccessibleEvent description(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    }
    QAccessibleTextCursorEvent caret(this, CaretOffset());
    QAccessible::updateAccessibility(&caret);
}

}  // namespace lumisk::ui
