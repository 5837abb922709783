#include "setup/web_connector.h"

#include <optional>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <cerrno>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

constexpr char HttpPrefix[] = "http://";
constexpr char HttpPort[] = "80";
// Long enough for any LAN; the window stops waiting after about two seconds anyway.
constexpr int ConnectTimeoutMilliseconds = 5000;

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket NoSocket = INVALID_SOCKET;

// Winsock counts its users: the probe's thread takes it for the time of its attempt.
class SocketLibrary {
public:
    SocketLibrary() : started_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
    ~SocketLibrary() {
        if (started_) {
            WSACleanup();
        }
    }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    bool Started() const { return started_; }

private:
    WSADATA data_{};
    bool started_;
};

Socket OpenNonBlockingSocket() {
    const Socket socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    if (socket != NoSocket && ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        closesocket(socket);
        return NoSocket;
    }
    return socket;
}

void Close(Socket socket) {
    closesocket(socket);
}

bool ConnectionUnderWay() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

// A connection under way shows writable once made and in the exception set once refused.
bool AwaitConnection(Socket socket) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval timeout{ConnectTimeoutMilliseconds / 1000, ConnectTimeoutMilliseconds % 1000 * 1000};
    return select(0, nullptr, &writable, &failed, &timeout) == 1 && FD_ISSET(socket, &writable);
}
#else
using Socket = int;
constexpr Socket NoSocket = -1;

Socket OpenNonBlockingSocket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

void Close(Socket socket) {
    close(socket);
}

bool ConnectionUnderWay() {
    return errno == EINPROGRESS;
}

bool AwaitConnection(Socket socket) {
    pollfd waiting{socket, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    return poll(&waiting, 1, ConnectTimeoutMilliseconds) == 1 &&
           getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}
#endif

bool Connect(const addrinfo& address) {
    const Socket socket = OpenNonBlockingSocket();
    if (socket == NoSocket) {
        return false;
    }
    const bool connected =
        connect(socket, address.ai_addr, static_cast<socklen_t>(address.ai_addrlen)) == 0 ||
        (ConnectionUnderWay() && AwaitConnection(socket));
    Close(socket);
    return connected;
}

// The host and port of "http://HOST" or "http://HOST:PORT".
struct WebServer {
    std::string host;
    std::string port;
};

std::optional<WebServer> ServerOf(const std::string& url) {
    if (url.rfind(HttpPrefix, 0) != 0) {
        return std::nullopt;
    }
    const std::string authority = url.substr(sizeof HttpPrefix - 1);
    const std::size_t colon = authority.find(':');
    WebServer server{authority.substr(0, colon),
                     colon == std::string::npos ? HttpPort : authority.substr(colon + 1)};
    if (server.host.empty() || server.port.empty()) {
        return std::nullopt;
    }
    return server;
}

// A TCP connection to the web server, through the system's sockets on both platforms: WinINet's
// own connection test depends on its proxy settings and offline mode.
class TcpConnectionTest final : public WebConnector {
public:
    bool CanConnect(const std::string& url) override {
#ifdef _WIN32
        const SocketLibrary library;
        if (!library.Started()) {
            return false;
        }
#endif
        const std::optional<WebServer> server = ServerOf(url);
        // Adapters are addressed by their IP text: no name is looked up.
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        addrinfo* addresses = nullptr;
        if (!server ||
            getaddrinfo(server->host.c_str(), server->port.c_str(), &hints, &addresses) != 0) {
            return false;
        }
        const bool connected = Connect(*addresses);
        freeaddrinfo(addresses);
        return connected;
    }
};

}  // namespace

std::shared_ptr<WebConnector> MakeSystemWebConnector() {
    return std::make_shared<TcpConnectionTest>();
}

}  // namespace lumisk
