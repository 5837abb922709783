#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/web_probe.h"

namespace lumisk {
namespace {

using namespace std::chrono_literals;

// The first connection attempt hangs until released and then succeeds; every later one fails
// at once.
class SlowFirstConnector final : public WebConnector {
public:
    bool CanConnect(const std::string& url) override {
        std::unique_lock lock(mutex_);
        urls.push_back(url);
        const bool first = urls.size() == 1;
        changed_.notify_all();
        if (first) {
            changed_.wait(lock, [this] { return released_; });
        }
        ++answered;
        changed_.notify_all();
        return first;
    }

    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    // Waits until `count` attempts have answered; false after five seconds.
    bool WaitForAnswers(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return answered >= count; });
    }

    bool WaitForCalls(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return urls.size() >= count; });
    }

    std::vector<std::string> urls;
    std::size_t answered = 0;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
};

// Polls for up to five seconds until `done` holds.
bool Eventually(const std::function<bool()>& done) {
    for (int wait = 0; wait < 500 && !done(); ++wait) {
        std::this_thread::sleep_for(10ms);
    }
    return done();
}

TEST(WebProbe, ALateAnswerNeverConfirmsALaterCheck) {
    const auto connector = std::make_shared<SlowFirstConnector>();
    CopyText(DeviceHostText, "192.0.2.20");
    StartWebProbe(connector);
    ASSERT_TRUE(connector->WaitForCalls(1));
    EXPECT_EQ(WebProbeResult(), WebProbePending);

    CopyText(DeviceHostText, "192.0.2.21");
    StartWebProbe(connector);
    ASSERT_TRUE(connector->WaitForAnswers(1));
    EXPECT_TRUE(Eventually([] { return WebProbeResult() == WebProbeUnreachable; }));

    connector->Release();
    // A worker lets go of the connector once it has stored its outcome, or left it alone.
    ASSERT_TRUE(Eventually([&] { return connector.use_count() == 1; }));
    EXPECT_EQ(WebProbeResult(), WebProbeUnreachable);
    EXPECT_EQ(connector->urls,
              (std::vector<std::string>{"http://192.0.2.20", "http://192.0.2.21"}));
}

}  // namespace
}  // namespace lumisk
