#include "bridge/listing_parser.h"

#include <cstring>
#include <vector>

#include "plugin/text_conversion.h"

namespace quarn {
namespace {

constexpr int64_t kFileTimeAtUnixEpoch = 116444736000000000LL;
constexpr int64_t kFileTimeUnitsPerSecond = 10000000LL;
constexpr unsigned char kMethodTar[8] = {'T', 0, 'A', 0, 'R', 0, 0, 0};

// Space-separated tokens of `text`, runs of spaces counting as one separator.
std::vector<std::wstring_view> SplitOnSpaces(std::wstring_view text) {
    std::vector<std::wstring_view> tokens;
    size_t start = 0;
    while (start < text.size()) {
        while (start < text.size() && text[start] == L' ') ++start;
        size_t end = start;
        while (end < text.size() && text[end] != L' ') ++end;
        if (end > start) tokens.push_back(text.substr(start, end - start));
        start = end;
    }
    return tokens;
}

// A byte count is digits only; it saturates at the largest signed 32-bit size.
int32_t SizeFromToken(std::wstring_view token) {
    if (token.empty()) return 0;
    int64_t value = 0;
    for (wchar_t unit : token) {
        if (unit < L'0' || unit > L'9') return 0;
        value = value * 10 + (unit - L'0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

void FillRecord(fileInfoW& record, uint32_t position, int32_t size, int32_t timestamp,
                std::wstring_view nameLine) {
    std::memcpy(record.method, kMethodTar, sizeof kMethodTar);
    record.position = position;
    record.compsize = static_cast<uint32_t>(size);
    record.filesize = static_cast<uint32_t>(size);
    record.timestamp = timestamp;
    std::wstring_view bareName = BareNameOf(nameLine);
    CopyWideBounded(bareName.data(), bareName.size(), record.filename, kRecordTextUnits);
}

}  // namespace

int32_t EntrySizeFromVerboseLine(std::wstring_view verboseLine, std::wstring_view nameLine) {
    // The name stands last, after exactly one space; the date before it has
    // three tokens in every form the tool prints ("Jan 01  2020",
    // "Jan  1 12:34", "01 Jan  2020"), and the size column precedes the date.
    if (verboseLine.size() < nameLine.size() + 1) return 0;
    size_t nameStart = verboseLine.size() - nameLine.size();
    if (verboseLine.substr(nameStart) != nameLine || verboseLine[nameStart - 1] != L' ') return 0;
    std::vector<std::wstring_view> columns = SplitOnSpaces(verboseLine.substr(0, nameStart - 1));
    constexpr size_t kDateTokens = 3;
    if (columns.size() < kDateTokens + 1) return 0;
    return SizeFromToken(columns[columns.size() - kDateTokens - 1]);
}

bool IsAdmittedSize(int32_t size, int32_t sizeLimit) { return size > 0 && size <= sizeLimit; }

int32_t UnixTimeFromFileTime(FILETIME lastWrite) {
    int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(lastWrite.dwHighDateTime) << 32) |
                                         lastWrite.dwLowDateTime);
    int64_t seconds = (ticks - kFileTimeAtUnixEpoch) / kFileTimeUnitsPerSecond;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(seconds)));
}

std::wstring_view BareNameOf(std::wstring_view nameLine) {
    size_t slash = nameLine.rfind(L'/');
    return slash == std::wstring_view::npos ? nameLine : nameLine.substr(slash + 1);
}

uint32_t CountAdmittedEntries(LinePairSource& lines, int32_t sizeLimit) {
    uint32_t count = 0;
    std::wstring nameLine;
    std::wstring verboseLine;
    while (lines.ReadLinePair(nameLine, verboseLine)) {
        if (IsAdmittedSize(EntrySizeFromVerboseLine(verboseLine, nameLine), sizeLimit)) ++count;
    }
    return count;
}

uint32_t FillListing(LinePairSource& lines, int32_t sizeLimit, FILETIME lastWrite,
                     fileInfoW* block, uint32_t recordCapacity) {
    const int32_t timestamp = UnixTimeFromFileTime(lastWrite);
    uint32_t index = 0;
    std::wstring nameLine;
    std::wstring verboseLine;
    // A source that grew since the first pass must not write past the block.
    while (index < recordCapacity && lines.ReadLinePair(nameLine, verboseLine)) {
        int32_t size = EntrySizeFromVerboseLine(verboseLine, nameLine);
        if (!IsAdmittedSize(size, sizeLimit)) continue;
        FillRecord(block[index], index, size, timestamp, nameLine);
        ++index;
    }
    std::memset(&block[index], 0, sizeof block[index]);
    return index;
}

}  // namespace quarn
