#pragma once
// The user's own Samba client configuration, ~/.smb/smb.conf, which libsmbclient and GVfs read
// in place of /etc/samba/smb.conf. Lumisk changes it only to let the client speak SMB1.

#include <string>

namespace lumisk {

std::string SmbClientConfigPath();

// Whether the configuration lets the client go down to SMB1 ("client min protocol = NT1").
bool ClientAllowsSmb1(const std::string& path);

// Adds "client min protocol = NT1" to the global section, creating the file and its directory
// when missing and keeping every line already there: 0, or an errno value.
int AllowSmb1InClient(const std::string& path);

}  // namespace lumisk
