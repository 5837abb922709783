#include "tests/lan/link_messages.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include <charconv>
#include <cstdint>

namespace lumisk::lan::link {
namespace {

using Clock = std::chrono::steady_clock;

// Far above any file a test reads back, far below what a garbled length would ask for.
constexpr std::uint32_t MaxMessageBytes = 64u << 20;

void AppendLength(std::string& bytes, std::size_t length) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<char>((length >> shift) & 0xFF));
    }
}

// Reads exactly `size` bytes by the deadline.
bool ReceiveExactly(SocketHandle socket, char* buffer, std::size_t size,
                    Clock::time_point deadline) {
    while (size > 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !WaitReadable(socket, left)) {
            return false;
        }
        const auto received = recv(socket, buffer, static_cast<int>(size), 0);
        if (received <= 0) {
            return false;
        }
        buffer += received;
        size -= static_cast<std::size_t>(received);
    }
    return true;
}

std::optional<std::uint32_t> ReceiveLength(SocketHandle socket, Clock::time_point deadline) {
    unsigned char bytes[4];
    if (!ReceiveExactly(socket, reinterpret_cast<char*>(bytes), sizeof bytes, deadline)) {
        return std::nullopt;
    }
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

}  // namespace

bool Send(SocketHandle socket, const Message& message) {
    std::string bytes;
    AppendLength(bytes, message.size());
    for (const std::string& text : message) {
        AppendLength(bytes, text.size());
        bytes += text;
    }
    for (std::size_t sent = 0; sent < bytes.size();) {
        const auto written =
            send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

std::optional<Message> Receive(SocketHandle socket, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    const std::optional<std::uint32_t> count = ReceiveLength(socket, deadline);
    // Every string takes at least its length's four bytes.
    if (!count || *count > MaxMessageBytes / 4) {
        return std::nullopt;
    }
    Message message;
    std::uint32_t total = 0;
    for (std::uint32_t index = 0; index < *count; ++index) {
        const std::optional<std::uint32_t> length = ReceiveLength(socket, deadline);
        if (!length || *length > MaxMessageBytes - total) {
            return std::nullopt;
        }
        total += *length;
        std::string& text = message.emplace_back(*length, '\0');
        if (!ReceiveExactly(socket, text.data(), text.size(), deadline)) {
            return std::nullopt;
        }
    }
    return message;
}

std::optional<long long> Number(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace lumisk::lan::link
