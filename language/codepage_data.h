#pragma once
// The code-page files compiled into the program. The build generates the definitions from the
// adapter maker's files (LUMISK_CODEPAGE_DIR) or the stand-ins in language/codepages/, so the
// bytes are those files' own.

#include <cstdint>
#include <span>

namespace lumisk {

struct EmbeddedFile {
    int id;
    std::span<const std::uint8_t> bytes;
};

std::span<const EmbeddedFile> EmbeddedCodepageFiles();

// True when the files are the stand-ins: right names, sizes and forms, made-up contents.
bool EmbeddedCodepagesAreStandIns();

}  // namespace lumisk
