#include "ui/string_resources.h"

#include "ui/json_value.h"
#include "ui/resource_data.h"

namespace lumisk::ui {

std::string LoadString(int id) {
    const std::optional<JsonValue> table = ParseJson(ReadResourceData("strings.json"));
    return table ? (*table)[std::to_string(id)].String() : std::string();
}

std::string LoadString(int id, const std::vector<std::string>& arguments) {
    const std::string format = LoadString(id);
    std::string text;
    for (std::size_t at = 0; at < format.size(); ++at) {
        const bool placeholder = format[at] == '%' && at + 1 < format.size() &&
                                 format[at + 1] >= '1' && format[at + 1] <= '9' &&
                                 static_cast<std::size_t>(format[at + 1] - '1') < arguments.size();
        if (placeholder) {
            text += arguments[static_cast<std::size_t>(format[at + 1] - '1')];
            ++at;
        } else {
            text += format[at];
        }
    }
    return text;
}

}  // namespace lumisk::ui
