#include "drives/windows_drive_calls.h"

#include <winnetwk.h>

#include <cwchar>

namespace lumisk {
namespace {

// The longest remote name the system gives for a letter, in characters.
constexpr DWORD RemoteNameCapacity = MAX_PATH + 1;
// The remembered connections are read in batches of this many bytes, or one entry's size.
constexpr std::size_t EnumerationBufferBytes = 16 * 1024;
// A provider's description of its error and its name, in characters.
constexpr DWORD ProviderTextCapacity = 256;
// The services of the SMB1 client's driver and of the Workstation, in the registry.
constexpr wchar_t Smb1ClientService[] = L"SYSTEM\\CurrentControlSet\\Services\\mrxsmb10";
constexpr wchar_t WorkstationService[] = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation";

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
    return text ? text->c_str() : nullptr;
}

class SystemCalls final : public WindowsDriveCalls {
public:
    Connection GetConnection(const std::wstring& localName) override {
        std::wstring remote(RemoteNameCapacity, L'\0');
        DWORD length = RemoteNameCapacity;
        const DWORD result = WNetGetConnectionW(localName.c_str(), remote.data(), &length);
        remote.resize(wcsnlen(remote.data(), remote.size()));
        return {result, remote};
    }

    std::vector<Remembered> RememberedConnections() override {
        std::vector<Remembered> remembered;
        HANDLE enumeration = nullptr;
        if (WNetOpenEnumW(RESOURCE_REMEMBERED, RESOURCETYPE_DISK, 0, nullptr, &enumeration) !=
            NO_ERROR) {
            return remembered;
        }
        // Entries come in batches as large as the buffer takes; one too large for it says how
        // large it must be.
        std::vector<std::uint64_t> buffer(EnumerationBufferBytes / sizeof(std::uint64_t));
        for (;;) {
            DWORD count = static_cast<DWORD>(-1);
            DWORD size = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
            const DWORD result = WNetEnumResourceW(enumeration, &count, buffer.data(), &size);
            if (result == ERROR_MORE_DATA) {
                buffer.resize(size / sizeof(std::uint64_t) + 1);
                continue;
            }
            if (result != NO_ERROR) {
                break;
            }
            const auto* resources = reinterpret_cast<const NETRESOURCEW*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                if (resources[i].lpLocalName != nullptr && resources[i].lpRemoteName != nullptr) {
                    remembered.push_back({resources[i].lpLocalName, resources[i].lpRemoteName});
                }
            }
        }
        WNetCloseEnum(enumeration);
        return remembered;
    }

    DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                        const std::optional<std::wstring>& password,
                        const std::optional<std::wstring>& userName, DWORD flags) override {
        std::wstring local = localName;
        std::wstring remote = remoteName;
        NETRESOURCEW resource{};
        resource.dwType = RESOURCETYPE_DISK;
        resource.lpLocalName = local.empty() ? nullptr : local.data();
        resource.lpRemoteName = remote.data();
        resource.lpProvider = nullptr;
        return WNetAddConnection2W(&resource, OrNull(password), OrNull(userName), flags);
    }

    DWORD CancelConnection(const std::wstring& name, DWORD flags) override {
        return WNetCancelConnection2W(name.c_str(), flags, FALSE);
    }

    UINT DriveType(const std::wstring& root) override { return GetDriveTypeW(root.c_str()); }

    ProviderError LastProviderError() override {
        ProviderError error{};
        std::wstring description(ProviderTextCapacity, L'\0');
        std::wstring provider(ProviderTextCapacity, L'\0');
        if (WNetGetLastErrorW(&error.code, description.data(), ProviderTextCapacity,
                              provider.data(), ProviderTextCapacity) == NO_ERROR) {
            error.description = description.c_str();
            error.provider = provider.c_str();
        }
        return error;
    }

    bool HasSmb1Client() override {
        DWORD start = 0;
        DWORD size = sizeof start;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, Smb1ClientService, L"Start", RRF_RT_REG_DWORD, nullptr,
                         &start, &size) != ERROR_SUCCESS ||
            start == SERVICE_DISABLED) {
            return false;
        }
        size = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, WorkstationService, L"DependOnService",
                         RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) {
            return false;
        }
        std::wstring names(size / sizeof(wchar_t) + 1, L'\0');
        if (RegGetValueW(HKEY_LOCAL_MACHINE, WorkstationService, L"DependOnService",
                         RRF_RT_REG_MULTI_SZ, nullptr, names.data(), &size) != ERROR_SUCCESS) {
            return false;
        }
        // A list of texts, each ended by a zero, the list by another.
        for (const wchar_t* name = names.c_str(); *name != L'\0'; name += wcslen(name) + 1) {
            if (_wcsicmp(name, L"MRxSmb10") == 0) {
                return true;
            }
        }
        return false;
    }

    DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) override {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return GetLastError();
        }
        DWORD written = 0;
        DWORD result =
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                ? NO_ERROR
                : GetLastError();
        if (result == NO_ERROR && written != bytes.size()) {
            result = ERROR_WRITE_FAULT;
        }
        if (!CloseHandle(file) && result == NO_ERROR) {
            result = GetLastError();
        }
        if (result == NO_ERROR && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            result = GetLastError();
        }
        return result;
    }
};

}  // namespace

WindowsDriveCalls& SystemDriveCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace lumisk
