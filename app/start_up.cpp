#include "app/start_up.h"

#include <cstdio>
#include <optional>
#include <string>

#include "protocol/endpoint.h"
#include "ui/application.h"
#include "ui/message_box.h"

namespace lumisk {

bool OpenEndpointOrSayWhy() {
    using Kind = EndpointFailure::Kind;
    const std::optional<EndpointFailure> failure = TryOpenEndpoint();
    if (!failure) {
        return true;
    }
#ifndef _WIN32
    std::fprintf(stderr, "%s: %s\n", ui::Application::Name().c_str(), failure->message.c_str());
#endif
    const std::string port = "UDP port " + std::to_string(ProtocolPort);
    if (failure->kind == Kind::PortInUse) {
        ui::ShowMessage(nullptr,
                        port +
                            " is in use by another program.\nAnother copy of this utility, "
                            "lumisk-cli or another program is using it: end it, then start "
                            "this utility again.",
                        "Error", ui::MessageIcon::Stop);
    } else if (failure->kind == Kind::Socket) {
        ui::ShowMessage(nullptr, port + " could not be opened: " + failure->message + ".", "Error",
                        ui::MessageIcon::Stop);
    }
    return false;
}

}  // namespace lumisk
