// The web connection test and the browser launch on the system's own sockets and shell, on Linux
// and under Wine: what each URL and each result of the system gives.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// After Winsock's headers, which must come before the windows.h that this one includes.
#include <shellapi.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <string>

#include "setup/browser.h"
#include "setup/web_connector.h"

namespace lumisk {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
void Close(Socket socket) {
    closesocket(socket);
}
#else
using Socket = int;
void Close(Socket socket) {
    close(socket);
}
#endif

// A server on a port of 127.0.0.1 that the system picks, listening until closed.
class Listener {
public:
    Listener() {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(socket_, 1);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    }
    ~Listener() {
        Close(socket_);
#ifdef _WIN32
        WSACleanup();
#endif
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    const std::string& Url() const {
        return url_;
    }

private:
    Socket socket_;
    std::string url_;
};

TEST(WebConnection, OnlyAListeningServerAtAnAddressConnects) {
    const auto web = MakeSystemWebConnector();
    std::string closed;
    {
        const Listener listener;
        closed = listener.Url();
        EXPECT_TRUE(web->CanConnect(listener.Url())) << listener.Url();
    }
    const struct {
        std::string url;
        const char* what;
    } refused[] = {
        {closed, "a port nobody listens on"},
        {"http://", "no host"},
        {"http://127.0.0.1:", "no port after the colon"},
        {"ftp://127.0.0.1", "not http"},
        // Adapters are addressed by their IP text; a name is never looked up.
        {"http://lumisk-absent.invalid", "a name"},
    };
    for (const auto& row : refused) {
        EXPECT_FALSE(web->CanConnect(row.url)) << row.what << ": " << row.url;
    }
}

#ifdef _WIN32
// ShellExecuteW's results up to 32 are its documented errors; anything above is success.
TEST(WebConnection, TheShellsErrorsAreNoticed) {
    const struct {
        std::intptr_t result;
        bool opened;
    } rows[] = {{0, false},
                {ERROR_FILE_NOT_FOUND, false},
                {SE_ERR_ACCESSDENIED, false},
                {SE_ERR_OOM, false},
                {SE_ERR_NOASSOC, false},
                {SE_ERR_DLLNOTFOUND, false},
                {33, true},
                {42, true}};
    for (const auto& row : rows) {
        std::wstring asked;
        const auto browser = MakeShellBrowser([&](const std::wstring& url) {
            asked = url;
            return row.result;
        });
        EXPECT_EQ(browser->OpenUrl("http://192.0.2.20"), row.opened) << row.result;
        EXPECT_EQ(asked, L"http://192.0.2.20");
    }
}
#endif

}  // namespace
}  // namespace lumisk
