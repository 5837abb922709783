#include "setup/web_probe.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "protocol/fixed_text.h"
#include "setup/device_host.h"
#include "setup/device_list.h"
#include "ui/message_box.h"
#include "ui/worker.h"

namespace lumisk {

namespace {

using namespace std::chrono_literals;

constexpr int ProbeReads = 3;
constexpr auto ProbeReadPause = 1000ms;

// The probe's number in the high bits and its outcome in the low two: one atomic word, so an
// outcome lands only while its own probe is the current one.
std::atomic<std::uint64_t> probeState{0};

std::uint64_t State(std::uint64_t probe, int outcome) {
    return (probe << 2) | static_cast<std::uint64_t>(outcome & 0x3);
}

int OutcomeOf(std::uint64_t state) {
    const int bits = static_cast<int>(state & 0x3);
    return bits == 0x3 ? WebProbeUnreachable : bits;
}

// Back to pending for the current probe.
void ResetResult() {
    const std::uint64_t probe = probeState.load() >> 2;
    probeState.store(State(probe, WebProbePending));
}

}  // namespace

int WebProbeResult() {
    return OutcomeOf(probeState.load());
}

void StartWebProbe(std::shared_ptr<WebConnector> web) {
    const std::uint64_t probe = (probeState.load() >> 2) + 1;
    probeState.store(State(probe, WebProbePending));
    ui::StartWorker([web = std::move(web), probe, host = std::string(TextOf(DeviceHostText))] {
        WebProbe(*web, probe, host);
    });
}

int WebProbe(WebConnector& web, std::uint64_t probe, const std::string& host) {
    char url[64];
    std::snprintf(url, sizeof url, "http://%s", host.c_str());
    const int outcome = web.CanConnect(url) ? WebProbeReachable : WebProbeUnreachable;
    std::uint64_t pending = State(probe, WebProbePending);
    probeState.compare_exchange_strong(pending, State(probe, outcome));
    return 0;
}

bool ConfirmDeviceAvailable(MainWindowControls& window) {
    for (int reads = 1;; ++reads) {
        const int outcome = WebProbeResult();
        if (outcome == WebProbeReachable) {
            ResetResult();
            return true;
        }
        if (outcome == WebProbeUnreachable || reads >= ProbeReads) {
            break;
        }
        window.dialog.WaitFor([&window] {
            window.host.clock.Sleep(ProbeReadPause);
            return 0;
        });
    }
    ResetResult();
    ui::ShowMessage(&window.dialog, "Device is no longer available.", "Warnning",
                    ui::MessageIcon::Exclamation);
    FullRefresh(window);
    return false;
}

}  // namespace lumisk
