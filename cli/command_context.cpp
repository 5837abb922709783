#include "cli/command_context.h"

#include <cstdio>

#include "protocol/console_text.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"

namespace lumisk {

void Complain(const std::string& message) {
    PrintText(stderr, "%s: %s\n", ProgramName, message.c_str());
}

void Tell(const std::string& message) {
    PrintText(stderr, "%s\n", message.c_str());
}

bool OpenEndpointOrComplain(const CommandContext& context) {
    if (const auto failure = TryOpenEndpoint(context.card)) {
        Complain("cannot open the protocol endpoint: " + failure->message);
        return false;
    }
    return true;
}

bool SelectAdapter(const CommandContext& context, const std::string& deviceIp) {
    if (!OpenEndpointOrComplain(context)) {
        return false;
    }
    SearchDevices();
    CopyText(SelectedDeviceIp, deviceIp);
    if (FindSelectedDevice() == nullptr) {
        Complain("no adapter answers at " + deviceIp);
        return false;
    }
    return true;
}

int NoAnswer(const std::string& deviceIp) {
    Complain("no answer from " + deviceIp);
    return ExitFailure;
}

}  // namespace lumisk
