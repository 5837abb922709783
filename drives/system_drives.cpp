#include "drives/host_drives.h"

#ifdef _WIN32
#include "drives/windows_drives.h"
#else
#include "drives/mounted_drives.h"
#endif

namespace lumisk {

std::unique_ptr<HostDrives> MakeSystemDrives() {
#ifdef _WIN32
    return MakeWindowsDrives(SystemDriveCalls());
#else
    return MakeMountedDrives();
#endif
}

}  // namespace lumisk
