#pragma once
// The host's drive letters on the Windows calls (Windows only): the program's UTF-8 texts go to
// the system as UTF-16.

#include <memory>

#include "drives/host_drives.h"
#include "drives/windows_drive_calls.h"

namespace lumisk {

std::unique_ptr<HostDrives> MakeWindowsDrives(WindowsDriveCalls& calls);

}  // namespace lumisk
