// The command line's start-up: the shared objects, peak memory and wall time of
// `lumisk-cli --version`, beside `env --version` for the machine's floor. Search and exchange
// speed on the LAN testbed: search wall time for growing numbers of simulated adapters against
// the nominal 1.20 s, adapters found out of adapters present, the round trip of a query and of a
// set, and the peak memory of a command-line search; once with the adapters behind the
// workstation's one card, once spread behind two of its three cards. It prints the tables and
// judges nothing.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"
#include "tests/lan/lan_testbed.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using lumisk::lan::InWorkstation;
using lumisk::lan::LanTestbed;

constexpr int AdapterCounts[] = {1, 32, 100, 250};
constexpr int SearchRuns = 3;
constexpr int RoundTrips = 20;
constexpr int StartUpRuns = 20;

// Where the adapters sit: a LAN of the testbed and the first address there.
struct AdapterLan {
    int lan;
    const char* firstAdapter;
};
constexpr AdapterLan BehindOneCard[] = {{1, "198.51.100.2"}};
// The workstation's first card leads to a LAN without adapters.
constexpr AdapterLan BehindTwoCards[] = {{2, "198.51.100.2"}, {3, "203.0.113.2"}};

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

template <typename Operation>
double MedianTime(int runs, Operation operation) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        operation();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(times);
}

// One run of a program, its output discarded: its peak resident memory in KiB, as
// `/usr/bin/time -f %M` tells it, and its wall time; with `countObjects`, the shared objects the
// dynamic linker loaded for it, counted from its LD_DEBUG=libs report.
struct RunCost {
    long peakKib = -1;
    double ms = 0;
    int sharedObjects = -1;
};

RunCost Run(const std::vector<const char*>& argv, bool countObjects = false) {
    int report[2] = {-1, -1};
    if (countObjects && pipe(report) != 0) {
        return {};
    }
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(countObjects ? report[1] : devNull, STDERR_FILENO);
        if (countObjects) {
            setenv("LD_DEBUG", "libs", 1);
        }
        std::vector<char*> words;
        for (const char* word : argv) {
            words.push_back(const_cast<char*>(word));
        }
        words.push_back(nullptr);
        execvp(words[0], words.data());
        _exit(127);
    }
    RunCost cost;
    if (countObjects) {
        close(report[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t got; (got = read(report[0], buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
        close(report[0]);
        cost.sharedObjects = 0;
        for (std::size_t at = 0; (at = text.find("calling init:", at)) != std::string::npos; ++at) {
            ++cost.sharedObjects;
        }
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 127) {
        return {};
    }
    cost.ms = Milliseconds(Clock::now() - start);
    cost.peakKib = usage.ru_maxrss;
    return cost;
}

// The start-up table: shared objects loaded, the median peak and the median wall time of
// StartUpRuns runs of each program.
void MeasureStartUp() {
    const std::vector<std::vector<const char*>> programs = {{LUMISK_CLI_PATH, "--version"},
                                                            {"env", "--version"}};
    std::printf("start-up, median of %d runs\n%-24s  %14s  %12s  %10s\n", StartUpRuns, "program",
                "objects loaded", "peak KiB", "wall ms");
    for (const auto& argv : programs) {
        const RunCost counted = Run(argv, true);
        std::vector<double> peaks;
        std::vector<double> times;
        for (int run = 0; run < StartUpRuns; ++run) {
            const RunCost cost = Run(argv);
            peaks.push_back(static_cast<double>(cost.peakKib));
            times.push_back(cost.ms);
        }
        const std::string name = std::string(argv[0]).substr(std::string(argv[0]).rfind('/') + 1);
        std::printf("%-24s  %14d  %12.0f  %10.1f\n", (name + " " + argv[1]).c_str(),
                    counted.sharedObjects, Median(peaks), Median(times));
    }
    std::fflush(stdout);
}

struct Row {
    int adapters;
    double searchMs;
    int fewestFound;
    double queryMs;
    double setMs;
    long cliPeakKib;
};

// The adapters are shared out among the LANs, at least one on each.
Row Measure(LanTestbed& testbed, int adapters, std::span<const AdapterLan> lans) {
    const int perLan = std::max(1, adapters / static_cast<int>(lans.size()));
    Row row{perLan * static_cast<int>(lans.size()), 0, 0, 0, 0, -1};
    row.fewestFound = row.adapters;
    std::vector<pid_t> simulators;
    for (const AdapterLan& lan : lans) {
        simulators.push_back(
            testbed.StartSimulator({"--ip", lan.firstAdapter, "--count", std::to_string(perLan),
                                    "--no-web", "--codepage", "850"},
                                   10s, lan.lan));
        if (simulators.back() < 0) {
            return row;
        }
    }
    {
        InWorkstation inWorkstation(testbed);
        if (!lumisk::IsEndpointOpen() && lumisk::TryOpenEndpoint()) {
            std::fprintf(stderr, "cannot open the protocol endpoint in the workstation\n");
            return row;
        }
        row.searchMs = MedianTime(SearchRuns, [&] {
            lumisk::SearchDevices();
            row.fewestFound = std::min(row.fewestFound, lumisk::DeviceTable.count);
        });
        lumisk::CopyText(lumisk::SelectedDeviceIp, lans.front().firstAdapter);
        row.queryMs = MedianTime(RoundTrips, [] { lumisk::QueryCodepage(); });
        lumisk::CopyText(lumisk::WorkgroupText, "BENCH");
        row.setMs = MedianTime(RoundTrips, [] { lumisk::SetWorkgroup(); });
        // Started from here, the command line searches the workstation's LANs.
        row.cliPeakKib = Run({LUMISK_CLI_PATH, "search"}).peakKib;
    }
    for (const pid_t simulator : simulators) {
        testbed.StopSimulator(simulator);
    }
    return row;
}

// One table; the search times by adapter count.
std::vector<double> MeasureTable(int cards, std::span<const AdapterLan> lans,
                                 std::span<const double> oneCardSearchMs) {
    std::vector<double> searchMs;
    LanTestbed testbed(cards);
    if (!testbed.Start()) {
        return searchMs;
    }
    std::printf("\nadapters behind %zu of the workstation's %d card(s)\n", lans.size(), cards);
    std::printf("%8s  %16s  %10s  %13s  %12s  %10s  %16s  %12s\n", "adapters", "search ms (med)",
                "nominal ms", "found/present", "query rtt ms", "set rtt ms", "cli search peak",
                "vs one card");
    for (const int adapters : AdapterCounts) {
        const Row row = Measure(testbed, adapters, lans);
        searchMs.push_back(row.searchMs);
        const std::size_t index = searchMs.size() - 1;
        char versus[16] = "-";
        if (index < oneCardSearchMs.size()) {
            std::snprintf(versus, sizeof versus, "%+.1f%%",
                          100.0 * (row.searchMs / oneCardSearchMs[index] - 1.0));
        }
        std::printf("%8d  %16.1f  %10.1f  %9d/%-3d  %12.3f  %10.3f  %12ld KiB  %12s\n",
                    row.adapters, row.searchMs, Milliseconds(lumisk::SearchNominalTime),
                    row.fewestFound, row.adapters, row.queryMs, row.setMs, row.cliPeakKib, versus);
        std::fflush(stdout);
    }
    lumisk::CloseEndpoint();
    testbed.Stop();
    return searchMs;
}

}  // namespace

int main() {
    MeasureStartUp();
    std::string why;
    if (!LanTestbed::Available(why)) {
        std::fprintf(stderr, "lumisk_bench needs the LAN testbed: %s\n", why.c_str());
        return 1;
    }
    lumisk::SetDiagnosticStream(nullptr);
    const std::vector<double> oneCard = MeasureTable(1, BehindOneCard, {});
    if (oneCard.empty() || MeasureTable(3, BehindTwoCards, oneCard).empty()) {
        return 1;
    }
    std::printf(
        "search: median of %d runs, found: fewest of those runs; round trips: median of %d "
        "against the first adapter (the query includes its 60 ms drain); vs one card: the "
        "search time against the one-card search of the same row (two cards: at least one adapter "
        "behind each)\n",
        SearchRuns, RoundTrips);
    return 0;
}
