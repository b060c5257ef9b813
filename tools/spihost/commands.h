// The commands, each running to the process's exit status.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tools/spihost/arguments.h"
#include "tools/spihost/json.h"
#include "tools/spihost/listing.h"
#include "tools/spihost/plugin.h"

namespace quarn::spihost {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a call or a file operation failed
constexpr int kExitUsage = 2;    // bad arguments, or no usable plug-in

int RunInfo(const Arguments& arguments);
int RunSupported(const Arguments& arguments);
int RunList(const Arguments& arguments);
int RunExtract(const Arguments& arguments);

// Loads the plug-in the arguments name and checks that it has the exports
// `needed` in the form chosen; reports why not and gives nothing otherwise.
std::optional<Plugin> OpenPlugin(const Arguments& arguments, std::initializer_list<Call> needed);

// The file the arguments name, as the exports in use take it; reports why
// not and gives nothing when the ANSI code page cannot spell it.
std::optional<HostPath> PrepareFileArgument(const Plugin& plugin, const Arguments& arguments);

struct FetchedListing {
    int result = 0;
    Listing listing;
    size_t blockBytes = 0;
    std::string problem;  // empty when the listing is complete and usable
};

// GetArchiveInfo on `archive`, with every way the answer can be unusable
// spelled out in `problem`.
FetchedListing FetchListing(const Plugin& plugin, const HostPath& archive);

// The keys of one listing record, inside an object the caller opened.
void WriteEntryKeys(JsonWriter& json, const Entry& entry);

// A call's result code and its meaning, inside an object the caller opened.
void WriteResultKeys(JsonWriter& json, int result);

// Writes the listing document: the archive, GetArchiveInfo's result, the
// problem when there is one, and `entries`.
void PrintListingJson(const Arguments& arguments, const FetchedListing& fetched, const std::vector<Entry>& entries);

// Keys every JSON document starts with: the plug-in and the exports in use.
void BeginJsonDocument(JsonWriter& json, const Arguments& arguments);

// The name of the call in the form in use, for messages: "GetFileW".
std::string ExportName(const Plugin& plugin, const char* call);

}  // namespace quarn::spihost
