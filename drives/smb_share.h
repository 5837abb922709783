#pragma once
// Sessions with the adapters' SMB shares through libsmbclient (Linux; Windows maps drives itself).
// Each call has a client of its own, so neither credentials nor connections outlive it. The
// client follows the host's Samba client configuration ($HOME/.smb/smb.conf, else
// /etc/samba/smb.conf) for name resolution, but speaks every protocol from SMB1 (NT1) to SMB3
// whatever it says. Call from one thread.

#include <cstdint>
#include <span>
#include <string>

namespace lumisk {

// Opens \\server\share as `userName` with `password`, or as a guest when both are empty, and
// closes it again: 0 when the share accepts, otherwise an errno value. A refused password fails;
// it never falls back to a guest session.
int OpenSmbShare(const std::string& server, const std::string& share, const std::string& userName,
                 const std::string& password);

// Whether the share opens with these credentials when the client speaks SMB1 only, but not when
// it asks for SMB2 at least, as Debian's default client configuration does.
bool SpeaksOnlySmb1(const std::string& server, const std::string& share,
                    const std::string& userName, const std::string& password);

// Writes `bytes` as the whole file `path` ('/'-separated, in existing directories) on
// \\server\share as a guest, replacing any file there: 0 once the file is closed and has that
// size, otherwise an errno value.
int WriteSmbFile(const std::string& server, const std::string& share, const std::string& path,
                 std::span<const std::uint8_t> bytes);

}  // namespace lumisk
