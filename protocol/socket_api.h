#pragma once
// The few socket calls the protocol makes, over POSIX sockets or Winsock.

#include <chrono>
#include <cstdint>

namespace lumisk {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;
inline constexpr SocketHandle InvalidSocket = ~SocketHandle{0};
#else
using SocketHandle = int;
inline constexpr SocketHandle InvalidSocket = -1;
#endif

// Winsock 1.1 start and clean-up; nothing to do elsewhere.
bool StartSocketLibrary();
void StopSocketLibrary();

SocketHandle OpenUdpSocket();
void CloseSocket(SocketHandle socket);

// select() on one socket; true when a datagram is waiting.
bool WaitReadable(SocketHandle socket, std::chrono::milliseconds timeout);

// setsockopt with an int value; the result is the call's own.
int SetSocketOption(SocketHandle socket, int level, int name, int value);

}  // namespace lumisk
