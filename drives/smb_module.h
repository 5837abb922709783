#pragma once
// On Linux the calls that reach SMB shares, through GIO/GVfs (drives/desktop_mounts.h) and
// libsmbclient (drives/smb_share.h), live in a module of their own, which a program loads with
// the first of them: a program or command that reaches no share never loads the Samba client
// and GIO. The programs' definitions of those calls (drives/smb_module.cpp) hand each on to the
// module's. When the module cannot be loaded, each call fails with ELIBACC and, where it carries
// a message, the loader's reason; SpeaksOnlySmb1() is false.

#include "drives/desktop_mounts.h"
#include "drives/smb_share.h"

namespace lumisk {

// The module's calls, as it hands them over.
struct SmbModuleCalls {
    decltype(MountSmbShare)* mountSmbShare;
    decltype(UnmountSmbShare)* unmountSmbShare;
    decltype(SmbShareMount)* smbShareMount;
    decltype(WriteFileOnMount)* writeFileOnMount;
    decltype(OpenSmbShare)* openSmbShare;
    decltype(SpeaksOnlySmb1)* speaksOnlySmb1;
    decltype(WriteSmbFile)* writeSmbFile;
};

// The name of the module's one exported function, which returns its calls.
inline constexpr char SmbModuleEntry[] = "LumiskSmbModuleCalls";
using SmbModuleEntryFunction = const SmbModuleCalls*();

}  // namespace lumisk
