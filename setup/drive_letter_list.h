#pragma once
// The "Available Drive Letters" list of the main window.

#include "drives/host_drives.h"
#include "ui/controls.h"

namespace lumisk {

// Empties `list`, adds the letters DriveTable offers and makes the first free one current.
void FillDriveLetterList(ui::ComboBox list, HostDrives& drives);
// FillDriveLetterList when the letters on offer have changed; otherwise `list`, and the letter
// the user chose in it, stay as they are.
void UpdateDriveLetterList(ui::ComboBox list, HostDrives& drives);

}  // namespace lumisk
