#pragma once
// Text for the person or script that runs a program, on standard output and standard error:
// UTF-8 bytes to files, pipes and terminals. A Windows console takes UTF-16 instead, as it would
// read the bytes in its own code page.

#include <cstdio>
#include <string_view>

namespace lumisk {

// Writes `text` to `stream` (stdout or stderr); false when the stream leads nowhere, as
// standard output does for a Windows program with a window started without a console.
bool WriteText(std::FILE* stream, std::string_view text);

// printf into WriteText.
[[gnu::format(printf, 2, 3)]] void PrintText(std::FILE* stream, const char* format, ...);

#ifdef _WIN32
// WriteText to the console of the program that started this one, for a program with a window,
// which has no console of its own; false when that program has none either.
bool WriteToParentConsole(std::string_view text);
#endif

}  // namespace lumisk
