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
#endif

#include <gtest/gtest.h>

#include <string>

#include "protocol/socket_api.h"
#include "setup/browser.h"
#include "setup/web_connector.h"

namespace lumisk {
namespace {

// Only a server that listens at an address connects: not a port nobody listens on, nor a URL
// without a host or a port after its colon, nor another scheme, nor a name, which is never looked
// up (adapters are addressed by their IP text).
TEST(WebConnection, OnlyAListeningServerAtAnAddressConnects) {
    ASSERT_TRUE(StartSocketLibrary());
    const SocketHandle listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const auto web = MakeSystemWebConnector();
    EXPECT_TRUE(web->CanConnect(url)) << url;
    CloseSocket(listener);
    for (const std::string& refused :
         {url, std::string("http://"), std::string("http://127.0.0.1:"),
          std::string("ftp://127.0.0.1"), std::string("http://lumisk-absent.invalid")}) {
        EXPECT_FALSE(web->CanConnect(refused)) << refused;
    }
    StopSocketLibrary();
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
