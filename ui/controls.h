#pragma once
// Handles on the controls of a running dialog, by id. A handle is cheap and holds no widget:
// each call finds the control of the dialog's current window; on a dialog that is not running
// the calls do nothing and read empty values.

#include <array>
#include <string>

namespace lumisk::ui {

class Dialog;

class ControlHandle {
public:
    ControlHandle(Dialog& dialog, int id) : dialog_(&dialog), id_(id) {}
    int Id() const { return id_; }

protected:
    Dialog* dialog_;
    int id_;
};

// A list view in report mode: single selection, full-row selection.
class ListView : public ControlHandle {
public:
    using ControlHandle::ControlHandle;
    void SetFullRowSelect();
    void InsertColumn(int index, const std::string& heading, int widthPixels);
    void DeleteAllItems();
    // Inserts an empty, unselected row at `index` with `text` in column 0; returns its index.
    int InsertItem(int index, const std::string& text);
    void SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    int GetItemCount() const;
    bool IsSelected(int row) const;
    void Focus();
};

// The four-octet IPv4 address field.
class AddressField : public ControlHandle {
public:
    using ControlHandle::ControlHandle;
    void Clear();
    // True when all four octets are empty.
    bool IsBlank() const;
    // Shows a dotted text; parts that are not numbers leave their octet empty.
    void SetAddress(const std::string& dotted);
    // The four octets, 0 to 255 each; an empty octet reads as 0.
    std::array<int, 4> GetOctets() const;
    void FocusOctet(int index);
};

// A drop-down list. Items are kept sorted when the template says so.
class ComboBox : public ControlHandle {
public:
    using ControlHandle::ControlHandle;
    void ResetContent();
    // Adds an item; its index.
    int AddString(const std::string& text);
    int GetCount() const;
    // The current item, or -1 when there is none.
    int GetCurSel() const;
    // -1 leaves no current item.
    void SetCurSel(int index);
    std::string GetItemText(int index) const;
};

// A single-line edit field.
class TextField : public ControlHandle {
public:
    using ControlHandle::ControlHandle;
    void SetText(const std::string& text);
    std::string GetText() const;
    // At most `bytes` bytes of text, as GetText() gives it, can be typed or pasted: the texts go
    // into fixed fields byte for byte, so a character that would not fit whole is refused.
    void SetLimit(int bytes);
};

class ProgressBar : public ControlHandle {
public:
    using ControlHandle::ControlHandle;
    void SetRange(int low, int high);
    void SetStep(int step);
    void StepIt();
    int GetPos() const;
};

}  // namespace lumisk::ui
