#include "tools/spihost/table.h"

#include <algorithm>

#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

void AppendRow(std::string& out, const std::vector<Column>& columns,
               const std::vector<std::wstring>& cells, const std::vector<size_t>& widths) {
    std::wstring line;
    // Padding after the last text is dropped; spaces of a cell itself stay.
    size_t textEnd = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::wstring cell = i < cells.size() ? EscapeControls(cells[i]) : std::wstring();
        const std::wstring padding(widths[i] - DisplayWidth(cell), L' ');
        if (i > 0) line += L"  ";
        if (columns[i].align == Align::Right) line += padding;
        line += cell;
        if (!cell.empty()) textEnd = line.size();
        if (columns[i].align == Align::Left) line += padding;
    }
    line.resize(textEnd);
    out += Utf8FromWide(line);
    out += '\n';
}

}  // namespace

std::string FormatTable(const std::vector<Column>& columns,
                        const std::vector<std::vector<std::wstring>>& rows) {
    std::vector<size_t> widths;
    for (const Column& column : columns) widths.push_back(DisplayWidth(column.heading));
    for (const std::vector<std::wstring>& row : rows) {
        for (size_t i = 0; i < columns.size() && i < row.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(EscapeControls(row[i])));
        }
    }

    std::vector<std::wstring> headings;
    for (const Column& column : columns) headings.push_back(column.heading);
    std::string out;
    AppendRow(out, columns, headings, widths);
    for (const std::vector<std::wstring>& row : rows) AppendRow(out, columns, row, widths);
    return out;
}

}  // namespace quarn::spihost
