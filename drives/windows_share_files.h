#pragma once
// Files written on an adapter's share on the Windows calls (Windows only), with the reason of a
// failure in plain words.

#include <memory>

#include "drives/share_files.h"
#include "drives/windows_drive_calls.h"

namespace lumisk {

std::unique_ptr<ShareFileWriter> MakeWindowsShareFiles(WindowsDriveCalls& calls);

}  // namespace lumisk
