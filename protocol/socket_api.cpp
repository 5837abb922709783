#include "protocol/socket_api.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumisk {

#ifdef _WIN32
bool StartSocketLibrary() {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void StopSocketLibrary() {
    WSACleanup();
}

void CloseSocket(SocketHandle socket) {
    closesocket(socket);
}

int SetSocketOption(SocketHandle socket, int level, int name, int value) {
    return setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}
#else
bool StartSocketLibrary() {
    return true;
}

void StopSocketLibrary() {}

void CloseSocket(SocketHandle socket) {
    close(socket);
}

int SetSocketOption(SocketHandle socket, int level, int name, int value) {
    return setsockopt(socket, level, name, &value, sizeof value);
}
#endif

SocketHandle OpenUdpSocket() {
    return static_cast<SocketHandle>(socket(AF_INET, SOCK_DGRAM, 0));
}

bool WaitReadable(SocketHandle socket, std::chrono::milliseconds timeout) {
#ifndef _WIN32
    if (socket < 0 || socket >= FD_SETSIZE) {
        return false;
    }
#endif
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    const auto microseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
    timeval wait{};
    wait.tv_sec = static_cast<decltype(wait.tv_sec)>(microseconds / 1000000);
    wait.tv_usec = static_cast<decltype(wait.tv_usec)>(microseconds % 1000000);
#ifdef _WIN32
    // Winsock ignores the count of descriptors; a 64-bit SOCKET does not fit an int anyway.
    constexpr int IgnoredCount = 0;
    return select(IgnoredCount, &readable, nullptr, nullptr, &wait) > 0;
#else
    return select(socket + 1, &readable, nullptr, nullptr, &wait) > 0;
#endif
}

}  // namespace lumisk
