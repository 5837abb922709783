#include "setup/web_connector.h"

#ifdef _WIN32
#include <windows.h>
#include <wininet.h>
#else
#include <cerrno>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
class InternetConnectionTest final : public WebConnector {
public:
    bool CanConnect(const std::string& url) override {
        return InternetCheckConnectionA(url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
    }
};
#else
constexpr char HttpPrefix[] = "http://";
constexpr char HttpPort[] = "80";
// Long enough for any LAN; the window stops waiting after about two seconds anyway.
constexpr int ConnectTimeoutMilliseconds = 5000;

class TcpConnectionTest final : public WebConnector {
public:
    bool CanConnect(const std::string& url) override {
        if (url.rfind(HttpPrefix, 0) != 0) {
            return false;
        }
        const std::string host = url.substr(sizeof HttpPrefix - 1);
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* addresses = nullptr;
        if (host.empty() || getaddrinfo(host.c_str(), HttpPort, &hints, &addresses) != 0) {
            return false;
        }
        const bool connected = Connect(*addresses);
        freeaddrinfo(addresses);
        return connected;
    }

private:
    static bool Connect(const addrinfo& address) {
        const int socket =
            ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (socket < 0) {
            return false;
        }
        bool connected = connect(socket, address.ai_addr, address.ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            pollfd waiting{socket, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            connected = poll(&waiting, 1, ConnectTimeoutMilliseconds) == 1 &&
                        getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                        error == 0;
        }
        close(socket);
        return connected;
    }
};
#endif

}  // namespace

std::unique_ptr<WebConnector> MakeSystemWebConnector() {
#ifdef _WIN32
    return std::make_unique<InternetConnectionTest>();
#else
    return std::make_unique<TcpConnectionTest>();
#endif
}

}  // namespace lumisk
