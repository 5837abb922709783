#pragma once
// A failure as the user is told it: the message the program has always given on the first line,
// and, when the system said why, the reason and what to do on the second.

#include <string>
#include <string_view>

namespace lumisk {

std::string FailureText(std::string_view message, std::string_view reason);

}  // namespace lumisk
