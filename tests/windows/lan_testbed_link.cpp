#include "tests/windows/lan_testbed_link.h"

#include <winsock2.h>

#include <cstdlib>
#include <optional>
#include <utility>

#include "protocol/socket_api.h"
#include "tests/lan/link_messages.h"

namespace lumisk::lan {
namespace {

// The testbed's longest answer beyond a simulator's ready time: stopping a test's simulators
// takes seconds each.
constexpr std::chrono::seconds AnswerTime{60};

// The socket of one request, closed with it.
class Connection {
public:
    Connection() : socket_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Connection() {
        if (socket_ != InvalidSocket) {
            CloseSocket(socket_);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    SocketHandle Get() const { return socket_; }

private:
    SocketHandle socket_;
};

// A reply, or what kept it from coming.
struct Exchanged {
    link::Message reply;
    std::string trouble;  // empty when the reply came
};

Exchanged Exchange(const std::string& address, const link::Message& request,
                   std::chrono::milliseconds timeout) {
    const std::size_t colon = address.rfind(':');
    const std::optional<long long> port =
        colon == std::string::npos ? std::nullopt : link::Number(address.substr(colon + 1));
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = inet_addr(address.substr(0, colon).c_str());
    if (!port || peer.sin_addr.s_addr == INADDR_NONE) {
        return {{}, "not an address:port"};
    }
    peer.sin_port = htons(static_cast<u_short>(*port));
    const Connection connection;
    if (connection.Get() == InvalidSocket ||
        connect(connection.Get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        return {{}, "no connection, Winsock error " + std::to_string(WSAGetLastError())};
    }
    if (!link::Send(connection.Get(), request)) {
        return {{}, "the request could not be sent"};
    }
    std::optional<link::Message> reply = link::Receive(connection.Get(), timeout);
    if (!reply || reply->empty()) {
        return {{}, "no reply within " + std::to_string(timeout.count()) + " ms"};
    }
    return {std::move(*reply), {}};
}

// The values that the testbed replies to `request`, its failures added to the test's; nothing,
// with a test failure, when the link does not answer.
std::optional<link::Message> Ask(const link::Message& request,
                                 std::chrono::milliseconds timeout = AnswerTime) {
    static const bool socketsStarted = StartSocketLibrary();
    const char* address = std::getenv(link::AddressVariable);
    Exchanged exchanged = !socketsStarted      ? Exchanged{{}, "Winsock did not start"}
                          : address == nullptr ? Exchanged{{}, "no address"}
                                               : Exchange(address, request, timeout);
    if (!exchanged.trouble.empty()) {
        ADD_FAILURE() << "the testbed link at " << (address != nullptr ? address : "(none)")
                      << ", request \"" << request.front() << "\": " << exchanged.trouble;
        return std::nullopt;
    }
    link::Message& reply = exchanged.reply;
    if (!reply.front().empty()) {
        ADD_FAILURE() << reply.front();
    }
    reply.erase(reply.begin());
    return reply;
}

int NumberOf(const std::optional<link::Message>& reply, int otherwise = -1) {
    const std::optional<long long> value =
        reply && !reply->empty() ? link::Number(reply->front()) : std::nullopt;
    return value ? static_cast<int>(*value) : otherwise;
}

std::string TextOf(const std::optional<link::Message>& reply) {
    return reply && !reply->empty() ? reply->front() : std::string{};
}

}  // namespace

std::string ReadWhole(const std::string& path) {
    return TextOf(Ask({link::ReadRequest, path}));
}

std::string LanTestbed::TemporaryPath(const std::string& fileName) const {
    return TextOf(Ask({link::PathRequest, fileName}));
}

int LanTestbed::StartSimulator(const std::vector<std::string>& arguments,
                               std::chrono::milliseconds readyTimeout, int lan) {
    link::Message request = {link::StartRequest, std::to_string(readyTimeout.count()),
                             std::to_string(lan)};
    request.insert(request.end(), arguments.begin(), arguments.end());
    return NumberOf(Ask(request, readyTimeout + AnswerTime));
}

int LanTestbed::StopSimulator(int pid) {
    return NumberOf(Ask({link::StopRequest, std::to_string(pid)}));
}

std::string LanTestbed::SimulatorLog(int pid) const {
    return TextOf(Ask({link::LogRequest, std::to_string(pid)}));
}

void LanTest::SetUp() {
    if (std::getenv(link::AddressVariable) == nullptr) {
        GTEST_SKIP() << "no LAN testbed: the Linux build's lan_window_wine_test runs this program "
                        "in one, with "
                     << link::AddressVariable << " set";
    }
    const std::optional<link::Message> reply = Ask({link::BeginRequest});
    ASSERT_TRUE(reply) << "the test cannot begin without the testbed";
    begun_ = true;
    const int cards = NumberOf(reply, 0);
    if (cards != testbed_.cards_) {
        GTEST_SKIP() << "the testbed's workstation has " << cards << " cards; this test needs "
                     << testbed_.cards_;
    }
}

void LanTest::TearDown() {
    if (begun_) {
        Ask({link::EndRequest});
        begun_ = false;
    }
}

}  // namespace lumisk::lan
