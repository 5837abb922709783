#pragma once
// The Windows drive calls as a test describes them (Windows only): the connections by local name,
// the shares that refuse and with which code, and every connection asked for, in the system's
// own wide texts.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "drives/windows_drive_calls.h"

namespace lumisk::testing {

class FakeDriveCalls final : public WindowsDriveCalls {
public:
    Connection GetConnection(const std::wstring& localName) override;
    // Refused as `refusals` says for the remote name, or with ERROR_INVALID_PASSWORD when
    // `passwords` names another password for it; otherwise connected.
    DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                        const std::optional<std::wstring>& password,
                        const std::optional<std::wstring>& userName, DWORD flags) override;
    DWORD CancelConnection(const std::wstring& name, DWORD flags) override;
    // A connected letter is remote; any other has no root directory.
    UINT DriveType(const std::wstring& root) override;
    ProviderError LastProviderError() override { return providerError; }
    bool HasSmb1Client() override { return smb1Client; }
    // Notes the path, then answers `writeResult`.
    DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t>) override;

    struct Added {
        std::wstring localName;
        std::wstring remoteName;
        std::optional<std::wstring> password;
        std::optional<std::wstring> userName;
    };

    std::map<std::wstring, std::wstring> connections;  // "E:" to \\server\share
    std::map<std::wstring, DWORD> refusals;            // by remote name
    std::map<std::wstring, std::wstring> passwords;    // by remote name
    std::vector<Added> added;                          // every call, in order
    std::map<std::wstring, DWORD> cancelRefusals;      // by local name
    ProviderError providerError{};
    bool smb1Client = true;
    DWORD writeResult = NO_ERROR;
    std::vector<std::wstring> written;  // every path, in order
};

}  // namespace lumisk::testing
