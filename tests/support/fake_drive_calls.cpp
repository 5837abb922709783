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
    added.push_back({remoteName, password, userName});
    for (const std::wstring& key : {localName + remoteName, remoteName}) {
        if (refusals.contains(key)) {
            return refusals.at(key);
        }
    }
    if (localName.empty()) {
        withoutLetter.insert(remoteName);
    } else if (connections.contains(localName)) {
        return connections.at(localName).connected ? DWORD{ERROR_ALREADY_ASSIGNED}
                                                   : DWORD{ERROR_DEVICE_ALREADY_REMEMBERED};
    } else {
        connections[localName] = {remoteName, (flags & CONNECT_UPDATE_PROFILE) != 0};
    }
    return NO_ERROR;
}

DWORD FakeDriveCalls::CancelConnection(const std::wstring& name, DWORD) {
    if (refusals.contains(name)) {
        return refusals.at(name);
    }
    return withoutLetter.erase(name) > 0 || connections.erase(name) == 1
               ? DWORD{NO_ERROR}
               : DWORD{ERROR_NOT_CONNECTED};
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
