#include <string>
#include <vector>

#include "tools/spihost/commands.h"
#include "tools/spihost/output.h"
#include "tools/spihost/table.h"
#include "tools/spihost/text.h"
#include "tools/spihost/timestamp.h"

namespace quarn::spihost {
namespace {

void PrintTable(const FetchedListing& fetched) {
    std::vector<std::vector<std::wstring>> rows;
    for (const Entry& entry : fetched.listing.entries) {
        rows.push_back({std::to_wstring(entry.position), std::to_wstring(entry.filesize),
                        FormatUtcTime(entry.timestamp), entry.method, entry.path, entry.filename});
    }
    std::string text = FormatTable({{L"position", Align::Right},
                                    {L"size", Align::Right},
                                    {L"time (UTC)", Align::Left},
                                    {L"method", Align::Left},
                                    {L"path", Align::Left},
                                    {L"filename", Align::Left}},
                                   rows);
    const size_t count = fetched.listing.entries.size();
    text += std::to_string(count) + (count == 1 ? " entry\n" : " entries\n");
    WriteOutput(text);
}

}  // namespace

int RunList(const Arguments& arguments) {
    std::optional<Plugin> plugin = OpenPlugin(arguments, {Call::GetArchiveInfo});
    if (!plugin) return kExitUsage;

    const std::optional<HostPath> archive = PrepareFileArgument(*plugin, arguments);
    if (!archive) return kExitFailure;
    const FetchedListing fetched = FetchListing(*plugin, *archive);
    if (arguments.json) {
        PrintListingJson(arguments, fetched, fetched.listing.entries);
    } else if (fetched.result == 0) {
        PrintTable(fetched);
    }
    if (!fetched.problem.empty()) {
        ReportError(fetched.problem);
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quarn::spihost
