#include "sim/simulator.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <queue>
#include <system_error>
#include <tuple>

#include "sim/adapter_logic.h"
#include "sim/interface_addresses.h"
#include "sim/sockets.h"
#include "sim/web_page.h"

namespace lumisk::sim {
namespace {

// Larger than any datagram, so a record always holds the whole of one.
constexpr std::size_t ReceiveBufferSize = 65536;
constexpr std::chrono::milliseconds FloodInterval{1};
constexpr std::chrono::seconds WebConnectionTimeout{10};
constexpr std::size_t WebReadSize = 2048;
// Room for web connections, the record file and the ip tool's pipe besides two sockets an adapter.
constexpr rlim_t SpareDescriptors = 512;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

// The stop signals stay blocked outside ppoll(), so one that arrives between two polls still ends
// the next. Returns the mask to poll with.
sigset_t CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigset_t pollMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &pollMask);
    return pollMask;
}

// Where the limit cannot be raised far enough, as many adapters as fit are tried; the first
// socket too many then names its adapter.
void RaiseDescriptorLimit(std::size_t adapterCount) {
    const rlim_t needed = 2 * adapterCount + SpareDescriptors;
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur >= needed) {
        return;
    }
    rlimit raised = {needed, std::max(limit.rlim_max, needed)};
    if (setrlimit(RLIMIT_NOFILE, &raised) != 0) {
        raised = {limit.rlim_max, limit.rlim_max};
        setrlimit(RLIMIT_NOFILE, &raised);
    }
}

std::string Describe(const Adapter& adapter) {
    return adapter.name + " (" + FormatIpText(adapter.address) + ")";
}

struct PendingSend {
    SimClock::time_point due;
    std::uint64_t order;  // keeps sends due at the same time in the order they were queued
    std::size_t adapter;
    std::vector<std::uint8_t> datagram;
    Ipv4Bytes destination;
    bool flood;
};

struct LaterFirst {
    bool operator()(const PendingSend& a, const PendingSend& b) const {
        return std::tie(a.due, a.order) > std::tie(b.due, b.order);
    }
};

struct AdapterSockets {
    FileDescriptor reply;
    FileDescriptor web;
    SimClock::time_point floodUntil{};
};

struct WebConnection {
    FileDescriptor socket;
    std::size_t adapter;
    std::string received;
    SimClock::time_point deadline;
};

class Simulator {
public:
    explicit Simulator(Options options);
    void Run(const sigset_t& pollMask);

private:
    void OpenSockets(std::size_t index);
    void WriteReadyFile() const;
    void ReadRequests();
    void Record(std::span<const std::uint8_t> datagram, const sockaddr_in& sender);
    void Handle(std::size_t index, Response response, SimClock::time_point now);
    void Move(std::size_t index, const Ipv4Bytes& leftAddress);
    void SendDue(SimClock::time_point now);
    void Accept(std::size_t index, SimClock::time_point now);
    // False once the connection is done with.
    bool Serve(WebConnection& connection);
    std::optional<SimClock::time_point> NextDeadline() const;

    Options options_;
    std::vector<Adapter>& adapters_ = options_.adapters;
    std::optional<InterfaceAddresses> interface_;
    FileDescriptor requests_;
    std::vector<AdapterSockets> sockets_;
    std::vector<WebConnection> connections_;
    std::priority_queue<PendingSend, std::vector<PendingSend>, LaterFirst> sends_;
    std::uint64_t sendsQueued_ = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> record_{nullptr, std::fclose};
};

Simulator::Simulator(Options options) : options_(std::move(options)), sockets_(adapters_.size()) {
    RaiseDescriptorLimit(adapters_.size());
    if (!options_.interfaceName.empty()) {
        interface_.emplace(options_.interfaceName);
        std::vector<InterfaceAddress> addresses;
        for (const Adapter& adapter : adapters_) {
            addresses.push_back({adapter.address, PrefixLength(adapter.netmask)});
        }
        interface_->Add(addresses);
    }
    if (!options_.recordFile.empty()) {
        record_.reset(std::fopen(options_.recordFile.c_str(), "a"));
        if (!record_) {
            throw std::system_error(errno, std::generic_category(), options_.recordFile);
        }
    }
    requests_ = OpenRequestSocket();
    for (std::size_t index = 0; index < adapters_.size(); ++index) {
        try {
            OpenSockets(index);
        } catch (const std::system_error& error) {
            throw std::runtime_error(Describe(adapters_[index]) + ": " + error.what());
        }
    }
    WriteReadyFile();
}

void Simulator::OpenSockets(std::size_t index) {
    const Adapter& adapter = adapters_[index];
    sockets_[index].reply = OpenReplySocket(adapter.address);
    sockets_[index].web =
        adapter.web ? OpenWebListener(adapter.address, options_.webPort) : FileDescriptor{};
}

void Simulator::WriteReadyFile() const {
    if (options_.readyFile.empty()) {
        return;
    }
    // Written aside and renamed, so a reader never sees it half written.
    const std::string partial = options_.readyFile + ".partial";
    std::ofstream(partial) << getpid() << "\n";
    if (std::rename(partial.c_str(), options_.readyFile.c_str()) != 0) {
        throw std::system_error(errno, std::generic_category(), options_.readyFile);
    }
}

void Simulator::Run(const sigset_t& pollMask) {
    std::vector<pollfd> polled;
    while (stopRequested == 0) {
        polled.clear();
        polled.push_back({requests_.Get(), POLLIN, 0});
        for (const AdapterSockets& sockets : sockets_) {
            polled.push_back({sockets.web.Get(), POLLIN, 0});
        }
        for (const WebConnection& connection : connections_) {
            polled.push_back({connection.socket.Get(), POLLIN, 0});
        }
        std::optional<timespec> timeout;
        if (const auto deadline = NextDeadline()) {
            const auto wait = std::max(SimClock::duration::zero(), *deadline - SimClock::now());
            const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait);
            timeout = timespec{static_cast<time_t>(nanoseconds.count() / 1'000'000'000),
                               static_cast<long>(nanoseconds.count() % 1'000'000'000)};
        }
        if (ppoll(polled.data(), polled.size(), timeout ? &*timeout : nullptr, &pollMask) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        const SimClock::time_point now = SimClock::now();
        if (polled[0].revents != 0) {
            ReadRequests();
        }
        const std::size_t polledConnections = connections_.size();
        for (std::size_t index = 0; index < sockets_.size(); ++index) {
            if (polled[1 + index].revents != 0) {
                Accept(index, now);
            }
        }
        for (std::size_t index = 0; index < polledConnections; ++index) {
            WebConnection& connection = connections_[index];
            const bool ready = polled[1 + sockets_.size() + index].revents != 0;
            if ((ready && !Serve(connection)) || now >= connection.deadline) {
                connection.socket = FileDescriptor{};
            }
        }
        std::erase_if(connections_, [](const WebConnection& c) { return !c.socket.IsOpen(); });
        SendDue(SimClock::now());
    }
}

std::optional<SimClock::time_point> Simulator::NextDeadline() const {
    std::optional<SimClock::time_point> next;
    if (!sends_.empty()) {
        next = sends_.top().due;
    }
    for (const WebConnection& connection : connections_) {
        next = std::min(next.value_or(connection.deadline), connection.deadline);
    }
    return next;
}

void Simulator::ReadRequests() {
    std::vector<std::uint8_t> buffer(ReceiveBufferSize);
    for (;;) {
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t received =
            recvfrom(requests_.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                     reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (received < 0) {
            return;
        }
        const std::span<const std::uint8_t> datagram(buffer.data(),
                                                     static_cast<std::size_t>(received));
        Record(datagram, sender);
        const SimClock::time_point now = SimClock::now();
        for (std::size_t index = 0; index < adapters_.size(); ++index) {
            Handle(index, Respond(adapters_[index], datagram, now), now);
        }
    }
}

void Simulator::Record(std::span<const std::uint8_t> datagram, const sockaddr_in& sender) {
    if (!record_) {
        return;
    }
    for (const std::uint8_t byte : datagram) {
        std::fprintf(record_.get(), "%02x", byte);
    }
    Ipv4Bytes address;
    std::memcpy(address.data(), &sender.sin_addr, address.size());
    std::fprintf(record_.get(), " %s:%u\n", FormatIpText(address).c_str(), ntohs(sender.sin_port));
    std::fflush(record_.get());
}

void Simulator::Handle(std::size_t index, Response response, SimClock::time_point now) {
    if (response.datagram.empty()) {
        return;
    }
    if (response.leftAddress) {
        Move(index, *response.leftAddress);
    }
    const Adapter& adapter = adapters_[index];
    AdapterSockets& sockets = sockets_[index];
    const SimClock::time_point due = now + adapter.replyDelay;
    if (response.flood) {
        // A request during a flood makes it last longer, not run twice.
        const bool flooding = sockets.floodUntil > now;
        sockets.floodUntil = due + adapter.floodTime;
        if (flooding) {
            return;
        }
    } else if (due <= now) {
        SendDatagram(sockets.reply, response.datagram, response.destination);
        return;
    }
    sends_.push({due, sendsQueued_++, index, std::move(response.datagram), response.destination,
                 response.flood});
}

void Simulator::Move(std::size_t index, const Ipv4Bytes& leftAddress) {
    const Adapter& adapter = adapters_[index];
    try {
        if (interface_) {
            interface_->Add({{adapter.address, PrefixLength(adapter.netmask)}});
        }
        OpenSockets(index);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumisk-sim: %s: %s\n", Describe(adapter).c_str(), error.what());
    }
    const bool stillUsed = std::ranges::any_of(
        adapters_, [&](const Adapter& other) { return other.address == leftAddress; });
    if (interface_ && !stillUsed) {
        interface_->Remove(leftAddress);
    }
}

void Simulator::SendDue(SimClock::time_point now) {
    while (!sends_.empty() && sends_.top().due <= now) {
        PendingSend send = sends_.top();
        sends_.pop();
        const AdapterSockets& sockets = sockets_[send.adapter];
        SendDatagram(sockets.reply, send.datagram, send.destination);
        if (send.flood) {
            send.due = std::max(send.due + FloodInterval, now);
            if (send.due < sockets.floodUntil) {
                send.order = sendsQueued_++;
                sends_.push(std::move(send));
            }
        }
    }
}

void Simulator::Accept(std::size_t index, SimClock::time_point now) {
    for (;;) {
        FileDescriptor socket(
            accept4(sockets_[index].web.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!socket.IsOpen()) {
            return;
        }
        connections_.push_back({std::move(socket), index, {}, now + WebConnectionTimeout});
    }
}

bool Simulator::Serve(WebConnection& connection) {
    char buffer[WebReadSize];
    const ssize_t received = recv(connection.socket.Get(), buffer, sizeof buffer, 0);
    if (received <= 0) {
        return received < 0 && errno == EAGAIN;
    }
    connection.received.append(buffer, static_cast<std::size_t>(received));
    if (!IsRequestComplete(connection.received)) {
        return true;
    }
    // The page is far smaller than a socket buffer, so one send takes all of it.
    const std::string page = WebPageResponse(adapters_[connection.adapter]);
    send(connection.socket.Get(), page.data(), page.size(), MSG_NOSIGNAL);
    return false;
}

}  // namespace

void RunSimulator(Options options) {
    const sigset_t pollMask = CatchStopSignals();
    Simulator simulator(std::move(options));
    simulator.Run(pollMask);
}

}  // namespace lumisk::sim
