#pragma once
// Windows takes and gives its texts as UTF-16; the program's texts are UTF-8. The conversion at
// that boundary (Windows only). Ill-formed input gives U+FFFD where it is ill-formed.

#include <string>
#include <string_view>

namespace lumisk {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace lumisk
