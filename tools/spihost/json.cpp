#include "tools/spihost/json.h"

#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendUnitEscape(std::string& out, char32_t unit) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(unit >> shift) & 0xF];
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void AppendJsonString(std::string& out, std::wstring_view text) {
    out += '"';
    for (size_t index = 0; index < text.size(); ++index) {
        char32_t unit = static_cast<char16_t>(text[index]);
        switch (unit) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (unit < 0x20) {
            AppendUnitEscape(out, unit);
        } else if (IsHighSurrogate(unit) && index + 1 < text.size() &&
                   IsLowSurrogate(static_cast<char16_t>(text[index + 1]))) {
            char32_t low = static_cast<char16_t>(text[++index]);
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUnitEscape(out, unit);
        } else {
            AppendUtf8(out, unit);
        }
    }
    out += '"';
}

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (char byte : utf8) {
        const unsigned char unit = static_cast<unsigned char>(byte);
        if (unit == '"' || unit == '\\') {
            out += '\\';
            out += byte;
        } else if (unit < 0x20) {
            AppendUnitEscape(out, unit);
        } else {
            out += byte;
        }
    }
    out += '"';
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasValue_.empty()) {
        if (hasValue_.back()) text_ += ',';
        hasValue_.back() = true;
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    hasValue_.push_back(false);
}

void JsonWriter::Close(char bracket) {
    text_ += bracket;
    if (!hasValue_.empty()) hasValue_.pop_back();
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    text_ += '"';
    text_ += name;  // keys are this program's own ASCII names
    text_ += "\":";
    afterKey_ = true;
}

void JsonWriter::String(std::wstring_view text) {
    BeforeValue();
    AppendJsonString(text_, text);
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    AppendJsonString(text_, utf8);
}

void JsonWriter::Number(int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

}  // namespace quarn::spihost
