#pragma once
// The drive commands of lumisk-cli: connect a share of an adapter to a drive letter as the
// window's Connect does, disconnect a letter, and list the remembered drives.

#include "cli/arguments.h"
#include "cli/command_context.h"

namespace lumisk {

// connect DEVICE_IP SHARE [LETTER] [--user NAME] [--password-stdin]
int ConnectDrive(const Arguments& arguments, const CommandContext& context);
// disconnect LETTER
int DisconnectDrive(const Arguments& arguments, const CommandContext& context);
// drives [--json] [--restore]
int ListDrives(const Arguments& arguments, const CommandContext& context);

}  // namespace lumisk
