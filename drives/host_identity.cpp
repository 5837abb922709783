#include "drives/host_identity.h"

#ifdef _WIN32
#include <windows.h>

#include <iterator>

#include "protocol/utf16_text.h"
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

constexpr char UnknownVersion[] = "unknown Windows version";

enum PlatformId : std::uint32_t { Windows9x = 1, WindowsNt = 2, WindowsCe = 3 };

const char* Windows9xName(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    if (major != 4) {
        return UnknownVersion;
    }
    if (minor < 10) {
        if (build == 950) {
            return "Windows 95";
        }
        if (build > 950 && build <= 1080) {
            return "Windows 95 SP1";
        }
        return build > 1080 ? "Windows 95 OSR2" : UnknownVersion;
    }
    if (minor == 10) {
        if (build == 1998) {
            return "Windows 98";
        }
        if (build > 1998 && build <= 2182) {
            return "Windows 98 SP1";
        }
        return build > 2182 ? "Windows 98 SE" : UnknownVersion;
    }
    return minor == 90 ? "Windows ME" : UnknownVersion;
}

const char* WindowsNtName(std::uint32_t major, std::uint32_t minor) {
    if (major == 3 && minor == 51) {
        return "Windows NT 3.51";
    }
    if (major == 4 && minor == 0) {
        return "Windows NT 4";
    }
    if (major == 5 && minor == 0) {
        return "Windows 2000";
    }
    if (major == 5 && minor == 1) {
        return "Windows XP";
    }
    return UnknownVersion;
}

#ifdef _WIN32
class WindowsIdentity final : public HostIdentity {
public:
    std::optional<WindowsVersionInfo> Version() override {
        OSVERSIONINFOW record{};
        record.dwOSVersionInfoSize = sizeof record;
        if (!GetVersionExW(&record)) {
            return std::nullopt;
        }
        return WindowsVersionInfo{record.dwPlatformId, record.dwMajorVersion, record.dwMinorVersion,
                                  record.dwBuildNumber};
    }

    std::optional<std::string> UserName() override {
        wchar_t name[128] = {};
        DWORD length = std::size(name);
        if (!GetUserNameW(name, &length)) {
            return std::nullopt;
        }
        return Narrow(name);
    }
};
#else
class PosixIdentity final : public HostIdentity {
public:
    std::optional<WindowsVersionInfo> Version() override { return std::nullopt; }

    std::optional<std::string> UserName() override {
        const passwd* account = getpwuid(geteuid());
        if (account == nullptr || account->pw_name == nullptr) {
            return std::nullopt;
        }
        return std::string(account->pw_name);
    }
};
#endif

}  // namespace

std::unique_ptr<HostIdentity> MakeSystemIdentity() {
#ifdef _WIN32
    return std::make_unique<WindowsIdentity>();
#else
    return std::make_unique<PosixIdentity>();
#endif
}

std::string WindowsVersionName(const std::optional<WindowsVersionInfo>& version) {
    if (!version) {
        return UnknownVersion;
    }
    const std::uint32_t build = version->build & 0xFFFF;
    switch (version->platformId) {
        case Windows9x:
            return Windows9xName(version->major, version->minor, build);
        case WindowsNt:
            return WindowsNtName(version->major, version->minor);
        case WindowsCe:
            return "Windows CE";
        default:
            return UnknownVersion;
    }
}

std::string GetWindowsVersionText(HostIdentity& host) {
    return WindowsVersionName(host.Version());
}

}  // namespace lumisk
