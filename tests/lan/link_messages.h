#pragma once
// The messages of the testbed link, between a LAN testbed (tests/lan/testbed_link.h) and a test
// program in its workstation (tests/windows/lan_testbed_link.h): one request and its reply per
// TCP connection. A message is a list of byte strings, sent as the list's length and then each
// string's length and bytes, lengths in four bytes, most significant first. A request's first
// string names it; a reply's first string holds the test failures that the request caused on the
// testbed's side, empty when there were none, and its values follow.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "protocol/socket_api.h"

namespace lumisk::lan::link {

// Where a program in the workstation finds the link: "address:port".
inline constexpr char AddressVariable[] = "LUMISK_TESTBED_LINK";

// Each request, with what follows its name -> the reply's values. Numbers go as decimal text.
inline constexpr char BeginRequest[] = "begin";  // -> the testbed's cards
inline constexpr char EndRequest[] = "end";      // -> nothing
inline constexpr char StartRequest[] = "start";  // ready timeout (ms), lan, arguments... -> pid
inline constexpr char StopRequest[] = "stop";    // pid -> exit status
inline constexpr char LogRequest[] = "log";      // pid -> log
inline constexpr char PathRequest[] = "path";    // file name -> path
inline constexpr char ReadRequest[] = "read";    // path -> content

using Message = std::vector<std::string>;

// False when the peer is gone.
bool Send(SocketHandle socket, const Message& message);
// A whole message; nothing when the peer is gone, the timeout passes first, or the bytes make no
// message.
std::optional<Message> Receive(SocketHandle socket, std::chrono::milliseconds timeout);

// A decimal number that fills `text`, or nothing.
std::optional<long long> Number(const std::string& text);

}  // namespace lumisk::lan::link
