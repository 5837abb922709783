#pragma once
// Opening a web page in the user's browser: a separate process, never waited for once it runs.

#include <memory>
#include <string>

namespace lumisk {

class BrowserLauncher {
public:
    virtual ~BrowserLauncher() = default;
    // False when the browser could not be started, or its opener failed at once.
    virtual bool OpenUrl(const std::string& url) = 0;
};

// Windows: "explorer " and the URL, started hidden. Elsewhere: xdg-open with the URL, whose exit
// status counts while it comes within a moment; an xdg-open still running then has handed the
// page on to a browser.
std::unique_ptr<BrowserLauncher> MakeSystemBrowser();

}  // namespace lumisk
