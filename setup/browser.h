#pragma once
// Opening a web page in the user's browser: a separate process, never waited for once it runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lumisk {

class BrowserLauncher {
public:
    virtual ~BrowserLauncher() = default;
    // False when the browser could not be started, or its opener failed at once.
    virtual bool OpenUrl(const std::string& url) = 0;
};

// Windows: the shell opens the URL (ShellExecuteW), in the user's browser. Elsewhere: xdg-open
// with the URL, whose exit status counts while it comes within a moment; an xdg-open still
// running then has handed the page on to a browser.
std::unique_ptr<BrowserLauncher> MakeSystemBrowser();

#ifdef _WIN32
// Opens a URL in the shell: what ShellExecuteW returns, as a number.
using ShellOpen = std::function<std::intptr_t(const std::wstring& url)>;
// The Windows browser on `open` in place of ShellExecuteW.
std::unique_ptr<BrowserLauncher> MakeShellBrowser(ShellOpen open);
#endif

}  // namespace lumisk
