#pragma once
// A drop-down list: a combo box the user chooses from but cannot type into. Changes made here
// from code leave the user's change handler silent.

#include <QComboBox>
#include <functional>

namespace lumisk::ui {

class DropDownList : public QComboBox {
    Q_OBJECT

public:
    // `sorted`: items are kept in case-insensitive order.
    DropDownList(bool sorted, QWidget* parent);

    // Called when the user makes another item current.
    void SetUserChangeHandler(std::function<void()> handler) {
        userChangeHandler_ = std::move(handler);
    }

    // Adds an item in its place and returns its index; the current item stays current, and no
    // item becomes current in a list that had none.
    int AddItem(const QString& text);
    void RemoveAll();
    // -1: no current item.
    void Select(int index);
    // The height the control takes with its list dropped down, as the template gives it.
    void SetDropHeight(int pixels) { dropHeight_ = pixels; }

protected:
    // The list drops below the field, as many whole rows as the drop height holds, as the
    // native list does.
    void showPopup() override;
    // The wheel turns only the list that has the keyboard focus, as on the native system.
    void wheelEvent(QWheelEvent* event) override;

private:
    bool sorted_;
    int dropHeight_ = 0;
    std::function<void()> userChangeHandler_;
};

}  // namespace lumisk::ui
