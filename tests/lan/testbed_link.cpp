#include "tests/lan/testbed_link.h"

#include <arpa/inet.h>
#include <gtest/gtest-spi.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <future>
#include <optional>
#include <string_view>

namespace lumisk::lan {
namespace {

// How long the end of the program's run may go unnoticed.
constexpr int PollStepMs = 100;
// A program sends its request at once and reads its reply at once.
constexpr std::chrono::seconds ConnectionTimeout{10};
constexpr int Backlog = 4;
constexpr std::string_view FailureHeading = "Failed\n";

}  // namespace

TestbedLink::~TestbedLink() {
    if (listener_ != InvalidSocket) {
        close(listener_);
    }
}

bool TestbedLink::Listen() {
    // A socket stays in the namespace where it was made.
    testbed_.EnterWorkstation();
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    testbed_.LeaveWorkstation();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t size = sizeof address;
    if (listener_ == InvalidSocket ||
        inet_pton(AF_INET, LanTestbed::WorkstationIp().c_str(), &address.sin_addr) != 1 ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, Backlog) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ADD_FAILURE() << "the testbed link cannot listen on " << LanTestbed::WorkstationIp() << ": "
                      << std::strerror(errno);
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

std::string TestbedLink::Address() const {
    return LanTestbed::WorkstationIp() + ":" + std::to_string(port_);
}

ProgramResult TestbedLink::ServeWhileRunning(const std::vector<std::string>& command,
                                             std::chrono::milliseconds timeout) {
    std::future<ProgramResult> run = std::async(std::launch::async, [&command, timeout] {
        return RunWindowsProgram(command, {}, timeout);
    });
    while (run.wait_for(std::chrono::seconds{0}) != std::future_status::ready) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, PollStepMs) <= 0) {
            continue;
        }
        const SocketHandle connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection != InvalidSocket) {
            ServeConnection(connection);
            close(connection);
        }
    }
    return run.get();
}

void TestbedLink::ServeConnection(SocketHandle connection) {
    // Neither a stalled program nor a lost reply holds the link for the others.
    const timeval limit{ConnectionTimeout.count(), 0};
    setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const std::optional<link::Message> request = link::Receive(connection, ConnectionTimeout);
    if (!request || request->empty()) {
        ADD_FAILURE() << "the testbed link received no whole request";
        return;
    }
    link::Send(connection, Answer(*request));
}

link::Message TestbedLink::Answer(const link::Message& request) {
    // The program reports them as its own test's; here they would fail the program's run twice.
    testing::TestPartResultArray failures;
    link::Message reply;
    {
        const testing::ScopedFakeTestPartResultReporter intercept(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        try {
            reply = CarryOut(request);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "the testbed link's request \"" << request.front()
                          << "\" failed: " << error.what();
        }
    }
    std::string failureText;
    for (int index = 0; index < failures.size(); ++index) {
        std::string_view message = failures.GetTestPartResult(index).message();
        // ADD_FAILURE()'s heading: the program's own failure has one.
        if (message.starts_with(FailureHeading)) {
            message.remove_prefix(FailureHeading.size());
        }
        failureText += (index == 0 ? "" : "\n");
        failureText += message;
    }
    reply.insert(reply.begin(), failureText);
    return reply;
}

link::Message TestbedLink::CarryOut(const link::Message& request) {
    const std::string& name = request.front();
    const auto numberAt = [&request](std::size_t index) {
        std::optional<long long> value;
        if (index < request.size()) {
            value = link::Number(request[index]);
        }
        if (!value) {
            ADD_FAILURE() << "the testbed link's request \"" << request.front()
                          << "\" lacks a number at " << index;
        }
        return value;
    };
    if (name == link::BeginRequest) {
        StopTestSimulators();
        testDirectory_ = testbed_.TemporaryPath("test-" + std::to_string(++testsBegun_));
        std::filesystem::create_directories(testDirectory_);
        return {std::to_string(testbed_.Cards())};
    }
    if (name == link::EndRequest) {
        StopTestSimulators();
        testDirectory_.clear();
        return {};
    }
    if (name == link::StartRequest) {
        const std::optional<long long> readyTimeout = numberAt(1);
        const std::optional<long long> lan = numberAt(2);
        if (!readyTimeout || !lan) {
            return {"-1"};
        }
        if (*lan < 1 || *lan > testbed_.Cards()) {
            ADD_FAILURE() << "no LAN " << *lan << " in a testbed of " << testbed_.Cards()
                          << " cards";
            return {"-1"};
        }
        const pid_t pid = testbed_.StartSimulator({request.begin() + 3, request.end()},
                                                  std::chrono::milliseconds(*readyTimeout),
                                                  static_cast<int>(*lan));
        if (pid > 0) {
            testSimulators_.insert(pid);
        }
        return {std::to_string(pid)};
    }
    if (name == link::StopRequest || name == link::LogRequest) {
        const std::optional<long long> pid = numberAt(1);
        if (!pid) {
            return {};
        }
        if (name == link::LogRequest) {
            return {testbed_.SimulatorLog(static_cast<pid_t>(*pid))};
        }
        testSimulators_.erase(static_cast<pid_t>(*pid));
        return {std::to_string(testbed_.StopSimulator(static_cast<pid_t>(*pid)))};
    }
    if ((name == link::PathRequest || name == link::ReadRequest) && request.size() == 2) {
        return {name == link::PathRequest ? TestPath(request[1]) : ReadWhole(request[1])};
    }
    ADD_FAILURE() << "the testbed link has no request \"" << name << "\" of " << request.size() - 1
                  << " values";
    return {};
}

void TestbedLink::StopTestSimulators() {
    for (const pid_t pid : testSimulators_) {
        testbed_.StopSimulator(pid);
    }
    testSimulators_.clear();
}

std::string TestbedLink::TestPath(const std::string& fileName) const {
    if (testDirectory_.empty()) {
        ADD_FAILURE() << "a temporary path outside a test: " << fileName;
        return {};
    }
    return testDirectory_ + "/" + fileName;
}

}  // namespace lumisk::lan
