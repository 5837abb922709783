#pragma once
// The IPv4 address field: four octet boxes, 0 to 255 each, separated by dots. Typing a dot or a
// third digit moves on to the next octet, and the arrow and backspace keys cross between them;
// for the tab key the field is a single stop.

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
    void OnEdited(int index);
    // Moves the focus to octet `index`, all of it selected or the cursor at `cursor`.
    void MoveTo(int index, int cursor, bool selectAll);

    std::array<QLineEdit*, OctetCount> octets_{};
};

}  // namespace lumisk::ui
