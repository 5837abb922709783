#pragma once
// Whether a connection to an adapter's web page can be made: a real attempt, never a cache.

#include <memory>
#include <string>

namespace lumisk {

class WebConnector {
public:
    virtual ~WebConnector() = default;
    // `url` is "http://" and a host; true when a connection to its web server opens. Called on
    // a worker thread.
    virtual bool CanConnect(const std::string& url) = 0;
};

// A TCP connection to port 80 of the host (or the port the URL names), within five seconds.
std::shared_ptr<WebConnector> MakeSystemWebConnector();

}  // namespace lumisk
