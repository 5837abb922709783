#include "ui/json_value.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace lumisk::ui {
namespace {

// Deeper nesting than any template needs is refused before it can exhaust the stack.
constexpr int DeepestNesting = 64;

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        std::optional<JsonValue> value = Value(0);
        SkipSpace();
        if (!value || position_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<JsonValue> Value(int depth) {
        SkipSpace();
        if (depth > DeepestNesting || position_ >= text_.size()) {
            return std::nullopt;
        }
        switch (text_[position_]) {
            case '{':
                return Object(depth);
            case '[':
                return List(depth);
            case '"': {
                std::optional<std::string> text = String();
                return text ? std::optional<JsonValue>(JsonValue(std::move(*text))) : std::nullopt;
            }
            case 't':
                return Word("true") ? std::optional<JsonValue>(JsonValue(true)) : std::nullopt;
            case 'f':
                return Word("false") ? std::optional<JsonValue>(JsonValue(false)) : std::nullopt;
            case 'n':
                return Word("null") ? std::optional<JsonValue>(JsonValue()) : std::nullopt;
            default:
                return Number();
        }
    }

    std::optional<JsonValue> Object(int depth) {
        ++position_;
        JsonValue::Members members;
        if (TakeAfterSpace('}')) {
            return JsonValue(std::move(members));
        }
        do {
            SkipSpace();
            std::optional<std::string> key = String();
            if (!key || !TakeAfterSpace(':')) {
                return std::nullopt;
            }
            std::optional<JsonValue> value = Value(depth + 1);
            if (!value) {
                return std::nullopt;
            }
            members.emplace_back(std::move(*key), std::move(*value));
        } while (TakeAfterSpace(','));
        return TakeAfterSpace('}') ? std::optional<JsonValue>(JsonValue(std::move(members)))
                                   : std::nullopt;
    }

    std::optional<JsonValue> List(int depth) {
        ++position_;
        JsonValue::Array items;
        if (TakeAfterSpace(']')) {
            return JsonValue(std::move(items));
        }
        do {
            std::optional<JsonValue> value = Value(depth + 1);
            if (!value) {
                return std::nullopt;
            }
            items.push_back(std::move(*value));
        } while (TakeAfterSpace(','));
        return TakeAfterSpace(']') ? std::optional<JsonValue>(JsonValue(std::move(items)))
                                   : std::nullopt;
    }

    std::optional<std::string> String() {
        if (position_ >= text_.size() || text_[position_] != '"') {
            return std::nullopt;
        }
        ++position_;
        std::string text;
        while (position_ < text_.size()) {
            const char c = text_[position_++];
            if (c == '"') {
                return text;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            }
            if (c != '\\') {
                text += c;
                continue;
            }
            if (position_ >= text_.size()) {
                return std::nullopt;
            }
            const char escaped = text_[position_++];
            switch (escaped) {
                case '"':
                case '\\':
                case '/':
                    text += escaped;
                    break;
                case 'b':
                    text += '\b';
                    break;
                case 'f':
                    text += '\f';
                    break;
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case 'u':
                    if (!CodePoint(text)) {
                        return std::nullopt;
                    }
                    break;
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> Hex4() {
        if (text_.size() - position_ < 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        const char* first = text_.data() + position_;
        const auto [end, error] = std::from_chars(first, first + 4, value, 16);
        if (error != std::errc() || end != first + 4) {
            return std::nullopt;
        }
        position_ += 4;
        return value;
    }

    // \uXXXX, with a surrogate pair as one character, appended as UTF-8.
    bool CodePoint(std::string& text) {
        std::optional<std::uint32_t> unit = Hex4();
        if (!unit || (*unit >= 0xDC00 && *unit < 0xE000)) {
            return false;
        }
        std::uint32_t point = *unit;
        if (point >= 0xD800 && point < 0xDC00) {
            if (!Word("\\u")) {
                return false;
            }
            const std::optional<std::uint32_t> low = Hex4();
            if (!low || *low < 0xDC00 || *low >= 0xE000) {
                return false;
            }
            point = 0x10000 + ((point - 0xD800) << 10) + (*low - 0xDC00);
        }
        const auto byte = [](std::uint32_t bits) { return static_cast<char>(bits); };
        if (point < 0x80) {
            text += byte(point);
        } else if (point < 0x800) {
            text += byte(0xC0 | (point >> 6));
            text += byte(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            text += byte(0xE0 | (point >> 12));
            text += byte(0x80 | ((point >> 6) & 0x3F));
            text += byte(0x80 | (point & 0x3F));
        } else {
            text += byte(0xF0 | (point >> 18));
            text += byte(0x80 | ((point >> 12) & 0x3F));
            text += byte(0x80 | ((point >> 6) & 0x3F));
            text += byte(0x80 | (point & 0x3F));
        }
        return true;
    }

    std::optional<JsonValue> Number() {
        // JSON's grammar: what from_chars would also take (a leading '+', "inf", hex) is not JSON.
        const std::size_t start = position_;
        Take('-');
        const bool leadingZero = position_ < text_.size() && text_[position_] == '0';
        const std::size_t integerStart = position_;
        if (!Digits() || (leadingZero && position_ - integerStart > 1)) {
            return std::nullopt;
        }
        if (Take('.') && !Digits()) {
            return std::nullopt;
        }
        if (Take('e') || Take('E')) {
            if (!Take('+')) {
                Take('-');
            }
            if (!Digits()) {
                return std::nullopt;
            }
        }
        double value = 0;
        const char* first = text_.data() + start;
        const char* last = text_.data() + position_;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last) {
            return std::nullopt;
        }
        return JsonValue(value);
    }

    bool Digits() {
        const std::size_t start = position_;
        while (position_ < text_.size() &&
               std::isdigit(static_cast<unsigned char>(text_[position_]))) {
            ++position_;
        }
        return position_ > start;
    }

    bool Word(std::string_view word) {
        if (text_.substr(position_, word.size()) != word) {
            return false;
        }
        position_ += word.size();
        return true;
    }

    bool Take(char c) {
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }

    bool TakeAfterSpace(char c) {
        SkipSpace();
        return Take(c);
    }

    void SkipSpace() {
        while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t' ||
                                            text_[position_] == '\n' || text_[position_] == '\r')) {
            ++position_;
        }
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

std::string JsonValue::String(std::string_view fallback) const {
    const auto* text = std::get_if<std::string>(&value_);
    return text != nullptr ? *text : std::string(fallback);
}

std::optional<int> JsonValue::Integer() const {
    const auto* number = std::get_if<double>(&value_);
    if (number == nullptr || std::trunc(*number) != *number || *number < INT_MIN ||
        *number > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

const JsonValue::Array& JsonValue::Items() const {
    static const Array none;
    const auto* items = std::get_if<Array>(&value_);
    return items != nullptr ? *items : none;
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
    static const JsonValue null;
    if (const auto* members = std::get_if<Members>(&value_)) {
        for (const auto& [name, value] : *members) {
            if (name == key) {
                return value;
            }
        }
    }
    return null;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

}  // namespace lumisk::ui
