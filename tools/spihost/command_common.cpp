#include "tools/spihost/commands.h"

#include "tools/spihost/output.h"
#include "tools/spihost/result_meaning.h"
#include "tools/spihost/text.h"
#include "tools/spihost/timestamp.h"

namespace quarn::spihost {

std::optional<Plugin> OpenPlugin(const Arguments& arguments, std::initializer_list<Call> needed) {
    std::string error;
    std::optional<Plugin> plugin = Plugin::Load(arguments.plugin, arguments.narrow, error);
    if (!plugin) {
        ReportError(error);
        return std::nullopt;
    }
    const std::vector<std::string> missing = plugin->MissingExports(needed);
    if (!missing.empty()) {
        std::string names;
        for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
        ReportError(Utf8FromWide(arguments.plugin) + " is not a usable archive plug-in: it does not export " +
                    names);
        return std::nullopt;
    }
    return plugin;
}

std::optional<HostPath> PrepareFileArgument(const Plugin& plugin, const Arguments& arguments) {
    HostPath prepared;
    std::string error;
    if (!plugin.PreparePath(arguments.file, prepared, error)) {
        ReportError(error);
        return std::nullopt;
    }
    return prepared;
}

FetchedListing FetchListing(const Plugin& plugin, const HostPath& archive) {
    FetchedListing fetched;
    fetched.result = plugin.GetArchiveInfo(archive, fetched.listing, fetched.blockBytes);
    const std::string call = ExportName(plugin, "GetArchiveInfo");
    if (fetched.result != 0) {
        fetched.problem = call + " failed on " + Utf8FromWide(archive.wide) + ": " + FormatResult(fetched.result);
    } else if (fetched.blockBytes == 0) {
        fetched.problem = call + " succeeded but gave no listing block";
    } else if (!fetched.listing.terminated) {
        fetched.problem = "the listing block of " + std::to_string(fetched.blockBytes) +
                          " bytes ends without a terminating record";
    }
    return fetched;
}

void WriteEntryKeys(JsonWriter& json, const Entry& entry) {
    json.Key("position");
    json.Number(entry.position);
    json.Key("compsize");
    json.Number(entry.compsize);
    json.Key("filesize");
    json.Number(entry.filesize);
    json.Key("timestamp");
    json.Number(entry.timestamp);
    json.Key("time");
    json.String(FormatUtcTime(entry.timestamp));
    json.Key("method");
    json.String(entry.method);
    json.Key("path");
    json.String(entry.path);
    json.Key("filename");
    json.String(entry.filename);
    json.Key("crc");
    json.Number(entry.crc);
}

void WriteResultKeys(JsonWriter& json, int result) {
    json.Key("result");
    json.Number(result);
    json.Key("meaning");
    json.String(DescribeResult(result));
}

void PrintListingJson(const Arguments& arguments, const FetchedListing& fetched, const std::vector<Entry>& entries) {
    JsonWriter json;
    BeginJsonDocument(json, arguments);
    json.Key("archive");
    json.String(arguments.file);
    WriteResultKeys(json, fetched.result);
    if (!fetched.problem.empty()) {
        json.Key("error");
        json.String(fetched.problem);
    }
    json.Key("entries");
    json.BeginArray();
    for (const Entry& entry : entries) {
        json.BeginObject();
        WriteEntryKeys(json, entry);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    WriteOutput(json.text() + "\n");
}

void BeginJsonDocument(JsonWriter& json, const Arguments& arguments) {
    json.BeginObject();
    json.Key("plugin");
    json.String(arguments.plugin);
    json.Key("exports");
    json.String(arguments.narrow ? L"narrow" : L"W");
}

std::string ExportName(const Plugin& plugin, const char* call) {
    return std::string(call) + (plugin.narrow() ? "" : "W");
}

}  // namespace quarn::spihost
