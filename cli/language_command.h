#pragma once
// The language command of lumisk-cli: installs a language on an adapter as the window's Language
// button does, then waits for the adapter's restart.

#include "cli/arguments.h"
#include "cli/command_context.h"

namespace lumisk {

// language DEVICE_IP CODEPAGE [--no-wait]
int InstallLanguageCommand(const Arguments& arguments, const CommandContext& context);

}  // namespace lumisk
