#include "drives/windows_drive_calls.h"

#include <winnetwk.h>

#include <cwchar>

namespace lumisk {
namespace {

// The longest remote name the system gives for a letter, in characters.
constexpr DWORD RemoteNameCapacity = MAX_PATH + 1;

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

    DWORD AddConnection(const std::wstring& localName, const std::wstring& remoteName,
                        const std::optional<std::wstring>& password,
                        const std::optional<std::wstring>& userName, DWORD flags) override {
        std::wstring local = localName;
        std::wstring remote = remoteName;
        NETRESOURCEW resource{};
        resource.dwType = RESOURCETYPE_DISK;
        resource.lpLocalName = local.data();
        resource.lpRemoteName = remote.data();
        resource.lpProvider = nullptr;
        return WNetAddConnection2W(&resource, OrNull(password), OrNull(userName), flags);
    }

    DWORD CancelConnection(const std::wstring& name, DWORD flags) override {
        return WNetCancelConnection2W(name.c_str(), flags, FALSE);
    }

    UINT DriveType(const std::wstring& root) override { return GetDriveTypeW(root.c_str()); }
};

}  // namespace

WindowsDriveCalls& SystemDriveCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace lumisk
