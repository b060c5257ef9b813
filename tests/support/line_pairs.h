// An in-memory line source for the listing parser: the two listings as the
// tool would print them, readable again from the start.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "bridge/listing_parser.h"

namespace quarn::test {

class LinePairs : public LinePairSource {
public:
    LinePairs(std::vector<std::wstring> names, std::vector<std::wstring> verbose)
        : names_(std::move(names)), verbose_(std::move(verbose)) {}

    bool ReadLinePair(std::wstring& nameLine, std::wstring& verboseLine) override {
        if (next_ >= names_.size()) return false;
        nameLine = names_[next_];
        verboseLine = next_ < verbose_.size() ? verbose_[next_] : std::wstring();
        ++next_;
        return true;
    }

    void Rewind() { next_ = 0; }

    // Lets a test grow the listing between the two passes.
    void Append(std::wstring name, std::wstring verbose) {
        names_.push_back(std::move(name));
        verbose_.push_back(std::move(verbose));
    }

private:
    std::vector<std::wstring> names_;
    std::vector<std::wstring> verbose_;
    size_t next_ = 0;
};

}  // namespace quarn::test
