#pragma once
// A testbed's end of the link for a test program in its workstation that cannot make a testbed of
// its own: a Windows test under Wine, whose end is tests/windows/lan_testbed_link.h. Each of the
// program's tests begins and ends over the link, starts simulators, and reads files back.
//
// LanTestbed is not for threads: the requests are carried out on the thread that serves the link,
// while the program runs on another thread that never touches the testbed.

#include <sys/types.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "tests/lan/lan_testbed.h"
#include "tests/lan/link_messages.h"

namespace lumisk::lan {

class TestbedLink {
public:
    // `testbed` is started, and outlives the link.
    explicit TestbedLink(LanTestbed& testbed) : testbed_(testbed) {}
    ~TestbedLink();
    TestbedLink(const TestbedLink&) = delete;
    TestbedLink& operator=(const TestbedLink&) = delete;

    // Listens on the workstation's address, on a port the system picks: false, with a test failure,
    // when it cannot. Call from outside the workstation.
    bool Listen();
    // "address:port", for link::AddressVariable in the program's environment.
    std::string Address() const;

    // Runs `command` as RunWindowsProgram() does, on a thread of its own, and serves the link from
    // this thread until it ends.
    ProgramResult ServeWhileRunning(const std::vector<std::string>& command,
                                    std::chrono::milliseconds timeout);

private:
    void ServeConnection(SocketHandle connection);
    // The reply: the test failures that carrying out `request` caused, then its values.
    link::Message Answer(const link::Message& request);
    link::Message CarryOut(const link::Message& request);
    void StopTestSimulators();
    std::string TestPath(const std::string& fileName) const;

    LanTestbed& testbed_;
    SocketHandle listener_ = InvalidSocket;
    int port_ = 0;
    int testsBegun_ = 0;
    std::string testDirectory_;       // the current test's, in the testbed's
    std::set<pid_t> testSimulators_;  // started by the current test and still running
};

}  // namespace lumisk::lan
