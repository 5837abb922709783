#include "language/embedded_files.h"

#include <algorithm>

#include "language/codepage_data.h"
#include "protocol/text_case.h"

namespace lumisk {

// The kind is a fixed Latin word, compared without regard to case.
std::optional<std::span<const std::uint8_t>> FindEmbeddedFile(std::string_view kind, int id) {
    if (!EqualIgnoringCase(kind, "Codepage")) {
        return std::nullopt;
    }
    const std::span<const EmbeddedFile> files = EmbeddedCodepageFiles();
    const auto found = std::find_if(files.begin(), files.end(),
                                    [id](const EmbeddedFile& file) { return file.id == id; });
    if (found == files.end()) {
        return std::nullopt;
    }
    return found->bytes;
}

}  // namespace lumisk
