#pragma once
// A browser that only notes the pages it was asked to open, or fails to start when told to.

#include <string>
#include <vector>

#include "setup/browser.h"

namespace lumisk::testing {

class RecordingBrowser final : public BrowserLauncher {
public:
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return !missing;
    }

    std::vector<std::string> urls;
    bool missing = false;
};

}  // namespace lumisk::testing
