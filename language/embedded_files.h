#pragma once
// The support files the program carries to copy byte for byte onto an adapter's disk.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumisk {

// kind is "Codepage" in any letter case. An unknown kind or id gives no value; the bytes live
// as long as the program.
std::optional<std::span<const std::uint8_t>> FindEmbeddedFile(std::string_view kind, int id);

}  // namespace lumisk
