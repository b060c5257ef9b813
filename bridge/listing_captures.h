// The two listing runs every listing and extraction starts with: the name
// listing into "quarn.txt", the verbose listing into "quarnv.txt", both read
// back in step as line pairs. The capture files are deleted when this object
// goes, so the caller holds the tool-run lock for at least as long.
#pragma once

#include <string>

#include "bridge/capture_file.h"
#include "bridge/listing_parser.h"
#include "bridge/work_directory.h"

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

}  // namespace quarn
