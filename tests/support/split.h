// Text cut at a separator, for the lists tests pass between processes and
// read from manifests.
#pragma once

#include <string>
#include <vector>

namespace quarn::test {

// The parts of `text` between separators, empty ones included: "a||b" gives
// "a", "", "b", and an empty text one empty part.
template <typename Char>
std::vector<std::basic_string<Char>> Split(const std::basic_string<Char>& text, Char separator) {
    std::vector<std::basic_string<Char>> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::basic_string<Char>::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace quarn::test
