#include "setup/drive_letter_list.h"

#include "drives/drive_table.h"

namespace lumisk {

namespace {

void Fill(ui::ComboBox list, const DriveLetterChoices& choices) {
    list.ResetContent();
    for (const std::string& item : choices.items) {
        list.AddString(item);
    }
    list.SetCurSel(choices.current);
}

bool Shows(ui::ComboBox list, const std::vector<std::string>& items) {
    if (list.GetCount() != static_cast<int>(items.size())) {
        return false;
    }
    for (int index = 0; index < list.GetCount(); ++index) {
        if (list.GetItemText(index) != items[index]) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FillDriveLetterList(ui::ComboBox list, HostDrives& drives) {
    Fill(list, OfferedDriveLetters(drives));
}

void UpdateDriveLetterList(ui::ComboBox list, HostDrives& drives) {
    const DriveLetterChoices choices = OfferedDriveLetters(drives);
    if (!Shows(list, choices.items)) {
        Fill(list, choices);
    }
}

}  // namespace lumisk
