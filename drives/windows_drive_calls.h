#pragma once
// The Windows calls behind the drive letters and their network connections, with the system's
// own wide texts and result codes (Windows only). The program makes them on the system; tests
// answer them with the codes Windows gives, as Wine has no network provider.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumisk {

class WindowsDriveCalls {
public:
    virtual ~WindowsDriveCalls() = default;

    struct Connection {
        DWORD result;             // WNetGetConnectionW's
        std::wstring remoteName;  // \\server\share, when the result gives one
    };
    // WNetGetConnectionW for `localName` ("E:").
    virtual Connection GetConnection(const std::wstring& localName) = 0;

    struct Remembered {
        std::wstring localName;
        std::wstring remoteName;
    };
    // The disk connections remembered in the user's profile, for the next logon (WNetOpenEnumW
    // of RESOURCE_REMEMBERED): connected now or not.
    virtual std::vector<Remembered> RememberedConnections() = 0;

    // WNetAddConnection2W of a disk resource: `localName` ("E:", or empty for a connection
    // without a letter) to `remoteName` (\\server\share). A password or user name without a
    // value goes as NULL, the system's default; an empty one as an empty text.
    virtual DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                                const std::optional<std::wstring>& password,
                                const std::optional<std::wstring>& userName, DWORD flags) = 0;

    // WNetCancelConnection2W of `name`, a local name or a remote one; never forced, so open files
    // keep the connection.
    virtual DWORD CancelConnection(const std::wstring& name, DWORD flags) = 0;

    // GetDriveTypeW for the root directory `root` ("E:\").
    virtual UINT DriveType(const std::wstring& root) = 0;

    struct ProviderError {
        DWORD code;                // the provider's own
        std::wstring description;  // in its words
        std::wstring provider;     // its name
    };
    // WNetGetLastErrorW: what the network provider said of the ERROR_EXTENDED_ERROR that a call
    // on this thread answered last.
    virtual ProviderError LastProviderError() = 0;

    // Whether the system has the SMB1 client, as the registry shows it: the service of its driver
    // (mrxsmb10) is there and not disabled, and the Workstation service (LanmanWorkstation)
    // depends on it. Windows 10 1709 and later and Windows 11 come without it.
    virtual bool HasSmb1Client() = 0;

    // Writes `bytes` as the whole file `path` through CreateFileW (a file there is replaced,
    // folders are never made), WriteFile and CloseHandle, and checks that the file is there
    // afterwards: NO_ERROR, or GetLastError() of the step that failed.
    virtual DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) = 0;
};

// The system's own calls.
WindowsDriveCalls& SystemDriveCalls();

}  // namespace lumisk
