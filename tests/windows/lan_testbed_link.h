#pragma once
// The LAN testbed as a Windows test program under Wine sees it: the part of tests/lan/lan_testbed.h
// that GUI tests use, with the same names, so that their sources build for both. The program runs
// in the workstation of a testbed that the Linux build's lan_window_wine_test made; every request
// goes over the link to it (tests/lan/testbed_link.h), whose address that test puts in the
// environment. Paths are the testbed's: Linux paths, for the simulator's arguments and ReadWhole().

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lumisk::lan {

using namespace std::chrono_literals;

// The whole content of a file in the testbed; empty when it cannot be read.
std::string ReadWhole(const std::string& path);

class LanTestbed {
public:
    // `cards`: the workstation's cards that the test needs, 1 or 3.
    explicit LanTestbed(int cards = 1) : cards_(cards) {}

    // A path in the current test's temporary directory.
    std::string TemporaryPath(const std::string& fileName) const;

    // Runs lumisk-sim in LAN `lan` with `arguments` and waits for it to be ready. Its pid, or -1
    // with a test failure that quotes its output. The test's end stops it.
    int StartSimulator(const std::vector<std::string>& arguments,
                       std::chrono::milliseconds readyTimeout = 10s, int lan = 1);
    // Ends a simulator started here; its exit status, or -1 when it did not end by itself.
    int StopSimulator(int pid);
    // What the simulator has written to standard output and standard error so far.
    std::string SimulatorLog(int pid) const;

private:
    friend class LanTest;
    int cards_;
};

// The program already runs in the workstation: nothing to enter.
class InWorkstation {
public:
    explicit InWorkstation(LanTestbed&) {}
    InWorkstation(const InWorkstation&) = delete;
    InWorkstation& operator=(const InWorkstation&) = delete;
};

// A fixture whose tests begin and end over the link, with `testbed_`. Skips them when the program
// has no link, or when the testbed has other cards than `cards`.
class LanTest : public ::testing::Test {
protected:
    explicit LanTest(int cards = 1) : testbed_(cards) {}
    void SetUp() override;
    void TearDown() override;

    LanTestbed testbed_;

private:
    bool begun_ = false;
};

}  // namespace lumisk::lan
