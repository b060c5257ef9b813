// Tables for a terminal: columns padded to the widest cell.
#pragma once

#include <string>
#include <vector>

namespace quarn::spihost {

enum class Align { Left, Right };

struct Column {
    std::wstring heading;
    Align align;
};

// One UTF-8 line per row, the headings first; cells are padded by their
// display width and two spaces part the columns; no line ends in padding.
std::string FormatTable(const std::vector<Column>& columns,
                        const std::vector<std::vector<std::wstring>>& rows);

}  // namespace quarn::spihost
