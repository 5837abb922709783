#include "ui/string_resources.h"

#include "ui/json_value.h"
#include "ui/resource_data.h"

namespace lumisk::ui {

std::string LoadString(int id) {
    const std::optional<JsonValue> table = ParseJson(ReadResourceData("strings.json"));
    return table ? (*table)[std::to_string(id)].String() : std::string();
}

}  // namespace lumisk::ui
