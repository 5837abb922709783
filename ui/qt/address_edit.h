#pragma once
// The IPv4 address field: four octet boxes, 0 to 255 each, separated by dots, typed into as the
// native address control is. Focus coming in by Tab or click selects the octet, so typing
// replaces it; a third digit moves on to the next octet with its text selected; a dot moves on
// too, but right after such a move it is swallowed, so a whole dotted address typed over a
// filled field gives exactly that address. A digit that would make an octet exceed 255 is
// refused with a beep and a tip. For the tab key the field is a single stop.

#include <QFrame>
#include <QLineEdit>
#include <array>

namespace lumisk::ui {

class AddressEdit : public QFrame {
    Q_OBJECT

public:
    static constexpr int OctetCount = 4;

    explicit AddressEdit(QWidget* parent);

    void Clear();
    bool IsBlank() const;
    // Parts that are not numbers from 0 to 255 leave their octet empty.
    void SetAddress(const QString& dotted);
    // An empty octet reads as 0.
    std::array<int, OctetCount> Octets() const;
    // The dotted address, or empty when the field is blank.
    QString Text() const;
    void FocusOctet(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnKey(int index, const QKeyEvent& key);
    void OnEdited(int index);
    // Moves the focus to octet `index`, all of it selected or the cursor at `cursor`.
    void MoveTo(int index, int cursor, bool selectAll);
    void ShowRefused(int index, const QString& refused);

    std::array<QLineEdit*, OctetCount> octets_{};
    // The last key moved on by itself after a third digit: a dot now is swallowed.
    bool movedOnByDigits_ = false;
    // The octet a click has just focused: its release selects the whole octet.
    QLineEdit* selectOnRelease_ = nullptr;
};

}  // namespace lumisk::ui
