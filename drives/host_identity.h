#pragma once
// What the host says of itself: its Windows release and the user logged on to it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lumisk {

// The four numbers of the platform's version record that name a release.
struct WindowsVersionInfo {
    std::uint32_t platformId;
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t build;  // only the low 16 bits count
};

class HostIdentity {
public:
    virtual ~HostIdentity() = default;
    // The version record, or nothing when the query fails (always, off Windows).
    virtual std::optional<WindowsVersionInfo> Version() = 0;
    // The logged-on user's name, or nothing when the host does not say.
    virtual std::optional<std::string> UserName() = 0;
};

std::unique_ptr<HostIdentity> MakeSystemIdentity();

// One of the thirteen release names, "unknown Windows version" when no row of the table fits.
std::string WindowsVersionName(const std::optional<WindowsVersionInfo>& version);

// The name of the host's release.
std::string GetWindowsVersionText(HostIdentity& host);

}  // namespace lumisk
