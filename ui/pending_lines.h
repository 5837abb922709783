#pragma once
// Lines for screen readers said while a window handles one event: read out as one line once the
// event is handled, so that the last does not cut the others short.

#include <string>
#include <vector>

namespace lumisk::ui {

class PendingLines {
public:
    // True when `line` is the first since the last Take(): the reading is to be scheduled.
    bool Add(const std::string& line);
    // The lines as one, and none left.
    std::string Take();

private:
    std::vector<std::string> lines_;
};

}  // namespace lumisk::ui
