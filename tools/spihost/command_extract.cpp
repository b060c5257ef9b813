#include <cstdint>
#include <string>
#include <vector>

#include "tools/spihost/commands.h"
#include "tools/spihost/files.h"
#include "tools/spihost/output.h"
#include "tools/spihost/result_meaning.h"
#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

struct Extraction {
    int result = 0;
    uint64_t bytes = 0;
    std::wstring written;  // the file that holds the entry's bytes
    std::string problem;   // empty when the entry came out whole
};

// Memory output: the block must hold exactly the listed size, and goes to
// OUTDIR\<position>_<filename>.
Extraction ExtractToMemory(const Plugin& plugin, const HostPath& archive, const Entry& entry,
                           const std::wstring& outputFolder) {
    Extraction extraction;
    UniqueLocalBlock block;
    extraction.result = plugin.GetFileToMemory(archive, entry.position, block);
    const std::string call = ExportName(plugin, "GetFile");
    if (extraction.result != 0) {
        extraction.problem = call + " failed: " + FormatResult(extraction.result);
        return extraction;
    }
    if (!block) {
        extraction.problem = call + " succeeded but gave no block";
        return extraction;
    }
    const LockedLocalBlock bytes(block.get());
    if (bytes.data() == nullptr) {
        extraction.problem = "the block " + call + " gave cannot be locked";
        return extraction;
    }
    extraction.bytes = bytes.size();
    if (!IsPlainFileName(entry.filename)) {
        extraction.problem = "the filename cannot name a file in the output folder";
        return extraction;
    }
    extraction.written = JoinPath(outputFolder, std::to_wstring(entry.position) + L"_" + entry.filename);
    DWORD error = 0;
    if (!WriteWholeFile(extraction.written, bytes.data(), bytes.size(), error)) {
        extraction.problem = "cannot write " + Utf8FromWide(extraction.written) + ": " + DescribeWindowsError(error);
        return extraction;
    }
    if (bytes.size() != entry.filesize) {
        extraction.problem = "the block holds " + std::to_string(bytes.size()) + " bytes, the listing says " +
                             std::to_string(entry.filesize);
    }
    return extraction;
}

// File output: the plug-in creates OUTDIR\<position>\<filename> itself.
Extraction ExtractToFile(const Plugin& plugin, const HostPath& archive, const Entry& entry,
                         const std::wstring& outputFolder) {
    Extraction extraction;
    const std::wstring folder = JoinPath(outputFolder, std::to_wstring(entry.position));
    DWORD error = 0;
    if (!CreateFolders(folder, error)) {
        extraction.problem = "cannot create " + Utf8FromWide(folder) + ": " + DescribeWindowsError(error);
        return extraction;
    }
    HostPath destination;
    if (!plugin.PreparePath(folder, destination, extraction.problem)) return extraction;

    extraction.result = plugin.GetFileToFolder(archive, entry.position, destination);
    if (extraction.result != 0) {
        extraction.problem = ExportName(plugin, "GetFile") + " failed: " + FormatResult(extraction.result);
        return extraction;
    }
    if (!IsPlainFileName(entry.filename)) {
        extraction.problem = "the filename cannot name a file in the output folder";
        return extraction;
    }
    extraction.written = JoinPath(folder, entry.filename);
    if (!GetSizeOfFile(extraction.written, extraction.bytes, error)) {
        extraction.problem = "the plug-in did not create " + Utf8FromWide(extraction.written) + ": " +
                             DescribeWindowsError(error);
        extraction.written.clear();
        return extraction;
    }
    if (extraction.bytes != entry.filesize) {
        extraction.problem = "the file holds " + std::to_string(extraction.bytes) + " bytes, the listing says " +
                             std::to_string(entry.filesize);
    }
    return extraction;
}

// "[3/10] name  1234 bytes", or the problem in place of the size.
std::string ProgressLine(size_t index, size_t count, const Entry& entry, const Extraction& extraction) {
    std::string line = "[" + std::to_string(index + 1) + "/" + std::to_string(count) + "] " +
                       Utf8FromWide(EscapeControls(entry.filename)) + "  ";
    if (extraction.problem.empty()) {
        line += std::to_string(extraction.bytes) + " bytes";
    } else {
        line += "FAILED: " + extraction.problem;
    }
    return line + "\n";
}

void WriteExtractionKeys(JsonWriter& json, const Extraction& extraction) {
    WriteResultKeys(json, extraction.result);
    json.Key("bytes");
    json.Number(static_cast<int64_t>(extraction.bytes));
    json.Key("written");
    json.String(extraction.written);
    json.Key("ok");
    json.Bool(extraction.problem.empty());
    if (!extraction.problem.empty()) {
        json.Key("error");
        json.String(extraction.problem);
    }
}

}  // namespace

int RunExtract(const Arguments& arguments) {
    std::optional<Plugin> plugin = OpenPlugin(arguments, {Call::GetArchiveInfo, Call::GetFile});
    if (!plugin) return kExitUsage;

    const std::optional<HostPath> archive = PrepareFileArgument(*plugin, arguments);
    if (!archive) return kExitFailure;
    DWORD folderError = 0;
    if (!CreateFolders(arguments.outputFolder, folderError)) {
        ReportError("cannot create " + Utf8FromWide(arguments.outputFolder) + ": " +
                    DescribeWindowsError(folderError));
        return kExitFailure;
    }
    const FetchedListing fetched = FetchListing(*plugin, *archive);
    if (!fetched.problem.empty()) {
        // None of a listing that could not be had is extracted: its document
        // lists no entries, even those read before the problem.
        if (arguments.json) PrintListingJson(arguments, fetched, {});
        ReportError(fetched.problem);
        return kExitFailure;
    }

    JsonWriter json;
    BeginJsonDocument(json, arguments);
    json.Key("archive");
    json.String(arguments.file);
    json.Key("output");
    json.String(arguments.toFile ? "file" : "memory");
    json.Key("entries");
    json.BeginArray();

    const std::vector<Entry>& entries = fetched.listing.entries;
    size_t failures = 0;
    uint64_t totalBytes = 0;
    for (size_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        const Extraction extraction = arguments.toFile
            ? ExtractToFile(*plugin, *archive, entry, arguments.outputFolder)
            : ExtractToMemory(*plugin, *archive, entry, arguments.outputFolder);
        if (extraction.problem.empty()) {
            totalBytes += extraction.bytes;
        } else {
            ++failures;
        }
        if (arguments.json) {
            json.BeginObject();
            WriteEntryKeys(json, entry);
            WriteExtractionKeys(json, extraction);
            json.EndObject();
        } else {
            WriteOutput(ProgressLine(index, entries.size(), entry, extraction));
        }
        if (!extraction.problem.empty()) {
            ReportError("position " + std::to_string(entry.position) + " (" + Utf8FromWide(entry.filename) +
                        "): " + extraction.problem);
        }
    }

    json.EndArray();
    json.Key("failures");
    json.Number(static_cast<int64_t>(failures));
    json.EndObject();
    if (arguments.json) {
        WriteOutput(json.text() + "\n");
    } else {
        WriteOutput(std::to_string(entries.size() - failures) + " of " + std::to_string(entries.size()) +
                    " entries extracted, " + std::to_string(totalBytes) + " bytes\n");
    }
    return failures == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace quarn::spihost
