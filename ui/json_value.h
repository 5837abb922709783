#pragma once
// A small JSON reader for the data compiled into the program (dialog templates, the string
// table), so every back end reads them the same way without a toolkit.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace lumisk::ui {

class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Members = std::vector<std::pair<std::string, JsonValue>>;

    JsonValue() = default;
    explicit JsonValue(bool value) : value_(value) {}
    explicit JsonValue(double value) : value_(value) {}
    explicit JsonValue(std::string value) : value_(std::move(value)) {}
    explicit JsonValue(Array value) : value_(std::move(value)) {}
    explicit JsonValue(Members value) : value_(std::move(value)) {}

    bool IsString() const { return std::holds_alternative<std::string>(value_); }
    // The text of a string; `fallback` for anything else.
    std::string String(std::string_view fallback = {}) const;
    // A number with no fractional part that fits an int; nothing for anything else.
    std::optional<int> Integer() const;
    // The items of an array; none for anything else.
    const Array& Items() const;
    // Member `key` of an object; a null value when there is none.
    const JsonValue& operator[](std::string_view key) const;

private:
    std::variant<std::monostate, bool, double, std::string, Array, Members> value_;
};

// Nothing when `text` is not one well-formed JSON value, nested at most 64 deep.
std::optional<JsonValue> ParseJson(std::string_view text);

}  // namespace lumisk::ui
