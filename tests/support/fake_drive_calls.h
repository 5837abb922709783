#pragma once
// The Windows drive calls as a test describes them (Windows only), with the system's own codes:
// the connections by local name, the calls to refuse, and every connection asked for, in the
// system's wide texts.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "drives/windows_drive_calls.h"

namespace lumisk::testing {

class FakeDriveCalls final : public WindowsDriveCalls {
public:
    // A connected letter gives its remote name; one only remembered, ERROR_CONNECTION_UNAVAIL.
    Connection GetConnection(const std::wstring& localName) override;
    std::vector<Remembered> RememberedConnections() override;
    // Refused as `refusals` says for the local and remote name together ("Z:\\server\share"),
    // else for the remote name, else as Windows refuses a letter that has a connection.
    DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                        const std::optional<std::wstring>& password,
                        const std::optional<std::wstring>& userName, DWORD flags) override;
    // Refused as `refusals` says for the name.
    DWORD CancelConnection(const std::wstring& name, DWORD flags) override;
    UINT DriveType(const std::wstring& root) override;  // remote when connected
    ProviderError LastProviderError() override { return providerError; }
    bool HasSmb1Client() override { return smb1Client; }
    DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t>) override;

    struct Mapping {
        std::wstring remoteName;
        bool remembered = true;
        bool connected = true;
    };
    struct Added {
        std::wstring remoteName;
        std::optional<std::wstring> password;
        std::optional<std::wstring> userName;
    };

    std::map<std::wstring, Mapping> connections;  // by local name
    std::multiset<std::wstring> withoutLetter;    // remote names connected without a letter
    std::map<std::wstring, DWORD> refusals;
    std::vector<Added> added;  // every connection asked for, in order
    ProviderError providerError{};
    bool smb1Client = true;
    DWORD writeResult = NO_ERROR;       // of every write
    std::vector<std::wstring> written;  // every path, in order
};

}  // namespace lumisk::testing
