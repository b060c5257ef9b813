#include <string>
#include <vector>

#include "tools/spihost/commands.h"
#include "tools/spihost/output.h"
#include "tools/spihost/table.h"

namespace quarn::spihost {
namespace {

// A plug-in that answers every number would otherwise keep this going.
constexpr int kLastInfoNumber = 99;

struct InfoString {
    int infono;
    int returned;
    std::wstring text;
};

const wchar_t* InfoKind(int infono) {
    switch (infono) {
        case 0: return L"API version";
        case 1: return L"plug-in name";
        default: return infono % 2 == 0 ? L"file patterns" : L"description";
    }
}

// Numbers 0 to 3 always; from 4 on, while the plug-in answers.
std::vector<InfoString> CollectInfo(const Plugin& plugin) {
    std::vector<InfoString> strings;
    for (int infono = 0; infono <= kLastInfoNumber; ++infono) {
        InfoString info{infono, 0, {}};
        info.returned = plugin.GetPluginInfo(infono, info.text);
        if (infono >= 4 && info.returned <= 0) break;
        strings.push_back(info);
    }
    return strings;
}

void PrintJson(const Arguments& arguments, const std::vector<InfoString>& strings) {
    JsonWriter json;
    BeginJsonDocument(json, arguments);
    json.Key("info");
    json.BeginArray();
    for (const InfoString& info : strings) {
        json.BeginObject();
        json.Key("infono");
        json.Number(info.infono);
        json.Key("returned");
        json.Number(info.returned);
        json.Key("text");
        json.String(info.text);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    WriteOutput(json.text() + "\n");
}

void PrintTable(const std::vector<InfoString>& strings) {
    std::vector<std::vector<std::wstring>> rows;
    for (const InfoString& info : strings) {
        rows.push_back({std::to_wstring(info.infono), InfoKind(info.infono), std::to_wstring(info.returned),
                        info.text});
    }
    WriteOutput(FormatTable({{L"infono", Align::Right},
                             {L"kind", Align::Left},
                             {L"returned", Align::Right},
                             {L"text", Align::Left}},
                            rows));
}

}  // namespace

int RunInfo(const Arguments& arguments) {
    std::optional<Plugin> plugin = OpenPlugin(arguments, {Call::GetPluginInfo});
    if (!plugin) return kExitUsage;

    const std::vector<InfoString> strings = CollectInfo(*plugin);
    if (arguments.json) {
        PrintJson(arguments, strings);
    } else {
        PrintTable(strings);
    }
    if (strings.front().returned <= 0) {
        ReportError(ExportName(*plugin, "GetPluginInfo") + " gave no API version for infono 0");
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quarn::spihost
