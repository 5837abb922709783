#pragma once
// Whether the selected adapter is still there: a worker tries its web server while the window
// waits up to about two seconds for the answer.

#include <cstdint>
#include <memory>
#include <string>

#include "setup/main_window_controls.h"

namespace lumisk {

enum WebProbeOutcome { WebProbePending = 0, WebProbeReachable = 1, WebProbeUnreachable = -1 };

// The outcome of the probe started last: 0 pending, 1 reachable, -1 not reachable. A probe that
// finishes after a later one has started leaves it alone, so a late answer never confirms a
// later check.
int WebProbeResult();

// Starts a WebProbe of DeviceHostText, as it is now, on a new worker thread, which shares the
// connector for as long as it runs.
void StartWebProbe(std::shared_ptr<WebConnector> web);

// The body of the worker: tries "http://" and `host`, then stores the outcome unless a later
// probe has started since. Returns 0.
int WebProbe(WebConnector& web, std::uint64_t probe, const std::string& host);

// Reads the probe's outcome up to three times, a second apart. True when the adapter answered;
// otherwise "Device is no longer available." and a FullRefresh.
bool ConfirmDeviceAvailable(MainWindowControls& window);

}  // namespace lumisk
