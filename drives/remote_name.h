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

// A file's network path, \\server\share\rest.
struct SharePath {
    std::string server;
    std::string share;
    std::string rest;  // the folders and the file, '\\'-separated
};

// The parts of \\server\share\rest; nothing when any is missing.
std::optional<SharePath> SplitSharePath(std::string_view path);

// Whether the remote name \\server\share names `share` of the adapter called `adapterName`, or
// at `adapterIp`: a mapping of that share, letter case aside.
bool NamesShareOf(std::string_view remoteName, std::string_view adapterName,
                  std::string_view adapterIp, std::string_view share);

// The longest adapter name, in bytes, that names the adapter's shares.
inline constexpr std::size_t DeviceNameLimit = 63;

// \\DEVICE\SHARE, the remote name an adapter's share is mapped under; nothing when the adapter's
// name cannot name it: empty, with a backslash, or longer than DeviceNameLimit (cut to fit, it
// could name another server).
std::optional<std::string> ShareRemoteName(std::string_view deviceName, std::string_view share);

}  // namespace lumisk
