#include "ui/pending_lines.h"

namespace lumisk::ui {

bool PendingLines::Add(const std::string& line) {
    lines_.push_back(line);
    return lines_.size() == 1;
}

std::string PendingLines::Take() {
    std::string joined;
    for (const std::string& line : lines_) {
        joined += (joined.empty() ? "" : ". ") + line;
    }
    lines_.clear();
    return joined;
}

}  // namespace lumisk::ui
