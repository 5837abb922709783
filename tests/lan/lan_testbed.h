#pragma once
// A LAN of two network namespaces for integration tests: a workstation, 192.0.2.1, and the LAN
// where lumisk-sim plays adapters, joined by a veth pair; with three cards, two more LANs (see
// testbed.sh). Needs root and the ip tool; each testbed has its own names, so test processes may
// run side by side.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumisk::lan {

using namespace std::chrono_literals;

struct ProgramResult {
    int exitCode;  // -1 when the program did not start, was killed or ran out of time
    std::string out;
    std::string err;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWhole(const std::string& path);

// The fields of /proc/PID/stat that follow the command, from the state (field 3) on: index 0 the
// state, 2 the process group, 19 the start time. Empty when there is no such process.
std::vector<std::string> ProcessStat(pid_t pid);

// Runs a program where the test runs, to its end, feeding it `stdinText`; a program still running
// at the timeout is killed.
ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& stdinText = {},
                         std::chrono::milliseconds timeout = 60s);
// RunProgram() for a Windows program's command under Wine: output with Windows line ends made '\n'.
ProgramResult RunWindowsProgram(const std::vector<std::string>& command,
                                const std::string& stdinText = {},
                                std::chrono::milliseconds timeout = 60s);

class LanTestbed {
public:
    // True when a testbed can be made here; otherwise `why` says what is missing.
    static bool Available(std::string& why);
    // Whether an unavailable testbed fails the tests instead of skipping them: the CI variable.
    static bool Required();

    // `cards`: 1, or 3 for a workstation with three cards.
    explicit LanTestbed(int cards = 1);
    // Stop().
    ~LanTestbed();
    LanTestbed(const LanTestbed&) = delete;
    LanTestbed& operator=(const LanTestbed&) = delete;

    // Makes the namespaces; false, with a test failure, when that fails. First removes what the
    // testbeds of test processes that are gone left behind, as their records name it; from then
    // on this one keeps a record of its own, and SIGTERM or SIGINT ends it too.
    bool Start();
    // Leaves the workstation, ends every process started here by its pid (SIGTERM, then SIGKILL),
    // deletes the namespaces, the temporary directory and the record. Safe to call more than once.
    void Stop();

    const std::string& Name() const { return name_; }
    int Cards() const { return cards_; }
    std::string WorkstationNamespace() const;
    // LAN `lan` of 1, 2 and 3; the workstation's card to it, and its end of the veth pair, where
    // the simulator puts the adapters' addresses.
    std::string LanNamespace(int lan = 1) const;
    const std::string& WorkstationInterface(int lan = 1) const { return veths_.at(lan - 1).first; }
    const std::string& LanInterface(int lan = 1) const { return veths_.at(lan - 1).second; }
    // The address of the workstation's card to LAN `lan`.
    static std::string WorkstationIp(int lan = 1);
    // The LAN's end of the veth pair, where servers in the LAN can be reached.
    static std::string LanIp();
    // A path in this testbed's temporary directory, removed by Stop().
    std::string TemporaryPath(const std::string& fileName) const;

    // Runs lumisk-sim in the LAN with --interface and --ready-file set, then `arguments`, and
    // waits for it to be ready. Its pid, or -1 with a test failure that quotes its output.
    pid_t StartSimulator(const std::vector<std::string>& arguments,
                         std::chrono::milliseconds readyTimeout = 10s, int lan = 1);
    // Ends a simulator started here; its exit status, or -1 when it did not end by itself.
    int StopSimulator(pid_t pid);
    // What the simulator has written to standard output and standard error so far.
    std::string SimulatorLog(pid_t pid) const;

    // Runs `argv` in the LAN in a process group of its own, its output going to `logFile`: for
    // servers whose workers are their children. Its pid, or -1 with a test failure.
    pid_t StartInLan(const std::vector<std::string>& argv, const std::string& logFile);
    // Ends a program started by StartInLan() and the rest of its process group (SIGTERM, then
    // SIGKILL); its exit status, or -1 when it did not end by itself or was ended already.
    int StopInLan(pid_t pid);

    // StartInLan() and StopInLan() for the workstation.
    pid_t StartInWorkstation(const std::vector<std::string>& argv, const std::string& logFile);
    int StopInWorkstation(pid_t pid);

    // Starts a virtual X display (Xvfb) in the workstation until Stop(): its name for DISPLAY
    // (":N"), or empty with a test failure.
    std::string StartVirtualDisplay();

    // Whether a TCP connection from the workstation to address:port is accepted now.
    bool WorkstationConnects(const std::string& address, int port);

    // Sends one UDP datagram from LAN `lan` to address:port, as a device there would.
    void SendFromLan(int lan, const std::vector<std::uint8_t>& datagram, const std::string& address,
                     int port);

    // A file that programs started in the LAN from now on see in place of /etc/`etcName`.
    void SetLanFile(const std::string& etcName, const std::string& content);
    // The workstation's /etc/hosts from now on: localhost and each name at its address. Programs
    // run in the workstation see it, and so does the thread between EnterWorkstation() and
    // LeaveWorkstation().
    void SetWorkstationHosts(const std::vector<std::pair<std::string, std::string>>& nameToIp);
    // SetWorkstationHosts() with this host's own name at `ip`.
    void ResolveHostNameTo(const std::string& ip);

    ProgramResult RunInWorkstation(const std::vector<std::string>& argv,
                                   const std::string& stdinText = {},
                                   std::chrono::milliseconds timeout = 60s);
    ProgramResult RunInLan(const std::vector<std::string>& argv, const std::string& stdinText = {},
                           std::chrono::milliseconds timeout = 60s);
    // Runs the Windows program argv[0] under Wine in the workstation. On first use the testbed
    // makes its own Wine prefix from `templatePrefix` (hard links beside it) and starts its
    // wineserver, which owns Wine's sockets, in the workstation's namespace until Stop(). Output
    // comes back with Windows line ends made '\n'.
    ProgramResult RunUnderWineInWorkstation(const std::string& templatePrefix,
                                            const std::vector<std::string>& argv,
                                            const std::string& stdinText = {},
                                            std::chrono::milliseconds timeout = 60s);
    // What RunUnderWineInWorkstation() runs, with the Wine session started, for RunWindowsProgram()
    // on another thread while this one goes on using the testbed; empty, with a test failure, when
    // Wine cannot start.
    std::vector<std::string> WineCommandInWorkstation(const std::string& templatePrefix,
                                                      const std::vector<std::string>& argv);

    // Moves the calling thread into the workstation's network namespace and back, so sockets it
    // opens in between live on the workstation. Use from a single-threaded test. After
    // SetWorkstationHosts() the thread also sees that hosts file as /etc/hosts in between: on its
    // first entry it moves for good into a mount namespace of its own, a slave of the host's.
    void EnterWorkstation();
    void LeaveWorkstation();

private:
    // Writes what a clean-up after this process has gone must end and remove (testbed.sh reap).
    void Record() const;
    std::string RecordPath() const;
    ProgramResult RunInNamespace(const std::string& ns, const std::vector<std::string>& argv,
                                 const std::string& stdinText, std::chrono::milliseconds timeout);
    pid_t StartGroupInNamespace(const std::string& ns, const std::vector<std::string>& argv,
                                const std::string& logFile, std::set<pid_t>& started);
    // ip netns exec mounts /etc/netns/NAMESPACE/FILE over /etc/FILE for what it starts.
    std::string NamespaceEtcFile(const std::string& ns, const std::string& etcName) const;
    void WriteNamespaceEtcFile(const std::string& ns, const std::string& etcName,
                               const std::string& content);
    void EnterWorkstationHosts();
    static std::string WineLoader();
    bool StartWine(const std::string& templatePrefix);
    // `program` and `arguments` in the workstation with this testbed's Wine prefix.
    std::vector<std::string> WineCommand(const std::string& program,
                                         const std::vector<std::string>& arguments) const;

    std::string name_;
    std::string temporaryDirectory_;
    int cards_;
    std::vector<std::pair<std::string, std::string>> veths_;  // per LAN: workstation end, LAN end
    bool started_ = false;
    int originalNamespace_ = -1;  // open while the thread is in the workstation
    bool workstationHosts_ = false;
    bool hostsMounted_ = false;  // over /etc/hosts while the thread is in the workstation
    int simulatorsStarted_ = 0;
    std::map<pid_t, std::string> simulatorLogs_;  // the simulators still running, and their logs
    std::set<pid_t> lanPrograms_;                 // started by StartInLan() and still running
    std::string winePrefix_;                      // made by StartWine(), removed by Stop()
    std::set<pid_t> workstationPrograms_;         // started by StartInWorkstation(), running
};

// Holds the calling thread in the workstation for its lifetime.
class InWorkstation {
public:
    explicit InWorkstation(LanTestbed& testbed) : testbed_(testbed) { testbed_.EnterWorkstation(); }
    ~InWorkstation() { testbed_.LeaveWorkstation(); }
    InWorkstation(const InWorkstation&) = delete;
    InWorkstation& operator=(const InWorkstation&) = delete;

private:
    LanTestbed& testbed_;
};

// A fixture whose tests run with a started testbed in `testbed_`. Skips them where no testbed can
// be made, and fails them instead when LanTestbed::Required().
class LanTest : public ::testing::Test {
protected:
    explicit LanTest(int cards = 1) : testbed_(cards) {}
    void SetUp() override;
    void TearDown() override;

    LanTestbed testbed_;
};

}  // namespace lumisk::lan

// For tests that manage a testbed themselves: the same skip-or-fail as LanTest, in a test body.
#define LUMISK_REQUIRE_LAN_TESTBED()                                                 \
    do {                                                                             \
        std::string lanTestbedMissing;                                               \
        if (!::lumisk::lan::LanTestbed::Available(lanTestbedMissing)) {              \
            if (::lumisk::lan::LanTestbed::Required()) {                             \
                FAIL() << "no LAN testbed, though CI is set: " << lanTestbedMissing; \
            }                                                                        \
            GTEST_SKIP() << "no LAN testbed: " << lanTestbedMissing;                 \
        }                                                                            \
    } while (false)
