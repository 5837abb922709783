#include "protocol/socket_api.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

int LastSocketError() {
    return WSAGetLastError();
}

bool IsAddressInUse(int error) {
    // A socket that holds the port for itself alone refuses the second binder with WSAEACCES.
    return error == WSAEADDRINUSE || error == WSAEACCES;
}

std::string SocketErrorText(int error) {
    return "Winsock error " + std::to_string(error);
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

int LastSocketError() {
    return errno;
}

bool IsAddressInUse(int error) {
    return error == EADDRINUSE;
}

std::string SocketErrorText(int error) {
    return std::strerror(error);
}
#endif

SocketHandle OpenUdpSocket() {
#ifdef _WIN32
    const SOCKET opened = socket(AF_INET, SOCK_DGRAM, 0);
    // Not for child processes: one that outlived the program would hold its port. Best effort,
    // as the programs start their children without handing down handles anyway.
    if (opened != INVALID_SOCKET) {
        SetHandleInformation(reinterpret_cast<HANDLE>(opened), HANDLE_FLAG_INHERIT, 0);
    }
    return static_cast<SocketHandle>(opened);
#else
    // Not for child processes: one that outlived the program would hold its port.
    return socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
#endif
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
