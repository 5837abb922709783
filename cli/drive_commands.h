#pragma once
// The drive commands of lumisk-cli: connect a share of an adapter to a drive letter as the
// window's Connect does, disconnect a letter, and list the remembered drives.

#include <functional>
#include <string>

#include "cli/arguments.h"
#include "drives/host_drives.h"

namespace lumisk {

// What the drive commands need of the command line around them.
struct CommandSupport {
    std::function<void(const std::string&)> complain;       // "lumisk-cli: ..." on stderr
    std::function<bool(const std::string&)> selectAdapter;  // search, then select by IP text
    HostDrives& drives;
};

// connect DEVICE_IP SHARE [LETTER] [--user NAME] [--password-stdin]
int ConnectDrive(const Arguments& arguments, const CommandSupport& support);
// disconnect LETTER
int DisconnectDrive(const Arguments& arguments, const CommandSupport& support);
// drives [--json] [--restore]
int ListDrives(const Arguments& arguments, const CommandSupport& support);

}  // namespace lumisk
