#include "drives/drive_letter_list.h"

#include "drives/drive_table.h"

namespace lumisk {

void FillDriveLetterList(ui::ComboBox list, HostDrives& drives) {
    const DriveLetterChoices choices = OfferedDriveLetters(drives);
    list.ResetContent();
    for (const std::string& item : choices.items) {
        list.AddString(item);
    }
    list.SetCurSel(choices.current);
}

}  // namespace lumisk
