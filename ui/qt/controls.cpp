#include "ui/controls.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>

#include "ui/dialog.h"
#include "ui/qt/address_edit.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/drop_down_list.h"
#include "ui/qt/report_view.h"

namespace lumisk::ui {
namespace {

// The control `id` of the dialog's window, if the dialog runs and the control is a `Widget`.
template <class Widget>
Widget* Find(const Dialog* dialog, int id) {
    const DialogWindow* window = WindowOf<DialogWindow>(*dialog);
    return window != nullptr ? qobject_cast<Widget*>(window->Control(id)) : nullptr;
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void ListView::SetFullRowSelect() {
    if (auto* view = Find<ReportView>(dialog_, id_)) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
}

void ListView::InsertColumn(int index, const std::string& heading, int widthPixels) {
    auto* view = Find<ReportView>(dialog_, id_);
    if (view == nullptr) {
        return;
    }
    const int column = std::clamp(index, 0, view->columnCount());
    view->insertColumn(column);
    view->setHorizontalHeaderItem(column, new QTableWidgetItem(ToQt(heading)));
    view->horizontalHeader()->resizeSection(column, std::max(0, widthPixels));
}

void ListView::DeleteAllItems() {
    if (auto* view = Find<ReportView>(dialog_, id_)) {
        view->setRowCount(0);
    }
}

int ListView::InsertItem(int index, const std::string& text) {
    auto* view = Find<ReportView>(dialog_, id_);
    if (view == nullptr || index < 0) {
        return -1;
    }
    const int row = std::min(index, view->rowCount());
    view->insertRow(row);
    SetItemText(row, 0, text);
    return row;
}

void ListView::SetItemText(int row, int column, const std::string& text) {
    auto* view = Find<ReportView>(dialog_, id_);
    if (view == nullptr || row < 0 || row >= view->rowCount() || column < 0 ||
        column >= view->columnCount()) {
        return;
    }
    const QString value = ToQt(text);
    if (QTableWidgetItem* item = view->item(row, column)) {
        if (item->text() != value) {
            item->setText(value);
        }
    } else {
        view->setItem(row, column, new QTableWidgetItem(value));
    }
}

std::string ListView::GetItemText(int row, int column) const {
    const auto* view = Find<ReportView>(dialog_, id_);
    const QTableWidgetItem* item =
        view != nullptr && row >= 0 && column >= 0 ? view->item(row, column) : nullptr;
    return item != nullptr ? item->text().toStdString() : std::string();
}

int ListView::GetItemCount() const {
    const auto* view = Find<ReportView>(dialog_, id_);
    return view != nullptr ? view->rowCount() : 0;
}

bool ListView::IsSelected(int row) const {
    const auto* view = Find<ReportView>(dialog_, id_);
    return view != nullptr && row >= 0 && row < view->rowCount() &&
           view->selectionModel()->rowIntersectsSelection(row, QModelIndex());
}

void ListView::Focus() {
    if (auto* view = Find<ReportView>(dialog_, id_)) {
        view->setFocus(Qt::OtherFocusReason);
    }
}

void AddressField::Clear() {
    if (auto* address = Find<AddressEdit>(dialog_, id_)) {
        address->Clear();
    }
}

bool AddressField::IsBlank() const {
    const auto* address = Find<AddressEdit>(dialog_, id_);
    return address == nullptr || address->IsBlank();
}

void AddressField::SetAddress(const std::string& dotted) {
    if (auto* address = Find<AddressEdit>(dialog_, id_)) {
        address->SetAddress(ToQt(dotted));
    }
}

std::array<int, 4> AddressField::GetOctets() const {
    const auto* address = Find<AddressEdit>(dialog_, id_);
    return address != nullptr ? address->Octets() : std::array<int, 4>{};
}

void AddressField::FocusOctet(int index) {
    if (auto* address = Find<AddressEdit>(dialog_, id_)) {
        address->FocusOctet(index);
    }
}

void ComboBox::ResetContent() {
    if (auto* list = Find<DropDownList>(dialog_, id_)) {
        list->RemoveAll();
    }
}

int ComboBox::AddString(const std::string& text) {
    auto* list = Find<DropDownList>(dialog_, id_);
    return list != nullptr ? list->AddItem(ToQt(text)) : -1;
}

int ComboBox::GetCount() const {
    const auto* list = Find<DropDownList>(dialog_, id_);
    return list != nullptr ? list->count() : 0;
}

int ComboBox::GetCurSel() const {
    const auto* list = Find<DropDownList>(dialog_, id_);
    return list != nullptr ? list->currentIndex() : -1;
}

void ComboBox::SetCurSel(int index) {
    if (auto* list = Find<DropDownList>(dialog_, id_)) {
        list->Select(index);
    }
}

std::string ComboBox::GetItemText(int index) const {
    const auto* list = Find<DropDownList>(dialog_, id_);
    return list != nullptr ? list->itemText(index).toStdString() : std::string();
}

void TextField::SetText(const std::string& text) {
    auto* edit = Find<QLineEdit>(dialog_, id_);
    const QString value = ToQt(text);
    if (edit != nullptr && edit->text() != value) {
        edit->setText(value);
    }
}

std::string TextField::GetText() const {
    const auto* edit = Find<QLineEdit>(dialog_, id_);
    return edit != nullptr ? edit->text().toStdString() : std::string();
}

void ProgressBar::SetRange(int low, int high) {
    if (auto* bar = Find<QProgressBar>(dialog_, id_)) {
        bar->setRange(low, std::max(low, high));
        bar->setValue(std::clamp(bar->value(), bar->minimum(), bar->maximum()));
    }
}

void ProgressBar::SetStep(int step) {
    if (auto* bar = Find<QProgressBar>(dialog_, id_)) {
        bar->setProperty("step", step);
    }
}

void ProgressBar::StepIt() {
    auto* bar = Find<QProgressBar>(dialog_, id_);
    if (bar == nullptr) {
        return;
    }
    // Past either end the position starts over from the other, as the native bar does.
    const long long low = bar->minimum();
    const long long high = bar->maximum();
    long long next = static_cast<long long>(bar->value()) + bar->property("step").toInt();
    if (next > high) {
        next = low + (next - high);
    } else if (next < low) {
        next = high - (low - next);
    }
    bar->setValue(static_cast<int>(std::clamp(next, low, high)));
}

int ProgressBar::GetPos() const {
    const auto* bar = Find<QProgressBar>(dialog_, id_);
    return bar != nullptr ? bar->value() : 0;
}

}  // namespace lumisk::ui
