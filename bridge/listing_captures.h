// The two listing runs every listing and extraction starts with: the name
// listing into "quarn.txt", the verbose listing into "quarnv.txt", both read
// back in step as line pairs. The capture files are deleted when this object
// goes, so the caller holds the tool-run lock for at least as long.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "bridge/capture_file.h"
#include "bridge/listing_parser.h"
#include "bridge/tool_lock.h"
#include "bridge/work_directory.h"
#include "plugin/result_code.h"

namespace quarn {

class ListingCaptures : public LinePairSource {
public:
    explicit ListingCaptures(const WorkPaths& paths) : paths_(paths) {}
    ~ListingCaptures() override;
    ListingCaptures(const ListingCaptures&) = delete;
    ListingCaptures& operator=(const ListingCaptures&) = delete;

    // Runs both listings and opens both captures. False when a capture file
    // cannot be created or opened, or the tool cannot be started.
    bool Run(const wchar_t* toolPath, const wchar_t* archivePath);

    bool ReadLinePair(std::wstring& nameLine, std::wstring& verboseLine) override;
    // Back to the first pair, for the second pass.
    bool Rewind();
    // Closes the readers, so that an entry can be extracted meanwhile.
    void CloseReaders();

private:
    const WorkPaths& paths_;
    CaptureReader names_;
    CaptureReader verbose_;
};

// How a listing and an extraction both begin: the settings read once, the
// work folder ready, the tool-run lock taken, both listings run and open for
// reading. The capture files are deleted, then the lock released, when this
// goes.
class ListingRun {
public:
    ListingRun() = default;
    ListingRun(const ListingRun&) = delete;
    ListingRun& operator=(const ListingRun&) = delete;

    // ReadError when the tool path or the work folder does not fit, or the
    // tool cannot be run or its output read.
    ResultCode Start(const wchar_t* archivePath);

    const wchar_t* toolPath() const { return toolPath_; }
    int32_t sizeLimit() const { return sizeLimit_; }
    const WorkPaths& paths() const { return paths_; }
    ListingCaptures& captures() { return *captures_; }

private:
    wchar_t toolPath_[kPathUnits] = {};
    int32_t sizeLimit_ = 0;
    WorkPaths paths_ = {};
    std::optional<ToolRunLock> lock_;
    std::optional<ListingCaptures> captures_;  // after the lock: it goes first
};

}  // namespace quarn
