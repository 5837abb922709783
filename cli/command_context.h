#pragma once
// What every command of lumisk-cli is given, and the steps the commands share: their messages,
// the protocol endpoint and the selection of one adapter.

#include <optional>
#include <string>

#include "cli/commands.h"
#include "protocol/ip_text.h"

namespace lumisk {

inline constexpr char ProgramName[] = "lumisk-cli";

struct CommandContext {
    CommandHost& host;
    // The card given with --interface, which the command then searches and talks through alone;
    // none for every card.
    std::optional<Ipv4Bytes> card;
};

// "lumisk-cli: message" on standard error.
void Complain(const std::string& message);
// The message alone on standard error.
void Tell(const std::string& message);

// Opens the protocol endpoint on the context's card; false, with the reason said, when it cannot.
bool OpenEndpointOrComplain(const CommandContext& context);

// Searches and makes the adapter at `deviceIp` the selected device; false, with the reason said,
// when none answers there.
bool SelectAdapter(const CommandContext& context, const std::string& deviceIp);

// Says that the adapter at `deviceIp` did not answer; the exit status.
int NoAnswer(const std::string& deviceIp);

}  // namespace lumisk
