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
#include <utility>

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

    // What screen readers read: the octets as typed, joined by dots, and empty while the field is
    // blank; the caret's place in that text, and the selected part of it ([start, end), empty
    // when nothing is selected).
    QString TypedText() const;
    int CaretOffset() const;
    std::pair<int, int> SelectedRange() const;
    // The octet with the keyboard focus, or -1.
    int FocusedOctetIndex() const;
    // Where octet `index` starts in the typed text, and the octet that `offset` of it is in.
    int OctetStart(int index) const;
    int OctetAt(int offset) const;
    QLineEdit* OctetField(int index) const { return octets_.at(index); }
    // Selects [start, end) of the typed text within the octet where it starts; an empty range
    // puts the caret there.
    void SelectTypedRange(int start, int end);
    // Each octet field is read as a part of the field `fieldName`, with its place.
    void NameOctets(const QString& fieldName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // While an octet has the keyboard focus, the whole field shows it.
    void paintEvent(QPaintEvent* event) override;

private:
    bool OnKey(int index, const QKeyEvent& key);
    void OnEdited(int index);
    // Moves the focus to octet `index`, all of it selected or the cursor at `cursor`.
    void MoveTo(int index, int cursor, bool selectAll);
    void ShowRefused(int index, const QString& refused);
    // Tells screen readers what changed in the typed text, the caret and the octet it is in.
    void ReportChanges();

    std::array<QLineEdit*, OctetCount> octets_{};
    // The last key moved on by itself after a third digit: a dot now is swallowed.
    bool movedOnByDigits_ = false;
    // The octet a click has just focused: its release selects the whole octet.
    QLineEdit* selectOnRelease_ = nullptr;
    // What screen readers were last told.
    QString reportedText_;
    int reportedOctet_ = -1;
};

}  // namespace lumisk::ui
