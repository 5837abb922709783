#pragma once
// A browser that only notes the pages it was asked to open.

#include <string>
#include <vector>

#include "setup/browser.h"

namespace lumisk::testing {

class RecordingBrowser final : public BrowserLauncher {
public:
    void OpenUrl(const std::string& url) override { urls.push_back(url); }

    std::vector<std::string> urls;
};

}  // namespace lumisk::testing
