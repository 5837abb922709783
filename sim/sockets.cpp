#include "sim/sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "protocol/endpoint.h"

namespace lumisk::sim {
namespace {

constexpr int ListenBacklog = 64;

in_addr InAddress(const Ipv4Bytes& address) {
    in_addr result{};
    std::memcpy(&result.s_addr, address.data(), address.size());
    return result;
}

sockaddr_in SocketAddress(const Ipv4Bytes& address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr = InAddress(address);
    return result;
}

[[noreturn]] void ThrowLastError(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void Check(int result, const std::string& what) {
    if (result < 0) {
        ThrowLastError(what);
    }
}

FileDescriptor OpenSocket(int type) {
    FileDescriptor socketFd(socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    Check(socketFd.Get(), "socket");
    return socketFd;
}

template <typename Value>
void SetOption(const FileDescriptor& socketFd, int level, int name, const Value& value,
               const char* what) {
    Check(setsockopt(socketFd.Get(), level, name, &value, sizeof value), what);
}

void Bind(const FileDescriptor& socketFd, const Ipv4Bytes& address, std::uint16_t port) {
    const sockaddr_in local = SocketAddress(address, port);
    Check(bind(socketFd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local),
          "bind " + FormatIpText(address) + ":" + std::to_string(port));
}

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        FileDescriptor closesOnReturn(fd_);
        fd_ = other.Release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

int FileDescriptor::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

FileDescriptor OpenRequestSocket() {
    FileDescriptor socketFd = OpenSocket(SOCK_DGRAM);
    SetOption(socketFd, SOL_SOCKET, SO_REUSEADDR, 1, "SO_REUSEADDR");
    Bind(socketFd, Ipv4Bytes{}, ProtocolPort);
    ip_mreq membership{};
    membership.imr_multiaddr = InAddress(GroupAddressBytes);
    membership.imr_interface.s_addr = htonl(INADDR_ANY);
    SetOption(socketFd, IPPROTO_IP, IP_ADD_MEMBERSHIP, membership, "IP_ADD_MEMBERSHIP");
    return socketFd;
}

FileDescriptor OpenReplySocket(const Ipv4Bytes& address) {
    FileDescriptor socketFd = OpenSocket(SOCK_DGRAM);
    Bind(socketFd, address, 0);
    SetOption(socketFd, IPPROTO_IP, IP_MULTICAST_LOOP, std::uint8_t{0}, "IP_MULTICAST_LOOP");
    SetOption(socketFd, IPPROTO_IP, IP_MULTICAST_IF, InAddress(address), "IP_MULTICAST_IF");
    return socketFd;
}

FileDescriptor OpenWebListener(const Ipv4Bytes& address, std::uint16_t port) {
    FileDescriptor socketFd = OpenSocket(SOCK_STREAM);
    SetOption(socketFd, SOL_SOCKET, SO_REUSEADDR, 1, "SO_REUSEADDR");
    SetOption(socketFd, SOL_SOCKET, SO_REUSEPORT, 1, "SO_REUSEPORT");
    Bind(socketFd, address, port);
    Check(listen(socketFd.Get(), ListenBacklog), "listen");
    return socketFd;
}

void SendDatagram(const FileDescriptor& socket, std::span<const std::uint8_t> datagram,
                  const Ipv4Bytes& destination) {
    const sockaddr_in to = SocketAddress(destination, ProtocolPort);
    sendto(socket.Get(), datagram.data(), datagram.size(), 0,
           reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

}  // namespace lumisk::sim
