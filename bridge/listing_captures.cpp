#include "bridge/listing_captures.h"

#include "bridge/command_lines.h"
#include "bridge/settings.h"
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

ResultCode ListingRun::Start(const wchar_t* archivePath) {
    if (archivePath == nullptr || !ReadToolPath(toolPath_)) return ReadError;
    sizeLimit_ = ReadSizeLimit();
    if (!PrepareWorkPaths(paths_)) return ReadError;
    lock_.emplace(paths_.workDirectory);
    captures_.emplace(paths_);
    return captures_->Run(toolPath_, archivePath) ? Success : ReadError;
}

}  // namespace quarn
