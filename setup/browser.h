#pragma once
// Opening a web page in the user's browser: a separate process, never waited for, whose failure
// goes unnoticed.

#include <memory>
#include <string>

namespace lumisk {

class BrowserLauncher {
public:
    virtual ~BrowserLauncher() = default;
    virtual void OpenUrl(const std::string& url) = 0;
};

// Windows: "explorer " and the URL, started hidden. Elsewhere: xdg-open with the URL.
std::unique_ptr<BrowserLauncher> MakeSystemBrowser();

}  // namespace lumisk
