#include "drives/drive_letter_cache.h"

#include <utility>

namespace lumisk {
namespace {

std::string LocalNameOf(std::size_t index) {
    return {static_cast<char>('A' + index), ':'};
}

}  // namespace

DriveLetterCache::DriveLetterCache(HostDrives& host, std::function<void()> changed)
    : host_(host), changed_(std::move(changed)) {}

void DriveLetterCache::ReadNow() {
    Read();
}

void DriveLetterCache::ReadSoon() {
    const std::lock_guard lock(readingMutex_);
    readSoon_ = true;
    if (!reader_.joinable()) {
        reader_ = std::jthread([this](std::stop_token stop) { ReadWhenAsked(stop); });
    }
    wake_.notify_all();
}

void DriveLetterCache::ReadWhenAsked(std::stop_token stop) {
    while (!stop.stop_requested()) {
        {
            std::unique_lock lock(readingMutex_);
            wake_.wait(lock, stop, [this] { return readSoon_; });
            readSoon_ = false;
        }
        if (!stop.stop_requested() && Read()) {
            changed_();
        }
    }
}

bool DriveLetterCache::Read() {
    Reading reading;
    {
        const std::lock_guard lock(hostMutex_);
        for (std::size_t index = 0; index < reading.size(); ++index) {
            const std::string localName = LocalNameOf(index);
            reading[index] = {host_.RemoteName(localName), host_.IsConnected(localName),
                              host_.Type(localName)};
        }
    }
    const std::lock_guard lock(readingMutex_);
    const bool differs = reading != reading_;
    reading_ = reading;
    return differs;
}

DriveLetterCache::Letter DriveLetterCache::At(const std::string& localName) const {
    if (localName.size() != 2 || localName[0] < 'A' || localName[0] > 'Z' || localName[1] != ':') {
        return {};
    }
    const std::lock_guard lock(readingMutex_);
    return reading_[static_cast<std::size_t>(localName[0] - 'A')];
}

std::optional<std::string> DriveLetterCache::RemoteName(const std::string& localName) {
    return At(localName).remoteName;
}

bool DriveLetterCache::IsConnected(const std::string& localName) {
    return At(localName).connected;
}

DriveType DriveLetterCache::Type(const std::string& localName) {
    return At(localName).type;
}

int DriveLetterCache::Change(const std::function<int()>& change) {
    int result;
    std::string reason;
    std::vector<std::string> notices;
    {
        const std::lock_guard lock(hostMutex_);
        result = change();
        reason = host_.FailureReason();
        notices = host_.TakeNotices();
    }
    {
        const std::lock_guard lock(readingMutex_);
        failureReason_ = reason;
        notices_.insert(notices_.end(), notices.begin(), notices.end());
    }
    ReadNow();
    return result;
}

int DriveLetterCache::AddConnection(const std::string& localName, const std::string& remoteName,
                                    const std::string& password, const std::string& userName) {
    return Change([&] { return host_.AddConnection(localName, remoteName, password, userName); });
}

int DriveLetterCache::CancelConnection(const std::string& localName) {
    return Change([&] { return host_.CancelConnection(localName); });
}

// Read by the window as it starts, before there is a reading thread.
std::string DriveLetterCache::ConnectionsFile() {
    return host_.ConnectionsFile();
}

std::vector<std::string> DriveLetterCache::TakeNotices() {
    const std::lock_guard lock(readingMutex_);
    return std::exchange(notices_, {});
}

std::string DriveLetterCache::FailureReason() {
    const std::lock_guard lock(readingMutex_);
    return failureReason_;
}

}  // namespace lumisk
