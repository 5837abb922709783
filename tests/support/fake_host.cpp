#include "tests/support/fake_host.h"

namespace lumisk::testing {

std::unique_lock<std::mutex> FakeDrives::Enter() {
    if (std::this_thread::get_id() == forbiddenThread) {
        ++callsOnForbiddenThread;
    }
    return std::unique_lock(mutex_);
}

std::optional<std::string> FakeDrives::RemoteName(const std::string& localName) {
    const auto lock = Enter();
    const auto found = connections.find(localName.empty() ? '\0' : localName[0]);
    return found == connections.end() ? std::nullopt : std::optional(found->second);
}

DriveType FakeDrives::Type(const std::string& localName) {
    const auto lock = Enter();
    const auto found = types.find(localName.empty() ? '\0' : localName[0]);
    return found == types.end() ? DriveType::NoRootDir : found->second;
}

int FakeDrives::AddConnection(const std::string& localName, const std::string& remoteName,
                              const std::string&, const std::string&) {
    const auto lock = Enter();
    if (refusal != 0 || localName.size() != 2) {
        return refusal != 0 ? refusal : 1;
    }
    connections[localName[0]] = remoteName;
    return 0;
}

int FakeDrives::CancelConnection(const std::string& localName) {
    const auto lock = Enter();
    return !localName.empty() && connections.erase(localName[0]) == 1 ? 0 : 1;
}

void FakeDrives::Map(char letter, const std::string& remoteName) {
    const std::lock_guard lock(mutex_);
    connections[letter] = remoteName;
}

void FakeDrives::Unmap(char letter) {
    const std::lock_guard lock(mutex_);
    connections.erase(letter);
}

}  // namespace lumisk::testing
