#pragma once
// The host's drive letters as last read, for a window that must paint at once: the 26 remote
// names and drive types are read on a thread of the cache's own, so that a mapping whose server
// no longer answers never holds up the one who asks. Connections are made and removed on the
// host and then read again at once, on the caller's thread. Destroying the cache waits for a
// reading under way.

#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "drives/host_drives.h"

namespace lumisk {

class DriveLetterCache final : public HostDrives {
public:
    // `changed` runs on the reading thread each time a reading differs from the one before.
    DriveLetterCache(HostDrives& host, std::function<void()> changed);
    DriveLetterCache(const DriveLetterCache&) = delete;
    DriveLetterCache& operator=(const DriveLetterCache&) = delete;

    // Reads the host's letters now, on the calling thread.
    void ReadNow();
    // Has the reading thread, started by the first call, read them soon; never waits.
    void ReadSoon();

    // From the last reading; a name that is no letter has no connection and no root directory.
    std::optional<std::string> RemoteName(const std::string& localName) override;
    bool IsConnected(const std::string& localName) override;
    DriveType Type(const std::string& localName) override;

    // On the host, then ReadNow(). What the host said of them is kept for FailureReason() and
    // TakeNotices(), which so never wait for a reading.
    int AddConnection(const std::string& localName, const std::string& remoteName,
                      const std::string& password, const std::string& userName) override;
    int CancelConnection(const std::string& localName) override;

    std::string ConnectionsFile() override;
    std::vector<std::string> TakeNotices() override;
    std::string FailureReason() override;

private:
    struct Letter {
        std::optional<std::string> remoteName;
        bool connected = false;
        DriveType type = DriveType::NoRootDir;
        bool operator==(const Letter&) const = default;
    };
    using Reading = std::array<Letter, 26>;

    // Reads every letter from the host and keeps the reading; whether it differs from the last.
    bool Read();
    // `change` on the host, then ReadNow(); its result.
    int Change(const std::function<int()>& change);
    void ReadWhenAsked(std::stop_token stop);
    // The last reading of `localName`; a name that is no letter, as one without a connection.
    Letter At(const std::string& localName) const;

    HostDrives& host_;
    const std::function<void()> changed_;
    // One call to the host at a time: the reading thread's and those of the caller's.
    std::mutex hostMutex_;
    mutable std::mutex readingMutex_;
    Reading reading_;
    std::condition_variable_any wake_;
    // Under readingMutex_: a reading asked for, and what the host said of the last change.
    bool readSoon_ = false;
    std::string failureReason_;
    std::vector<std::string> notices_;
    // Last, so that it stops first.
    std::jthread reader_;
};

}  // namespace lumisk
