#pragma once
// SMB shares mounted in the user's desktop login through GIO/GVfs (Linux), as the file manager
// mounts them: they appear there and, while GVfs's FUSE bridge runs, at a local path under
// $XDG_RUNTIME_DIR/gvfs/. Credentials answer the mount's password request and are kept by
// nobody: GVfs is told never to save them. Every call but the file write blocks until GVfs has
// answered or its time is up.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumisk {

// What went wrong, in GIO's words, or nothing.
struct MountFailure {
    int code;  // an errno value
    std::string message;
};

// How long each wait for GVfs may take: a mount that does not fail or succeed by then is given
// up (ETIMEDOUT), so that a GVfs that never answers holds neither the window nor a script.
inline constexpr std::chrono::seconds DesktopMountLimit{60};

// Mounts smb://server/share as `userName` with `password`, or anonymously when both are empty.
// A refused password is not asked for again and never becomes an anonymous mount. A share
// mounted already counts as mounted.
std::optional<MountFailure> MountSmbShare(const std::string& server, const std::string& share,
                                          const std::string& userName, const std::string& password,
                                          std::chrono::milliseconds limit = DesktopMountLimit);

// Unmounts the share without forcing it: GVfs refuses while its files are open.
std::optional<MountFailure> UnmountSmbShare(const std::string& server, const std::string& share,
                                            std::chrono::milliseconds limit = DesktopMountLimit);

struct MountState {
    bool mounted = false;
    std::optional<std::string> localPath;    // where the mount can be opened as plain files
    std::optional<MountFailure> unanswered;  // GVfs did not say in time: nothing is known
};

MountState SmbShareMount(const std::string& server, const std::string& share,
                         std::chrono::milliseconds limit = DesktopMountLimit);

// Writes `bytes` as the whole file `path` ('/'-separated) through the share's mount, with the
// credentials it was mounted with, replacing any file there.
std::optional<MountFailure> WriteFileOnMount(const std::string& server, const std::string& share,
                                             const std::string& path,
                                             std::span<const std::uint8_t> bytes);

}  // namespace lumisk
