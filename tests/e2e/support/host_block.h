// What a host does with the blocks and records the plug-in gives it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/records.h"

namespace quarn::e2e {

// A block the plug-in handed over, freed with LocalFree as a host frees it.
class HostBlock {
public:
    HostBlock() = default;
    ~HostBlock() { reset(); }
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    // The variable an export fills; what it held before is freed first.
    HLOCAL* out() {
        reset();
        return &block_;
    }
    HLOCAL get() const { return block_; }
    SIZE_T bytes() const { return block_ != nullptr ? ::LocalSize(block_) : 0; }
    void reset() {
        if (block_ != nullptr) ::LocalFree(block_);
        block_ = nullptr;
    }

private:
    HLOCAL block_ = nullptr;
};

// The records of a listing block up to the first terminating one (first byte
// zero), never reading past the block's size. A block whose size is exactly
// (records + 1) records thus ends with its terminator.
template <typename Record>
std::vector<Record> ListingRecords(const HostBlock& block) {
    std::vector<Record> records;
    const size_t slots = block.bytes() / sizeof(Record);
    const auto* bytes = static_cast<const unsigned char*>(block.get());
    for (size_t i = 0; i < slots && bytes[i * sizeof(Record)] != 0; ++i) {
        Record record;
        std::memcpy(&record, bytes + i * sizeof(Record), sizeof record);
        records.push_back(record);
    }
    return records;
}

// A text field as a host reads it: up to its terminator, within the field.
template <typename Unit, size_t N>
std::basic_string<Unit> FieldText(const Unit (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != 0) ++length;
    return std::basic_string<Unit>(field, length);
}

// The method field's eight bytes.
inline std::string MethodBytes(const unsigned char (&method)[8]) {
    return std::string(reinterpret_cast<const char*>(method), sizeof method);
}

}  // namespace quarn::e2e
