#pragma once
// Letter case in the protocol's texts: single-byte characters with no declared code page, so only
// the ASCII letters have a case, whatever the locale.

#include <string_view>

namespace lumisk {

bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace lumisk
