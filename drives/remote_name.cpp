#include "drives/remote_name.h"

#include "protocol/text_case.h"

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

std::optional<SharePath> SplitSharePath(std::string_view path) {
    const std::optional<RemoteNameParts> parts = SplitRemoteName(path);
    const std::size_t shareEnd = parts ? parts->rest.find('\\') : std::string_view::npos;
    if (!path.starts_with("\\\\") || shareEnd == std::string_view::npos || parts->server.empty() ||
        shareEnd == 0 || shareEnd + 1 == parts->rest.size()) {
        return std::nullopt;
    }
    return SharePath{std::string(parts->server), std::string(parts->rest.substr(0, shareEnd)),
                     std::string(parts->rest.substr(shareEnd + 1))};
}

bool NamesShareOf(std::string_view remoteName, std::string_view adapterName,
                  std::string_view adapterIp, std::string_view share) {
    const std::optional<RemoteNameParts> parts = SplitRemoteName(remoteName);
    return parts && remoteName.starts_with("\\\\") && EqualIgnoringCase(parts->rest, share) &&
           ((!adapterName.empty() && EqualIgnoringCase(parts->server, adapterName)) ||
            EqualIgnoringCase(parts->server, adapterIp));
}

std::optional<std::string> ShareRemoteName(std::string_view deviceName, std::string_view share) {
    if (deviceName.empty() || deviceName.size() > DeviceNameLimit ||
        deviceName.find('\\') != std::string_view::npos) {
        return std::nullopt;
    }
    return "\\\\" + std::string(deviceName) + "\\" + std::string(share);
}

}  // namespace lumisk
