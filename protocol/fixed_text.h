#pragma once
// Fixed-width text fields: the only way the program fills them, so nothing is ever written past
// one.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <string_view>

namespace lumisk {

// Copies `text` into `field`, cut to leave room for the terminating zero; the rest is zero-filled.
template <std::size_t N>
void CopyText(char (&field)[N], std::string_view text) {
    static_assert(N > 0);
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, field);
    std::memset(field + length, 0, N - length);
}

// The text of a field: up to its first zero byte, never past its width.
inline std::string_view TextOf(std::span<const char> field) {
    return std::string_view(field.data(), strnlen(field.data(), field.size()));
}

}  // namespace lumisk
