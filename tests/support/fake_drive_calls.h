#pragma once
// The Windows drive calls as a test describes them (Windows only): the connections by local name,
// the shares that refuse and with which code, and every connection asked for, in the system's
// own wide texts.

#include <map>
#include <optional>
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
    // Refused as `refusals` says for the local and remote name together ("Z:\\\\server\\share"),
    // else for the remote name alone, or with ERROR_INVALID_PASSWORD when
    // `passwords` names another password for it, or as Windows refuses a letter that has a
    // connection; otherwise connected, remembered when the flags say so.
    DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                        const std::optional<std::wstring>& password,
                        const std::optional<std::wstring>& userName, DWORD flags) override;
    // Refused as `cancelRefusals` says for the name.
    DWORD CancelConnection(const std::wstring& name, DWORD flags) override;
    // A connected letter is remote; any other has no root directory.
    UINT DriveType(const std::wstring& root) override;
    ProviderError LastProviderError() override { return providerError; }
    bool HasSmb1Client() override { return smb1Client; }
    // Notes the path, then answers `writeResult`.
    DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t>) override;

    struct Mapping {
        std::wstring remoteName;
        bool remembered = true;
        bool connected = true;
    };
    struct Added {
        std::wstring localName;
        std::wstring remoteName;
        std::optional<std::wstring> password;
        std::optional<std::wstring> userName;
    };

    std::map<std::wstring, Mapping> connections;     // by local name
    std::multiset<std::wstring> withoutLetter;       // remote names connected without a letter
    std::map<std::wstring, DWORD> refusals;          // by local and remote name, or remote name
    std::map<std::wstring, std::wstring> passwords;  // by remote name
    std::vector<Added> added;                        // every call, in order
    std::map<std::wstring, DWORD> cancelRefusals;    // by local name
    ProviderError providerError{};
    bool smb1Client = true;
    DWORD writeResult = NO_ERROR;
    std::vector<std::wstring> written;  // every path, in order
};

}  // namespace lumisk::testing
