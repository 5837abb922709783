#pragma once
// Network names of the form \\server\share, as drive connections and share paths carry them.

#include <optional>
#include <string>
#include <string_view>

namespace lumisk {

struct RemoteNameParts {
    std::string_view server;
    std::string_view rest;  // everything after the server's backslash: the share and any path
};

// Skips the first two characters (the leading backslashes) and splits at the first backslash
// after them; nothing when there is none. The parts view `name`.
std::optional<RemoteNameParts> SplitRemoteName(std::string_view name);

// The server part of SplitRemoteName(); empty when there is none.
std::string ServerOf(std::string_view name);

}  // namespace lumisk
