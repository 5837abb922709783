#pragma once
// The code-page files compiled into the program. The build generates the definition from the
// files in language/codepages/, so the bytes are those files' own.

#include <cstdint>
#include <span>

namespace lumisk {

struct EmbeddedFile {
    int id;
    std::span<const std::uint8_t> bytes;
};

std::span<const EmbeddedFile> EmbeddedCodepageFiles();

}  // namespace lumisk
