#include "drives/smb_module.h"

#include <dlfcn.h>

#include <cerrno>

namespace lumisk {
namespace {

struct LoadedModule {
    const SmbModuleCalls* calls = nullptr;
    MountFailure failure;  // why there are no calls
};

// Loaded by the first call, from the programs' run path, and kept until the program ends.
const LoadedModule& Module() {
    static const LoadedModule loaded = [] {
        const auto failed = [] {
            return LoadedModule{nullptr,
                                {ELIBACC, std::string("cannot load the SMB client: ") + dlerror()}};
        };
        void* module = dlopen(LUMISK_SMB_MODULE, RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            return failed();
        }
        const auto entry = reinterpret_cast<SmbModuleEntryFunction*>(dlsym(module, SmbModuleEntry));
        if (entry == nullptr) {
            return failed();
        }
        return LoadedModule{entry(), {}};
    }();
    return loaded;
}

}  // namespace

std::optional<MountFailure> MountSmbShare(const std::string& server, const std::string& share,
                                          const std::string& userName, const std::string& password,
                                          std::chrono::milliseconds limit) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->mountSmbShare(server, share, userName, password, limit);
    }
    return Module().failure;
}

std::optional<MountFailure> UnmountSmbShare(const std::string& server, const std::string& share,
                                            std::chrono::milliseconds limit) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->unmountSmbShare(server, share, limit);
    }
    return Module().failure;
}

MountState SmbShareMount(const std::string& server, const std::string& share,
                         std::chrono::milliseconds limit) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->smbShareMount(server, share, limit);
    }
    return {false, std::nullopt, Module().failure};
}

std::optional<MountFailure> WriteFileOnMount(const std::string& server, const std::string& share,
                                             const std::string& path,
                                             std::span<const std::uint8_t> bytes) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->writeFileOnMount(server, share, path, bytes);
    }
    return Module().failure;
}

int OpenSmbShare(const std::string& server, const std::string& share, const std::string& userName,
                 const std::string& password) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->openSmbShare(server, share, userName, password);
    }
    return Module().failure.code;
}

bool SpeaksOnlySmb1(const std::string& server, const std::string& share,
                    const std::string& userName, const std::string& password) {
    const SmbModuleCalls* calls = Module().calls;
    return calls != nullptr && calls->speaksOnlySmb1(server, share, userName, password);
}

int WriteSmbFile(const std::string& server, const std::string& share, const std::string& path,
                 std::span<const std::uint8_t> bytes) {
    if (const SmbModuleCalls* calls = Module().calls) {
        return calls->writeSmbFile(server, share, path, bytes);
    }
    return Module().failure.code;
}

}  // namespace lumisk
