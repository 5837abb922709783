#pragma once
// The few socket calls the protocol makes, over POSIX sockets or Winsock.

#include <chrono>
#include <cstdint>
#include <string>

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

// A new UDP socket that child processes do not inherit, or InvalidSocket.
SocketHandle OpenUdpSocket();
void CloseSocket(SocketHandle socket);

// select() on one socket; true when a datagram is waiting.
bool WaitReadable(SocketHandle socket, std::chrono::milliseconds timeout);

// setsockopt with an int value; the result is the call's own.
int SetSocketOption(SocketHandle socket, int level, int name, int value);

// The error of the socket call that failed last on this thread: errno, or Winsock's own code.
int LastSocketError();
// Whether that error says another socket holds the address and port.
bool IsAddressInUse(int error);
// The error in the system's words.
std::string SocketErrorText(int error);

}  // namespace lumisk
