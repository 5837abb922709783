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

int FakeDrives::AddConnection(const std::string& localName, const std::string& remoteName,
                              const std::string&, const std::string&) {
    if (refusal != 0 || localName.size() != 2) {
        return refusal != 0 ? refusal : 1;
    }
    connections[localName[0]] = remoteName;
    return 0;
}

int FakeDrives::CancelConnection(const std::string& localName) {
    return !localName.empty() && connections.erase(localName[0]) == 1 ? 0 : 1;
}

}  // namespace lumisk::testing
