#include "tests/support/fake_host.h"

namespace lumisk::testing {

std::optional<std::string> FakeDrives::RemoteName(const std::string& localName) {
    const auto found = connections.find(localName.empty() ? '\0' : localName[0]);
    return found == connections.end() ? std::nullopt : std::optional(found->second);
}

DriveType FakeDrives::Type(const std::string& localName) {
    const auto found = types.find(localName.empty() ? '\0' : localName[0]);
    return found == types.end() ? DriveType::NoRootDir : found->second;
}

}  // namespace lumisk::testing
