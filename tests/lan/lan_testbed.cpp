#include "tests/lan/lan_testbed.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace lumisk::lan {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds WaitStep{5};
constexpr std::chrono::seconds StopGrace{5};
constexpr std::chrono::seconds ToolTimeout{30};
constexpr std::size_t ReadSize = 4096;
constexpr time_t ConnectTimeoutSeconds = 1;
constexpr int WriteAttempts = 3;

// Whether the thread has left the host's mount namespace for a copy of its own, for good: going
// back by setns() fails once other threads share its file system context, as a GUI toolkit's do.
thread_local bool threadHasOwnMounts = false;

// Owns the descriptors the parent keeps of a pipe or a file.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    void Close() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_ = -1;
};

struct Pipe {
    Descriptor read;
    Descriptor write;
};

Pipe MakePipe() {
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    return {Descriptor(ends[0]), Descriptor(ends[1])};
}

// Starts `argv` with the given standard descriptors, in a process group of its own when asked;
// -1 when it could not be started. The test process ignores SIGPIPE (see LanTestbed()); the child
// gets the default back.
pid_t Spawn(const std::vector<std::string>& argv, int in, int out, int err, bool ownGroup = false) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes,
        static_cast<short>(POSIX_SPAWN_SETSIGDEF | (ownGroup ? POSIX_SPAWN_SETPGROUP : 0)));

    std::vector<char*> arguments;
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, arguments[0], &actions, &attributes, arguments.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The process's wait status once it has ended, or nothing at the deadline.
std::optional<int> WaitUntil(pid_t pid, Clock::time_point deadline) {
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            return status;
        }
        if (ended < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(WaitStep);
    }
}

// Whether the group led by `leader` is empty by the deadline; its other members are not our
// children, so they can only be watched, not waited for.
bool GroupEndsBy(pid_t leader, Clock::time_point deadline) {
    while (kill(-leader, 0) == 0) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(WaitStep);
    }
    return true;
}

// SIGTERM, a grace period, then SIGKILL, to the process or to the whole group it leads: the exit
// code, or -1 when anything had to be killed.
int EndProcess(pid_t pid, bool group = false) {
    const pid_t target = group ? -pid : pid;
    kill(target, SIGTERM);
    const Clock::time_point deadline = Clock::now() + StopGrace;
    const std::optional<int> status = WaitUntil(pid, deadline);
    if (status && (!group || GroupEndsBy(pid, deadline))) {
        return ExitCode(*status);
    }
    kill(target, SIGKILL);
    if (!status) {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return -1;
}

// Starts `argv` with no input and its output in `logFile`; -1 when it could not be started.
pid_t SpawnLogged(const std::vector<std::string>& argv, const std::string& logFile, bool ownGroup) {
    const Descriptor noInput(open("/dev/null", O_RDONLY | O_CLOEXEC));
    const Descriptor log(open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    return Spawn(argv, noInput.Get(), log.Get(), log.Get(), ownGroup);
}

// Appends what `stream` has to give to `text`, closing the stream at its end.
void ReadWaiting(Descriptor& stream, short events, std::string& text) {
    if (events == 0) {
        return;
    }
    std::array<char, ReadSize> buffer;
    const ssize_t received = read(stream.Get(), buffer.data(), buffer.size());
    if (received > 0) {
        text.append(buffer.data(), static_cast<std::size_t>(received));
    } else if (received == 0 || errno != EINTR) {
        stream.Close();
    }
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& stdinText,
                         std::chrono::milliseconds timeout) {
    Pipe in = MakePipe();
    Pipe out = MakePipe();
    Pipe err = MakePipe();
    const pid_t pid = Spawn(argv, in.read.Get(), out.write.Get(), err.write.Get());
    in.read.Close();
    out.write.Close();
    err.write.Close();
    if (pid < 0) {
        return {-1, {}, "could not start " + argv.front()};
    }
    fcntl(in.write.Get(), F_SETFL, O_NONBLOCK);
    if (stdinText.empty()) {
        in.write.Close();
    }

    ProgramResult result{-1, {}, {}};
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t written = 0;
    while ((out.read.Get() >= 0 || err.read.Get() >= 0) && Clock::now() < deadline) {
        std::array<pollfd, 3> polled = {pollfd{out.read.Get(), POLLIN, 0},
                                        pollfd{err.read.Get(), POLLIN, 0},
                                        pollfd{in.write.Get(), POLLOUT, 0}};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (poll(polled.data(), polled.size(), static_cast<int>(left.count())) < 0 &&
            errno != EINTR) {
            break;
        }
        ReadWaiting(out.read, polled[0].revents, result.out);
        ReadWaiting(err.read, polled[1].revents, result.err);
        if (polled[2].revents != 0) {
            const ssize_t sent =
                write(in.write.Get(), stdinText.data() + written, stdinText.size() - written);
            if (sent > 0) {
                written += static_cast<std::size_t>(sent);
            }
            if ((sent < 0 && errno != EAGAIN && errno != EINTR) || written == stdinText.size()) {
                in.write.Close();
            }
        }
    }
    if (const std::optional<int> status = WaitUntil(pid, deadline)) {
        result.exitCode = ExitCode(*status);
    } else {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        result.err +=
            "\n[killed: still running after " + std::to_string(timeout.count()) + " ms]\n";
    }
    return result;
}

ProgramResult RunWindowsProgram(const std::vector<std::string>& command,
                                const std::string& stdinText, std::chrono::milliseconds timeout) {
    ProgramResult result = RunProgram(command, stdinText, timeout);
    for (std::string* text : {&result.out, &result.err}) {
        std::erase(*text, '\r');
    }
    return result;
}

namespace {

// Runs `work` on a thread of its own inside the network namespace `ns`, so the caller stays
// wherever it is; false when the namespace could not be entered.
bool InNetworkNamespace(const std::string& ns, const std::function<void()>& work) {
    bool entered = false;
    std::thread([&] {
        const Descriptor target(open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC));
        entered = target.Get() >= 0 && setns(target.Get(), CLONE_NEWNET) == 0;
        if (entered) {
            work();
        }
    }).join();
    return entered;
}

// The start time of process `pid`, as testbed.sh compares it; empty when there is no such process.
std::string StartTime(pid_t pid) {
    constexpr std::size_t StartTimeField = 19;
    const std::vector<std::string> stat = ProcessStat(pid);
    return stat.size() > StartTimeField ? stat[StartTimeField] : std::string{};
}

// What the signal handler below hands to the clean-up, made before any signal can come.
char reapOwner[16];

// The test process ends by SIGTERM or SIGINT: its testbeds end first, through what they
// recorded, then the signal takes its default course. Only calls a handler may make.
void EndTestbedsAndDie(int signal) {
    const pid_t reaper = fork();
    if (reaper == 0) {
        char script[] = LUMISK_TESTBED_SCRIPT;
        char action[] = "reap";
        char* const argv[] = {script, action, reapOwner, nullptr};
        execv(script, argv);
        _exit(127);
    }
    while (reaper > 0 && waitpid(reaper, nullptr, 0) < 0 && errno == EINTR) {
    }
    raise(signal);  // the handler was reset on entry
}

void EndTestbedsOnSignals() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        std::snprintf(reapOwner, sizeof reapOwner, "%d", static_cast<int>(getpid()));
        struct sigaction action {};
        action.sa_handler = EndTestbedsAndDie;
        action.sa_flags = SA_RESETHAND;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    });
}

std::string Probe() {
    if (geteuid() != 0) {
        return "not running as root";
    }
    if (access(LUMISK_SIM_PATH, X_OK) != 0) {
        return std::string("no simulator at ") + LUMISK_SIM_PATH;
    }
    if (access(LUMISK_TESTBED_SCRIPT, X_OK) != 0) {
        return std::string("no testbed script at ") + LUMISK_TESTBED_SCRIPT;
    }
    if (RunProgram({"ip", "-V"}, {}, ToolTimeout).exitCode != 0) {
        return "the ip tool is missing";
    }
    const std::string probe = "lumisk-probe-" + std::to_string(getpid());
    const ProgramResult added = RunProgram({"ip", "netns", "add", probe}, {}, ToolTimeout);
    if (added.exitCode != 0) {
        return "ip netns add fails: " + added.err;
    }
    RunProgram({"ip", "netns", "delete", probe}, {}, ToolTimeout);
    return {};
}

}  // namespace

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> ProcessStat(pid_t pid) {
    const std::string text = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
    // The command, in parentheses, may hold blanks and parentheses itself.
    const std::size_t end = text.rfind(") ");
    std::vector<std::string> fields;
    std::istringstream rest(end == std::string::npos ? std::string{} : text.substr(end + 2));
    for (std::string field; rest >> field;) {
        fields.push_back(field);
    }
    return fields;
}

bool LanTestbed::Available(std::string& why) {
    static const std::string missing = Probe();
    why = missing;
    return missing.empty();
}

bool LanTestbed::Required() {
    return std::getenv("CI") != nullptr;
}

LanTestbed::LanTestbed(int cards) : cards_(cards) {
    static std::atomic<int> testbedsMade{0};
    name_ = "p" + std::to_string(getpid()) + "-" + std::to_string(++testbedsMade);
    // Writing to a program that has ended must fail, not end the test.
    std::signal(SIGPIPE, SIG_IGN);
}

LanTestbed::~LanTestbed() {
    Stop();
}

bool LanTestbed::Start() {
    RunProgram({LUMISK_TESTBED_SCRIPT, "reap"}, {}, ToolTimeout);
    EndTestbedsOnSignals();
    char directory[] = "/tmp/lumisk-lan-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
        return false;
    }
    temporaryDirectory_ = directory;
    started_ = true;
    Record();
    const ProgramResult up =
        RunProgram({LUMISK_TESTBED_SCRIPT, "up", name_, std::to_string(cards_)}, {}, ToolTimeout);
    if (up.exitCode != 0) {
        ADD_FAILURE() << "testbed.sh up " << name_ << " failed: " << up.err;
        Stop();
        return false;
    }
    veths_.clear();
    for (int lan = 1; lan <= cards_; ++lan) {
        std::istringstream names(
            RunProgram({LUMISK_TESTBED_SCRIPT, "veth", name_, std::to_string(lan)}, {}, ToolTimeout)
                .out);
        auto& [workstationEnd, lanEnd] = veths_.emplace_back();
        names >> workstationEnd >> lanEnd;
    }
    return true;
}

void LanTestbed::Stop() {
    LeaveWorkstation();
    workstationHosts_ = false;
    while (!simulatorLogs_.empty()) {
        StopSimulator(simulatorLogs_.begin()->first);
    }
    while (!lanPrograms_.empty()) {
        StopInLan(*lanPrograms_.begin());
    }
    while (!workstationPrograms_.empty()) {
        StopInWorkstation(*workstationPrograms_.begin());
    }
    if (!winePrefix_.empty()) {
        // The server ends the prefix's processes with itself.
        RunProgram(WineCommand("wineserver", {"-k"}), {}, ToolTimeout);
        std::error_code ignored;
        std::filesystem::remove_all(winePrefix_, ignored);
        winePrefix_.clear();
    }
    if (started_) {
        RunProgram({LUMISK_TESTBED_SCRIPT, "down", name_}, {}, ToolTimeout);
        started_ = false;
    }
    if (!temporaryDirectory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryDirectory_, ignored);
        temporaryDirectory_.clear();
        std::filesystem::remove(RecordPath(), ignored);
    }
}

std::string LanTestbed::RecordPath() const {
    static const std::string directory = [] {
        std::string printed = RunProgram({LUMISK_TESTBED_SCRIPT, "records"}, {}, ToolTimeout).out;
        return printed.substr(0, printed.find('\n'));
    }();
    return directory + "/" + name_;
}

void LanTestbed::Record() const {
    std::ostringstream record;
    record << "owner " << getpid() << ' ' << StartTime(getpid()) << '\n'
           << "directory " << temporaryDirectory_ << '\n';
    if (!winePrefix_.empty()) {
        record << "prefix " << winePrefix_ << '\n';
    }
    std::vector<pid_t> processes;
    for (const auto& [pid, log] : simulatorLogs_) {
        processes.push_back(pid);
    }
    processes.insert(processes.end(), lanPrograms_.begin(), lanPrograms_.end());
    processes.insert(processes.end(), workstationPrograms_.begin(), workstationPrograms_.end());
    for (const pid_t pid : processes) {
        if (const std::string start = StartTime(pid); !start.empty()) {
            record << "process " << pid << ' ' << start << '\n';
        }
    }
    // Written aside and renamed, so a clean-up never reads half a record.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(RecordPath()).parent_path(), ignored);
    const std::string partial = RecordPath() + ".partial";
    std::ofstream(partial) << record.str();
    std::filesystem::rename(partial, RecordPath(), ignored);
}

std::string LanTestbed::WorkstationNamespace() const {
    return "lumisk-ws-" + name_;
}

std::string LanTestbed::LanNamespace(int lan) const {
    return lan == 1 ? "lumisk-lan-" + name_ : "lumisk-lan" + std::to_string(lan) + "-" + name_;
}

std::string LanTestbed::WorkstationIp(int lan) {
    static const char* const cardAddresses[] = {"192.0.2.1", "198.51.100.1", "203.0.113.1"};
    return cardAddresses[lan - 1];
}

std::string LanTestbed::LanIp() {
    return "192.0.2.254";
}

std::string LanTestbed::TemporaryPath(const std::string& fileName) const {
    return temporaryDirectory_ + "/" + fileName;
}

pid_t LanTestbed::StartSimulator(const std::vector<std::string>& arguments,
                                 std::chrono::milliseconds readyTimeout, int lan) {
    const std::string stem = TemporaryPath("sim-" + std::to_string(++simulatorsStarted_));
    const std::string readyFile = stem + ".ready";
    const std::string logFile = stem + ".log";
    std::vector<std::string> argv = {
        "ip",          "netns",           "exec",         LanNamespace(lan), LUMISK_SIM_PATH,
        "--interface", LanInterface(lan), "--ready-file", readyFile};
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    const pid_t pid = SpawnLogged(argv, logFile, false);
    if (pid < 0) {
        ADD_FAILURE() << "could not start " << LUMISK_SIM_PATH;
        return -1;
    }
    simulatorLogs_[pid] = logFile;
    Record();

    const Clock::time_point deadline = Clock::now() + readyTimeout;
    while (!std::filesystem::exists(readyFile)) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            simulatorLogs_.erase(pid);
            ADD_FAILURE() << "lumisk-sim ended with status " << ExitCode(status)
                          << " before it was ready:\n"
                          << ReadWhole(logFile);
            return -1;
        }
        if (Clock::now() >= deadline) {
            const std::string output = SimulatorLog(pid);
            StopSimulator(pid);
            ADD_FAILURE() << "lumisk-sim was not ready within " << readyTimeout.count() << " ms:\n"
                          << output;
            return -1;
        }
        std::this_thread::sleep_for(WaitStep);
    }
    return pid;
}

int LanTestbed::StopSimulator(pid_t pid) {
    if (simulatorLogs_.erase(pid) == 0) {
        ADD_FAILURE() << "no simulator " << pid << " was started here";
        return -1;
    }
    return EndProcess(pid);
}

std::string LanTestbed::SimulatorLog(pid_t pid) const {
    const auto log = simulatorLogs_.find(pid);
    return log == simulatorLogs_.end() ? std::string{} : ReadWhole(log->second);
}

pid_t LanTestbed::StartInLan(const std::vector<std::string>& argv, const std::string& logFile) {
    return StartGroupInNamespace(LanNamespace(), argv, logFile, lanPrograms_);
}

pid_t LanTestbed::StartGroupInNamespace(const std::string& ns, const std::vector<std::string>& argv,
                                        const std::string& logFile, std::set<pid_t>& started) {
    std::vector<std::string> command = {"ip", "netns", "exec", ns};
    command.insert(command.end(), argv.begin(), argv.end());
    const pid_t pid = SpawnLogged(command, logFile, true);
    if (pid < 0) {
        ADD_FAILURE() << "could not start " << argv.front();
        return -1;
    }
    started.insert(pid);
    Record();
    return pid;
}

int LanTestbed::StopInLan(pid_t pid) {
    if (lanPrograms_.erase(pid) == 0) {
        return -1;
    }
    return EndProcess(pid, true);
}

pid_t LanTestbed::StartInWorkstation(const std::vector<std::string>& argv,
                                     const std::string& logFile) {
    return StartGroupInNamespace(WorkstationNamespace(), argv, logFile, workstationPrograms_);
}

std::string LanTestbed::StartVirtualDisplay() {
    // A display number no other X server here holds; its socket lives in the file system, which
    // every namespace shares.
    constexpr int FirstDisplay = 140;
    constexpr int Displays = 400;
    for (int number = FirstDisplay + getpid() % Displays, tries = 0; tries < Displays;
         ++tries, number = FirstDisplay + (number - FirstDisplay + 1) % Displays) {
        const std::string display = ":" + std::to_string(number);
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock") ||
            std::filesystem::exists(socket)) {
            continue;
        }
        const pid_t pid =
            StartInWorkstation({"Xvfb", display, "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                               TemporaryPath("xvfb" + display.substr(1) + ".log"));
        if (pid < 0) {
            break;
        }
        const auto deadline = Clock::now() + ToolTimeout;
        std::optional<int> ended;
        while (!std::filesystem::exists(socket) && Clock::now() < deadline &&
               !(ended = WaitUntil(pid, Clock::now() + 50ms))) {
        }
        if (!ended && std::filesystem::exists(socket)) {
            return display;
        }
        // Another server took the number meanwhile, or this one failed: the next number.
        if (ended) {
            workstationPrograms_.erase(pid);
        } else {
            StopInWorkstation(pid);
        }
    }
    ADD_FAILURE() << "no virtual X display could be started";
    return {};
}

int LanTestbed::StopInWorkstation(pid_t pid) {
    if (workstationPrograms_.erase(pid) == 0) {
        return -1;
    }
    return EndProcess(pid, true);
}

bool LanTestbed::WorkstationConnects(const std::string& address, int port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) {
        return false;
    }
    bool connected = false;
    InNetworkNamespace(WorkstationNamespace(), [&] {
        const Descriptor connection(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const timeval limit{ConnectTimeoutSeconds, 0};
        setsockopt(connection.Get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        connected =
            connect(connection.Get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
    });
    return connected;
}

void LanTestbed::SendFromLan(int lan, const std::vector<std::uint8_t>& datagram,
                             const std::string& address, int port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    ASSERT_EQ(inet_pton(AF_INET, address.c_str(), &peer.sin_addr), 1) << address;
    const bool entered = InNetworkNamespace(LanNamespace(lan), [&] {
        const Descriptor sender(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        EXPECT_EQ(sendto(sender.Get(), datagram.data(), datagram.size(), 0,
                         reinterpret_cast<const sockaddr*>(&peer), sizeof peer),
                  static_cast<ssize_t>(datagram.size()))
            << std::strerror(errno);
    });
    EXPECT_TRUE(entered) << "could not enter " << LanNamespace(lan);
}

void LanTestbed::SetLanFile(const std::string& etcName, const std::string& content) {
    WriteNamespaceEtcFile(LanNamespace(), etcName, content);
}

void LanTestbed::SetWorkstationHosts(
    const std::vector<std::pair<std::string, std::string>>& nameToIp) {
    std::string hosts = "127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n";
    for (const auto& [name, ip] : nameToIp) {
        hosts += ip + '\t' + name + '\n';
    }
    WriteNamespaceEtcFile(WorkstationNamespace(), "hosts", hosts);
    workstationHosts_ = true;
}

void LanTestbed::ResolveHostNameTo(const std::string& ip) {
    char hostName[HOST_NAME_MAX + 1] = {};
    gethostname(hostName, sizeof hostName - 1);
    SetWorkstationHosts({{hostName, ip}});
}

std::string LanTestbed::NamespaceEtcFile(const std::string& ns, const std::string& etcName) const {
    return "/etc/netns/" + ns + "/" + etcName;
}

void LanTestbed::WriteNamespaceEtcFile(const std::string& ns, const std::string& etcName,
                                       const std::string& content) {
    const std::string path = NamespaceEtcFile(ns, etcName);
    // testbed.sh down removes /etc/netns once it is empty, possibly another testbed's between
    // making it here and writing into it.
    for (int attempt = 0; attempt < WriteAttempts; ++attempt) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        std::ofstream file(path, std::ios::trunc);
        file << content;
        file.close();
        if (file) {
            return;
        }
    }
    ADD_FAILURE() << "could not write " << path;
}

ProgramResult LanTestbed::RunInWorkstation(const std::vector<std::string>& argv,
                                           const std::string& stdinText,
                                           std::chrono::milliseconds timeout) {
    return RunInNamespace(WorkstationNamespace(), argv, stdinText, timeout);
}

ProgramResult LanTestbed::RunInLan(const std::vector<std::string>& argv,
                                   const std::string& stdinText,
                                   std::chrono::milliseconds timeout) {
    return RunInNamespace(LanNamespace(), argv, stdinText, timeout);
}

ProgramResult LanTestbed::RunInNamespace(const std::string& ns,
                                         const std::vector<std::string>& argv,
                                         const std::string& stdinText,
                                         std::chrono::milliseconds timeout) {
    std::vector<std::string> command = {"ip", "netns", "exec", ns};
    command.insert(command.end(), argv.begin(), argv.end());
    return RunProgram(command, stdinText, timeout);
}

ProgramResult LanTestbed::RunUnderWineInWorkstation(const std::string& templatePrefix,
                                                    const std::vector<std::string>& argv,
                                                    const std::string& stdinText,
                                                    std::chrono::milliseconds timeout) {
    const std::vector<std::string> command = WineCommandInWorkstation(templatePrefix, argv);
    if (command.empty()) {
        return {-1, {}, "no Wine in the workstation"};
    }
    return RunWindowsProgram(command, stdinText, timeout);
}

std::vector<std::string> LanTestbed::WineCommandInWorkstation(
    const std::string& templatePrefix, const std::vector<std::string>& argv) {
    if (!StartWine(templatePrefix)) {
        return {};
    }
    return WineCommand(WineLoader(), argv);
}

// The loader that windows-test.sh chose, which the programs started here inherit: Debian's wine
// wrapper would take the 32-bit one whenever wine32 is installed, even for 64-bit programs.
std::string LanTestbed::WineLoader() {
    const char* loader = std::getenv("WINELOADER");
    return loader != nullptr ? loader : "wine";
}

bool LanTestbed::StartWine(const std::string& templatePrefix) {
    if (!winePrefix_.empty()) {
        return true;
    }
    // Hard links cost nothing, and Wine only reads the prefix's files or replaces them whole.
    winePrefix_ = templatePrefix + "-" + name_;
    Record();
    // The template's own Wine session may be saving its registry meanwhile, through a temporary
    // file that can vanish under the copy: a failed copy is made again.
    constexpr int CopyAttempts = 3;
    ProgramResult copied;
    for (int attempt = 0; attempt < CopyAttempts; ++attempt) {
        std::error_code ignored;
        std::filesystem::remove_all(winePrefix_, ignored);
        copied = RunProgram({"cp", "-al", templatePrefix, winePrefix_}, {}, ToolTimeout);
        if (copied.exitCode == 0) {
            break;
        }
    }
    if (copied.exitCode != 0) {
        ADD_FAILURE() << "no Wine prefix from " << templatePrefix << ": " << copied.err;
        return false;
    }
    // A server that stays, and Wine's services, started with their output in a log: a program
    // run later must not start them, as they would hold its pipes open after it ends.
    const auto run = [this](const std::string& program, const std::vector<std::string>& arguments) {
        const std::string log =
            TemporaryPath(std::filesystem::path(program).filename().string() + ".log");
        const pid_t pid = SpawnLogged(WineCommand(program, arguments), log, false);
        const std::optional<int> status = WaitUntil(pid, Clock::now() + ToolTimeout);
        if (!status) {
            EndProcess(pid);
        }
        if (!status || ExitCode(*status) != 0) {
            ADD_FAILURE() << program << " did not start: " << ReadWhole(log);
            return false;
        }
        return true;
    };
    return run("wineserver", {"-p"}) && run(WineLoader(), {"wineboot"});
}

std::vector<std::string> LanTestbed::WineCommand(const std::string& program,
                                                 const std::vector<std::string>& arguments) const {
    std::vector<std::string> command = {"ip",
                                        "netns",
                                        "exec",
                                        WorkstationNamespace(),
                                        "env",
                                        "WINEPREFIX=" + winePrefix_,
                                        "WINEDEBUG=-all",
                                        "WINEDLLOVERRIDES=mscoree,mshtml=",
                                        program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

void LanTestbed::EnterWorkstation() {
    if (originalNamespace_ >= 0) {
        return;
    }
    Descriptor original(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC));
    const Descriptor workstation(
        open(("/run/netns/" + WorkstationNamespace()).c_str(), O_RDONLY | O_CLOEXEC));
    if (original.Get() < 0 || workstation.Get() < 0 ||
        setns(workstation.Get(), CLONE_NEWNET) != 0) {
        ADD_FAILURE() << "could not enter " << WorkstationNamespace() << ": "
                      << std::strerror(errno);
        return;
    }
    originalNamespace_ = original.Release();
    if (workstationHosts_) {
        EnterWorkstationHosts();
    }
}

void LanTestbed::EnterWorkstationHosts() {
    // As a slave the copy still receives the host's new mounts, such as the next testbed's
    // namespaces, and passes none of its own back.
    if (!threadHasOwnMounts) {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_SLAVE, nullptr) != 0) {
            ADD_FAILURE() << "no mount namespace for the workstation's hosts: "
                          << std::strerror(errno);
            return;
        }
        threadHasOwnMounts = true;
    }
    const std::string hosts = NamespaceEtcFile(WorkstationNamespace(), "hosts");
    if (mount(hosts.c_str(), "/etc/hosts", nullptr, MS_BIND, nullptr) != 0) {
        ADD_FAILURE() << "could not mount " << hosts << " on /etc/hosts: " << std::strerror(errno);
        return;
    }
    hostsMounted_ = true;
}

void LanTestbed::LeaveWorkstation() {
    if (hostsMounted_) {
        if (umount2("/etc/hosts", MNT_DETACH) != 0) {
            ADD_FAILURE() << "could not unmount the workstation's hosts: " << std::strerror(errno);
        }
        hostsMounted_ = false;
    }
    if (originalNamespace_ < 0) {
        return;
    }
    if (setns(originalNamespace_, CLONE_NEWNET) != 0) {
        ADD_FAILURE() << "could not leave " << WorkstationNamespace() << ": "
                      << std::strerror(errno);
    }
    close(originalNamespace_);
    originalNamespace_ = -1;
}

void LanTest::SetUp() {
    LUMISK_REQUIRE_LAN_TESTBED();
    ASSERT_TRUE(testbed_.Start());
}

void LanTest::TearDown() {
    testbed_.Stop();
}

}  // namespace lumisk::lan
