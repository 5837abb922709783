#pragma once
// The program's start before its window: the protocol endpoint comes first.

namespace lumisk {

// Opens the protocol endpoint. When it cannot, says why and returns false, and the program ends
// with status 1 before any window: a socket that cannot be had, such as a port that another
// program holds, in a message box that tells what to do; on Linux every reason also on standard
// error, as one line.
bool OpenEndpointOrSayWhy();

}  // namespace lumisk
