// JSON output: one escaping routine for every string, and a writer that
// places the commas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::spihost {

// Appends `text` as a quoted JSON string in UTF-8. Quotes, backslashes and
// control characters are escaped; a surrogate without its partner is kept as
// its \uXXXX escape so that no unit of a record's text is lost.
void AppendJsonString(std::string& out, std::wstring_view text);

// Appends text that is UTF-8 already, such as this program's own messages.
void AppendJsonString(std::string& out, std::string_view utf8);

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Names the next value inside an object.
    void Key(std::string_view name);

    void String(std::wstring_view text);
    void String(std::string_view utf8);
    void Number(int64_t value);
    void Bool(bool value);

    // The document so far; complete once every object and array is ended.
    const std::string& text() const { return text_; }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string text_;
    // One flag per open object or array: whether it holds a value already.
    std::vector<bool> hasValue_;
    bool afterKey_ = false;
};

}  // namespace quarn::spihost
