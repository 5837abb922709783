#include "drives/windows_drives.h"

#include <winnetwk.h>

#include <map>
#include <utility>

#include "drives/remote_name.h"
#include "drives/windows_failures.h"
#include "protocol/utf16_text.h"

namespace lumisk {
namespace {

// A letter's connection as it was before a new one took its place.
struct Held {
    std::wstring remoteName;
    bool remembered;
};

struct Credentials {
    std::wstring password;
    std::wstring userName;
};

class WindowsDrives final : public HostDrives {
public:
    explicit WindowsDrives(WindowsDriveCalls& calls) : calls_(calls) {}

    std::optional<std::string> RemoteName(const std::string& localName) override {
        const std::wstring local = Widen(localName);
        const WindowsDriveCalls::Connection connection = calls_.GetConnection(local);
        if (connection.result == NO_ERROR) {
            return Narrow(connection.remoteName);
        }
        const std::optional<std::wstring> remembered =
            connection.result == ERROR_CONNECTION_UNAVAIL ? RememberedRemote(local) : std::nullopt;
        return remembered ? std::optional(Narrow(*remembered)) : std::nullopt;
    }

    bool IsConnected(const std::string& localName) override {
        return calls_.GetConnection(Widen(localName)).result == NO_ERROR;
    }

    // The system wants the root directory, with its backslash.
    DriveType Type(const std::string& localName) override {
        return static_cast<DriveType>(calls_.DriveType(Widen(localName + "\\")));
    }

    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override {
        const std::wstring local = Widen(localName);
        const std::wstring remote = Widen(remoteName);
        const Credentials credentials{Widen(password), Widen(userName)};
        const FailureSubject subject{ServerOf(remoteName), localName, {}};
        failureReason_.clear();
        const std::optional<Held> held = HeldBy(local);
        const DWORD result =
            held ? Replace(local, remote, credentials, *held, subject)
                 : Attempt(Connect(local, remote, credentials, CONNECT_UPDATE_PROFILE), subject);
        if (result == NO_ERROR) {
            lost_.erase(localName);
            // Windows keeps a password in its credential manager only when it asked for it
            // itself, on a console (CONNECT_CMD_SAVECRED): one handed to it is not kept.
            if (!password.empty()) {
                notices_.push_back("Windows remembers " + localName + " " + remoteName +
                                   " for your next logon, but not its password: after the next "
                                   "logon the drive shows as not connected until you open it and "
                                   "type the password, or map it again here.");
            }
        } else if (const auto lost = lost_.find(localName); lost != lost_.end()) {
            failureReason_ += " " + localName + " was " + lost->second +
                              " before, and Windows could not give it back: map it again.";
        }
        return static_cast<int>(result);
    }

    int CancelConnection(const std::string& localName) override {
        const std::optional<std::string> remoteName = RemoteName(localName);
        failureReason_.clear();
        return static_cast<int>(
            Attempt(calls_.CancelConnection(Widen(localName), CONNECT_UPDATE_PROFILE),
                    {ServerOf(remoteName.value_or("")), localName, {}}));
    }

    std::string FailureReason() override { return failureReason_; }
    std::vector<std::string> TakeNotices() override { return std::exchange(notices_, {}); }

private:
    DWORD Connect(const std::wstring& local, const std::wstring& remote,
                  const Credentials& credentials, DWORD flags) {
        return calls_.AddConnection(local, remote, credentials.password, credentials.userName,
                                    flags);
    }

    // The remote name remembered for `local`, whose connection is not made now. The system
    // does not say that WNetGetConnectionW gives it then.
    std::optional<std::wstring> RememberedRemote(const std::wstring& local) {
        for (const WindowsDriveCalls::Remembered& entry : calls_.RememberedConnections()) {
            if (_wcsicmp(entry.localName.c_str(), local.c_str()) == 0) {
                return entry.remoteName;
            }
        }
        return std::nullopt;
    }

    // The connection on `local`, connected now or only remembered.
    std::optional<Held> HeldBy(const std::wstring& local) {
        const WindowsDriveCalls::Connection connection = calls_.GetConnection(local);
        if (connection.result != NO_ERROR && connection.result != ERROR_CONNECTION_UNAVAIL) {
            return std::nullopt;
        }
        const std::optional<std::wstring> remembered = RememberedRemote(local);
        if (connection.result == NO_ERROR) {
            return Held{connection.remoteName, remembered.has_value()};
        }
        return remembered ? std::optional(Held{*remembered, true}) : std::nullopt;
    }

    // Replaces what `local` holds. The new share is connected without a letter first: refused,
    // it leaves the letter as it was. Then the letter is let go (files open on it keep it) and
    // given the new share; should that still fail, it gets its old one back.
    DWORD Replace(const std::wstring& local, const std::wstring& remote,
                  const Credentials& credentials, const Held& held, const FailureSubject& subject) {
        if (const DWORD refused = Attempt(Connect({}, remote, credentials, 0), subject)) {
            return refused;
        }
        DWORD result = Attempt(calls_.CancelConnection(local, CONNECT_UPDATE_PROFILE), subject);
        if (result == NO_ERROR) {
            result = Attempt(Connect(local, remote, credentials, CONNECT_UPDATE_PROFILE), subject);
            if (result != NO_ERROR &&
                calls_.AddConnection(local, held.remoteName, std::nullopt, std::nullopt,
                                     held.remembered ? CONNECT_UPDATE_PROFILE : 0) != NO_ERROR) {
                lost_[subject.localName] = Narrow(held.remoteName);
            }
        }
        // The letter's own connection stays; the one without a letter is not wanted.
        calls_.CancelConnection(remote, 0);
        return result;
    }

    // `result`. A failure's reason is kept for FailureReason(), and taken at once: the next call
    // would take the network provider's words of it along.
    DWORD Attempt(DWORD result, const FailureSubject& subject) {
        if (result != NO_ERROR) {
            failureReason_ = ExplainFailure(result, subject, calls_);
        }
        return result;
    }

    WindowsDriveCalls& calls_;
    std::string failureReason_;
    std::vector<std::string> notices_;
    // Letters whose mapping a failed replacement could not give back, with that mapping: every
    // failure on the letter tells it, until the letter is mapped again.
    std::map<std::string, std::string> lost_;
};

}  // namespace

std::unique_ptr<HostDrives> MakeWindowsDrives(WindowsDriveCalls& calls) {
    return std::make_unique<WindowsDrives>(calls);
}

}  // namespace lumisk
