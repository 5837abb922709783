// The entry of the SMB module: its calls, for the program that loads it (drives/smb_module.h).

#include "drives/smb_module.h"

extern "C" __attribute__((visibility("default"))) const lumisk::SmbModuleCalls*
LumiskSmbModuleCalls() {
    static constexpr lumisk::SmbModuleCalls calls{
        lumisk::MountSmbShare,    lumisk::UnmountSmbShare, lumisk::SmbShareMount,
        lumisk::WriteFileOnMount, lumisk::OpenSmbShare,    lumisk::SpeaksOnlySmb1,
        lumisk::WriteSmbFile,
    };
    return &calls;
}
