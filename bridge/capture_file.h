// Capture files: created for the tool's standard output, then read back as
// lines of text in the user's ANSI code page.
#pragma once

#include <windows.h>

#include <string>

#include "plugin/unique_handles.h"

namespace quarn {

// Creates (or empties) a capture file for writing through a handle the tool
// inherits. Invalid when the file cannot be created.
UniqueFile CreateCaptureFile(const wchar_t* path);

// Reads a capture file line by line, each line whole whatever its length, so
// that the k-th name line always pairs with the k-th verbose line. CR LF
// reads as one line feed, and the bytes are decoded with the user's default
// ANSI code page, the code page the tool prints in; no process-wide runtime
// setting is touched for it.
class CaptureReader {
public:
    // False when the file cannot be opened.
    bool Open(const wchar_t* path);
    // Starts again from the first line.
    bool Rewind();
    void Close() { file_.reset(); }

    // The next line without its final line feed; `endedByLineFeed` tells
    // whether it had one (a last line may not). False at the end.
    bool ReadLine(std::wstring& line, bool* endedByLineFeed = nullptr);

private:
    bool Fill();

    UniqueFile file_;
    std::string buffer_;
    size_t next_ = 0;
    bool atEnd_ = false;
};

// Decodes bytes in the user's default ANSI code page.
std::wstring DecodeCaptureText(const std::string& bytes);

}  // namespace quarn
