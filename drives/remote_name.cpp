#include "drives/remote_name.h"

namespace lumisk {

std::optional<RemoteNameParts> SplitRemoteName(std::string_view name) {
    constexpr std::size_t ServerStart = 2;
    const std::size_t separator = name.find('\\', ServerStart);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return RemoteNameParts{name.substr(ServerStart, separator - ServerStart),
                           name.substr(separator + 1)};
}

std::string ServerOf(std::string_view name) {
    const std::optional<RemoteNameParts> parts = SplitRemoteName(name);
    return parts ? std::string(parts->server) : std::string();
}

}  // namespace lumisk
