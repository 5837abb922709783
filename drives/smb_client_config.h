#pragma once
// The user's own Samba client configuration, ~/.smb/smb.conf, which libsmbclient and GVfs read
// in place of /etc/samba/smb.conf. Lumisk changes it only to let the client speak SMB1.

#include <string>

namespace lumisk {

std::string SmbClientConfigPath();

// Whether the configuration lets the client go down to SMB1: the last "client min protocol" of
// its global section names NT1 or an older dialect.
bool ClientAllowsSmb1(const std::string& path);

// Makes the global section say "client min protocol = NT1": the lines that set another dialect
// there are changed, or the line is added; every other line stays. Creates the file and its
// directory when missing: 0, or an errno value.
int AllowSmb1InClient(const std::string& path);

}  // namespace lumisk
