#include "tests/support/fake_drive_calls.h"

namespace lumisk::testing {

WindowsDriveCalls::Connection FakeDriveCalls::GetConnection(const std::wstring& localName) {
    const auto found = connections.find(localName);
    return found == connections.end() ? Connection{ERROR_NOT_CONNECTED, {}}
                                      : Connection{NO_ERROR, found->second};
}

DWORD FakeDriveCalls::AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                                    const std::optional<std::wstring>& password,
                                    const std::optional<std::wstring>& userName, DWORD) {
    added.push_back({localName, remoteName, password, userName});
    if (const auto refused = refusals.find(remoteName); refused != refusals.end()) {
        return refused->second;
    }
    if (const auto wanted = passwords.find(remoteName);
        wanted != passwords.end() && password != wanted->second) {
        return ERROR_INVALID_PASSWORD;
    }
    connections[localName] = remoteName;
    return NO_ERROR;
}

DWORD FakeDriveCalls::CancelConnection(const std::wstring& name, DWORD) {
    if (const auto refused = cancelRefusals.find(name); refused != cancelRefusals.end()) {
        return refused->second;
    }
    return connections.erase(name) == 1 ? NO_ERROR : ERROR_NOT_CONNECTED;
}

UINT FakeDriveCalls::DriveType(const std::wstring& root) {
    return connections.contains(root.substr(0, 2)) ? DRIVE_REMOTE : DRIVE_NO_ROOT_DIR;
}

DWORD FakeDriveCalls::WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t>) {
    written.push_back(path);
    return writeResult;
}

}  // namespace lumisk::testing
