#pragma once
// The adapter commands of lumisk-cli: the search, the queries of one adapter, and the
// administrator login with the changes that follow it.

#include <span>
#include <string>

#include "cli/arguments.h"
#include "cli/command_context.h"

namespace lumisk {

// search [--json]
int SearchAdapters(const Arguments& arguments, const CommandContext& context);
// shares DEVICE_IP
int PrintShares(const Arguments& arguments, const CommandContext& context);
// NAME DEVICE_IP: runs `exchange`, whose answer lands in `target`, and prints the answer.
int QueryText(const Arguments& arguments, const CommandContext& context, int (*exchange)(),
              std::span<char> target);

// login DEVICE_IP [--password-stdin]
int LogIn(const Arguments& arguments, const CommandContext& context);
// set-ip DEVICE_IP --ip A --netmask M --gateway G [--password-stdin]
int SetStaticIp(const Arguments& arguments, const CommandContext& context);
// set-dhcp DEVICE_IP [--password-stdin]
int SetDhcp(const Arguments& arguments, const CommandContext& context);
// NAME DEVICE_IP VALUE [--password-stdin]: logs in, then sends VALUE in `field` with `exchange`;
// `what` names the field in the messages.
int SetText(const Arguments& arguments, const CommandContext& context, int (*exchange)(),
            std::span<char> field, const std::string& what);

}  // namespace lumisk
