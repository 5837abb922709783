// Search and exchange speed on the LAN testbed: search wall time for growing numbers of
// simulated adapters against the nominal 1.20 s, adapters found out of adapters present, the
// round trip of a query and of a set, and the peak memory of a command-line search; once with the
// adapters behind the workstation's one card, once spread behind two of its three cards. It
// prints the tables and judges nothing.

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

// Peak resident memory of `lumisk-cli search` run in the workstation, in KiB.
long CliSearchPeakKib(const LanTestbed& testbed) {
    const pid_t child = fork();
    if (child == 0) {
        const std::string ns = testbed.WorkstationNamespace();
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execlp("ip", "ip", "netns", "exec", ns.c_str(), LUMISK_CLI_PATH, "search", nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return -1;
    }
    return usage.ru_maxrss;
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
    }
    row.cliPeakKib = CliSearchPeakKib(testbed);
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
