#include "tests/support/fake_drive_calls.h"

#include <winnetwk.h>

namespace lumisk::testing {

WindowsDriveCalls::Connection FakeDriveCalls::GetConnection(const std::wstring& localName) {
    const auto found = connections.find(localName);
    if (found == connections.end()) {
        return {ERROR_NOT_CONNECTED, {}};
    }
    return {found->second.connected ? DWORD{NO_ERROR} : DWORD{ERROR_CONNECTION_UNAVAIL},
            found->second.remoteName};
}

std::vector<WindowsDriveCalls::Remembered> FakeDriveCalls::RememberedConnections() {
    std::vector<Remembered> remembered;
    for (const auto& [localName, mapping] : connections) {
        if (mapping.remembered) {
            remembered.push_back({localName, mapping.remoteName});
        }
    }
    return remembered;
}

DWORD FakeDriveCalls::AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                                    const std::optional<std::wstring>& password,
                                    const std::optional<std::wstring>& userName, DWORD flags) {
    added.push_back({localName, remoteName, password, userName});
    for (const std::wstring& key : {localName + remoteName, remoteName}) {
        if (const auto refused = refusals.find(key); refused != refusals.end()) {
            return refused->second;
        }
    }
    if (const auto wanted = passwords.find(remoteName);
        wanted != passwords.end() && password != wanted->second) {
        return ERROR_INVALID_PASSWORD;
    }
    if (localName.empty()) {
        withoutLetter.insert(remoteName);
        return NO_ERROR;
    }
    if (const auto held = connections.find(localName); held != connections.end()) {
        return held->second.connected ? DWORD{ERROR_ALREADY_ASSIGNED}
                                      : DWORD{ERROR_DEVICE_ALREADY_REMEMBERED};
    }
    connections[localName] = {remoteName, (flags & CONNECT_UPDATE_PROFILE) != 0, true};
    return NO_ERROR;
}

DWORD FakeDriveCalls::CancelConnection(const std::wstring& name, DWORD) {
    if (const auto refused = cancelRefusals.find(name); refused != cancelRefusals.end()) {
        return refused->second;
    }
    if (withoutLetter.erase(name) > 0 || connections.erase(name) == 1) {
        return NO_ERROR;
    }
    return ERROR_NOT_CONNECTED;
}

UINT FakeDriveCalls::DriveType(const std::wstring& root) {
    const auto found = connections.find(root.substr(0, 2));
    return found != connections.end() && found->second.connected ? DRIVE_REMOTE : DRIVE_NO_ROOT_DIR;
}

DWORD FakeDriveCalls::WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t>) {
    written.push_back(path);
    return writeResult;
}

}  // namespace lumisk::testing
