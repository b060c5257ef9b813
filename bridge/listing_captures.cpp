#include "bridge/listing_captures.h"

#include "bridge/command_lines.h"
#include "bridge/tool_run.h"

namespace quarn {
namespace {

bool RunInto(const std::wstring& command, const wchar_t* capturePath) {
    UniqueFile capture = CreateCaptureFile(capturePath);
    return capture && RunTool(command, capture.get(), ErrorStream::Discarded);
}

}  // namespace

ListingCaptures::~ListingCaptures() {
    CloseReaders();
    ::DeleteFileW(paths_.nameCapture);
    ::DeleteFileW(paths_.verboseCapture);
}

bool ListingCaptures::Run(const wchar_t* toolPath, const wchar_t* archivePath) {
    return RunInto(NameListCommand(toolPath, archivePath), paths_.nameCapture) &&
           RunInto(VerboseListCommand(toolPath, archivePath), paths_.verboseCapture) &&
           names_.Open(paths_.nameCapture) && verbose_.Open(paths_.verboseCapture);
}

bool ListingCaptures::ReadLinePair(std::wstring& nameLine, std::wstring& verboseLine) {
    if (!names_.ReadLine(nameLine)) return false;
    if (!verbose_.ReadLine(verboseLine)) verboseLine.clear();
    return true;
}

bool ListingCaptures::Rewind() { return names_.Rewind() && verbose_.Rewind(); }

void ListingCaptures::CloseReaders() {
    names_.Close();
    verbose_.Close();
}

}  // namespace quarn
