#include "drives/failure_text.h"

namespace lumisk {

std::string FailureText(std::string_view message, std::string_view reason) {
    std::string text(message);
    if (!reason.empty()) {
        text += '\n';
        text += reason;
    }
    return text;
}

}  // namespace lumisk
