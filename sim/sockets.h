#pragma once
// The simulator's sockets. Every opener throws std::system_error when a call fails; every socket
// is non-blocking and closed on exec.

#include <cstdint>
#include <span>

#include "protocol/ip_text.h"

namespace lumisk::sim {

// Owns one file descriptor.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();

private:
    int fd_ = -1;
};

// Where every adapter hears requests: the protocol port of every address, a member of the group.
FileDescriptor OpenRequestSocket();

// An adapter's own sending socket, so its replies come from its address. Multicast leaves through
// the interface holding the address and never loops back to the simulator.
FileDescriptor OpenReplySocket(const Ipv4Bytes& address);

// A TCP listener on the address; several adapters sharing an address share the port.
FileDescriptor OpenWebListener(const Ipv4Bytes& address, std::uint16_t port);

// One datagram to the protocol port of `destination`; a failed send is not reported, as on a LAN.
void SendDatagram(const FileDescriptor& socket, std::span<const std::uint8_t> datagram,
                  const Ipv4Bytes& destination);

}  // namespace lumisk::sim
