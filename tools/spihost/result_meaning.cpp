#include "tools/spihost/result_meaning.h"

namespace quarn::spihost {
namespace {

struct ResultMeaning {
    int code;
    const char* meaning;
};

constexpr ResultMeaning kResultMeanings[] = {
    {0, "success"},
    {-1, "not implemented or no such entry"},
    {1, "cancelled by the progress callback"},
    {2, "unknown format"},
    {3, "data broken"},
    {4, "out of memory"},
    {5, "memory error"},
    {6, "file read error"},
    {7, "window error"},
    {8, "internal error"},
    {9, "file write error"},
    {10, "end of file"},
};

}  // namespace

const char* DescribeResult(int code) {
    for (const ResultMeaning& entry : kResultMeanings) {
        if (entry.code == code) return entry.meaning;
    }
    return "unknown result code";
}

std::string FormatResult(int code) {
    return std::to_string(code) + " (" + DescribeResult(code) + ")";
}

}  // namespace quarn::spihost
